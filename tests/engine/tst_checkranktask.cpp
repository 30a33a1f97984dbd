#include "EngineTest.h"
#include "ScriptedRankTask.h"

#include <QRegularExpression>
#include <QTextCodec>

#include <cstdlib>

namespace {
const QString kGoogle = QStringLiteral("www.google.com");
const QByteArray kPage = "<html><body><a class=\"r\" href=\"http://other.example/\">one</a>"
                         "<a class=\"r\" href=\"http://www.mysite.example/page\">two</a>"
                         "</body></html>";
} // namespace

Q_DECLARE_METATYPE(FakeResponse)

// One check on the local connection against the fake engine: how each kind of reply ends it.
class TestCheckRankTask : public EngineTest
{
    Q_OBJECT

public:
    TestCheckRankTask() : EngineTest(0.1, 0.01) {}

private:
    SEARCH_ENGINE m_google{kGoogle, QStringLiteral("English"), QStringLiteral("United States"), 0};

    // Runs one check of "mysite.example" to its end and returns it.
    ScriptedRankTask* runOne(TestRankOperation& operation, RecordingProgress& progress)
    {
        operation.AddCheckRankTask(QStringLiteral("mysite.example"), &m_google,
                                   QStringLiteral("blue shoes"));
        if (operation.AllTasks().size() != 1 || !runToEnd(operation, progress))
            return nullptr;
        return static_cast<ScriptedRankTask*>(operation.AllTasks().front());
    }

private slots:
    void replyOutcome_data()
    {
        QTest::addColumn<FakeResponse>("response");
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("message");
        QTest::addColumn<qint64>("rank");

        const QString failed = QStringLiteral("****** http request failed: ");
        QTest::newRow("200 page") << FakeResponse::page(kPage) << 1 << QString() << qint64(2);
        FakeResponse located = FakeResponse::page(kPage);
        located.headers.append(
            qMakePair(QByteArray("Location"), QByteArray("http://elsewhere.example/")));
        QTest::newRow("200 with a redirect target") << located << 1 << QString() << qint64(2);
        FakeResponse zipped = FakeResponse::page(kPage);
        zipped.gzip = true;
        QTest::newRow("200 gzip") << zipped << 1 << QString() << qint64(2);
        QTest::newRow("204") << FakeResponse::withStatus(204, "No Content") << 3
                             << QStringLiteral("****** unknown request error.") << qint64(0);
        QTest::newRow("404") << FakeResponse::withStatus(404, "Not Found", "<html>gone</html>") << 3
                             << failed << qint64(0);
        QTest::newRow("500") << FakeResponse::withStatus(500, "Internal Server Error", kPage) << 3
                             << failed << qint64(0);
        QTest::newRow("200 truncated body")
            << FakeResponse::truncated(kPage) << 3 << failed << qint64(0);
        QTest::newRow("302 without Location")
            << FakeResponse::withStatus(302, "Found") << 3
            << QStringLiteral("****** unknown request error.") << qint64(0);
    }
    void replyOutcome()
    {
        QFETCH(FakeResponse, response);
        QFETCH(int, result);
        QFETCH(QString, message);
        QFETCH(qint64, rank);
        m_engine->enqueue(kGoogle, response);
        RecordingProgress progress;
        TestRankOperation operation(&progress, &m_hub->UpdateRunningFlag());
        ScriptedRankTask* task = runOne(operation, progress);
        QVERIFY(task);
        QCOMPARE(int(task->Result()), result);
        if (message.endsWith(QLatin1String(": ")))
            QVERIFY2(task->Message().startsWith(message), qPrintable(task->Message()));
        else
            QCOMPARE(task->Message(), message);
        // A failed page is never handed to the reading.
        QCOMPARE(task->pagesRead().size(), result == 1 ? 1 : 0);
        QCOMPARE(m_engine->requests().size(), 1);
        QCOMPARE(operation.Results().size(), size_t(1));
        QCOMPARE(operation.Results().front().Rank, rank);
        QCOMPARE(operation.Results().front().RankURL,
                 result == 1 ? QStringLiteral("http://www.mysite.example/page") : QString());
    }

