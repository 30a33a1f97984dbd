#include "FakeSearchEngine.h"
#include "MakerInfo.h"
#include "MessageBoxWatcher.h"
#include "PeakMemory.h"
#include "RankMain.h"
#include "StoreFixture.h"
#include "TestMain.h"
#include "UrlOpenWatcher.h"

#include <QFile>
#include <QLabel>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QSignalSpy>
#include <QThread>

#include <atomic>
#include <thread>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// Records, with every box, what the news label showed while the box was up.
class LabelAtBox : public MessageBoxWatcher
{
public:
    int show(const Request& request) override
    {
        labelAtBox << (label ? label->text() : QStringLiteral("<no label>"));
        return MessageBoxWatcher::show(request);
    }
    QPointer<QLabel> label;
    QStringList labelAtBox;
};

const QString kPlaceholder = QStringLiteral("placeholder news");

// The news label of the hub: the overview page's when it has one.
QLabel* newsLabel(RankMain& hub)
{
    QLabel* label = hub.findChild<QLabel*>(QStringLiteral("labelNews"));
    if (!label) {
        label = new QLabel(&hub);
        label->setObjectName(QStringLiteral("labelNews"));
    }
    label->setText(kPlaceholder);
    return label;
}

// Answers one request on loopback from a thread of its own with a body without end (up
// to `limit` bytes), so that it goes on sending while the test's main thread is busy.
class EndlessServer
{
public:
    explicit EndlessServer(qint64 limit) : m_limit(limit)
    {
        m_listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        if (m_listener < 0 || ::bind(m_listener, reinterpret_cast<sockaddr*>(&address), size) ||
            ::listen(m_listener, 1) ||
            ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &size))
            return;
        m_port = ntohs(address.sin_port);
        m_thread = std::thread([this] { Serve(); });
    }
    ~EndlessServer()
    {
        ::shutdown(m_listener, SHUT_RDWR);
        if (m_thread.joinable())
            m_thread.join();
        ::close(m_listener);
    }
    quint16 port() const { return m_port; }
    // The client closed the connection before the limit.
    bool dropped() const { return m_dropped; }

private:
    void Serve()
    {
        const int client = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0)
            return;
        char request[4096];
        (void)::recv(client, request, sizeof request, 0);
        QByteArray chunk = "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\n\r\n";
        chunk += QByteArray(64 * 1024 - chunk.size(), 'n');
        qint64 sent = 0;
        while (sent < m_limit) {
            const ssize_t n = ::send(client, chunk.constData(), size_t(chunk.size()), MSG_NOSIGNAL);
            if (n <= 0)
                break;
            sent += n;
            chunk.fill('n', 64 * 1024);
        }
        m_dropped = sent < m_limit;
        ::close(client);
    }

    qint64 m_limit;
    int m_listener = -1;
    quint16 m_port = 0;
    std::atomic<bool> m_dropped{false};
    std::thread m_thread;
};

} // namespace

Q_DECLARE_METATYPE(FakeResponse)

class TestNewsCheck : public QObject
{
    Q_OBJECT

    FakeSearchEngine* server = nullptr;

    QUrl newsUrl() const
    {
        return QUrl(QStringLiteral("http://127.0.0.1:%1/lumatrove/news.html").arg(server->port()));
    }

private slots:
    void init()
    {
        StoreFixture::freshHome();
        server = new FakeSearchEngine;
        QVERIFY(server->listen(0));
        RankMain::SetNewsPage(newsUrl());
    }

    void cleanup()
    {
        RankMain::SetNewsPage(QUrl());
        delete server;
        server = nullptr;
    }

