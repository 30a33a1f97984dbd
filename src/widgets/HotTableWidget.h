#pragma once

#include <QModelIndex>
#include <QTableWidget>

class HotTableHead;

// A table that tracks the cell under the mouse (the hot cell) and calls OnCellLeave for
// the cell the mouse left and OnCellEnter for the index it reached. Its own reaction
// underlines the first column's text of the row under the mouse.
class HotTableWidget : public QTableWidget
{
    Q_OBJECT

public:
    explicit HotTableWidget(QWidget* parent = nullptr);

    // The look the overview and keyword tables share: read-only, no selection and no
    // focus, sortable, alternating rows of 24 px without a row header.
    void SetRankTableLook();

    // The cell under the mouse; invalid when there is none.
    QModelIndex HotCell() const { return m_hotCell; }

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

    virtual void OnCellEnter(QModelIndex index);
    virtual void OnCellLeave(QModelIndex index);

private:
    friend class HotTableHead;

    void SetFirstColumnUnderline(const QModelIndex& index, bool underline);

    QModelIndex m_hotCell;
};