    void requestIsPlainAndDirect()
    {
        // A proxy named by the environment must not be used by the local connection.
        qputenv("http_proxy", "http://127.0.0.1:9");
        m_engine->enqueue(kGoogle, FakeResponse::page(kPage));
        RecordingProgress progress;
        TestRankOperation operation(&progress, &m_hub->UpdateRunningFlag());
        ScriptedRankTask* task = runOne(operation, progress);
        qunsetenv("http_proxy");
        QVERIFY(task);
        QCOMPARE(int(task->Result()), 1);
        QCOMPARE(m_engine->requests().size(), 1);
        const RecordedRequest& request = m_engine->requests().front();
        QCOMPARE(request.method, QByteArray("GET"));
        QCOMPARE(request.version, QByteArray("HTTP/1.1"));
        QVERIFY(!request.absoluteForm);
        QCOMPARE(request.target, QByteArray("/search?q=blue%20shoes&page=0"));
        QCOMPARE(request.header("Host"), QByteArray("www.google.com"));
        QCOMPARE(
            request.header("User-Agent"),
            QByteArray("Mozilla/5.0 (Windows NT 10.0; WOW64; Trident/7.0; rv:11.0) like Gecko"));
        QCOMPARE(request.headerCount("User-Agent"), 1);
        QCOMPARE(request.headerCount("Cookie"), 0);
        QCOMPARE(request.peer, QHostAddress(QHostAddress::LocalHost));
    }

    void redirectIsFollowed_data()
    {
        QTest::addColumn<QByteArray>("location");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("expected");
        QTest::newRow("absolute") << QByteArray("http://www.google.com/landing?x=1") << 302
                                  << QStringLiteral("http://www.google.com/landing?x=1");
        QTest::newRow("absolute other host") << QByteArray("http://www.bing.com/search?q=a") << 301
                                             << QStringLiteral("http://www.bing.com/search?q=a");
        QTest::newRow("relative to the root")
            << QByteArray("/landing?x=1") << 302
            << QStringLiteral("http://www.google.com/landing?x=1");
        QTest::newRow("relative to the path")
            << QByteArray("next?p=2") << 302 << QStringLiteral("http://www.google.com/next?p=2");
        QTest::newRow("scheme-relative")
            << QByteArray("//www.bing.com/x") << 303 << QStringLiteral("http://www.bing.com/x");
    }
    void redirectIsFollowed()
    {
        QFETCH(QByteArray, location);
        QFETCH(int, code);
        QFETCH(QString, expected);
        m_engine->enqueue(kGoogle, FakeResponse::redirect(location, code));
        m_engine->setDefaultHandler(
            [](const RecordedRequest&) { return FakeResponse::page(kPage); });
        RecordingProgress progress;
        TestRankOperation operation(&progress, &m_hub->UpdateRunningFlag());
        ScriptedRankTask* task = runOne(operation, progress);
        QVERIFY(task);
        QCOMPARE(int(task->Result()), 1);
        QCOMPARE(task->requested().size(), 2);
        QCOMPARE(task->requested().at(1), QUrl(expected));
        QCOMPARE(m_engine->requests().size(), 2);
        QCOMPARE(m_engine->requests().at(1).url, QUrl(expected));
        // The redirect is no failure: the environment stays clean.
        QVERIFY(task->TriedEnvirs().empty());
    }

    // Found by fuzz_bingredirect: a Location of another scheme was fetched, so a server
    // could make the check open local files.
    void redirectToAnotherSchemeIsRefused_data()
    {
        QTest::addColumn<QByteArray>("location");
        QTest::newRow("local file") << QByteArray("file:///etc/hostname");
        QTest::newRow("device") << QByteArray("file:///dev/zero");
        QTest::newRow("data holding a page") << QByteArray(
            "data:text/html,<a class=\"r\" href=\"http://www.mysite.example/\">x</a>");
        QTest::newRow("ftp") << QByteArray("ftp://www.google.com/search");
    }
    void redirectToAnotherSchemeIsRefused()
    {
        QFETCH(QByteArray, location);
        m_engine->enqueue(kGoogle, FakeResponse::redirect(location, 302));
        m_engine->setDefaultHandler(
            [](const RecordedRequest&) { return FakeResponse::page(kPage); });
        RecordingProgress progress;
        TestRankOperation operation(&progress, &m_hub->UpdateRunningFlag());
        ScriptedRankTask* task = runOne(operation, progress);
        QVERIFY(task);
        QCOMPARE(task->requested().size(), 1);
        QCOMPARE(m_engine->requests().size(), 1);
        QCOMPARE(int(task->Result()), 3);
        QVERIFY2(
            task->Message().startsWith(QLatin1String("****** http request failed: redirect to ")),
            qPrintable(task->Message()));
        QCOMPARE(operation.Results().front().Rank, qint64(0));
    }

