#include "AddWebsiteTreeView.h"

AddWebsiteTreeView::AddWebsiteTreeView(QWidget* parent) : QTreeView(parent) {}

void AddWebsiteTreeView::selectionChanged(const QItemSelection& selected, const QItemSelection&)
{
    const QModelIndexList indexes = selected.indexes();
    if (!indexes.isEmpty() && model()) {
        const QModelIndex first = model()->index(indexes.first().row(), 0);
        if (first.data(Qt::CheckStateRole).toInt() != int(Qt::Checked))
            model()->setData(first, int(Qt::Checked), Qt::CheckStateRole);
    }
    viewport()->update();
}
