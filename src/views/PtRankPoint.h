#pragma once

#include <QColor>
#include <QGraphicsItem>
#include <QPointF>
#include <QSize>

// A small marker of a rank chart: a circle (or a square) of a few pixels centred on the
// point it marks. The item's position is its top-left corner; setPos takes the centre.
class PtRankPoint : public QGraphicsItem
{
public:
    // Any value but Circle draws a square.
    enum _Point_sharp : int { Circle = 0, Square = 1 };

    PtRankPoint();

    QRectF boundingRect() const override;
    QPainterPath shape() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

    void setSharp(_Point_sharp sharp);
    // Centres the marker on (x, y); the halves of the size are taken in whole pixels.
    void setPos(double x, double y);
    void setPos(const QPointF& centre);
    void setPointSize(const QSize& size);

    QSize PointSize() const { return m_size; }
    QPointF Centre() const { return QPointF(m_fCentreX, m_fCentreY); }
    _Point_sharp Sharp() const { return m_sharp; }
    QColor Color() const { return m_color; }

private:
    QSize m_size{6, 6};
    double m_fCentreX = 0;
    double m_fCentreY = 0;
    _Point_sharp m_sharp = Circle;
    QColor m_color{255, 0, 0};
};
