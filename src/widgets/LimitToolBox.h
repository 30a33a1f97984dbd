#pragma once

#include <QString>
#include <QToolBox>

#include <vector>

// The overview's list of websites: one page per website, at most 10 in the box. It keeps
// every page it was given, in order, so that a list position is a website index; a
// website selected from outside the box takes the place of the box's first page.
class LimitToolBox : public QToolBox
{
public:
    struct TOOL_ITEM {
        QWidget* widget = nullptr;
        QString title;
    };

    explicit LimitToolBox(QWidget* parent = nullptr);
    ~LimitToolBox() override;

    // Appends a page for the next website; its box index, or -1 when the box is full and
    // the page is only kept for later.
    int addItemLit(QWidget* widget, const QString& title);
    // Makes the page of website index i current, bringing it into a full box when needed.
    void selectItem(int i);
    // The website index of a box page, -1 when none.
    int GetWebsiteIndex(int boxIndex);

private:
    int m_nLimit = 10;
    std::vector<TOOL_ITEM> m_vItems;
};
