#include "KewwordsTableWidget.h"

#include <QApplication>

KewwordsTableWidget::KewwordsTableWidget(QWidget* parent) : HotTableWidget(parent) {}

KewwordsTableWidget::~KewwordsTableWidget()
{
    // The leave that the toolkit sends while a widget under the mouse is destroyed no
    // longer reaches this class: give the pushed hand back here, or it would stay for the
    // whole application.
    if (HotCell().isValid() && HotCell().column() == UrlColumn)
        QApplication::restoreOverrideCursor();
}

void KewwordsTableWidget::OnCellEnter(QModelIndex index)
{
    if (index.column() == UrlColumn)
        QApplication::setOverrideCursor(Qt::PointingHandCursor);
}

void KewwordsTableWidget::OnCellLeave(QModelIndex index)
{
    if (index.column() == UrlColumn)
        QApplication::restoreOverrideCursor();
}
