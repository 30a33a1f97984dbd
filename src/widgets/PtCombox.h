#pragma once

#include <QComboBox>

class PtListViewx;

// The header bar's help menu: a drop-down that looks like a button captioned "Help" with
// the help icon. Choosing an entry restores the caption and reports the entry's text.
class PtCombox : public QComboBox
{
    Q_OBJECT

public:
    // The style sheet (may be null) is that of the form's combo box the menu replaces.
    explicit PtCombox(const QString* styleSheet);

    void showPopup() override;

signals:
    void DoClicked(QString text);

public slots:
    void ShowPopWnd();
    void OnIndexChange(QString text);

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    PtListViewx* m_pListView = nullptr;
};
