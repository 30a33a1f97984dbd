#include "PtChartView.h"

#include "PtChartScene.h"

#include <QResizeEvent>

PtChartView::PtChartView()
{
    setStyleSheet(QStringLiteral("QGraphicsView{ border:0px;background-color:transparent; }"));
}

void PtChartView::resizeEvent(QResizeEvent* event)
{
    if (auto* chart = qobject_cast<PtChartScene*>(scene()))
        chart->resize(event->size());
    QGraphicsView::resizeEvent(event);
}
