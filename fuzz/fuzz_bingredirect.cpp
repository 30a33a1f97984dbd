// Redirect targets of a Bing check. A real BingRankTask runs on a request environment
// whose HTTP proxy is a small server in this process: every request, whatever its host,
// reaches it without leaving the machine. The server answers the check's requests with
// the redirects the input describes (status, Location header), then with 404.
//
// Checked: the check always ends, with a failed request, after a bounded number of
// requests; every request it makes is plain HTTP or HTTPS (a Location of any other
// scheme must not be fetched); every request after the first carries exactly the
// headers and cookie of the first.
#include "BingRankTask.h"
#include "FuzzHub.h"
#include "HttpRequestEnvir.h"

#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QNetworkReply>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {
[[noreturn]] void fail(const char* what, const QByteArray& detail = QByteArray())
{
    std::fprintf(stderr, "%s\n%s\n", what, detail.left(2000).constData());
    std::abort();
}

struct Answer {
    int status = 404;
    QByteArray location;
};

// The engine as seen through an HTTP proxy: one request per connection, answered from
// the script; "CONNECT" (an HTTPS target) is refused.
class ScriptedProxy : public QObject
{
public:
    ScriptedProxy()
    {
        if (!m_server.listen(QHostAddress::LocalHost))
            fail("no loopback port for the proxy");
        QObject::connect(&m_server, &QTcpServer::newConnection, this, [this] { accept(); });
    }

    quint16 port() const { return m_server.serverPort(); }

    void reset(QList<Answer> script, bool repeatLast)
    {
        m_script = std::move(script);
        m_repeatLast = repeatLast;
        m_requests.clear();
    }

    // Request heads (request line and headers) in arrival order.
    const QList<QByteArray>& requests() const { return m_requests; }

private:
    void accept()
    {
        while (QTcpSocket* socket = m_server.nextPendingConnection()) {
            auto* buffer = new QByteArray;
            QObject::connect(socket, &QTcpSocket::disconnected, socket, [socket, buffer] {
                delete buffer;
                socket->deleteLater();
            });
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket, buffer] {
                *buffer += socket->readAll();
                const qsizetype end = buffer->indexOf("\r\n\r\n");
                if (end < 0)
                    return;
                const QByteArray head = buffer->left(end);
                buffer->remove(0, end + 4);
                answer(socket, head);
            });
        }
    }

    void answer(QTcpSocket* socket, const QByteArray& head)
    {
        if (head.startsWith("CONNECT ")) {
            socket->write("HTTP/1.1 403 Forbidden\r\nContent-Length: 0\r\n\r\n");
            socket->disconnectFromHost();
            return;
        }
        const int index = int(m_requests.size());
        m_requests.append(head);
        Answer reply;
        if (index < m_script.size())
            reply = m_script.at(index);
        else if (m_repeatLast && !m_script.isEmpty())
            reply = m_script.last();
        QByteArray response = "HTTP/1.1 " + QByteArray::number(reply.status) + " Moved\r\n";
        if (reply.status != 404)
            response += "Location: " + reply.location + "\r\n";
        response += "Content-Length: 0\r\nConnection: close\r\n\r\n";
        socket->write(response);
        socket->disconnectFromHost();
    }

    QTcpServer m_server;
    QList<Answer> m_script;
    bool m_repeatLast = false;
    QList<QByteArray> m_requests;
};

// An environment that only reports the end of its check.
class EndingEnvir : public HttpRequestEnvir
{
public:
    EndingEnvir(const PROXY& proxy) : HttpRequestEnvir(nullptr, &proxy, QStringLiteral("fuzz")) {}
    void OnTaskFinish(CheckRankTask*) override
    {
        ++m_ends;
        if (m_loop)
            m_loop->quit();
    }
    int m_ends = 0;
    QEventLoop* m_loop = nullptr;
};

ScriptedProxy* g_proxy = nullptr;

