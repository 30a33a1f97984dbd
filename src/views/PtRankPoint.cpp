#include "PtRankPoint.h"

#include <QPainter>
#include <QPainterPath>

PtRankPoint::PtRankPoint() = default;

QRectF PtRankPoint::boundingRect() const
{
    return QRectF(0, 0, m_size.width(), m_size.height());
}

QPainterPath PtRankPoint::shape() const
{
    QPainterPath path;
    path.addRect(boundingRect());
    return path;
}

void PtRankPoint::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*)
{
    painter->setPen(Qt::NoPen);
    painter->setRenderHint(QPainter::Antialiasing, true);
    const QRectF rect(0, 0, m_size.width(), m_size.height());
    if (m_sharp != Circle) {
        painter->fillRect(rect, QColor(255, 0, 0));
        return;
    }
    painter->setBrush(m_color);
    painter->drawEllipse(rect);
}

void PtRankPoint::setSharp(_Point_sharp sharp)
{
    m_sharp = sharp;
    update();
}

void PtRankPoint::setPos(double x, double y)
{
    m_fCentreX = x;
    m_fCentreY = y;
    QGraphicsItem::setPos(x - m_size.width() / 2, y - m_size.height() / 2);
}

void PtRankPoint::setPos(const QPointF& centre)
{
    setPos(centre.x(), centre.y());
}

void PtRankPoint::setPointSize(const QSize& size)
{
    prepareGeometryChange();
    m_size = size;
    setPos(m_fCentreX, m_fCentreY);
}
