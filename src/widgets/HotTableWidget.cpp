#include "HotTableWidget.h"

#include "HotTableHead.h"

#include <QFont>
#include <QHeaderView>
#include <QMouseEvent>

HotTableWidget::HotTableWidget(QWidget* parent) : QTableWidget(parent)
{
    setMouseTracking(true);
    viewport()->setMouseTracking(true);

    auto* head = new HotTableHead(Qt::Horizontal, this);
    head->setFont(font());
    head->setSectionsClickable(true);
    setHorizontalHeader(head);
}

void HotTableWidget::mouseMoveEvent(QMouseEvent* event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    if (index == m_hotCell)
        return;
    if (m_hotCell.isValid())
        OnCellLeave(m_hotCell);
    m_hotCell = index;
    OnCellEnter(index);
}

void HotTableWidget::leaveEvent(QEvent* event)
{
    Q_UNUSED(event);
    OnCellLeave(m_hotCell);
    m_hotCell = QModelIndex();
}

void HotTableWidget::OnCellEnter(QModelIndex index)
{
    SetFirstColumnUnderline(index, true);
}

void HotTableWidget::OnCellLeave(QModelIndex index)
{
    SetFirstColumnUnderline(index, false);
}

void HotTableWidget::SetFirstColumnUnderline(const QModelIndex& index, bool underline)
{
    if (index.column() != 0)
        return;
    // The rows may have been rebuilt under a resting mouse: the remembered row can be
    // gone or empty by now.
    QTableWidgetItem* keyword = item(index.row(), 0);
    if (!keyword)
        return;
    const QVariant stored = keyword->data(Qt::FontRole);
    QFont font = stored.canConvert<QFont>() ? stored.value<QFont>() : QFont();
    font.setUnderline(underline);
    keyword->setData(Qt::FontRole, font);
}

void HotTableWidget::SetRankTableLook()
{
    setFocusPolicy(Qt::NoFocus);
    verticalHeader()->hide();
    horizontalHeader()->setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::NoSelection);
    setSortingEnabled(true);
    setAlternatingRowColors(true);
    setMinimumHeight(260);
    verticalHeader()->setDefaultSectionSize(24);
}
