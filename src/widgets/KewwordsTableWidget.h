#pragma once

#include "HotTableWidget.h"

// The keyword page's table: the pointing hand over the ranking-URL column, whose cells
// open the URL when clicked.
class KewwordsTableWidget : public HotTableWidget
{
public:
    // The column of the ranking URLs.
    static constexpr int UrlColumn = 9;

    explicit KewwordsTableWidget(QWidget* parent = nullptr);
    ~KewwordsTableWidget() override;

protected:
    void OnCellEnter(QModelIndex index) override;
    void OnCellLeave(QModelIndex index) override;
};
