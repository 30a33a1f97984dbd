#pragma once

#include <QComboBox>

// The "Report" menu of the overview and keyword pages: a drop-down that looks like a
// button with the fixed caption "Report"; the caption comes back after every choice.
class PtComboBox : public QComboBox
{
    Q_OBJECT

public:
    // Posted to itself at construction: restores the caption once the form that built the
    // menu has filled it.
    static constexpr int EVENT_RestoreCaption = 1101;

    explicit PtComboBox(QWidget* parent = nullptr);

signals:
    void DoCurrentSelected(int index);

public slots:
    void OnIndexChange(int index);
    void OnShowView();

protected:
    void customEvent(QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
};
