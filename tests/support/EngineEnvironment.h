#pragma once

#include "ProxyLauncher.h"

#include <QByteArray>
#include <QList>
#include <QPair>

#include <QString>

class TestRankHub;
struct RecordedRequest;

// The way out that a test's checks take: the local connection, an HTTP proxy (tinyproxy)
// or a SOCKS5 proxy (microsocks). A proxy connects to the fake engine from its own
// loopback address, so the engine can tell the ways apart by the peer.
class EngineEnvironment
{
public:
    enum Kind { Local, Http, Socks5 };

    // Starts what the kind needs and records it in the hub: the local connection alone,
    // or only the proxy ("OnlyProxy" on), serving `country`, with a user name and
    // password when `credentials` is set.
    bool setUp(TestRankHub& hub, Kind kind, bool credentials,
               const QString& country = QStringLiteral("United States"),
               const QString& outgoing = QStringLiteral("127.0.0.2"));
    // Adds one more proxy to the hub (the local connection stays as the hub says).
    bool addProxy(TestRankHub& hub, Kind kind, bool credentials, const QString& country,
                  const QString& outgoing);

    QString error() const { return m_error; }
    static QString kindName(Kind kind);
    // The loopback address the fake engine sees for a request through this kind.
    static QString peerOf(Kind kind, const QString& outgoing = QStringLiteral("127.0.0.2"));

    // The headers of a request that the program itself set: all but those the network
    // stack or a proxy adds on its own (Host, Connection, Accept-Encoding, Proxy-*).
    static QList<QPair<QByteArray, QByteArray>> ownHeaders(const RecordedRequest& request);
    // The value of one query item of the request's URL; `absent` when it is not there.
    static QString queryValue(const RecordedRequest& request, const QString& key,
                              const QString& absent = QString());

private:
    ProxyLauncher m_proxies[4];
    int m_nProxies = 0;
    QString m_error;
};
