#include "CheckRun.h"
#include "CheckTiming.h"
#include "FakeSearchEngine.h"
#include "HttpRequestEnvir.h"
#include "LTException.h"
#include "ScriptedRankTask.h"
#include "TestMain.h"
#include "TestRankHub.h"
#include "TestRankOperation.h"
#include "TestRows.h"

#include <QNetworkProxy>
#include <QUrlQuery>

#include <memory>

namespace {
const QString kGoogle = QStringLiteral("www.google.com");
const QString kBing = QStringLiteral("www.bing.com");
const QString kSite = QStringLiteral("mysite.example");

QByteArray pageWithSite()
{
    return "<html><a class=\"r\" href=\"http://a.example/\">a</a>"
           "<a class=\"r\" href=\"http://www.mysite.example/x\">b</a></html>";
}

QString keywordOf(const RecordedRequest& request)
{
    return QUrlQuery(request.url).queryItemValue(QStringLiteral("q"));
}

QStringList keywordsOf(const QList<RecordedRequest>& requests)
{
    QStringList out;
    for (const RecordedRequest& request : requests)
        out.append(keywordOf(request));
    return out;
}

QString describe(HttpRequestEnvir* envir)
{
    const QNetworkProxy proxy = envir->NetworkAccessManager()->proxy();
    switch (proxy.type()) {
    case QNetworkProxy::NoProxy:
        return QStringLiteral("local");
    case QNetworkProxy::HttpProxy:
        return QStringLiteral("http %1:%2 %3")
            .arg(proxy.hostName())
            .arg(proxy.port())
            .arg(envir->Area());
    case QNetworkProxy::Socks5Proxy:
        return QStringLiteral("socks5 %1:%2 %3")
            .arg(proxy.hostName())
            .arg(proxy.port())
            .arg(envir->Area());
    default:
        return QStringLiteral("other");
    }
}
} // namespace

