#pragma once

#include <QString>
#include <QTemporaryDir>

#include <memory>

class QProcess;

// Starts a real proxy on a free loopback port for the life of this object: tinyproxy (HTTP,
// with BasicAuth when a user is given) or microsocks (SOCKS5, with or without user and
// password). `outgoing` is the loopback address the proxy connects from, so the fake
// engine can tell which proxy a request came through.
class ProxyLauncher
{
public:
    ProxyLauncher();
    ~ProxyLauncher();

    bool startTinyProxy(const QString& user = QString(), const QString& password = QString(),
                        const QString& outgoing = QString());
    bool startMicroSocks(const QString& user = QString(), const QString& password = QString(),
                         const QString& outgoing = QString());
    void stop();

    quint16 port() const { return m_port; }
    // What went wrong when a start failed (program missing, no port, no answer).
    QString error() const { return m_error; }

    // A loopback port that is free now.
    static quint16 freePort();

private:
    bool start(const QString& program, const QStringList& arguments);

    std::unique_ptr<QProcess> m_process;
    QTemporaryDir m_dir;
    quint16 m_port = 0;
    QString m_error;
};
