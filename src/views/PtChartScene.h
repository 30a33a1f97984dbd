#pragma once

#include "Records.h"

#include <QDate>
#include <QGraphicsScene>
#include <QMap>
#include <QPair>
#include <QRectF>
#include <QSize>

class RankPointItem;

// The trend chart of one keyword: the rank histories of up to three engines (Google, Bing,
// Yahoo) over a date range, drawn as polylines of fat dots on a rank axis with rank 1 at
// the top. The whole chart is painted in the background pass; each drawn point carries an
// invisible item whose tool tip gives that day's rank on every engine.
class PtChartScene : public QGraphicsScene
{
    Q_OBJECT

public:
    // The histories may be null; they must outlive the scene.
    PtChartScene(const RANK_DATA* first, const RANK_DATA* second, const RANK_DATA* third,
                 QDate from, QDate to, const QRectF& rect);
    ~PtChartScene() override;

    void resize(const QSize& size);

    // Items are found by series and update number, never by the point's address: a merge
    // that grows a series moves its points, and one the store refuses leaves them moved.
    RankPointItem* FindGraphicItem(const RANK_DATA* series, LTInt64 updateNo) const;
    // The item of a point of one of the scene's series, or null.
    RankPointItem* FindGraphicItem(const FLOW_ITEM* point) const;
    // The largest rank (0 and 101 included) of the series' points within the range.
    LTInt64 GetMaxRankPeriodOfTime(const RANK_DATA* series) const;
    // The rank shown at the bottom of the axis.
    LTInt64 CalcProperMaxRankValue() const;
    double CalcRankPosition(const QRectF& box, LTInt64 rank) const;

    QRectF ContentRect() const;
    QRectF GetChartBox() const;

    QDate From() const { return m_dateFrom; }
    QDate To() const { return m_dateTo; }
    LTInt64 AxisMaximum() const { return m_nMaxRank; }
    const RANK_DATA* Series(int index) const;
    using PointKey = QPair<const RANK_DATA*, LTInt64>;
    const QMap<PointKey, RankPointItem*>& PointItems() const { return m_mapItems; }

    // Drawn nowhere by the background pass; kept for charts that want them.
    void drawContentRect(QPainter* painter);
    void DrawXScacleB(QPainter* painter);

protected:
    void drawBackground(QPainter* painter, const QRectF& rect) override;

private:
    void drawFrame(QPainter* painter);
    void DrawYScacleL(QPainter* painter);
    void drawGird(QPainter* painter);
    void DrawRankChart(const RANK_DATA* series, const QRectF& box, QPainter* painter);
    void AddGraphicItems();
    // First and last index of the series' points in range; false when there is none.
    bool RangeOf(const RANK_DATA* series, int& start, int& end) const;
    // The gap between two grid lines.
    double GridSpacing() const;

    const RANK_DATA* m_pFirst;
    const RANK_DATA* m_pSecond;
    const RANK_DATA* m_pThird;
    QMap<PointKey, RankPointItem*> m_mapItems;
    int m_nGridStep = 25;
    int m_nGridRange = 100;
    QDate m_dateFrom;
    QDate m_dateTo;
    int m_nDateLabelStep = 10;
    double m_fDateLabelSpacing = 0;
    LTInt64 m_nMaxRank = 100;
    // The repeated-point warning is logged once per scene, not on every repaint.
    bool m_bWarnedMissingItem = false;
};

// x of a day in the box: the from day one day's width right of the left edge, the to day
// at box.right - 1.
double CalcTimePosition(const QRectF& box, QDate from, QDate to, QDate day);
