#pragma once

#include "Records.h"

#include <QObject>
#include <QString>

#include <list>
#include <vector>

class CheckRankTask;
class HttpRequestEnvir;

// One batch of rank checks: builds the request environments, gives each queued check to
// one environment at a time, keeps failed checks for later cycles and ends every check
// exactly once through OnATaskEnd.
class HttpRequestEnvirManager : public QObject
{
    Q_OBJECT

public:
    static const char* const kUserAgent;

    // Builds the local environment (unless "OnlyProxy") and one per enabled proxy.
    // Throws LTException (code 4) for a proxy of unknown type; nothing built stays behind.
    HttpRequestEnvirManager();
    ~HttpRequestEnvirManager() override;

    // Queues one check of the website's keyword on the engine variant; the check copies
    // what it needs of the variant. An engine host of no known engine queues nothing.
    void AddCheckRankTask(QString website, SEARCH_ENGINE const* engine, QString keyword);
    // The first distribution of the pending checks; false when nothing runs or cools, in
    // which case no check will ever end.
    bool StartTasks();
    bool TryAgainTasks();
    bool TryBlockingTaskStart(HttpRequestEnvir* envir);
    void OnATaskFinish(CheckRankTask* task, HttpRequestEnvir* envir);
    void OnATaskCoolingFinish(CheckRankTask* task, HttpRequestEnvir* envir);
    bool IsFlameout();
    bool CanRunRankTask(HttpRequestEnvir* envir, CheckRankTask* task);
    CheckRankTask* SelectARankTask(HttpRequestEnvir* envir);
    HttpRequestEnvir* SelectAHttpRequestEnvir(CheckRankTask* task);
    bool ExistAvailableReqEnvir(CheckRankTask* task);

    // Receives each check once, with its final result.
    virtual void OnATaskEnd(CheckRankTask* task) = 0;

    const std::vector<HttpRequestEnvir*>& Envirs() const { return m_vecEnvirs; }
    const std::vector<CheckRankTask*>& AllTasks() const { return m_vecAllTasks; }
    const std::list<CheckRankTask*>& PendingTasks() const { return m_lstPendingTasks; }
    const std::list<CheckRankTask*>& RetryTasks() const { return m_lstRetryTasks; }

protected:
    // The check of one engine kind (Google, Bing or Yahoo); null for any other kind.
    virtual CheckRankTask* CreateCheckRankTask(EnuSearchEngineType kind,
                                               SEARCH_ENGINE const* engine, QString website,
                                               QString keyword);

    std::vector<HttpRequestEnvir*> m_vecEnvirs;
    std::list<CheckRankTask*> m_lstPendingTasks;
    std::list<CheckRankTask*> m_lstRetryTasks;
    std::vector<CheckRankTask*> m_vecAllTasks;
};
