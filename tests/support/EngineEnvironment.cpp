#include "EngineEnvironment.h"

#include "FakeSearchEngine.h"
#include "RankHub.h"
#include "TestRankHub.h"

#include <QUrlQuery>

#include <iterator>

bool EngineEnvironment::setUp(TestRankHub& hub, Kind kind, bool credentials, const QString& country,
                              const QString& outgoing)
{
    hub.setSetting(SETTING_OnlyProxy, kind == Local ? 0 : 1);
    if (kind == Local)
        return true;
    return addProxy(hub, kind, credentials, country, outgoing);
}

bool EngineEnvironment::addProxy(TestRankHub& hub, Kind kind, bool credentials,
                                 const QString& country, const QString& outgoing)
{
    if (kind == Local || m_nProxies >= int(std::size(m_proxies))) {
        m_error = QStringLiteral("no room for another proxy");
        return false;
    }
    ProxyLauncher& proxy = m_proxies[m_nProxies];
    const QString user = credentials ? QStringLiteral("ranker%1").arg(m_nProxies) : QString();
    const QString password = credentials ? QStringLiteral("s3cret-%1").arg(m_nProxies) : QString();
    const bool started = kind == Http ? proxy.startTinyProxy(user, password, outgoing)
                                      : proxy.startMicroSocks(user, password, outgoing);
    if (!started) {
        m_error = proxy.error();
        return false;
    }
    ++m_nProxies;
    if (!hub.addProxy(QStringLiteral("127.0.0.1"), proxy.port(),
                      kind == Http ? QStringLiteral("http") : QStringLiteral("socks5"), country,
                      true, user, password)) {
        m_error = QStringLiteral("cannot store the proxy");
        return false;
    }
    return true;
}

QString EngineEnvironment::kindName(Kind kind)
{
    switch (kind) {
    case Local:
        return QStringLiteral("local");
    case Http:
        return QStringLiteral("http proxy");
    case Socks5:
        return QStringLiteral("socks5 proxy");
    }
    return QString();
}

QString EngineEnvironment::peerOf(Kind kind, const QString& outgoing)
{
    return kind == Local ? QStringLiteral("127.0.0.1") : outgoing;
}

QList<QPair<QByteArray, QByteArray>> EngineEnvironment::ownHeaders(const RecordedRequest& request)
{
    QList<QPair<QByteArray, QByteArray>> own;
    for (const auto& header : request.headers) {
        const QByteArray name = header.first.toLower();
        if (name == "host" || name == "connection" || name == "accept-encoding" ||
            name.startsWith("proxy-"))
            continue;
        own.append(header);
    }
    return own;
}

QString EngineEnvironment::queryValue(const RecordedRequest& request, const QString& key,
                                      const QString& absent)
{
    const QUrlQuery query(request.url);
    return query.hasQueryItem(key) ? query.queryItemValue(key, QUrl::FullyDecoded) : absent;
}
