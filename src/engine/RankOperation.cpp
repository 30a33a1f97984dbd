#include "RankOperation.h"

#include "CheckRankTask.h"
#include "CheckTiming.h"
#include "HttpRequestEnvir.h"
#include "IProgress.h"
#include "RankHub.h"

#include <QDateTime>

RankOperation::RankOperation(IProgress* progress, bool* updateRunning)
    : m_pProgress(progress), m_pUpdateRunning(updateRunning)
{
    if (!m_pUpdateRunning && RankHub::Current())
        m_pUpdateRunning = &RankHub::Current()->UpdateRunningFlag();
    startTimer(CheckTiming::WatchdogPeriod());
    if (m_pUpdateRunning)
        *m_pUpdateRunning = true;
}

RankOperation::~RankOperation()
{
    if (m_pUpdateRunning)
        *m_pUpdateRunning = false;
    m_lstResults.clear();
}

void RankOperation::OnATaskEnd(CheckRankTask* task)
{
    ++m_nFinished;
    const int total = static_cast<int>(AllTasks().size());
    if (m_pProgress && total > 0)
        m_pProgress->SetProgress(static_cast<float>(double(m_nFinished) / double(total)));

    UPDATE_FLOW flow;
    flow.Website = task->Website();
    flow.SearchEngine = task->SearchEngine();
    flow.Lang = task->Lang();
    flow.Keyword = task->Keyword();
    flow.SearchTime = QDateTime::currentDateTime();
    switch (task->Result()) {
    case RRT_Found:
        flow.Rank = task->Rank();
        break;
    case RRT_NotFound:
        flow.Rank = 101;
        break;
    default:
        flow.Rank = 0;
        break;
    }
    flow.RankURL = task->FoundUrl();
    m_lstResults.push_back(flow);

    if (m_nFinished == total && m_pProgress)
        m_pProgress->EndProgress();
}

void RankOperation::timerEvent(QTimerEvent* event)
{
    Q_UNUSED(event);
    const LTInt64 timeout = CheckTiming::RequestTimeout();
    // An abort ends the check's run at once and may start another check on the same
    // environment: walk by position and read the lengths anew at every step.
    for (size_t e = 0; e < Envirs().size(); ++e) {
        HttpRequestEnvir* envir = Envirs()[e];
        for (size_t t = 0; t < envir->RunningTasks().size(); ++t) {
            CheckRankTask* task = envir->RunningTasks()[t];
            if (task->IsRequesting() && task->RequestAge() > timeout)
                task->AbortRequest();
        }
    }
}