    void redirectLoopIsBounded()
    {
        m_engine->setHandler(kGoogle, [](const RecordedRequest&) {
            return FakeResponse::redirect("/search?again=1");
        });
        RecordingProgress progress;
        TestRankOperation operation(&progress, &m_hub->UpdateRunningFlag());
        ScriptedRankTask* task = runOne(operation, progress);
        QVERIFY(task);
        // The page request and ten redirects, then the request fails.
        QCOMPARE(m_engine->requests().size(), 1 + CheckRankTask::kMaxRedirects);
        QCOMPARE(int(task->Result()), 3);
        QVERIFY2(task->Message().startsWith(QLatin1String("****** http request failed: ")),
                 qPrintable(task->Message()));
        QCOMPARE(operation.Results().front().Rank, qint64(0));
    }

    void tenRedirectsAreStillFollowed()
    {
        for (int i = 0; i < CheckRankTask::kMaxRedirects; ++i)
            m_engine->enqueue(kGoogle, FakeResponse::redirect("/hop?n=" + QByteArray::number(i)));
        m_engine->enqueue(kGoogle, FakeResponse::page(kPage));
        RecordingProgress progress;
        TestRankOperation operation(&progress, &m_hub->UpdateRunningFlag());
        ScriptedRankTask* task = runOne(operation, progress);
        QVERIFY(task);
        QCOMPARE(int(task->Result()), 1);
        QCOMPARE(m_engine->requests().size(), 1 + CheckRankTask::kMaxRedirects);
    }

