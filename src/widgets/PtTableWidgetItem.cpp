#include "PtTableWidgetItem.h"

PtTableWidgetItem::~PtTableWidgetItem() = default;

int PtTableWidgetItem::SortNumber(const QString& text)
{
    int number = 0;
    if (text == QLatin1String(">100"))
        number = 101;
    else if (text == QLatin1String("-"))
        number = 0;
    else
        number = text.toInt(); // takes a leading sign; anything else that is no number is 0
    if (text == QLatin1String("100+"))
        number = 101;
    return number;
}

bool PtTableWidgetItem::operator<(const QTableWidgetItem& other) const
{
    if (other.tableWidget() && other.column() >= 1)
        return SortNumber(text()) < SortNumber(other.text());
    return QTableWidgetItem::operator<(other);
}
