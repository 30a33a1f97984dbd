#include "PtChartScene.h"

#include "RankDisplayString.h"
#include "RankHistory.h"
#include "RankPointItem.h"
#include "RankReport.h"

#include <QDebug>
#include <QFontMetricsF>
#include <QPainter>

#include <cmath>
#include <functional>
#include <map>
#include <utility>
#include <vector>

namespace {

const QColor GoogleColor(26, 153, 208);
const QColor BingColor(102, 201, 72);
const QColor YahooColor(239, 117, 70);

// The colour of an engine kind in the chart and its tool tips; invalid for other kinds.
QColor EngineColor(const QString& engineHost)
{
    switch (FindSearchEngineType(engineHost)) {
    case SE_Google:
        return GoogleColor;
    case SE_Bing:
        return BingColor;
    case SE_Yahoo:
        return YahooColor;
    default:
        return QColor();
    }
}

} // namespace

double CalcTimePosition(const QRectF& box, QDate from, QDate to, QDate day)
{
    const double total = double(from.daysTo(to)) + 1;
    if (total < 0.000001)
        return 0;
    return box.left() + (box.width() - 1) * (double(from.daysTo(day)) + 1) / total;
}

PtChartScene::PtChartScene(const RANK_DATA* first, const RANK_DATA* second, const RANK_DATA* third,
                           QDate from, QDate to, const QRectF& rect)
    : m_pFirst(first), m_pSecond(second), m_pThird(third), m_dateFrom(from), m_dateTo(to)
{
    // The drawing pass moves every item; a spatial index would only be rebuilt each time.
    setItemIndexMethod(QGraphicsScene::NoIndex);
    m_nGridStep = 25;
    m_nGridRange = 100;
    m_nDateLabelStep = 10;
    m_nMaxRank = CalcProperMaxRankValue();
    setSceneRect(rect);
    AddGraphicItems();
}

PtChartScene::~PtChartScene() = default;

void PtChartScene::resize(const QSize& size)
{
    setSceneRect(0, 0, size.width(), size.height());
}

const RANK_DATA* PtChartScene::Series(int index) const
{
    switch (index) {
    case 0:
        return m_pFirst;
    case 1:
        return m_pSecond;
    case 2:
        return m_pThird;
    default:
        return nullptr;
    }
}

RankPointItem* PtChartScene::FindGraphicItem(const RANK_DATA* series, LTInt64 updateNo) const
{
    return m_mapItems.value(PointKey(series, updateNo), nullptr);
}

RankPointItem* PtChartScene::FindGraphicItem(const FLOW_ITEM* point) const
{
    const std::less<const FLOW_ITEM*> before;
    for (const RANK_DATA* series : {m_pFirst, m_pSecond, m_pThird}) {
        if (!series || series->FlowItems.empty())
            continue;
        const FLOW_ITEM* first = series->FlowItems.data();
        if (!before(point, first) && before(point, first + series->FlowItems.size()))
            return FindGraphicItem(series, point->UpdateNo);
    }
    return nullptr;
}

bool PtChartScene::RangeOf(const RANK_DATA* series, int& start, int& end) const
{
    start = -1;
    end = -1;
    if (!series)
        return false;
    FindStartAndEndIndex(series, m_dateFrom, m_dateTo, start, end);
    return start != -1 && end != -1 && start <= end;
}

LTInt64 PtChartScene::GetMaxRankPeriodOfTime(const RANK_DATA* series) const
{
    int start = -1;
    int end = -1;
    if (!RangeOf(series, start, end))
        return 0;
    LTInt64 highest = series->FlowItems[size_t(start)].Rank;
    for (int i = start + 1; i <= end; ++i)
        highest = qMax<LTInt64>(highest, series->FlowItems[size_t(i)].Rank);
    return highest;
}

LTInt64 PtChartScene::CalcProperMaxRankValue() const
{
    const LTInt64 m =
        qMax(GetMaxRankPeriodOfTime(m_pFirst),
             qMax(GetMaxRankPeriodOfTime(m_pSecond), GetMaxRankPeriodOfTime(m_pThird)));
    if (m <= 0 || m > 99)
        return 100;
    // Rounded up to a multiple of 4, so that the four axis steps are whole ranks.
    const LTInt64 v = LTInt64(std::ceil(double(m) * 0.25) * 4);
    return v == 4 ? 8 : v;
}