    void pageIsDecodedAsABrowserWould_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("text");
        const QString russian = QStringLiteral("Поиск обуви");
        const QString japanese = QStringLiteral("青い靴");
        const QString french = QStringLiteral("chaussures bleues à Montréal");
        QTextCodec* cp1251 = QTextCodec::codecForName("windows-1251");
        QTextCodec* sjis = QTextCodec::codecForName("Shift_JIS");
        QTest::newRow("meta charset")
            << cp1251->fromUnicode(
                   QStringLiteral("<html><head><meta charset=\"windows-1251\"></head><body>") +
                   russian + QStringLiteral("</body></html>"))
            << russian;
        QTest::newRow("meta http-equiv")
            << sjis->fromUnicode(
                   QStringLiteral(
                       "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; "
                       "charset=Shift_JIS\"></head><body>") +
                   japanese + QStringLiteral("</body></html>"))
            << japanese;
        QTest::newRow("UTF-8 byte order mark")
            << QByteArray("\xEF\xBB\xBF") +
                   QStringLiteral("<html><body>%1</body></html>").arg(russian).toUtf8()
            << russian;
        QTest::newRow("no declaration is Latin-1")
            << QStringLiteral("<html><body>%1</body></html>").arg(french).toLatin1() << french;
        QTest::newRow("undeclared UTF-8 reads as Latin-1")
            << QStringLiteral("<html><body>%1</body></html>").arg(french).toUtf8()
            << QString::fromLatin1(french.toUtf8());
    }
    void pageIsDecodedAsABrowserWould()
    {
        QFETCH(QByteArray, body);
        QFETCH(QString, text);
        // The header's charset is not what decides.
        m_engine->enqueue(kGoogle, FakeResponse::page(body, "text/html; charset=utf-16"));
        RecordingProgress progress;
        TestRankOperation operation(&progress, &m_hub->UpdateRunningFlag(), 1);
        ScriptedRankTask* task = runOne(operation, progress);
        QVERIFY(task);
        QCOMPARE(task->pagesRead().size(), 1);
        QVERIFY2(task->pagesRead().front().contains(text), qPrintable(task->pagesRead().front()));
        // No result links on it: a page without results.
        QCOMPARE(int(task->Result()), 4);
    }

    // A page longer than the read cap is cut there, also inside a multi-byte character:
    // the text before the cut reaches the reading whole.
    void pageIsCutAtTheCap()
    {
        const qint64 cap = CheckRankTask::kMaxPageBytes;
        QByteArray head = "<html><head><meta charset=\"utf-8\"></head>" + kPage;
        const QString shoes = QStringLiteral("青い靴 ");
        const QByteArray shoesUtf8 = shoes.toUtf8();
        while ((cap - head.size()) % shoesUtf8.size() != 1)
            head += ' ';
        m_engine->enqueue(kGoogle, FakeResponse::streamed(head, shoesUtf8, -1));
        RecordingProgress progress;
        TestRankOperation operation(&progress, &m_hub->UpdateRunningFlag());
        ScriptedRankTask* task = runOne(operation, progress);
        QVERIFY(task);
        QCOMPARE(int(task->Result()), 1);
        QCOMPARE(task->pagesRead().size(), 1);
        const QString& page = task->pagesRead().front();
        const qsizetype whole = (cap - head.size()) / shoesUtf8.size();
        const QString expected = QString::fromUtf8(head) + shoes.repeated(whole);
        // At most the one cut character follows, as a replacement character.
        QVERIFY2(page.size() - expected.size() <= 1, qPrintable(QString::number(page.size())));
        QVERIFY(page.startsWith(expected));
        QVERIFY(page.size() == expected.size() || page.back() == QChar::ReplacementCharacter);
    }

    // Qt gives up on a compressed page that unpacks to gigabytes; the check has to end then,
    // as a failed check, and stop the transfer.
    void compressionBombFailsTheCheck_data()
    {
        QTest::addColumn<FakeResponse>("response");
        QTest::newRow("gzip without end") << FakeResponse::compressionBomb("gzip");
        QTest::newRow("deflate without end") << FakeResponse::compressionBomb("deflate");
        QTest::newRow("4 MiB of gzip for 4 GiB") << FakeResponse::compressionBomb("gzip", 4 << 20);
    }
    void compressionBombFailsTheCheck()
    {
        QFETCH(FakeResponse, response);
        // No watchdog tick comes during the test: the check must end by itself.
        CheckTiming::SetWatchdogScale(1000);
        m_engine->enqueue(kGoogle, response);
        // Qt's complaint about its own state, as when a failed reply is aborted once more.
        QTest::failOnWarning(QRegularExpression(QStringLiteral("Internal problem")));
        RecordingProgress progress;
        TestRankOperation operation(&progress, &m_hub->UpdateRunningFlag());
        ScriptedRankTask* task = runOne(operation, progress);
        QVERIFY(task);
        // A failed request; or, should the page cap come before Qt's check, a page of
        // zeros without results.
        if (task->Result() == RRT_RequestFailed)
            QVERIFY2(task->Message().startsWith(QLatin1String("****** http request failed: ")),
                     qPrintable(task->Message()));
        else
            QCOMPARE(int(task->Result()), int(RRT_NoResult));
        QCOMPARE(operation.Results().front().Rank, qint64(0));
        QTRY_COMPARE(m_engine->openConnections(), 0);
    }

    void hangingRequestsAreAborted_data()
    {
        QTest::addColumn<FakeResponse>("response");
        QTest::newRow("no answer") << FakeResponse::stall();
        // Status 200 has arrived, the page has not: it must not be read as complete.
        QTest::newRow("headers, then nothing") << FakeResponse::stallAfterHeaders(kPage);
    }
    void hangingRequestsAreAborted()
    {
        QFETCH(FakeResponse, response);
        CheckTiming::SetWatchdogScale(0.01);
        m_engine->enqueue(kGoogle, response);
        RecordingProgress progress;
        TestRankOperation operation(&progress, &m_hub->UpdateRunningFlag());
        ScriptedRankTask* task = runOne(operation, progress);
        QVERIFY(task);
        QCOMPARE(int(task->Result()), 3);
        QVERIFY2(task->Message().startsWith(QLatin1String("****** http request failed: ")),
                 qPrintable(task->Message()));
        QVERIFY(task->pagesRead().isEmpty());
        QCOMPARE(m_engine->requests().size(), 1);
        QVERIFY(!task->IsRequesting());
    }
};

LT_TEST_MAIN_NETNS(TestCheckRankTask)
#include "tst_checkranktask.moc"
