#pragma once

#include <QListView>

// The help menu's drop-down list: a short list that neither follows the mouse nor scrolls
// with the wheel; clicks select as usual.
class PtListViewx : public QListView
{
    Q_OBJECT

public:
    explicit PtListViewx(QWidget* parent = nullptr);

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
};
