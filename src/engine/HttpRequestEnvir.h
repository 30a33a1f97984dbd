#pragma once

#include "Records.h"

#include <QMap>
#include <QNetworkAccessManager>
#include <QObject>
#include <QString>

#include <list>
#include <vector>

class CheckRankTask;
class HttpRequestEnvirManager;
class TaskCooling;

// A random wait in milliseconds: ms plus 2000 to 6999, from the C library's generator.
long RandomDelay(long ms);

// One way out to the search engines: the local connection or one proxy. Runs at most one
// check per engine host at a time, lets each engine host cool after every finished check
// and counts consecutive failures per engine host. Owned by its batch.
class HttpRequestEnvir : public QObject
{
    Q_OBJECT

public:
    // A null proxy makes the local environment. Throws LTException (code 4) for a proxy
    // type other than "http" and "socks5".
    HttpRequestEnvir(HttpRequestEnvirManager* manager, PROXY const* proxy, QString userAgent);
    ~HttpRequestEnvir() override;

    // Neither runs nor cools a check of the task's engine host.
    bool IsIdleRelativeToTask(CheckRankTask* task);
    // The task failed here before.
    bool HasTried(CheckRankTask* task);
    // 3 or more consecutive failures of the task's engine host here.
    bool IsShieldBySearchEngine(CheckRankTask* task);
    // No failure of the task's engine host here since its last success.
    bool IsSmooth(CheckRankTask* task);
    // The local environment serves every country, a proxy its own.
    bool IsMatchedArea(CheckRankTask* task);
    QMap<QString, long>::iterator GainProperFailTimesAboutSearchEngine(QString engineHost);

    void StartARankTask(CheckRankTask* task);
    virtual void OnTaskFinish(CheckRankTask* task);
    virtual void OnTaskCoolingFinish(TaskCooling* cooling);

    QNetworkAccessManager* NetworkAccessManager() { return &m_NetworkAccessManager; }
    const QString& UserAgent() const { return m_strUserAgent; }
    const QString& Area() const { return m_strArea; }
    const std::vector<CheckRankTask*>& RunningTasks() const { return m_vecRunningTasks; }
    const std::list<TaskCooling*>& Coolings() const { return m_lstCoolings; }
    // Something runs or cools here.
    bool IsBusy() const { return !m_vecRunningTasks.empty() || !m_lstCoolings.empty(); }

private:
    HttpRequestEnvirManager* m_pManager;
    QString m_strArea;
    QString m_strUserAgent;
    QNetworkAccessManager m_NetworkAccessManager;
    std::vector<CheckRankTask*> m_vecRunningTasks;
    std::list<TaskCooling*> m_lstCoolings;
    QMap<QString, long> m_mapFailTimes;
};