double PtChartScene::CalcRankPosition(const QRectF& box, LTInt64 rank) const
{
    if (m_nMaxRank >= rank)
        return box.top() + (box.height() - 1) * double(rank) / double(m_nMaxRank);
    // Ranks beyond the axis (not among the first 100) sit just below the box.
    return box.top() + box.height() + 5;
}

QRectF PtChartScene::ContentRect() const
{
    QRectF content = sceneRect();
    content.setHeight(content.height() - 18);
    return content;
}

QRectF PtChartScene::GetChartBox() const
{
    const QRectF content = ContentRect();
    QRectF box;
    box.setLeft(80);
    box.setRight(content.right() - 80);
    box.setTop(content.height() / 6);
    box.setBottom(5 * content.height() / 6);
    return box;
}

double PtChartScene::GridSpacing() const
{
    return ContentRect().height() / (m_nGridRange / m_nGridStep + 2);
}

void PtChartScene::drawBackground(QPainter* painter, const QRectF& rect)
{
    painter->save();
    QGraphicsScene::drawBackground(painter, rect);
    QFont chartFont = font();
    chartFont.setFamily(QStringLiteral("Tahoma"));
    painter->setFont(chartFont);
    drawFrame(painter);
    DrawYScacleL(painter);
    drawGird(painter);
    painter->setRenderHint(QPainter::Antialiasing, true);

    const QRectF box = GetChartBox();
    QPen pen(QBrush(GoogleColor), 1.5, Qt::SolidLine, Qt::RoundCap, Qt::BevelJoin);
    if (m_pFirst) {
        pen.setColor(GoogleColor);
        painter->setPen(pen);
        DrawRankChart(m_pFirst, box, painter);
    }
    if (m_pSecond) {
        pen.setColor(BingColor);
        painter->setPen(pen);
        DrawRankChart(m_pSecond, box, painter);
    }
    if (m_pThird) {
        pen.setColor(YahooColor);
        painter->setPen(pen);
        DrawRankChart(m_pThird, box, painter);
    }
    painter->restore();
}

