#include "HttpRequestEnvirManager.h"

#include "BingRankTask.h"
#include "CheckRankTask.h"
#include "GoogleRankTask.h"
#include "HttpRequestEnvir.h"
#include "RankHub.h"
#include "SqlDb.h"
#include "YahooRankTask.h"

#include <QList>

#include <algorithm>
#include <memory>

const char* const HttpRequestEnvirManager::kUserAgent =
    "Mozilla/5.0 (Windows NT 10.0; WOW64; Trident/7.0; rv:11.0) like Gecko";

HttpRequestEnvirManager::HttpRequestEnvirManager()
{
    RankHub* hub = RankHub::Current();
    const bool onlyProxy = hub && hub->GetSettingValue(SETTING_OnlyProxy).toBool();
    const QString userAgent = QString::fromLatin1(kUserAgent);
    try {
        if (!onlyProxy)
            m_vecEnvirs.push_back(new HttpRequestEnvir(this, nullptr, userAgent));
        QList<PROXY> proxies;
        if (hub)
            hub->GetSqlDb().loadProxies(proxies);
        for (const PROXY& proxy : proxies) {
            if (!proxy.enable)
                continue;
            auto envir = std::make_unique<HttpRequestEnvir>(this, &proxy, userAgent);
            m_vecEnvirs.push_back(envir.get());
            envir.release();
        }
    } catch (...) {
        // No destructor runs for a batch that was never built.
        for (HttpRequestEnvir* envir : m_vecEnvirs)
            delete envir;
        m_vecEnvirs.clear();
        throw;
    }
}

HttpRequestEnvirManager::~HttpRequestEnvirManager()
{
    for (HttpRequestEnvir* envir : m_vecEnvirs)
        delete envir;
    m_vecEnvirs.clear();
    for (CheckRankTask* task : m_vecAllTasks)
        delete task;
    m_vecAllTasks.clear();
    m_lstPendingTasks.clear();
    m_lstRetryTasks.clear();
}

CheckRankTask* HttpRequestEnvirManager::CreateCheckRankTask(EnuSearchEngineType kind,
                                                            SEARCH_ENGINE const* engine,
                                                            QString website, QString keyword)
{
    switch (kind) {
    case SE_Google:
        return new GoogleRankTask(engine, std::move(website), std::move(keyword));
    case SE_Bing:
        return new BingRankTask(engine, std::move(website), std::move(keyword));
    case SE_Yahoo:
        return new YahooRankTask(engine, std::move(website), std::move(keyword));
    case SE_Other:
        break;
    }
    return nullptr;
}

void HttpRequestEnvirManager::AddCheckRankTask(QString website, SEARCH_ENGINE const* engine,
                                               QString keyword)
{
    if (!engine)
        return;
    const EnuSearchEngineType kind = FindSearchEngineType(engine->SearchEngine);
    if (kind != SE_Google && kind != SE_Bing && kind != SE_Yahoo)
        return;
    CheckRankTask* task = CreateCheckRankTask(kind, engine, std::move(website), std::move(keyword));
    if (!task)
        return;
    m_vecAllTasks.push_back(task);
    m_lstPendingTasks.push_back(task);
}

bool HttpRequestEnvirManager::StartTasks()
{
    // Each check leaves the pending list before it starts, so that a check ending at once
    // (which a request never does today) could not be queued twice.
    const std::vector<CheckRankTask*> pass(m_lstPendingTasks.begin(), m_lstPendingTasks.end());
    for (CheckRankTask* task : pass) {
        const auto it = std::find(m_lstPendingTasks.begin(), m_lstPendingTasks.end(), task);
        if (it == m_lstPendingTasks.end())
            continue;
        HttpRequestEnvir* envir = SelectAHttpRequestEnvir(task);
        if (!envir)
            continue;
        m_lstPendingTasks.erase(it);
        envir->StartARankTask(task);
    }
    return !IsFlameout();
}

bool HttpRequestEnvirManager::TryAgainTasks()
{
    m_lstPendingTasks.splice(m_lstPendingTasks.end(), m_lstRetryTasks);
    return StartTasks();
}

bool HttpRequestEnvirManager::TryBlockingTaskStart(HttpRequestEnvir* envir)
{
    if (m_lstPendingTasks.empty())
        return false;
    CheckRankTask* task = SelectARankTask(envir);
    if (!task)
        return false;
    m_lstPendingTasks.remove(task);
    envir->StartARankTask(task);
    return true;
}

void HttpRequestEnvirManager::OnATaskFinish(CheckRankTask* task, HttpRequestEnvir* envir)
{
    if (task->Result() == RRT_RequestFailed || task->Result() == RRT_NoResult)
        m_lstRetryTasks.push_back(task);
    else
        OnATaskEnd(task);
    TryBlockingTaskStart(envir);
}

void HttpRequestEnvirManager::OnATaskCoolingFinish(CheckRankTask* task, HttpRequestEnvir* envir)
{
    Q_UNUSED(task);
    TryBlockingTaskStart(envir);
    if (IsFlameout() && !TryAgainTasks()) {
        // Nothing runs, cools or can start any more: the batch is over.
        std::list<CheckRankTask*> rest;
        rest.swap(m_lstPendingTasks);
        for (CheckRankTask* pending : rest)
            OnATaskEnd(pending);
    }
}

bool HttpRequestEnvirManager::IsFlameout()
{
    return std::none_of(m_vecEnvirs.begin(), m_vecEnvirs.end(),
                        [](HttpRequestEnvir* envir) { return envir->IsBusy(); });
}

bool HttpRequestEnvirManager::CanRunRankTask(HttpRequestEnvir* envir, CheckRankTask* task)
{
    return envir->IsIdleRelativeToTask(task) && !envir->HasTried(task) &&
           !envir->IsShieldBySearchEngine(task) && envir->IsMatchedArea(task);
}

CheckRankTask* HttpRequestEnvirManager::SelectARankTask(HttpRequestEnvir* envir)
{
    for (CheckRankTask* task : m_lstPendingTasks) {
        if (CanRunRankTask(envir, task))
            return task;
    }
    return nullptr;
}

HttpRequestEnvir* HttpRequestEnvirManager::SelectAHttpRequestEnvir(CheckRankTask* task)
{
    // Environments that have not failed lately with the engine host come first.
    for (HttpRequestEnvir* envir : m_vecEnvirs) {
        if (CanRunRankTask(envir, task) && envir->IsSmooth(task))
            return envir;
    }
    for (HttpRequestEnvir* envir : m_vecEnvirs) {
        if (CanRunRankTask(envir, task))
            return envir;
    }
    return nullptr;
}

bool HttpRequestEnvirManager::ExistAvailableReqEnvir(CheckRankTask* task)
{
    return std::any_of(m_vecEnvirs.begin(), m_vecEnvirs.end(), [task](HttpRequestEnvir* envir) {
        return !envir->HasTried(task) && !envir->IsShieldBySearchEngine(task) &&
               envir->IsMatchedArea(task);
    });
}
