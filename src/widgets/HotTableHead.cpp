#include "HotTableHead.h"

#include "HotTableWidget.h"

HotTableHead::HotTableHead(Qt::Orientation orientation, QWidget* parent)
    : QHeaderView(orientation, parent)
{}

void HotTableHead::mouseMoveEvent(QMouseEvent* event)
{
    Q_UNUSED(event);
    auto* table = qobject_cast<HotTableWidget*>(parentWidget());
    if (table && table->m_hotCell.isValid())
        table->leaveEvent(nullptr);
}
