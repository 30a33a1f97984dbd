#include "ProxyLauncher.h"

#include <QElapsedTimer>
#include <QFile>
#include <QHostAddress>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

ProxyLauncher::ProxyLauncher() = default;

ProxyLauncher::~ProxyLauncher()
{
    stop();
}

quint16 ProxyLauncher::freePort()
{
    QTcpServer probe;
    if (!probe.listen(QHostAddress::LocalHost, 0))
        return 0;
    return probe.serverPort();
}

void ProxyLauncher::stop()
{
    if (!m_process)
        return;
    if (m_process->state() != QProcess::NotRunning) {
        m_process->terminate();
        if (!m_process->waitForFinished(3000)) {
            m_process->kill();
            m_process->waitForFinished(3000);
        }
    }
    m_process.reset();
    m_port = 0;
}

bool ProxyLauncher::start(const QString& program, const QStringList& arguments)
{
    const QString path = QStandardPaths::findExecutable(program, {"/usr/bin", "/usr/sbin", "/bin"});
    if (path.isEmpty()) {
        m_error = program + QStringLiteral(" is not installed");
        return false;
    }
    m_process = std::make_unique<QProcess>();
    m_process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process->setStandardOutputFile(QProcess::nullDevice());
    m_process->start(path, arguments);
    if (!m_process->waitForStarted(5000)) {
        m_error = program + QStringLiteral(" did not start: ") + m_process->errorString();
        m_process.reset();
        return false;
    }
    // Ready once it accepts connections.
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 10000) {
        if (m_process->state() == QProcess::NotRunning)
            break;
        QTcpSocket probe;
        probe.connectToHost(QHostAddress::LocalHost, m_port);
        if (probe.waitForConnected(200)) {
            probe.abort();
            return true;
        }
        QThread::msleep(50);
    }
    m_error = program + QStringLiteral(" did not accept connections on port %1").arg(m_port);
    stop();
    return false;
}

bool ProxyLauncher::startTinyProxy(const QString& user, const QString& password,
                                   const QString& outgoing)
{
    stop();
    m_port = freePort();
    if (!m_port) {
        m_error = QStringLiteral("no free port");
        return false;
    }
    QByteArray config = "Port " + QByteArray::number(m_port) +
                        "\n"
                        "Listen 127.0.0.1\n"
                        "Timeout 60\n"
                        "MaxClients 20\n"
                        "Allow 127.0.0.0/8\n"
                        "LogLevel Critical\n"
                        "DisableViaHeader Yes\n";
    if (!outgoing.isEmpty())
        config += "Bind " + outgoing.toLatin1() + '\n';
    if (!user.isEmpty())
        config += "BasicAuth " + user.toLatin1() + ' ' + password.toLatin1() + '\n';
    const QString configPath = m_dir.filePath(QStringLiteral("tinyproxy.conf"));
    QFile file(configPath);
    if (!file.open(QIODevice::WriteOnly) || file.write(config) != config.size()) {
        m_error = QStringLiteral("cannot write ") + configPath;
        return false;
    }
    file.close();
    return start(QStringLiteral("tinyproxy"),
                 {QStringLiteral("-d"), QStringLiteral("-c"), configPath});
}

bool ProxyLauncher::startMicroSocks(const QString& user, const QString& password,
                                    const QString& outgoing)
{
    stop();
    m_port = freePort();
    if (!m_port) {
        m_error = QStringLiteral("no free port");
        return false;
    }
    QStringList arguments{QStringLiteral("-i"), QStringLiteral("127.0.0.1"), QStringLiteral("-p"),
                          QString::number(m_port)};
    if (!user.isEmpty())
        arguments << QStringLiteral("-u") << user << QStringLiteral("-P") << password;
    if (!outgoing.isEmpty())
        arguments << QStringLiteral("-b") << outgoing;
    return start(QStringLiteral("microsocks"), arguments);
}
