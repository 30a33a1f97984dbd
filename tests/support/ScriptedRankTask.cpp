#include "ScriptedRankTask.h"

#include "HttpRequestEnvir.h"
#include "TaskCooling.h"

#include <QRegularExpression>
#include <QUrlQuery>

ScriptedRankTask::ScriptedRankTask(SEARCH_ENGINE const* engine, QString website, QString keyword,
                                   int pages)
    : CheckRankTask(engine, std::move(website), std::move(keyword)), m_nPages(pages)
{}

QStringList& ScriptedRankTask::events()
{
    static QStringList log;
    return log;
}

void ScriptedRankTask::Start()
{
    ++m_nStarts;
    events().append(QStringLiteral("start ") + m_strKeyword);
    m_bHostBusyAtStart = false;
    for (CheckRankTask* running : m_pEnvir->RunningTasks()) {
        if (running != this && running->SearchEngine() == m_strSearchEngine)
            m_bHostBusyAtStart = true;
    }
    for (TaskCooling* cooling : m_pEnvir->Coolings()) {
        if (cooling->Task()->SearchEngine() == m_strSearchEngine)
            m_bHostBusyAtStart = true;
    }
    QUrl url;
    url.setScheme(QStringLiteral("http"));
    url.setHost(m_strSearchEngine);
    url.setPath(QStringLiteral("/search"));
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("q"), m_strKeyword);
    query.addQueryItem(QStringLiteral("page"), QString::number(m_nPage));
    url.setQuery(query);
    PrepareRequestAndConnect(url, false);
}

void ScriptedRankTask::PrepareRequestAndConnect(QUrl url, bool redirect)
{
    m_requested.append(url);
    CheckRankTask::PrepareRequestAndConnect(url, redirect);
}

bool ScriptedRankTask::OnRequestOK(QString page)
{
    m_pagesRead.append(page);
    static const QRegularExpression link(QStringLiteral("<a class=\"r\" href=\"([^\"]*)\""));
    int position = 0;
    auto it = link.globalMatch(page);
    if (!it.hasNext()) {
        m_nResult = RRT_NoResult;
        return true;
    }
    m_nResult = RRT_NotFound;
    while (it.hasNext()) {
        const QString href = it.next().captured(1);
        ++position;
        if (href.contains(m_strWebsite)) {
            m_nResult = RRT_Found;
            m_strFoundUrl = href;
            m_nRank = 10 * m_nPage + position;
            return true;
        }
    }
    if (++m_nPage >= m_nPages)
        return true;
    StartPageTimer();
    return false;
}