    void versionOffer_data()
    {
        QTest::addColumn<QByteArray>("page");
        QTest::addColumn<QString>("offered"); // null: no dialog

        auto withVersion = [](const char* attribute) {
            return QByteArray("<html><head><") + attribute +
                   "></head><body><p>News of the day</p></body></html>";
        };
        QTest::newRow("same version") << withVersion("meta lt_ver=\"1.7.7\"") << QString();
        QTest::newRow("third part higher") << withVersion("meta lt_ver=\"1.7.8\"") << "1.7.8";
        QTest::newRow("two parts") << withVersion("meta lt_ver=\"1.8\"") << "1.8";
        QTest::newRow("numbers, not text") << withVersion("meta lt_ver=\"1.10.0\"") << "1.10.0";
        QTest::newRow("one part") << withVersion("meta lt_ver=\"2\"") << "2";
        QTest::newRow("fourth part ignored") << withVersion("meta lt_ver=\"1.7.7.9\"") << QString();
        QTest::newRow("older") << withVersion("meta lt_ver=\"1.7.6\"") << QString();
        QTest::newRow("older major, newer minor")
            << withVersion("meta lt_ver=\"0.9.9\"") << QString();
        QTest::newRow("not numbers") << withVersion("meta lt_ver=\"abc\"") << QString();
        QTest::newRow("leading number greater") << withVersion("meta lt_ver=\"2.x\"") << "2.x";
        QTest::newRow("non-number third part") << withVersion("meta lt_ver=\"1.7.x\"") << QString();
        QTest::newRow("empty parts") << withVersion("meta lt_ver=\"1..8\"") << QString();
        QTest::newRow("empty value") << withVersion("meta lt_ver=\"\"") << QString();
        QTest::newRow("too large for a number")
            << withVersion("meta lt_ver=\"99999999999.0.0\"") << QString();
        QTest::newRow("other case") << withVersion("META LT_VER=\"9.9.9\"") << QString();
        QTest::newRow("single quotes") << withVersion("meta lt_ver='9.9.9'") << QString();
        QTest::newRow("blank before the quote")
            << withVersion("meta lt_ver= \"9.9.9\"") << QString();
        QTest::newRow("unterminated") << QByteArray("<p>meta lt_ver=\"9.9.9</p>") << QString();
        QTest::newRow("first of two") << QByteArray("<b>meta lt_ver=\"1.7.7\"</b> <i>meta "
                                                    "lt_ver=\"9.0.0\"</i>")
                                      << QString();
        QTest::newRow("inside other text")
            << QByteArray("<!-- xmeta lt_ver=\"1.9.0\" -->") << "1.9.0";
        QTest::newRow("no attribute") << QByteArray("<p>Nothing new</p>") << QString();
        QTest::newRow("empty page") << QByteArray() << QString();
    }

    // Which pages offer a download, with what text, and that the page is shown after the
    // box, whatever the answer.
    void versionOffer()
    {
        QFETCH(QByteArray, page);
        QFETCH(QString, offered);
        server->setDefaultHandler([&](const RecordedRequest&) { return FakeResponse::page(page); });

        for (const int answer : {int(MessageBoxHook::No), int(MessageBoxHook::Yes)}) {
            LabelAtBox boxes;
            boxes.queueAnswer(answer);
            UrlOpenWatcher browser;
            server->clearRequests();
            RankMain hub;
            QLabel* label = newsLabel(hub);
            boxes.label = label;
            QTRY_VERIFY(
                label->text() != kPlaceholder ||
                (page.isEmpty() && boxes.boxes().isEmpty() && server->requests().size() == 1));
            if (page.isEmpty())
                QTRY_COMPARE(label->text(), QString());
            QCOMPARE(label->text(), QString::fromLatin1(page));

            QCOMPARE(server->requests().size(), 1);
            QCOMPARE(server->requests()[0].method, QByteArray("GET"));
            QCOMPARE(server->requests()[0].target, QByteArray("/lumatrove/news.html"));

            if (offered.isNull()) {
                QCOMPARE(boxes.boxes().size(), 0);
                QCOMPARE(browser.urls().size(), 0);
                continue;
            }
            QCOMPARE(StoreFixture::boxLines(boxes),
                     QStringList{"Information|Lumatrove|There is a new version <b>" + offered +
                                 "</b> available, Download now?"});
            const MessageBoxHook::Request& box = boxes.boxes()[0];
            QCOMPARE(box.parent, &hub);
            QCOMPARE(box.buttons, int(MessageBoxHook::Yes | MessageBoxHook::No));
            QCOMPARE(box.defaultButton, int(MessageBoxHook::NoButton));
            QCOMPARE(boxes.labelAtBox, QStringList{kPlaceholder});
            if (answer == MessageBoxHook::Yes)
                QCOMPARE(browser.urls(), QList<QUrl>{QUrl(MakerInfo::HomePage())});
            else
                QCOMPARE(browser.urls().size(), 0);
        }
    }

