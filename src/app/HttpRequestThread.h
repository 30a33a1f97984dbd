#pragma once

#include "IProgress.h"
#include "Records.h"

#include <QThread>

#include <list>

class Progress;

// Runs one work function on a worker thread with the object itself as its progress sink,
// and shows the run in a Progress dialog. The dialog is touched only from the thread that
// owns this object: the worker posts events to it. A subclass supplies EndProgress and
// fills the fields before start().
class HttpRequestThread : public QThread, public IProgress
{
    Q_OBJECT

public:
    using WorkFunction = void (*)(void* argument, IProgress* progress,
                                  std::list<UPDATE_FLOW>* results);

    // Event types, delivered only to this object.
    static constexpr int EVENT_SetProgress = 1001;
    static constexpr int EVENT_Failed = 1002;

    ~HttpRequestThread() override;

    void SetProgress(float fraction) override;
    void SetCurrentMessage(QString message) override;
    virtual bool IsCanceled();
    void CancelRun();

protected:
    void run() override;
    void customEvent(QEvent* event) override;

    void* m_pArgument = nullptr;
    Progress* m_pDlg = nullptr;
    std::list<UPDATE_FLOW> m_lstResult;
    bool m_bCanceled = false;
    WorkFunction m_pfnWork = nullptr;
};
