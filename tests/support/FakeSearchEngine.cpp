#include "FakeSearchEngine.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QTextCodec>
#include <QTimer>

#include <memory>

namespace {
// A streamed body waits in this process at most a window at a time, made in pieces.
constexpr qint64 kStreamWindow = 256 * 1024;
constexpr qint64 kStreamPiece = 64 * 1024;
// A body without end stops coming here, the connection left open: a client that never
// stops reading fails its test instead of taking all memory.
constexpr qint64 kEndlessLimit = 64 * 1024 * 1024;

quint32 crc32Of(const QByteArray& data)
{
    static quint32 table[256];
    static bool ready = false;
    if (!ready) {
        for (quint32 i = 0; i < 256; ++i) {
            quint32 c = i;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            table[i] = c;
        }
        ready = true;
    }
    quint32 crc = 0xFFFFFFFFu;
    for (char byte : data)
        crc = table[(crc ^ static_cast<quint8>(byte)) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

void appendLittleEndian(QByteArray& out, quint32 value)
{
    for (int i = 0; i < 4; ++i)
        out.append(static_cast<char>((value >> (8 * i)) & 0xFF));
}

QByteArray reasonFor(int code)
{
    switch (code) {
    case 200:
        return "OK";
    case 204:
        return "No Content";
    case 301:
        return "Moved Permanently";
    case 302:
        return "Found";
    case 303:
        return "See Other";
    case 307:
        return "Temporary Redirect";
    case 404:
        return "Not Found";
    case 500:
        return "Internal Server Error";
    default:
        return "Status";
    }
}
} // namespace

QByteArray gzipEncode(const QByteArray& data)
{
    // qCompress gives a 4-byte length, a zlib stream (2-byte header, raw deflate, 4-byte
    // Adler-32); gzip wants the raw deflate between its own header and trailer.
    const QByteArray zlib = qCompress(data, 9);
    const QByteArray deflate = zlib.mid(6, zlib.size() - 6 - 4);
    QByteArray out("\x1f\x8b\x08\x00\x00\x00\x00\x00\x00\x03", 10);
    out += deflate;
    appendLittleEndian(out, crc32Of(data));
    appendLittleEndian(out, static_cast<quint32>(data.size()));
    return out;
}

QByteArray RecordedRequest::header(const QByteArray& name) const
{
    for (const auto& item : headers) {
        if (item.first.compare(name, Qt::CaseInsensitive) == 0)
            return item.second;
    }
    return QByteArray();
}

int RecordedRequest::headerCount(const QByteArray& name) const
{
    int count = 0;
    for (const auto& item : headers) {
        if (item.first.compare(name, Qt::CaseInsensitive) == 0)
            ++count;
    }
    return count;
}

FakeResponse FakeResponse::page(const QByteArray& html, const QByteArray& contentType)
{
    FakeResponse response;
    response.headers.append(qMakePair(QByteArray("Content-Type"), QByteArray(contentType)));
    response.body = html;
    return response;
}

FakeResponse FakeResponse::encodedPage(const QString& html, const char* charset)
{
    QTextCodec* codec = QTextCodec::codecForName(charset);
    Q_ASSERT(codec);
    return page(codec->fromUnicode(html), "text/html");
}

FakeResponse FakeResponse::withStatus(int code, const QByteArray& reason, const QByteArray& body)
{
    FakeResponse response;
    response.status = code;
    response.reason = reason.isEmpty() ? reasonFor(code) : reason;
    response.body = body;
    if (!body.isEmpty())
        response.headers.append(qMakePair(QByteArray("Content-Type"), QByteArray("text/html")));
    return response;
}

FakeResponse FakeResponse::redirect(const QByteArray& location, int code)
{
    FakeResponse response = withStatus(code, reasonFor(code));
    response.headers.append(qMakePair(QByteArray("Location"), QByteArray(location)));
    return response;
}

FakeResponse FakeResponse::stall()
{
    FakeResponse response;
    response.kind = Stall;
    return response;
}

FakeResponse FakeResponse::stallAfterHeaders(const QByteArray& html)
{
    FakeResponse response = page(html);
    response.kind = StallAfterHeaders;
    return response;
}

FakeResponse FakeResponse::truncated(const QByteArray& html)
{
    FakeResponse response = page(html);
    response.kind = Truncated;
    return response;
}

FakeResponse FakeResponse::streamed(const QByteArray& head, const QByteArray& filler, qint64 size,
                                    const QByteArray& tail)
{
    Q_ASSERT(!filler.isEmpty());
    Q_ASSERT(size < 0 || size >= head.size() + tail.size());
    FakeResponse response = page(head);
    response.kind = Streamed;
    response.filler = filler;
    response.streamedSize = size;
    response.tail = size < 0 ? QByteArray() : tail;
    return response;
}

FakeResponse FakeResponse::compressionBomb(const QByteArray& encoding, qint64 size)
{
    // One deflate block with codes of its own: a literal zero, then copies of 258 bytes at
    // distance 1 that cost two bits each, so every zero byte that follows the block's start
    // is 1032 zeros. A sized body stops without the block's end: no reader gets that far.
    const QByteArray start("\xed\xe0\x81\x00\x00\x00\x00\x80\x20\xec\x4f\xbd\x48\x05", 14);
    const QByteArray header = encoding == "gzip"
                                  ? QByteArray("\x1f\x8b\x08\x00\x00\x00\x00\x00\x00\x03", 10)
                                  : QByteArray("\x78\x01", 2); // zlib, as "deflate" means
    FakeResponse response = streamed(header + start, QByteArray(1, '\0'), size);
    response.headers.append(qMakePair(QByteArray("Content-Encoding"), encoding));
    return response;
}

FakeSearchEngine::FakeSearchEngine(QObject* parent)
    : QObject(parent), m_server(new QTcpServer(this))
{
    connect(m_server, &QTcpServer::newConnection, this, &FakeSearchEngine::onNewConnection);
}

FakeSearchEngine::~FakeSearchEngine()
{
    const auto sockets = m_buffers.keys();
    for (QTcpSocket* socket : sockets) {
        socket->disconnect(this);
        socket->abort();
    }
}

bool FakeSearchEngine::listen(quint16 port, const QHostAddress& address)
{
    return m_server->listen(address, port);
}

quint16 FakeSearchEngine::port() const
{
    return m_server->serverPort();
}

void FakeSearchEngine::enqueue(const QString& host, const FakeResponse& response)
{
    m_queued[host.toLower()].enqueue(response);
}

void FakeSearchEngine::setHandler(const QString& host, Handler handler)
{
    m_handlers[host.toLower()] = std::move(handler);
}

void FakeSearchEngine::setDefaultHandler(Handler handler)
{
    m_defaultHandler = std::move(handler);
}

QList<RecordedRequest> FakeSearchEngine::requestsFor(const QString& host) const
{
    QList<RecordedRequest> out;
    for (const RecordedRequest& request : m_requests) {
        if (request.host == host.toLower())
            out.append(request);
    }
    return out;
}

int FakeSearchEngine::openConnections() const
{
    return m_buffers.size();
}

void FakeSearchEngine::onNewConnection()
{
    while (QTcpSocket* socket = m_server->nextPendingConnection()) {
        m_buffers.insert(socket, QByteArray());
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { onReadyRead(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            m_buffers.remove(socket);
            socket->deleteLater();
        });
    }
}

void FakeSearchEngine::onReadyRead(QTcpSocket* socket)
{
    auto it = m_buffers.find(socket);
    if (it == m_buffers.end())
        return;
    it.value() += socket->readAll();
    const int end = it.value().indexOf("\r\n\r\n");
    if (end < 0)
        return;
    const QByteArray head = it.value().left(end);
    it.value().clear();
    // One request per connection: every answer closes it.
    disconnect(socket, &QTcpSocket::readyRead, this, nullptr);

    const QList<QByteArray> lines = head.split('\n');
    RecordedRequest request;
    const QList<QByteArray> first = lines.value(0).trimmed().split(' ');
    request.method = first.value(0);
    request.target = first.value(1);
    request.version = first.value(2);
    for (int i = 1; i < lines.size(); ++i) {
        const QByteArray line = lines.at(i).trimmed();
        const int colon = line.indexOf(':');
        if (colon > 0)
            request.headers.append({line.left(colon).trimmed(), line.mid(colon + 1).trimmed()});
    }
    request.peer = socket->peerAddress();
    request.absoluteForm = request.target.toLower().startsWith("http://");
    if (request.absoluteForm) {
        request.url = QUrl(QString::fromLatin1(request.target));
    } else {
        request.url = QUrl(QStringLiteral("http://") + QString::fromLatin1(request.header("Host")) +
                           QString::fromLatin1(request.target));
    }
    request.host = request.url.host().toLower();
    m_requests.append(request);
    emit requestReceived(request);
    answer(socket, request);
}

FakeResponse FakeSearchEngine::responseFor(const RecordedRequest& request)
{
    auto queued = m_queued.find(request.host);
    if (queued != m_queued.end() && !queued.value().isEmpty())
        return queued.value().dequeue();
    const auto handler = m_handlers.constFind(request.host);
    if (handler != m_handlers.constEnd())
        return handler.value()(request);
    if (m_defaultHandler)
        return m_defaultHandler(request);
    return FakeResponse::withStatus(404, "Not Found", "<html><body>no such engine</body></html>");
}

void FakeSearchEngine::answer(QTcpSocket* socket, const RecordedRequest& request)
{
    const FakeResponse response = responseFor(request);
    if (response.delayMs > 0)
        QTimer::singleShot(response.delayMs, socket,
                           [this, socket, response] { send(socket, response); });
    else
        send(socket, response);
}

void FakeSearchEngine::send(QTcpSocket* socket, const FakeResponse& response)
{
    if (response.kind == FakeResponse::Stall)
        return;
    if (response.kind == FakeResponse::Streamed) {
        stream(socket, response);
        return;
    }
    const QByteArray body = response.gzip ? gzipEncode(response.body) : response.body;
    QByteArray out =
        "HTTP/1.1 " + QByteArray::number(response.status) + ' ' + response.reason + "\r\n";
    for (const auto& header : response.headers)
        out += header.first + ": " + header.second + "\r\n";
    if (response.gzip)
        out += "Content-Encoding: gzip\r\n";
    out += "Content-Length: " + QByteArray::number(body.size()) + "\r\n";
    out += "Connection: close\r\n\r\n";
    if (response.kind == FakeResponse::Complete) {
        out += body;
        socket->write(out);
        socket->disconnectFromHost();
        return;
    }
    out += body.left(body.size() / 2);
    socket->write(out);
    socket->flush();
    if (response.kind == FakeResponse::Truncated)
        socket->disconnectFromHost();
}

void FakeSearchEngine::stream(QTcpSocket* socket, const FakeResponse& response)
{
    QByteArray out =
        "HTTP/1.1 " + QByteArray::number(response.status) + ' ' + response.reason + "\r\n";
    for (const auto& header : response.headers)
        out += header.first + ": " + header.second + "\r\n";
    if (response.streamedSize >= 0)
        out += "Content-Length: " + QByteArray::number(response.streamedSize) + "\r\n";
    out += "Connection: close\r\n\r\n";
    socket->write(out);

    // The body is made piece by piece while the socket drains: at most a window of it
    // waits in this process, whatever its size.
    struct Progress {
        qint64 sent = 0;
        QByteArray fillerRun; // the filler repeated past one piece, cut from at any phase
    };
    auto progress = std::make_shared<Progress>();
    while (progress->fillerRun.size() < kStreamPiece + response.filler.size())
        progress->fillerRun += response.filler;
    const qint64 size = response.streamedSize;
    const qint64 headSize = response.body.size();
    const auto feed = [socket, response, progress, size, headSize] {
        const qint64 fillerEnd = size < 0 ? -1 : size - response.tail.size();
        while (socket->state() == QAbstractSocket::ConnectedState &&
               socket->bytesToWrite() < kStreamWindow) {
            qint64& sent = progress->sent;
            if (size < 0 && sent >= kEndlessLimit)
                return;
            QByteArray next;
            if (sent < headSize) {
                next = response.body.mid(sent);
            } else if (fillerEnd < 0 || sent < fillerEnd) {
                const qint64 phase = (sent - headSize) % response.filler.size();
                const qint64 length =
                    fillerEnd < 0 ? kStreamPiece : qMin(kStreamPiece, fillerEnd - sent);
                next = progress->fillerRun.mid(phase, length);
            } else if (sent < size) {
                next = response.tail.mid(sent - fillerEnd);
            } else {
                socket->disconnectFromHost();
                return;
            }
            sent += next.size();
            socket->write(next);
        }
    };
    connect(socket, &QTcpSocket::bytesWritten, socket, feed);
    feed();
}
