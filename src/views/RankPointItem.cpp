#include "RankPointItem.h"

RankPointItem::RankPointItem(const RANK_DATA* series, const FLOW_ITEM* point)
    : m_pRankData(series), m_pFlowItem(point)
{}

QRectF RankPointItem::boundingRect() const
{
    return QRectF(-2.5, -2.5, 5, 5);
}

void RankPointItem::paint(QPainter*, const QStyleOptionGraphicsItem*, QWidget*) {}
