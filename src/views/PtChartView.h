#pragma once

#include <QGraphicsView>

// Shows a trend chart and keeps the chart's scene rectangle equal to its own size.
class PtChartView : public QGraphicsView
{
    Q_OBJECT

public:
    PtChartView();

protected:
    void resizeEvent(QResizeEvent* event) override;
};
