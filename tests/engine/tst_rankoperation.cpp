#include "CheckRun.h"
#include "CheckTiming.h"
#include "FakeSearchEngine.h"
#include "HttpRequestEnvir.h"
#include "ProxyLauncher.h"
#include "ScriptedRankTask.h"
#include "TestMain.h"
#include "TestRankHub.h"
#include "TestRankOperation.h"
#include "TestRows.h"

#include <QUrlQuery>

#include <memory>

namespace {
const QString kGoogle = QStringLiteral("www.google.com");
const QString kBing = QStringLiteral("www.bing.com");
const QString kYahoo = QStringLiteral("search.yahoo.com");
const QString kSite = QStringLiteral("mysite.example");

QByteArray links(const QStringList& hrefs)
{
    QByteArray page = "<html><body>";
    for (const QString& href : hrefs)
        page += "<a class=\"r\" href=\"" + href.toLatin1() + "\">x</a>";
    return page + "</body></html>";
}

int pageOf(const RecordedRequest& request)
{
    return QUrlQuery(request.url).queryItemValue(QStringLiteral("page")).toInt();
}
} // namespace

// One update run: measurements, progress, the watchdog, the update-running flag, and the
// way out through real proxies.
class TestRankOperation_ : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestRankHub> m_hub;
    std::list<SEARCH_ENGINE> m_engines;

    const SEARCH_ENGINE* engine(const QString& host, LTInt64 interval = 0,
                                const QString& country = QStringLiteral("United States"))
    {
        m_engines.push_back({host, QStringLiteral("English"), country, interval});
        return &m_engines.back();
    }

