#pragma once

#include <QTableWidgetItem>

// Header item and cell of the overview and keyword tables. Rank and change columns sort
// by the number their text stands for ("-" as 0, ">100" and "100+" as 101), the keyword
// column by text.
class PtTableWidgetItem : public QTableWidgetItem
{
public:
    using QTableWidgetItem::QTableWidgetItem;
    ~PtTableWidgetItem() override;

    bool operator<(const QTableWidgetItem& other) const override;

    // The number a rank or change text stands for when sorting.
    static int SortNumber(const QString& text);
};
