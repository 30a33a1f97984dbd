#pragma once

#include "Records.h"

#include <QGraphicsItem>

// An invisible item at one drawn point of the trend chart; it only carries the point's
// tool tip, which the view shows on hover.
class RankPointItem : public QGraphicsItem
{
public:
    RankPointItem(const RANK_DATA* series, const FLOW_ITEM* point);

    QRectF boundingRect() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

    const RANK_DATA* Series() const { return m_pRankData; }
    const FLOW_ITEM* Point() const { return m_pFlowItem; }

private:
    const RANK_DATA* m_pRankData;
    const FLOW_ITEM* m_pFlowItem;
};
