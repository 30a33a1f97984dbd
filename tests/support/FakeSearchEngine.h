#pragma once

#include <QByteArray>
#include <QHash>
#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QPair>
#include <QQueue>
#include <QString>
#include <QUrl>

#include <functional>

class QTcpServer;
class QTcpSocket;

// One request as the fake engine received it.
struct RecordedRequest {
    QByteArray method;
    QByteArray target;  // as sent: origin-form ("/search?q=x") or absolute-form
    QByteArray version; // "HTTP/1.1"
    bool absoluteForm = false;
    QString host;                                 // lower case, without the port
    QUrl url;                                     // the full URL asked for
    QList<QPair<QByteArray, QByteArray>> headers; // in the order received
    QHostAddress peer;

    QByteArray header(const QByteArray& name) const; // first of that name, any case
    int headerCount(const QByteArray& name) const;
};

// A scripted answer.
struct FakeResponse {
    enum Kind {
        Complete,          // status, headers and the whole body, then close
        Stall,             // read the request, never answer
        StallAfterHeaders, // status and headers and part of the body, then nothing more
        Truncated,         // announce the whole body, send part of it, close
        Streamed,          // `body`, `filler` repeated, `tail`: made as the client reads
    };
    Kind kind = Complete;
    int status = 200;
    QByteArray reason = "OK";
    QList<QPair<QByteArray, QByteArray>> headers;
    QByteArray body;
    bool gzip = false;        // send the body gzip-encoded with "Content-Encoding: gzip"
    int delayMs = 0;          // answer after this long
    QByteArray filler;        // Streamed: repeated after `body`
    QByteArray tail;          // Streamed: the body's last bytes
    qint64 streamedSize = -1; // Streamed: body bytes in all; -1 without end (and tail)

    static FakeResponse page(const QByteArray& html, const QByteArray& contentType = "text/html");
    // The text encoded in `charset` (the page's own meta tag, if any, is the caller's).
    static FakeResponse encodedPage(const QString& html, const char* charset);
    static FakeResponse withStatus(int code, const QByteArray& reason,
                                   const QByteArray& body = QByteArray());
    static FakeResponse redirect(const QByteArray& location, int code = 302);
    static FakeResponse stall();
    static FakeResponse stallAfterHeaders(const QByteArray& html);
    static FakeResponse truncated(const QByteArray& html);
    // A body of any size that is never held whole: `head`, then `filler` over and over,
    // then `tail`, `size` bytes in all; size -1 sends filler until the client goes away
    // (no Content-Length, no tail), and at most 64 MiB of it.
    static FakeResponse streamed(const QByteArray& head, const QByteArray& filler, qint64 size,
                                 const QByteArray& tail = QByteArray());
    // A compressed body of zeros ("gzip" or "deflate") a thousand times as long unpacked as
    // sent; `size` as for streamed().
    static FakeResponse compressionBomb(const QByteArray& encoding, qint64 size = -1);
};

// gzip member of `data` (RFC 1952), for gzip-encoded bodies.
QByteArray gzipEncode(const QByteArray& data);

// A search engine on loopback speaking HTTP/1.1. It answers origin-form requests (as a
// server) and absolute-form ones (as an HTTP proxy would), picks the engine by the Host,
// serves the responses scripted for that host and records every request.
class FakeSearchEngine : public QObject
{
    Q_OBJECT

public:
    using Handler = std::function<FakeResponse(const RecordedRequest&)>;

    explicit FakeSearchEngine(QObject* parent = nullptr);
    ~FakeSearchEngine() override;

    // Port 0 picks a free one.
    bool listen(quint16 port = 0, const QHostAddress& address = QHostAddress::LocalHost);
    quint16 port() const;

    // Answers for one host, used once each in order; then the host's handler, then the
    // default handler, then 404.
    void enqueue(const QString& host, const FakeResponse& response);
    void setHandler(const QString& host, Handler handler);
    void setDefaultHandler(Handler handler);

    const QList<RecordedRequest>& requests() const { return m_requests; }
    QList<RecordedRequest> requestsFor(const QString& host) const;
    void clearRequests() { m_requests.clear(); }
    // Connections that are still open (stalled answers included).
    int openConnections() const;

signals:
    void requestReceived(const RecordedRequest& request);

private:
    void onNewConnection();
    void onReadyRead(QTcpSocket* socket);
    void answer(QTcpSocket* socket, const RecordedRequest& request);
    void send(QTcpSocket* socket, const FakeResponse& response);
    void stream(QTcpSocket* socket, const FakeResponse& response);
    FakeResponse responseFor(const RecordedRequest& request);

    QTcpServer* m_server;
    QHash<QTcpSocket*, QByteArray> m_buffers;
    QHash<QString, QQueue<FakeResponse>> m_queued;
    QHash<QString, Handler> m_handlers;
    Handler m_defaultHandler;
    QList<RecordedRequest> m_requests;
};
