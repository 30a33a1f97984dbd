#include "PtListViewx.h"

PtListViewx::PtListViewx(QWidget* parent) : QListView(parent) {}

void PtListViewx::mouseMoveEvent(QMouseEvent* event)
{
    Q_UNUSED(event);
}

void PtListViewx::wheelEvent(QWheelEvent* event)
{
    Q_UNUSED(event);
}
