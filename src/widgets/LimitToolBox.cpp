#include "LimitToolBox.h"

#include <QIcon>

LimitToolBox::LimitToolBox(QWidget* parent) : QToolBox(parent, Qt::WindowFlags()) {}

LimitToolBox::~LimitToolBox()
{
    // The box's pages go with the box as its children; the others have no parent.
    for (const TOOL_ITEM& item : m_vItems) {
        if (indexOf(item.widget) < 0)
            delete item.widget;
    }
    m_vItems.clear();
}

int LimitToolBox::addItemLit(QWidget* widget, const QString& title)
{
    m_vItems.push_back(TOOL_ITEM{widget, title});
    if (count() < m_nLimit)
        return insertItem(count(), widget, QIcon(), title);
    return -1;
}

void LimitToolBox::selectItem(int i)
{
    // Callers pass the header combo's index; anything outside the list selects nothing.
    if (i < 0 || i >= int(m_vItems.size()))
        return;
    const TOOL_ITEM& item = m_vItems[i];
    if (indexOf(item.widget) < 0) {
        QWidget* first = widget(0);
        const bool blocked = blockSignals(true);
        removeItem(0);
        if (first)
            first->hide();
        insertItem(m_nLimit - 1, item.widget, QIcon(), item.title);
        blockSignals(blocked);
    }
    setCurrentIndex(indexOf(item.widget));
}

int LimitToolBox::GetWebsiteIndex(int boxIndex)
{
    if (m_vItems.empty())
        return -1;
    QWidget* page = widget(boxIndex);
    if (!page)
        return -1;
    for (size_t k = 0; k < m_vItems.size(); ++k) {
        if (m_vItems[k].widget == page)
            return int(k);
    }
    return -1;
}