// Which environments a batch builds, and which check runs where and when.
class TestCheckBatch : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestRankHub> m_hub;
    std::list<SEARCH_ENGINE> m_engines; // the variants the checks are queued with

    const SEARCH_ENGINE* engine(const QString& host, const QString& country = "United States",
                                LTInt64 interval = 0)
    {
        m_engines.push_back({host, QStringLiteral("English"), country, interval});
        return &m_engines.back();
    }

    // A fake engine standing in for a proxy: it answers absolute-form requests itself.
    std::unique_ptr<FakeSearchEngine> fakeProxy(const QString& country, bool& ok)
    {
        auto proxy = std::make_unique<FakeSearchEngine>();
        ok = proxy->listen(0) && m_hub->addProxy(QStringLiteral("127.0.0.1"), proxy->port(),
                                                 QStringLiteral("http"), country);
        return proxy;
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

    void cleanup() { m_hub.reset(); }

    void environmentsFollowSettingAndProxies_data()
    {
        QTest::addColumn<bool>("onlyProxy");
        QTest::addColumn<QStringList>("expected");
        testRow("local and enabled proxies in table order", false,
                QStringList{"local", "http 10.0.0.2:8080 France", "socks5 10.0.0.3:3128 Canada",
                            "http 10.0.0.4:80 France"});
        testRow("only proxies", true,
                QStringList{"http 10.0.0.2:8080 France", "socks5 10.0.0.3:3128 Canada",
                            "http 10.0.0.4:80 France"});
    }
    void environmentsFollowSettingAndProxies()
    {
        QFETCH(bool, onlyProxy);
        QFETCH(QStringList, expected);
        m_hub->setSetting(SETTING_OnlyProxy, onlyProxy ? 1 : 0);
        QVERIFY(m_hub->addProxy("10.0.0.2", 8080, "http", "France"));
        QVERIFY(m_hub->addProxy("10.0.0.1", 1080, "socks5", "Germany", false));
        QVERIFY(m_hub->addProxy("10.0.0.3", 3128, "socks5", "Canada"));
        QVERIFY(m_hub->addProxy("10.0.0.9", 3128, "bogus", "Canada", false)); // disabled: unread
        QVERIFY(m_hub->addProxy("10.0.0.4", 80, "http", "France"));
        RecordingProgress progress;
        TestRankOperation operation(&progress, &m_hub->UpdateRunningFlag());
        QStringList built;
        for (HttpRequestEnvir* envir : operation.Envirs()) {
            built.append(describe(envir));
            // Redirects are the check's to follow.
            QCOMPARE(envir->NetworkAccessManager()->redirectPolicy(),
                     QNetworkRequest::ManualRedirectPolicy);
        }
        QCOMPARE(built, expected);
        QVERIFY(m_hub->UpdateRunningFlag());
    }

    void unknownProxyTypeFailsTheBatch_data()
    {
        QTest::addColumn<QString>("type");
        testRow("capitals", QStringLiteral("HTTP"));
        testRow("socks4", QStringLiteral("socks4"));
        testRow("empty", QString());
        testRow("mixed case", QStringLiteral("Socks5"));
    }
    void unknownProxyTypeFailsTheBatch()
    {
        QFETCH(QString, type);
        // Environments built before the bad one must not leak (the sanitizer watches).
        QVERIFY(m_hub->addProxy("10.0.0.2", 8080, "http", "France"));
        QVERIFY(m_hub->addProxy("10.0.0.3", 8080, type, "France"));
        QVERIFY(m_hub->addProxy("10.0.0.4", 8080, "http", "France"));
        RecordingProgress progress;
        int code = -1;
        try {
            TestRankOperation operation(&progress, &m_hub->UpdateRunningFlag());
            QFAIL("the batch was built");
        } catch (const LTException& error) {
            code = error.code();
        }
        QCOMPARE(code, 4);
        // No run was started.
        QVERIFY(!m_hub->UpdateRunningFlag());
        QVERIFY(progress.fractions.isEmpty());
    }

    void proxyCountryMatch_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("proxyCountry");
        QTest::addColumn<QString>("checkCountry");
        QTest::addColumn<bool>("matches");
        testRow("same", "10.0.0.2", "United States", "United States", true);
        testRow("case differs", "10.0.0.2", "united states", "United States", false);
        testRow("engine list's trailing blank", "10.0.0.2", "Canada", "Canada ", true);
        testRow("proxy's trailing blank", "10.0.0.2", "Canada ", "Canada", true);
        testRow("leading blank", "10.0.0.2", " Canada", "Canada", false);
        testRow("other country", "10.0.0.2", "France", "Canada", false);
        testRow("proxy without address serves all", "", "France", "Canada", true);
    }
    void proxyCountryMatch()
    {
        QFETCH(QString, address);
        QFETCH(QString, proxyCountry);
        QFETCH(QString, checkCountry);
        QFETCH(bool, matches);
        QVERIFY(m_hub->addProxy(address, 8080, "http", proxyCountry));
        RecordingProgress progress;
        TestRankOperation operation(&progress, &m_hub->UpdateRunningFlag());
        QCOMPARE(operation.Envirs().size(), size_t(2));
        ScriptedRankTask task(engine(kGoogle, checkCountry), kSite, "k");
        QVERIFY(operation.Envirs()[0]->IsMatchedArea(&task)); // local serves every country
        QCOMPARE(operation.Envirs()[1]->IsMatchedArea(&task), matches);
        QCOMPARE(operation.CanRunRankTask(operation.Envirs()[1], &task), matches);
    }

    void failCountsShieldAtThree()
    {
        RecordingProgress progress;
        TestRankOperation operation(&progress, &m_hub->UpdateRunningFlag());
        HttpRequestEnvir* local = operation.Envirs().front();
        ScriptedRankTask google(engine(kGoogle), kSite, "k");
        ScriptedRankTask googleFr(engine(QStringLiteral("www.google.fr")), kSite, "k");
        const QList<long> counts{0, 1, 2, 3, 4};
        const QList<bool> smooth{true, false, false, false, false};
        const QList<bool> shielded{false, false, false, true, true};
        for (int i = 0; i < counts.size(); ++i) {
            local->GainProperFailTimesAboutSearchEngine(kGoogle).value() = counts[i];
            QCOMPARE(local->IsSmooth(&google), smooth[i]);
            QCOMPARE(local->IsShieldBySearchEngine(&google), shielded[i]);
            QCOMPARE(operation.CanRunRankTask(local, &google), !shielded[i]);
            QCOMPARE(operation.ExistAvailableReqEnvir(&google), !shielded[i]);
            // Another country's host of the same engine is counted apart.
            QVERIFY(local->IsSmooth(&googleFr));
            QVERIFY(operation.CanRunRankTask(local, &googleFr));
        }
    }

    void queueingByEngineKind()
    {
        RecordingProgress progress;
        TestRankOperation operation(&progress, &m_hub->UpdateRunningFlag());
        QVERIFY(!operation.StartTasks()); // nothing queued
        operation.AddCheckRankTask(kSite, engine(kGoogle), "a");
        operation.AddCheckRankTask(kSite, engine(QStringLiteral("www.ask.com")), "b");
        operation.AddCheckRankTask(kSite, engine(kBing), "c");
        operation.AddCheckRankTask(kSite, engine(QString()), "d");
        operation.AddCheckRankTask(kSite, engine(QStringLiteral("search.yahoo.com")), "e");
        operation.AddCheckRankTask(kSite, nullptr, "f");
        operation.AddCheckRankTask(kSite, engine(kGoogle), "a");
        QCOMPARE(operation.kindsAsked, (QList<int>{1, 2, 4, 1}));
        QStringList queued;
        for (CheckRankTask* task : operation.AllTasks())
            queued.append(task->Keyword());
        QCOMPARE(queued, (QStringList{"a", "c", "e", "a"}));
        QCOMPARE(operation.PendingTasks().size(), size_t(4));
        QVERIFY(operation.AllTasks()[0] != operation.AllTasks()[3]);
        // The check keeps its own copy of the variant.
        m_engines.front().SearchEngine = QStringLiteral("changed");
        QCOMPARE(operation.AllTasks()[0]->SearchEngine(), kGoogle);
    }

    void nothingCanStart_data()
    {
        QTest::addColumn<bool>("addFrenchProxy");
        testRow("only proxies, none enabled", false);
        testRow("no proxy of the country", true);
    }
    void nothingCanStart()
    {
        QFETCH(bool, addFrenchProxy);
        m_hub->setSetting(SETTING_OnlyProxy, true);
        if (addFrenchProxy)
            QVERIFY(m_hub->addProxy("10.0.0.2", 8080, "http", "France"));
        RecordingProgress progress;
        {
            TestRankOperation operation(&progress, &m_hub->UpdateRunningFlag());
            operation.AddCheckRankTask(kSite, engine(kGoogle), "a");
            operation.AddCheckRankTask(kSite, engine(kBing), "b");
            QVERIFY(m_hub->UpdateRunningFlag());
            QVERIFY(!operation.StartTasks());
            QVERIFY(operation.ended.isEmpty());
            QCOMPARE(operation.PendingTasks().size(), size_t(2));
        }
        QVERIFY(!m_hub->UpdateRunningFlag());
        QVERIFY(progress.fractions.isEmpty());
        QCOMPARE(progress.ends, 0);
    }

    // Below: runs against fake engines.

    void sameHostWaitsForCoolingOtherHostsRunAlongside()
    {
        LT_REQUIRE_NETNS();
        FakeSearchEngine engines;
        QVERIFY(engines.listen(80));
        engines.setDefaultHandler(
            [](const RecordedRequest&) { return FakeResponse::page(pageWithSite()); });
        RecordingProgress progress;
        TestRankOperation operation(&progress, &m_hub->UpdateRunningFlag(), 1);
        operation.AddCheckRankTask(kSite, engine(kGoogle), "g1");
        operation.AddCheckRankTask(kSite, engine(kGoogle), "g2");
        operation.AddCheckRankTask(kSite, engine(kBing), "b1");
        operation.AddCheckRankTask(kSite, engine(QStringLiteral("www.google.fr")), "f1");
        QVERIFY(operation.StartTasks());
        // One request stream per engine host: g2 waits, the others start at once.
        QCOMPARE(ScriptedRankTask::events(), (QStringList{"start g1", "start b1", "start f1"}));
        QCOMPARE(operation.PendingTasks().size(), size_t(1));
        QVERIFY(waitFor([&] { return progress.ends == 1; }));
        const QStringList events = ScriptedRankTask::events();
        QVERIFY(events.indexOf("end g1") >= 0);
        QVERIFY(events.indexOf("start g2") > events.indexOf("end g1"));
        auto* g2 = static_cast<ScriptedRankTask*>(operation.AllTasks()[1]);
        // When g2 started, g1's cooling was over.
        QVERIFY(!g2->hostBusyAtStart());
        QCOMPARE(operation.ended.size(), 4);
        for (CheckRankTask* task : operation.AllTasks())
            QCOMPARE(int(task->Result()), 1);
    }

    void localFirstThenProxiesInTableOrder()
    {
        LT_REQUIRE_NETNS();
        FakeSearchEngine direct;
        QVERIFY(direct.listen(80));
        direct.setDefaultHandler(
            [](const RecordedRequest&) { return FakeResponse::page(pageWithSite()); });
        bool ok = false;
        auto first = fakeProxy("United States", ok);
        QVERIFY(ok);
        auto second = fakeProxy("United States", ok);
        QVERIFY(ok);
        for (FakeSearchEngine* proxy : {first.get(), second.get()})
            proxy->setDefaultHandler(
                [](const RecordedRequest&) { return FakeResponse::page(pageWithSite()); });
        RecordingProgress progress;
        TestRankOperation operation(&progress, &m_hub->UpdateRunningFlag(), 1);
        for (const char* keyword : {"k1", "k2", "k3"})
            operation.AddCheckRankTask(kSite, engine(kGoogle), keyword);
        QVERIFY(runToEnd(operation, progress));
        QCOMPARE(keywordsOf(direct.requests()), QStringList{"k1"});
        QVERIFY(!direct.requests().front().absoluteForm);
        QCOMPARE(keywordsOf(first->requests()), QStringList{"k2"});
        QCOMPARE(keywordsOf(second->requests()), QStringList{"k3"});
        QVERIFY(first->requests().front().absoluteForm);
        QCOMPARE(first->requests().front().host, kGoogle);
    }

    void failedCheckPrefersEnvironmentsWithoutFailures()
    {
        LT_REQUIRE_NETNS();
        m_hub->setSetting(SETTING_OnlyProxy, 1);
        std::vector<std::unique_ptr<FakeSearchEngine>> proxies;
        for (int i = 0; i < 4; ++i) {
            bool ok = false;
            proxies.push_back(fakeProxy("United States", ok));
            QVERIFY(ok);
        }
        // The first two fail their checks, the last two serve the page.
        for (int i = 0; i < 4; ++i) {
            const bool fails = i < 2;
            // The second fails later than the first, so k1 is the first to retry.
            const int delay = i == 1 ? 300 : 0;
            proxies[i]->setDefaultHandler([fails, delay](const RecordedRequest&) {
                FakeResponse response = fails
                                            ? FakeResponse::withStatus(500, "Internal Server Error")
                                            : FakeResponse::page(pageWithSite());
                response.delayMs = delay;
                return response;
            });
        }
        RecordingProgress progress;
        TestRankOperation operation(&progress, &m_hub->UpdateRunningFlag(), 1);
        for (const char* keyword : {"k1", "k2", "k3"})
            operation.AddCheckRankTask(kSite, engine(kGoogle), keyword);
        QVERIFY(runToEnd(operation, progress));
        // k1 failed on the first and skips the second (one failure there) for the third;
        // k2 failed on the second, the third is busy with k1, the first has a failure: the
        // fourth.
        QCOMPARE(keywordsOf(proxies[0]->requests()), QStringList{"k1"});
        QCOMPARE(keywordsOf(proxies[1]->requests()), QStringList{"k2"});
        QCOMPARE(keywordsOf(proxies[2]->requests()), (QStringList{"k3", "k1"}));
        QCOMPARE(keywordsOf(proxies[3]->requests()), QStringList{"k2"});
        for (CheckRankTask* task : operation.AllTasks())
            QCOMPARE(int(task->Result()), 1);
        QCOMPARE(operation.ended.size(), 3);
    }

    void threeFailuresInARowShieldTheHost()
    {
        LT_REQUIRE_NETNS();
        FakeSearchEngine engines;
        QVERIFY(engines.listen(80));
        engines.setHandler(kGoogle, [](const RecordedRequest&) {
            return FakeResponse::withStatus(500, "Internal Server Error");
        });
        engines.setHandler(
            kBing, [](const RecordedRequest&) { return FakeResponse::page(pageWithSite()); });
        RecordingProgress progress;
        TestRankOperation operation(&progress, &m_hub->UpdateRunningFlag(), 1);
        for (const char* keyword : {"k1", "k2", "k3", "k4"})
            operation.AddCheckRankTask(kSite, engine(kGoogle), keyword);
        operation.AddCheckRankTask(kSite, engine(kBing), "b");
        QVERIFY(runToEnd(operation, progress));
        QCOMPARE(keywordsOf(engines.requestsFor(kGoogle)), (QStringList{"k1", "k2", "k3"}));
        QCOMPARE(operation.ended.size(), 5);
        QCOMPARE(operation.ended.front()->Keyword(), QStringLiteral("b"));
        // The final flush, in pending order: the check that never ran, then the retried ones.
        QStringList flushed;
        QList<int> results;
        for (int i = 1; i < operation.ended.size(); ++i) {
            flushed.append(operation.ended[i]->Keyword());
            results.append(operation.ended[i]->Result());
        }
        QCOMPARE(flushed, (QStringList{"k4", "k1", "k2", "k3"}));
        QCOMPARE(results, (QList<int>{0, 3, 3, 3}));
        for (const UPDATE_FLOW& flow : operation.Results())
            QCOMPARE(flow.Rank, flow.Keyword == "b" ? qint64(2) : qint64(0));
    }

    void aSuccessResetsTheFailureCount()
    {
        LT_REQUIRE_NETNS();
        FakeSearchEngine engines;
        QVERIFY(engines.listen(80));
        const FakeResponse failure = FakeResponse::withStatus(500, "Internal Server Error");
        for (const FakeResponse& response :
             {failure, failure, FakeResponse::page(pageWithSite()), failure, failure})
            engines.enqueue(kGoogle, response);
        RecordingProgress progress;
        TestRankOperation operation(&progress, &m_hub->UpdateRunningFlag(), 1);
        for (const char* keyword : {"k1", "k2", "k3", "k4", "k5"})
            operation.AddCheckRankTask(kSite, engine(kGoogle), keyword);
        QVERIFY(runToEnd(operation, progress));
        QCOMPARE(keywordsOf(engines.requests()), (QStringList{"k1", "k2", "k3", "k4", "k5"}));
        QList<int> results;
        for (CheckRankTask* task : operation.AllTasks())
            results.append(task->Result());
        QCOMPARE(results, (QList<int>{3, 3, 1, 3, 3}));
    }

    void checksGoOnlyToProxiesOfTheirCountry()
    {
        LT_REQUIRE_NETNS();
        m_hub->setSetting(SETTING_OnlyProxy, 1);
        bool ok = false;
        auto american = fakeProxy("United States", ok);
        QVERIFY(ok);
        auto canadian = fakeProxy("Canada", ok);
        QVERIFY(ok);
        for (FakeSearchEngine* proxy : {american.get(), canadian.get()})
            proxy->setDefaultHandler(
                [](const RecordedRequest&) { return FakeResponse::page(pageWithSite()); });
        RecordingProgress progress;
        TestRankOperation operation(&progress, &m_hub->UpdateRunningFlag(), 1);
        operation.AddCheckRankTask(kSite, engine(kGoogle, "United States"), "us");
        operation.AddCheckRankTask(kSite, engine(QStringLiteral("www.google.de"), "Germany"), "de");
        // The engine list writes French Canada with a trailing blank.
        operation.AddCheckRankTask(kSite, engine(QStringLiteral("ca.search.yahoo.com"), "Canada "),
                                   "ca");
        QVERIFY(runToEnd(operation, progress));
        QCOMPARE(keywordsOf(american->requests()), QStringList{"us"});
        QCOMPARE(keywordsOf(canadian->requests()), QStringList{"ca"});
        QCOMPARE(operation.AllTasks()[0]->Result(), RRT_Found);
        QCOMPARE(operation.AllTasks()[1]->Result(), RRT_NotStarted);
        QCOMPARE(operation.AllTasks()[2]->Result(), RRT_Found);
        // The check no proxy serves ends last, in the final flush.
        QCOMPARE(operation.ended.back(), operation.AllTasks()[1]);
    }

    void failedCheckIsRetriedElsewhereFromTheSamePage()
    {
        LT_REQUIRE_NETNS();
        FakeSearchEngine direct;
        QVERIFY(direct.listen(80));
        // Page 0 has links but not the site; page 1 fails here.
        direct.enqueue(kGoogle,
                       FakeResponse::page("<a class=\"r\" href=\"http://a.example/\">a</a>"));
        direct.enqueue(kGoogle, FakeResponse::withStatus(500, "Internal Server Error"));
        bool ok = false;
        auto proxy = fakeProxy("United States", ok);
        QVERIFY(ok);
        proxy->setDefaultHandler(
            [](const RecordedRequest&) { return FakeResponse::page(pageWithSite()); });
        RecordingProgress progress;
        TestRankOperation operation(&progress, &m_hub->UpdateRunningFlag(), 2);
        operation.AddCheckRankTask(kSite, engine(kGoogle), "k");
        QVERIFY(runToEnd(operation, progress));
        QCOMPARE(direct.requests().size(), 2);
        QCOMPARE(proxy->requests().size(), 1);
        QCOMPARE(QUrlQuery(proxy->requests().front().url).queryItemValue("page"),
                 QStringLiteral("1"));
        CheckRankTask* task = operation.AllTasks().front();
        QCOMPARE(task->Result(), RRT_Found);
        QCOMPARE(task->Rank(), qint64(12));
        QCOMPARE(task->TriedEnvirs().size(), size_t(1));
        QCOMPARE(task->TriedEnvirs().front(), operation.Envirs().front());
    }
};

LT_TEST_MAIN_NETNS(TestCheckBatch)
#include "tst_checkbatch.moc"
