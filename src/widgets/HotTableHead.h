#pragma once

#include <QHeaderView>

// The horizontal header of every HotTableWidget: the mouse on the header ends the table's
// hot cell, so nothing stays highlighted there.
class HotTableHead : public QHeaderView
{
    Q_OBJECT

public:
    HotTableHead(Qt::Orientation orientation, QWidget* parent = nullptr);

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
};
