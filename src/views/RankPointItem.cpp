#include "RankPointItem.h"

RankPointItem::RankPointItem(const RANK_DATA* series, const FLOW_ITEM* point)
    : m_pRankData(series), m_nUpdateNo(point->UpdateNo)
{}

const FLOW_ITEM* RankPointItem::Point() const
{
    for (const FLOW_ITEM& item : m_pRankData->FlowItems)
        if (item.UpdateNo == m_nUpdateNo)
            return &item;
    return nullptr;
}

QRectF RankPointItem::boundingRect() const
{
    return QRectF(-2.5, -2.5, 5, 5);
}

void RankPointItem::paint(QPainter*, const QStyleOptionGraphicsItem*, QWidget*) {}
