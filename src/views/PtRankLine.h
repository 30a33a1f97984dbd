#pragma once

#include <QColor>
#include <QGraphicsItem>
#include <QPainterPath>
#include <QPointF>
#include <QSize>
#include <QString>
#include <QVector>

// A rank chart's polyline whose segments stop short of the points they join, leaving room
// for markers of about 6 px (PtRankPoint) at the points.
class PtRankLine : public QGraphicsItem
{
public:
    struct RankLinesInfo {
        QVector<QPointF> points;
        QString text;
    };

    PtRankLine();

    QRectF boundingRect() const override;
    QPainterPath shape() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

    void SetLines(const RankLinesInfo& info);
    // Moves b along the segment towards a: 6.5 px for the start of a segment (first), 6 px
    // for its end. False, with b unchanged, when b lies within 6.5 px of a in both
    // directions.
    bool SetPointOffset(const QPointF& a, QPointF& b, bool first);

    // The shortened segments, one sub-path each, as paint strokes them.
    QPainterPath LinePath();

    const QVector<QPointF>& Points() const { return m_points; }
    QString Text() const { return m_strText; }
    QColor Color() const { return m_color; }
    int LineWidth() const { return m_nLineWidth; }

private:
    QSize m_size{6, 6};
    QVector<QPointF> m_points;
    QString m_strText;
    QColor m_color{180, 1, 222};
    int m_nLineWidth = 2;
};
