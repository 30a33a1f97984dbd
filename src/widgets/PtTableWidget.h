#pragma once

#include <QTableWidget>

// A plain table widget of the program's widget family; no page builds it at present.
class PtTableWidget : public QTableWidget
{
    Q_OBJECT

public:
    PtTableWidget();
};
