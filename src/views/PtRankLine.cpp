#include "PtRankLine.h"

#include <QPainter>
#include <QPainterPathStroker>

#include <cmath>

namespace {
const double StartGap = 6.5;
const double EndGap = 6.0;
} // namespace

PtRankLine::PtRankLine() = default;

QRectF PtRankLine::boundingRect() const
{
    return QRectF(0, 0, m_size.width(), m_size.height());
}

QPainterPath PtRankLine::shape() const
{
    QPainterPath path;
    path.addRect(boundingRect());
    return path;
}

void PtRankLine::SetLines(const RankLinesInfo& info)
{
    m_points = info.points;
    m_strText = info.text;
    update();
}

bool PtRankLine::SetPointOffset(const QPointF& a, QPointF& b, bool first)
{
    const double dx = b.x() - a.x();
    const double dy = b.y() - a.y();
    if (std::fabs(dx) < StartGap && std::fabs(dy) < StartGap)
        return false;
    const double len = std::sqrt(dx * dx + dy * dy);
    const double keep = len - (first ? StartGap : EndGap);
    // The moved point keeps its sign: points left of or above the item's origin are as
    // valid as any other.
    b = QPointF(a.x() + dx / len * keep, a.y() + dy / len * keep);
    return true;
}

QPainterPath PtRankLine::LinePath()
{
    QPainterPath path;
    if (m_points.isEmpty())
        return path;
    QPointF current = m_points.first();
    for (int i = 1; i < m_points.size(); ++i) {
        const QPointF next = m_points[i];
        if (next == current)
            continue;
        QPointF start = current;
        if (!SetPointOffset(next, start, true))
            continue;
        QPointF end = next;
        SetPointOffset(start, end, false);
        path.moveTo(start);
        path.lineTo(end);
        current = next;
    }
    return path;
}

void PtRankLine::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*)
{
    painter->setRenderHint(QPainter::Antialiasing, true);
    painter->setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter->setBrush(Qt::NoBrush);
    const QPainterPath path = LinePath();
    if (path.isEmpty())
        return;
    QPainterPathStroker stroker;
    stroker.setWidth(m_nLineWidth);
    stroker.setCapStyle(Qt::RoundCap);
    stroker.setJoinStyle(Qt::RoundJoin);
    painter->fillPath(stroker.createStroke(path), m_color);
}
