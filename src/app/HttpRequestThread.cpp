#include "HttpRequestThread.h"

#include "Event_SetProgress.h"
#include "LTException.h"
#include "Progress.h"
#include "ui_Progress.h"

#include <QCloseEvent>
#include <QCoreApplication>

HttpRequestThread::~HttpRequestThread()
{
    m_lstResult.clear();
}

void HttpRequestThread::SetProgress(float fraction)
{
    QCoreApplication::postEvent(this, new Event_SetProgress(Progress::PercentOf(fraction)));
}

void HttpRequestThread::SetCurrentMessage(QString message)
{
    Q_UNUSED(message);
}

bool HttpRequestThread::IsCanceled()
{
    return m_bCanceled;
}

void HttpRequestThread::CancelRun()
{
    m_bCanceled = true;
}

void HttpRequestThread::run()
{
    try {
        if (m_pfnWork)
            m_pfnWork(m_pArgument, this, &m_lstResult);
        // A close event of its own kind: the dialog's handler reads it as one.
        QCoreApplication::postEvent(m_pDlg, new QCloseEvent);
    } catch (const LTException& e) {
        if (e.code() == 2)
            QCoreApplication::postEvent(this, new QEvent(QEvent::Type(EVENT_Failed)));
    }
}

void HttpRequestThread::customEvent(QEvent* event)
{
    if (!m_pDlg)
        return;
    if (event->type() == QEvent::Type(EVENT_SetProgress)) {
        const auto* progress = dynamic_cast<const Event_SetProgress*>(event);
        if (!progress)
            return;
        m_pDlg->ui->progressBar->setValue(int(progress->m_nPercent));
    } else if (event->type() == QEvent::Type(EVENT_Failed)) {
        m_pDlg->done(1);
    }
}
