#include "Progress.h"

#include "RMainWindow.h"
#include "ui_Progress.h"

#include <cmath>

Progress::Progress(QWidget* parent) : QDialog(parent, Qt::FramelessWindowHint), ui(new Ui_Progress)
{
    ui->setupUi(this);
    setModal(true);
    ui->progressBar->setRange(0, 100);
    ui->progressBar->setValue(0);
    ui->pushMinimize->hide();
    QCoreApplication::postEvent(this, new QEvent(QEvent::Type(EVENT_Shown)));
}

Progress::~Progress()
{
    delete ui;
}

QSize Progress::FrameSize()
{
    return ui->frame->size();
}

void Progress::SetPos(QPoint pos)
{
    ui->frame->move(pos);
}

void Progress::SetFrameSize(QSize size)
{
    ui->frame->resize(size);
}

int Progress::PercentOf(float fraction)
{
    const float percent = fraction * 100;
    // Casting NaN or an out-of-range float to an integer is undefined.
    if (!(percent > 0))
        return 0;
    if (percent >= 100)
        return 100;
    return int(percent);
}

void Progress::SetProgress(float fraction)
{
    ui->progressBar->setValue(PercentOf(fraction));
}

void Progress::EndProgress()
{
    m_bEnded = true;
    accept();
}

int Progress::exec()
{
    if (m_bEnded)
        return result();
    return QDialog::exec();
}

void Progress::on_pushButton_clicked()
{
    ui->label->setText(QStringLiteral("Cancelling..."));
    ui->pushButton->setEnabled(false);
    reject();
}

void Progress::on_pushMinimize_clicked() {}

void Progress::customEvent(QEvent* event)
{
    if (event->type() == QEvent::Type(EVENT_Shown)) {
        // Only asks; the answer is not used.
        if (s_wndRMainWindow)
            (void)s_wndRMainWindow->isMinimized();
    }
}
