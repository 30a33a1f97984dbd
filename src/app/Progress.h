#pragma once

#include "IProgress.h"

#include <QDialog>
#include <QPoint>
#include <QSize>

class Ui_Progress;

// The modal dialog of an update run: a message, a progress bar from 0 to 100 and Cancel.
// The rank checker reports through IProgress and ends the dialog's event loop with
// EndProgress; Cancel ends it early.
class Progress : public QDialog, public IProgress
{
    Q_OBJECT

public:
    static constexpr int EVENT_Shown = 1102;

    explicit Progress(QWidget* parent = nullptr);
    ~Progress() override;

    QSize FrameSize();
    void SetPos(QPoint pos);
    void SetFrameSize(QSize size);

    void SetProgress(float fraction) override;
    void EndProgress() override;

    // A run can end before its driver reaches exec(): exec() then returns at once instead
    // of showing a dialog that nothing would close.
    int exec() override;

    // The bar's value for a fraction: truncated toward zero, within 0 to 100.
    static int PercentOf(float fraction);

private slots:
    void on_pushButton_clicked();
    void on_pushMinimize_clicked();

protected:
    void customEvent(QEvent* event) override;

private:
    friend class HttpRequestThread;
    Ui_Progress* ui;
    bool m_bEnded = false;
};
