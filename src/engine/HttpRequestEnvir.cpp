#include "HttpRequestEnvir.h"

#include "CheckRankTask.h"
#include "HttpRequestEnvirManager.h"
#include "LTException.h"
#include "TaskCooling.h"

#include <QDebug>
#include <QNetworkProxy>

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace {
// Country names from the engine lists may carry a trailing blank ("Canada "); proxy
// countries come from the catalogue without it.
QString WithoutTrailingBlanks(const QString& text)
{
    int end = text.size();
    while (end > 0 && text.at(end - 1).isSpace())
        --end;
    return text.left(end);
}

QString TaskAddress(const CheckRankTask* task)
{
    return QString::asprintf("0x%x", static_cast<unsigned>(reinterpret_cast<quintptr>(task)));
}
} // namespace

long RandomDelay(long ms)
{
    const long extra = std::rand() % 5000 + 2000;
    // Saturate instead of overflowing for absurd delays.
    if (ms > std::numeric_limits<long>::max() - extra)
        return std::numeric_limits<long>::max();
    return ms + extra;
}

HttpRequestEnvir::HttpRequestEnvir(HttpRequestEnvirManager* manager, PROXY const* proxy,
                                   QString userAgent)
    : m_pManager(manager), m_strUserAgent(std::move(userAgent))
{
    // Redirects are followed by the check itself, and the local connection must not pick
    // up a proxy from the environment.
    m_NetworkAccessManager.setRedirectPolicy(QNetworkRequest::ManualRedirectPolicy);
    if (!proxy) {
        m_NetworkAccessManager.setProxy(QNetworkProxy(QNetworkProxy::NoProxy));
        return;
    }

    QNetworkProxy::ProxyType type;
    if (proxy->type == QLatin1String("http"))
        type = QNetworkProxy::HttpProxy;
    else if (proxy->type == QLatin1String("socks5"))
        type = QNetworkProxy::Socks5Proxy;
    else
        throw LTException(4, "unsupported proxy type");

    // The stored user name and password are what the proxy asks for when it wants any.
    QNetworkProxy networkProxy(type, proxy->address, static_cast<quint16>(proxy->port),
                               proxy->username, proxy->password);
    m_NetworkAccessManager.setProxy(networkProxy);
    m_strArea = proxy->country;
}

HttpRequestEnvir::~HttpRequestEnvir()
{
    // The replies go with the network access manager; their checks must not hear of it.
    for (CheckRankTask* task : m_vecRunningTasks)
        task->DetachReply();
    for (TaskCooling* cooling : m_lstCoolings)
        delete cooling;
    m_lstCoolings.clear();
}

bool HttpRequestEnvir::IsIdleRelativeToTask(CheckRankTask* task)
{
    for (CheckRankTask* running : m_vecRunningTasks) {
        if (running->SearchEngine() == task->SearchEngine())
            return false;
    }
    for (TaskCooling* cooling : m_lstCoolings) {
        if (cooling->Task()->SearchEngine() == task->SearchEngine())
            return false;
    }
    return true;
}

bool HttpRequestEnvir::HasTried(CheckRankTask* task)
{
    const auto& tried = task->TriedEnvirs();
    return std::find(tried.begin(), tried.end(), this) != tried.end();
}

bool HttpRequestEnvir::IsShieldBySearchEngine(CheckRankTask* task)
{
    const auto it = m_mapFailTimes.constFind(task->SearchEngine());
    return it != m_mapFailTimes.constEnd() && it.value() > 2;
}

bool HttpRequestEnvir::IsSmooth(CheckRankTask* task)
{
    const auto it = m_mapFailTimes.constFind(task->SearchEngine());
    return it == m_mapFailTimes.constEnd() || it.value() == 0;
}

bool HttpRequestEnvir::IsMatchedArea(CheckRankTask* task)
{
    if (m_NetworkAccessManager.proxy().hostName().isEmpty())
        return true;
    return WithoutTrailingBlanks(task->Area()) == WithoutTrailingBlanks(m_strArea);
}

QMap<QString, long>::iterator
HttpRequestEnvir::GainProperFailTimesAboutSearchEngine(QString engineHost)
{
    auto it = m_mapFailTimes.find(engineHost);
    if (it == m_mapFailTimes.end())
        it = m_mapFailTimes.insert(engineHost, 0);
    return it;
}

void HttpRequestEnvir::StartARankTask(CheckRankTask* task)
{
    qDebug() << "start a rank task******" << TaskAddress(task).toLatin1().constData()
             << task->SearchEngine() << task->Keyword();
    task->SetEnvir(this);
    m_vecRunningTasks.push_back(task);
    task->Start();
}

void HttpRequestEnvir::OnTaskFinish(CheckRankTask* task)
{
    qDebug() << "finish a rank task******" << TaskAddress(task).toLatin1().constData()
             << task->SearchEngine() << task->Keyword();
    m_vecRunningTasks.erase(std::remove(m_vecRunningTasks.begin(), m_vecRunningTasks.end(), task),
                            m_vecRunningTasks.end());
    m_lstCoolings.push_back(new TaskCooling(task, this));

    auto count = GainProperFailTimesAboutSearchEngine(task->SearchEngine());
    if (task->Result() == RRT_RequestFailed || task->Result() == RRT_NoResult) {
        ++count.value();
        if (count.value() > 2) {
            qDebug() << "this request envir and search engine has reach to max failed times"
                     << count.value() << task->SearchEngine()
                     << "proxy host name:" << m_NetworkAccessManager.proxy().hostName();
        }
    } else {
        count.value() = 0;
    }
    m_pManager->OnATaskFinish(task, this);
}

void HttpRequestEnvir::OnTaskCoolingFinish(TaskCooling* cooling)
{
    CheckRankTask* task = cooling->Task();
    m_lstCoolings.remove(cooling);
    // Gone before the batch hears of it, so that whatever the batch does next cannot
    // reach a cooling that is over.
    delete cooling;
    m_pManager->OnATaskCoolingFinish(task, this);
}
