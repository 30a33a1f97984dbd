#pragma once

#include <QLineEdit>

// The caption field of the help menu: paints only its caption below the help icon and
// swallows the mouse; releasing a button over it asks the menu to open its list.
class PtLineEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit PtLineEdit(QWidget* parent = nullptr);

signals:
    void DoPressed();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
};
