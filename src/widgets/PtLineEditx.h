#pragma once

#include <QLineEdit>

// The caption field of the report menu: paints only its caption and swallows the mouse;
// releasing a button over it asks the menu to open its list.
class PtLineEditx : public QLineEdit
{
    Q_OBJECT

public:
    explicit PtLineEditx(QWidget* parent = nullptr);

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