// The headers of a request head, without the request line and the headers the network
// stack or the proxy route add on their own.
QList<QByteArray> ownHeaders(const QByteArray& head)
{
    QList<QByteArray> headers;
    const QList<QByteArray> lines = head.split('\n');
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray line = lines.at(i).trimmed();
        const QByteArray name = line.left(line.indexOf(':')).toLower();
        if (name == "host" || name == "connection" || name == "accept-encoding" ||
            name.startsWith("proxy-") || name.isEmpty())
            continue;
        headers.append(line);
    }
    return headers;
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    FuzzHub::Prepare(argc, argv);
    g_proxy = new ScriptedProxy;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    FuzzedDataProvider data(bytes, size);
    const bool repeatLast = data.ConsumeBool();
    QList<Answer> script(data.ConsumeIntegralInRange<int>(0, 12));
    static const int statuses[] = {301, 302, 303, 307, 308};
    for (Answer& answer : script) {
        answer.status = data.ConsumeBool() ? data.PickValueInArray(statuses)
                                           : data.ConsumeIntegralInRange<int>(300, 399);
        answer.location = QByteArray::fromStdString(data.ConsumeRandomLengthString(400));
        // One header line each: what follows a line end would be other headers.
        answer.location.replace('\r', QByteArray()).replace('\n', QByteArray());
    }
    g_proxy->reset(script, repeatLast);

    const SEARCH_ENGINE bing{QStringLiteral("www.bing.com"), QStringLiteral("English"),
                             QStringLiteral("United States"), 0};
    // Made before the environment, so that it outlives it: the environment's end
    // still speaks to its running check.
    auto task = std::make_unique<BingRankTask>(&bing, QStringLiteral("alpha.test"),
                                               QStringLiteral("blue shoes"));
    PROXY proxy;
    proxy.address = QStringLiteral("127.0.0.1");
    proxy.port = g_proxy->port();
    proxy.type = QStringLiteral("http");
    proxy.country = QStringLiteral("United States");
    EndingEnvir envir(proxy);
    QList<QUrl> fetched;
    QObject::connect(envir.NetworkAccessManager(), &QNetworkAccessManager::finished,
                     [&fetched](QNetworkReply* reply) { fetched.append(reply->url()); });

    QEventLoop loop;
    envir.m_loop = &loop;
    QTimer limit;
    limit.setSingleShot(true);
    QObject::connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
    limit.start(20000);
    envir.StartARankTask(task.get());
    if (envir.m_ends == 0)
        loop.exec();

    if (qEnvironmentVariableIsSet("LUMATROVE_FUZZ_VERBOSE"))
        std::fprintf(stderr, "%d requests; result %d: %s\n", int(g_proxy->requests().size()),
                     int(task->Result()), qPrintable(task->Message()));
    if (envir.m_ends != 1)
        fail("the check did not end once within 20 s", QByteArray::number(envir.m_ends));
    if (task->Result() != RRT_RequestFailed)
        fail("a check that never got a page did not end as a failed request",
             QByteArray::number(task->Result()));
    const QList<QByteArray>& requests = g_proxy->requests();
    if (requests.size() > 1 + CheckRankTask::kMaxRedirects)
        fail("more requests than the redirect bound allows", QByteArray::number(requests.size()));
    for (const QUrl& url : fetched) {
        const QString scheme = url.scheme().toLower();
        if (scheme != QLatin1String("http") && scheme != QLatin1String("https"))
            fail("a redirect target of another scheme was fetched", url.toEncoded());
    }
    if (requests.isEmpty())
        fail("the check's first request never reached the engine");
    const QList<QByteArray> first = ownHeaders(requests.first());
    for (const QByteArray& head : requests) {
        if (ownHeaders(head) != first)
            fail("a redirected request lost the first request's headers", head);
    }
    // Let the replies and sockets of this run go before the next.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return 0;
}