    void decoding_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("shown");
        const QString text = QStringLiteral("Caf\u00e9 \u65b0\u7248");
        QTest::newRow("utf-8 named by the page")
            << (QByteArray("<meta charset=\"utf-8\"><p>") + text.toUtf8() + "</p>")
            << QStringLiteral("<meta charset=\"utf-8\"><p>") + text + "</p>";
        QTest::newRow("utf-8 byte-order mark")
            << (QByteArray("\xEF\xBB\xBF<p>") + text.toUtf8() + "</p>") << "<p>" + text + "</p>";
        QTest::newRow("nothing named: Latin-1")
            << QByteArray("<p>Caf\xE9</p>") << QStringLiteral("<p>Caf\u00e9</p>");
    }

    void decoding()
    {
        QFETCH(QByteArray, body);
        QFETCH(QString, shown);
        // The header's charset is not what decides.
        server->setDefaultHandler([&](const RecordedRequest&) {
            return FakeResponse::page(body, "text/html; charset=Shift_JIS");
        });
        MessageBoxWatcher boxes;
        RankMain hub;
        QLabel* label = newsLabel(hub);
        QTRY_COMPARE(label->text(), shown);
    }

    // A failed request leaves the panel as it was and offers nothing, whatever its body.
    void failedRequest_data()
    {
        QTest::addColumn<int>("status"); // 0: nothing listening
        QTest::addColumn<int>("kind");
        const int complete = FakeResponse::Complete;
        QTest::newRow("server error") << 500 << complete;
        QTest::newRow("not found") << 404 << complete;
        QTest::newRow("bad request") << 400 << complete;
        QTest::newRow("unknown error status") << 599 << complete;
        QTest::newRow("cut short") << 200 << int(FakeResponse::Truncated);
        QTest::newRow("nothing listening") << 0 << complete;
    }

    void failedRequest()
    {
        QFETCH(int, status);
        QFETCH(int, kind);
        const QByteArray body = "<p>meta lt_ver=\"9.0.0\" News of the day</p>";
        server->setDefaultHandler([&](const RecordedRequest&) {
            return kind == FakeResponse::Truncated
                       ? FakeResponse::truncated(body)
                       : FakeResponse::withStatus(status, "Failed", body);
        });
        const QUrl url = newsUrl();
        if (status == 0) {
            delete server;
            server = new FakeSearchEngine;
            QVERIFY(server->listen(0));
        }
        RankMain::SetNewsPage(url);
        MessageBoxWatcher boxes;
        RankMain hub;
        QLabel* label = newsLabel(hub);

        // The hub's own request fails the same way; this one is handed over once it ended.
        auto* manager = new QNetworkAccessManager; // the hub deletes it with the reply
        QNetworkReply* reply = manager->get(QNetworkRequest(url));
        QSignalSpy finished(reply, &QNetworkReply::finished);
        QVERIFY(finished.wait(10000));
        QVERIFY(reply->error() != QNetworkReply::NoError);
        hub.OnNewsRequestFinished(reply);
        QCOMPARE(label->text(), kPlaceholder);
        QCOMPARE(boxes.boxes().size(), 0);
    }

    // A reply longer than a news page ends like a failed request, and is not taken in whole.
    void oversizedReply_data()
    {
        QTest::addColumn<FakeResponse>("response");
        QTest::addColumn<bool>("shown");
        const QByteArray head = "<p>meta lt_ver=\"9.0.0\"</p>";
        const qint64 cap = RankMain::kMaxNewsBytes;
        QTest::newRow("at the cap") << FakeResponse::streamed(head, "news ", cap) << true;
        QTest::newRow("past the cap") << FakeResponse::streamed(head, "news ", cap + 1) << false;
        QTest::newRow("without end") << FakeResponse::streamed(head, "news ", -1) << false;
        QTest::newRow("compression bomb") << FakeResponse::compressionBomb("gzip") << false;
    }

    void oversizedReply()
    {
        QFETCH(FakeResponse, response);
        QFETCH(bool, shown);
        server->enqueue(QStringLiteral("127.0.0.1"), response);
        MessageBoxWatcher boxes;
        RankMain hub;
        QLabel* label = newsLabel(hub);
        QTRY_COMPARE(server->requests().size(), 1);
        // The transfer ends, whatever the server would still send.
        QTRY_COMPARE(server->openConnections(), 0);
        if (shown) {
            QTRY_COMPARE(label->text().size(), RankMain::kMaxNewsBytes);
            QCOMPARE(boxes.boxes().size(), 1);
            return;
        }
        QTest::qWait(200);
        QCOMPARE(label->text(), kPlaceholder);
        QCOMPARE(boxes.boxes().size(), 0);
    }

    // The start-up load keeps the main thread busy right after the request: what the server
    // sends meanwhile must not pile up beyond the cap, and the transfer ends at the cap.
    void busyStartTakesInNoMoreThanTheCap()
    {
        EndlessServer endless(qint64(1) << 30);
        QVERIFY(endless.port());
        RankMain::SetNewsPage(
            QUrl(QStringLiteral("http://127.0.0.1:%1/news.html").arg(endless.port())));
        MessageBoxWatcher boxes;
        const qint64 baseKb = FreshPeakKb();
        QVERIFY(baseKb > 0);
        RankMain hub;
        QLabel* label = newsLabel(hub);
        QThread::msleep(1500); // busy, as with a long load
        QTRY_VERIFY_WITH_TIMEOUT(endless.dropped(), 30000);
        const qint64 growthKb = PeakKb() - baseKb;
        qInfo("peak memory grew by %lld kB", static_cast<long long>(growthKb));
        QVERIFY2(growthKb < 256 * 1024, qPrintable(QString::number(growthKb)));
        QCOMPARE(label->text(), kPlaceholder);
        QCOMPARE(boxes.boxes().size(), 0);
    }

    // Each hub sends its own request; a hub that goes (or is replaced) before the answer
    // arrives is left alone by it.
    void hubsAndLateAnswers()
    {
        server->setDefaultHandler([](const RecordedRequest&) {
            FakeResponse response = FakeResponse::page("<meta lt_ver=\"3.0\">late");
            response.delayMs = 300;
            return response;
        });
        MessageBoxWatcher boxes;
        {
            RankMain gone;
            QTRY_COMPARE(server->requests().size(), 1);
        }
        auto* stopped = new RankMain;
        QLabel* stoppedLabel = newsLabel(*stopped);
        QTRY_COMPARE(server->requests().size(), 2);
        stopped->Stop();
        RankMain current;
        QLabel* label = newsLabel(current);
        QTRY_COMPARE(label->text(), QStringLiteral("<meta lt_ver=\"3.0\">late"));
        QCOMPARE(server->requests().size(), 3);
        QTest::qWait(400);
        QCOMPARE(stoppedLabel->text(), kPlaceholder);
        QCOMPARE(boxes.boxes().size(), 1);
        QCOMPARE(boxes.boxes()[0].parent, &current);
        delete stopped;
    }

    void versionAndTitle()
    {
        QCOMPARE(RankMain::GetProductVersion(), QStringLiteral("1.7.7"));
        QCOMPARE(RankMain::GetWindowTitle(), QStringLiteral("Lumatrove 1.7.7"));
    }
};

LT_TEST_MAIN(TestNewsCheck)
#include "tst_newscheck.moc"