void PtChartScene::drawFrame(QPainter* painter)
{
    painter->setPen(
        QPen(QBrush(QColor(150, 150, 150)), 1, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
    const QRectF content = ContentRect();
    painter->drawLine(QPointF(content.left(), content.bottom()),
                      QPointF(content.right(), content.bottom()));
}

void PtChartScene::DrawYScacleL(QPainter* painter)
{
    QPen pen(QColor(0, 0, 0));
    pen.setWidthF(0.5);
    painter->setPen(pen);
    const double spacing = GridSpacing();
    const QFontMetricsF metrics(font());
    for (int i = 0; i <= 4; ++i) {
        const LTInt64 value = (m_nMaxRank / 4) * i;
        const QString label = value == 0 ? QStringLiteral("1") : QString::number(value);
        const QRectF cell(3, std::trunc(spacing * (i + 1) + 2),
                          std::trunc(metrics.horizontalAdvance(label)),
                          std::trunc(metrics.height()));
        painter->drawText(cell, Qt::AlignCenter, label);
    }
}

void PtChartScene::drawGird(QPainter* painter)
{
    painter->setPen(
        QPen(QBrush(QColor(220, 220, 220)), 1, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
    const QRectF content = ContentRect();
    const double spacing = GridSpacing();
    for (int k = 0; k * m_nGridStep <= m_nGridRange; ++k) {
        const double y = spacing * (k + 1);
        painter->drawLine(QPointF(content.left(), y), QPointF(content.right(), y));
    }
}

void PtChartScene::DrawRankChart(const RANK_DATA* series, const QRectF& box, QPainter* painter)
{
    int start = -1;
    int end = -1;
    if (!RangeOf(series, start, end))
        return;
    const QPen seriesPen = painter->pen();
    QPen dotPen = seriesPen;
    dotPen.setWidthF(5);
    bool havePrevious = false;
    QPointF previous;
    for (int i = start; i <= end; ++i) {
        const FLOW_ITEM& point = series->FlowItems[size_t(i)];
        if (point.Rank == 0)
            continue; // a failed check: the line goes on to the next point
        const QPointF here(CalcTimePosition(box, m_dateFrom, m_dateTo, point.SearchTime.date()),
                           CalcRankPosition(box, point.Rank));
        RankPointItem* item = FindGraphicItem(series, point.UpdateNo);
        if (!item) {
            // Logged, never a box: this runs on every repaint, also while another box is
            // open over the chart.
            if (!m_bWarnedMissingItem) {
                m_bWarnedMissingItem = true;
                qWarning().noquote() << QStringLiteral("may exist repeated Update Flow NO");
            }
            continue;
        }
        item->setPos(here);
        painter->setPen(dotPen);
        painter->drawPoint(here);
        painter->setPen(seriesPen);
        if (havePrevious)
            painter->drawLine(previous, here);
        previous = here;
        havePrevious = true;
    }
}

void PtChartScene::AddGraphicItems()
{
    std::vector<const RANK_DATA*> listed;
    std::vector<std::pair<LTInt64, LTInt64>> ranges;
    for (const RANK_DATA* series : {m_pFirst, m_pSecond, m_pThird}) {
        if (!series)
            continue;
        int start = -1;
        int end = -1;
        RangeOf(series, start, end);
        listed.push_back(series);
        ranges.emplace_back(start, end);
    }
    std::map<QDate, std::vector<const FLOW_ITEM*>> grid;
    CombinRankDataForSameDate(listed, grid, ranges);

    for (const auto& [day, points] : grid) {
        QString tip = day.toString(QStringLiteral("dddd, MMMM d yyyy ")) + QStringLiteral("<br>");
        for (size_t j = 0; j < listed.size(); ++j) {
            const FLOW_ITEM* point = j < points.size() ? points[j] : nullptr;
            if (!point || point->Rank == 0)
                continue;
            const QColor color = EngineColor(listed[j]->SearchEngine);
            tip += QStringLiteral("<font color='%1'>\u25CF</font> %2: %3 ")
                       .arg(color.isValid() ? color.name() : QString(),
                            GetSearchEngineName(listed[j]->SearchEngine),
                            RankDisplayString(point->Rank));
            if (j + 1 != listed.size())
                tip += QStringLiteral("<br>");
        }
        for (size_t j = 0; j < listed.size(); ++j) {
            const FLOW_ITEM* point = j < points.size() ? points[j] : nullptr;
            if (!point || point->Rank == 0)
                continue;
            auto* item = new RankPointItem(listed[j], point);
            item->setToolTip(tip);
            addItem(item);
            m_mapItems.insert(PointKey(listed[j], point->UpdateNo), item);
        }
    }
}

void PtChartScene::drawContentRect(QPainter* painter)
{
    painter->setPen(Qt::NoPen);
    painter->setBrush(QBrush(Qt::transparent, Qt::SolidPattern));
    painter->drawRect(ContentRect());
}

void PtChartScene::DrawXScacleB(QPainter* painter)
{
    const LTInt64 days = m_dateFrom.daysTo(m_dateTo);
    if (days < 1)
        return;
    const QRectF content = ContentRect();
    const LTInt64 slotCount = days / m_nDateLabelStep + (days % m_nDateLabelStep == 0 ? 2 : 3);
    m_fDateLabelSpacing = content.width() / double(slotCount);
    QPen pen(QColor(0, 0, 0));
    pen.setWidthF(0.5);
    painter->setPen(pen);
    const QFontMetricsF metrics(painter->font());
    const double perDay = m_fDateLabelSpacing / m_nDateLabelStep;
    for (int k = 0;; ++k) {
        const QDate day = m_dateFrom.addDays(LTInt64(k) * m_nDateLabelStep);
        const double x = content.left() + m_fDateLabelSpacing + perDay * m_nDateLabelStep * k;
        painter->drawLine(QPointF(x, content.bottom() - 4), QPointF(x, content.bottom()));
        if (k % 2 == 0) {
            const QString label = day.toString(QStringLiteral("MM/dd/yyyy"));
            const double width = metrics.horizontalAdvance(label);
            if (x + width / 2 <= content.width())
                painter->drawText(QPointF(x - width / 2, content.bottom() + 2 + metrics.ascent()),
                                  label);
        }
        if (day > m_dateTo)
            break;
    }
}
