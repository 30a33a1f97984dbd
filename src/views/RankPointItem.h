#pragma once

#include "Records.h"

#include <QGraphicsItem>

// An invisible item at one drawn point of the trend chart; it only carries the point's
// tool tip, which the view shows on hover. It names its point by the series and the
// update number, not by address: a merge may move the series' points in memory while
// the chart still shows them.
class RankPointItem : public QGraphicsItem
{
public:
    RankPointItem(const RANK_DATA* series, const FLOW_ITEM* point);

    QRectF boundingRect() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

    const RANK_DATA* Series() const { return m_pRankData; }
    // The point where the series holds it now; null when the series no longer has it.
    const FLOW_ITEM* Point() const;

private:
    const RANK_DATA* m_pRankData;
    LTInt64 m_nUpdateNo;
};