private slots:
    void initTestCase()
    {
        CheckTiming::SetPacingScale(0.01);
        CheckTiming::SetWatchdogScale(0.1);
    }

    void init()
    {
        TestEnvironment::freshHome();
        m_hub.reset();
        m_hub = std::make_unique<TestRankHub>();
        m_engines.clear();
        ScriptedRankTask::events().clear();
    }

    void cleanup()
    {
        m_hub.reset();
        CheckTiming::SetPacingScale(0.01);
        CheckTiming::SetWatchdogScale(0.1);
    }

    void flagIsClearedEvenWhenNothingRan()
    {
        m_hub->setSetting(SETTING_OnlyProxy, 1);
        bool& flag = m_hub->UpdateRunningFlag();
        {
            TestRankOperation operation(nullptr, &flag);
            QVERIFY(flag);
            operation.AddCheckRankTask(kSite, engine(kGoogle), "a");
            QVERIFY(!operation.StartTasks());
        }
        QVERIFY(!flag);
        // Without an address of its own the operation takes the hub's flag.
        {
            TestRankOperation operation(nullptr, nullptr);
            QVERIFY(flag);
        }
        QVERIFY(!flag);
    }

    void oneMeasurementPerCheckAndProgress()
    {
        LT_REQUIRE_NETNS();
        FakeSearchEngine engines;
        QVERIFY(engines.listen(80));
        const QString site = QStringLiteral("http://www.mysite.example/shoes");
        // Google: found second on page 0. Bing: found first on page 1. Yahoo: on no page.
        // google.fr: fails.
        engines.enqueue(kGoogle, FakeResponse::page(links({"http://a.example/", site})));
        engines.enqueue(kBing,
                        FakeResponse::page(links({"http://a.example/", "http://b.example/"})));
        engines.enqueue(kBing, FakeResponse::page(links({site})));
        engines.setHandler(kYahoo, [](const RecordedRequest&) {
            return FakeResponse::page(links({"http://a.example/"}));
        });
        engines.setHandler("www.google.fr", [](const RecordedRequest&) {
            return FakeResponse::withStatus(500, "Internal Server Error");
        });
        RecordingProgress progress;
        bool& flag = m_hub->UpdateRunningFlag();
        const QDateTime before = QDateTime::currentDateTime();
        {
            TestRankOperation operation(&progress, &flag);
            QVERIFY(flag);
            operation.AddCheckRankTask(kSite, engine(kGoogle), "g");
            operation.AddCheckRankTask(kSite, engine(kBing), "b");
            operation.AddCheckRankTask(kSite, engine(kYahoo), "y");
            operation.AddCheckRankTask(kSite, engine("www.google.fr"), "f");
            QVERIFY(runToEnd(operation, progress));
            QVERIFY(flag);
            QCOMPARE(progress.fractions, (QList<float>{0.25f, 0.5f, 0.75f, 1.0f}));
            QCOMPARE(progress.ends, 1);
            QCOMPARE(operation.Finished(), qint64(4));

            QMap<QString, UPDATE_FLOW> byKeyword;
            for (const UPDATE_FLOW& flow : operation.Results())
                byKeyword.insert(flow.Keyword, flow);
            QCOMPARE(byKeyword.size(), 4);
            QCOMPARE(byKeyword["g"].Rank, qint64(2));
            QCOMPARE(byKeyword["g"].RankURL, site);
            QCOMPARE(byKeyword["b"].Rank, qint64(11));
            QCOMPARE(byKeyword["y"].Rank, qint64(101));
            QCOMPARE(byKeyword["y"].RankURL, QString());
            QCOMPARE(byKeyword["f"].Rank, qint64(0));
            for (const UPDATE_FLOW& flow : operation.Results()) {
                QCOMPARE(flow.Website, kSite);
                QCOMPARE(flow.Lang, QStringLiteral("English"));
                QCOMPARE(flow.UpdateNo, qint64(0));
                QVERIFY(flow.SearchTime >= before);
                QVERIFY(flow.SearchTime <= QDateTime::currentDateTime());
            }
            QCOMPARE(byKeyword["g"].SearchEngine, kGoogle);
            QCOMPARE(byKeyword["f"].SearchEngine, QStringLiteral("www.google.fr"));
            // The measurements come in the order the checks ended.
            QStringList order;
            for (const UPDATE_FLOW& flow : operation.Results())
                order.append(flow.Keyword);
            QStringList ended;
            for (CheckRankTask* task : operation.ended)
                ended.append(task->Keyword());
            QCOMPARE(order, ended);
            // The failed check ends in the final flush, last.
            QCOMPARE(order.back(), QStringLiteral("f"));
        }
        QVERIFY(!flag);
    }

    void negativeDelayStillPacesAndEnds()
    {
        LT_REQUIRE_NETNS();
        // Unscaled, so only the clamp keeps a negative wait from hanging the run.
        CheckTiming::SetPacingScale(1.0);
        FakeSearchEngine engines;
        QVERIFY(engines.listen(80));
        engines.setHandler(kGoogle, [](const RecordedRequest& request) {
            // Page 0 without the site, page 1 with it.
            return FakeResponse::page(pageOf(request) == 0 ? links({"http://a.example/"})
                                                           : links({"http://www.mysite.example/"}));
        });
        RecordingProgress progress;
        TestRankOperation operation(&progress, &m_hub->UpdateRunningFlag());
        operation.AddCheckRankTask(kSite, engine(kGoogle, -1000000), "a");
        operation.AddCheckRankTask(kSite, engine(kGoogle, -3), "b");
        QVERIFY(runToEnd(operation, progress, 20000));
        for (CheckRankTask* task : operation.AllTasks())
            QCOMPARE(task->Rank(), qint64(11));
        // Still one request stream for the host: b after a's cooling.
        QCOMPARE(ScriptedRankTask::events(),
                 (QStringList{"start a", "start a", "end a", "start b", "start b", "end b"}));
    }

    void watchdogAbortsOnlyRequestsInFlight()
    {
        LT_REQUIRE_NETNS();
        // Requests older than 500 ms are aborted; pauses between pages last 600 to 1600 ms.
        CheckTiming::SetWatchdogScale(0.025);
        CheckTiming::SetPacingScale(0.2);
        FakeSearchEngine engines;
        QVERIFY(engines.listen(80));
        engines.setHandler(kGoogle, [](const RecordedRequest&) { return FakeResponse::stall(); });
        engines.setHandler("www.google.fr",
                           [](const RecordedRequest&) { return FakeResponse::stall(); });
        engines.enqueue(kBing, FakeResponse::page(links({"http://a.example/"})));
        engines.enqueue(kBing, FakeResponse::page(links({"http://www.mysite.example/"})));
        FakeResponse slow = FakeResponse::page(links({"http://www.mysite.example/"}));
        slow.delayMs = 50;
        engines.enqueue(kYahoo, slow);
        RecordingProgress progress;
        TestRankOperation operation(&progress, &m_hub->UpdateRunningFlag());
        operation.AddCheckRankTask(kSite, engine(kGoogle), "hang");
        operation.AddCheckRankTask(kSite, engine("www.google.fr"), "hang too");
        operation.AddCheckRankTask(kSite, engine(kBing, 1), "pause");
        operation.AddCheckRankTask(kSite, engine(kYahoo), "slow");
        QVERIFY(runToEnd(operation, progress));
        QList<int> results;
        for (CheckRankTask* task : operation.AllTasks())
            results.append(task->Result());
        QCOMPARE(results, (QList<int>{3, 3, 1, 1}));
        for (int i = 0; i < 2; ++i) {
            const QString message = operation.AllTasks()[i]->Message();
            QVERIFY2(message.startsWith("****** http request failed: "), qPrintable(message));
        }
        QCOMPARE(operation.AllTasks()[2]->Rank(), qint64(11));
        QCOMPARE(engines.requestsFor(kGoogle).size(), 1);
        QCOMPARE(engines.requestsFor(kBing).size(), 2);
    }

    void destroyedInTheMiddleOfARun()
    {
        LT_REQUIRE_NETNS();
        FakeSearchEngine engines;
        QVERIFY(engines.listen(80));
        engines.setHandler(kGoogle, [](const RecordedRequest&) { return FakeResponse::stall(); });
        engines.setHandler(kBing, [](const RecordedRequest&) {
            return FakeResponse::page(links({"http://a.example/"}));
        });
        FakeResponse late = FakeResponse::page(links({"http://www.mysite.example/"}));
        late.delayMs = 300;
        engines.enqueue(kYahoo, late);
        bool& flag = m_hub->UpdateRunningFlag();
        RecordingProgress progress;
        auto operation = std::make_unique<TestRankOperation>(&progress, &flag, 3);
        operation->AddCheckRankTask(kSite, engine(kGoogle), "stalled");
        operation->AddCheckRankTask(kSite, engine(kGoogle), "pending");
        operation->AddCheckRankTask(kSite, engine(kBing, 60), "pausing");
        operation->AddCheckRankTask(kSite, engine(kYahoo), "answered late");
        QVERIFY(operation->StartTasks());
        // Bing has read its first page and waits for the next one.
        QVERIFY(waitFor([&] { return engines.requestsFor(kBing).size() == 1; }));
        QVERIFY(waitFor([&] { return !operation->AllTasks()[2]->IsRequesting(); }));
        QVERIFY(operation->AllTasks()[0]->IsRequesting());
        QVERIFY(operation->AllTasks()[3]->IsRequesting());
        operation.reset();
        QVERIFY(!flag);
        // Nothing of the run may stir afterwards: the late answer arrives, timers are gone.
        QTest::qWait(500);
        QCOMPARE(progress.ends, 0);
        QCOMPARE(engines.requestsFor(kBing).size(), 1);
        QCOMPARE(engines.requestsFor(kGoogle).size(), 1);
    }

    void throughRealProxies_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("storedUser");
        QTest::addColumn<QString>("storedPassword");
        QTest::addColumn<int>("result");
        testRow("http with BasicAuth", "http", "ann", "s3cret", "ann", "s3cret", 1);
        testRow("http, wrong password", "http", "ann", "s3cret", "ann", "wrong", 3);
        testRow("http, no credentials stored", "http", "ann", "s3cret", "", "", 3);
        testRow("http, open", "http", "", "", "", "", 1);
        testRow("socks5 with user and password", "socks5", "bob", "pa55", "bob", "pa55", 1);
        testRow("socks5, wrong password", "socks5", "bob", "pa55", "bob", "nope", 3);
        testRow("socks5, open", "socks5", "", "", "", "", 1);
    }
    void throughRealProxies()
    {
        LT_REQUIRE_NETNS();
        QFETCH(QString, type);
        QFETCH(QString, user);
        QFETCH(QString, password);
        QFETCH(QString, storedUser);
        QFETCH(QString, storedPassword);
        QFETCH(int, result);
        FakeSearchEngine engines;
        QVERIFY(engines.listen(80));
        engines.setDefaultHandler([](const RecordedRequest&) {
            return FakeResponse::page(links({"http://www.mysite.example/"}));
        });
        // The proxy connects from an address of its own, so the engine can tell.
        const QString outgoing =
            type == "http" ? QStringLiteral("127.0.0.2") : QStringLiteral("127.0.0.3");
        ProxyLauncher proxy;
        const bool started = type == "http" ? proxy.startTinyProxy(user, password, outgoing)
                                            : proxy.startMicroSocks(user, password, outgoing);
        QVERIFY2(started, qPrintable(proxy.error()));
        m_hub->setSetting(SETTING_OnlyProxy, 1);
        QVERIFY(m_hub->addProxy("127.0.0.1", proxy.port(), type, "United States", true, storedUser,
                                storedPassword));
        CheckTiming::SetWatchdogScale(0.5);
        RecordingProgress progress;
        TestRankOperation operation(&progress, &m_hub->UpdateRunningFlag(), 1);
        operation.AddCheckRankTask(kSite, engine(kGoogle), "k");
        QVERIFY(runToEnd(operation, progress));
        CheckRankTask* task = operation.AllTasks().front();
        QCOMPARE(int(task->Result()), result);
        if (result == 1) {
            QCOMPARE(engines.requests().size(), 1);
            const RecordedRequest& request = engines.requests().front();
            QCOMPARE(request.peer, QHostAddress(outgoing));
            QCOMPARE(request.host, kGoogle);
            QCOMPARE(request.header("Proxy-Authorization"), QByteArray());
        } else {
            QVERIFY(engines.requests().isEmpty());
            QVERIFY2(task->Message().startsWith("****** http request failed: "),
                     qPrintable(task->Message()));
        }
    }
};

LT_TEST_MAIN_NETNS(TestRankOperation_)
#include "tst_rankoperation.moc"
