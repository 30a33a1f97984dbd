#include "EngineTest.h"
#include "GoogleRankTask.h"
#include "PeakMemory.h"
#include "TestRows.h"

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define LT_ADDRESS_SANITIZER 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) || defined(LT_ADDRESS_SANITIZER)
// hugePageIsReadUpToTheCap measures the program's peak memory. The sanitizer's quarantine
// (256 MB by default) keeps every buffer freed on the way resident and would count them
// all; a small one still catches a use after free of the last few megabytes.
extern "C" __attribute__((used, visibility("default"))) const char* __asan_default_options()
{
    return "quarantine_size_mb=8";
}
#endif

namespace {
const QString kGoogle = QStringLiteral("www.google.com");
const QString kSite = QStringLiteral("mysite.example");
const QString kSiteLink = QStringLiteral("https://www.mysite.example/shop/item?id=3");
const QString kKeyword = QStringLiteral("blue shoes");

// Request targets of the three pages, in reading order.
const QList<QByteArray> kTargets = {
    "/search?hl=en&as_dpr=all&sa=N&q=blue%20shoes",
    "/search?hl=en&start=10&num=20&as_dpr=all&sa=N&q=blue%20shoes",
    "/search?hl=en&start=30&num=70&as_dpr=all&sa=N&q=blue%20shoes",
};

// Serves the page a request asks for, with as many results as it asks for; the website
// has the given overall rank (101: on no page). `failing` names a peer that gets a 500
// for the page with that start value.
FakeSearchEngine::Handler pagesWithRank(int rank, const QString& failingPeer = QString(),
                                        int failingStart = -1)
{
    return [=](const RecordedRequest& request) {
        const int start =
            EngineEnvironment::queryValue(request, QStringLiteral("start"), "0").toInt();
        const int num = EngineEnvironment::queryValue(request, QStringLiteral("num"), "10").toInt();
        if (start == failingStart && request.peer.toString() == failingPeer)
            return FakeResponse::withStatus(500, "Internal Server Error");
        const int position = rank > start && rank <= start + num ? rank - start : 0;
        return FakeResponse::page(
            EnginePages::google(EnginePages::links(num, position, kSiteLink)));
    };
}

} // namespace

Q_DECLARE_METATYPE(FakeResponse)

class TestGoogleRankTask : public EngineTest
{
    Q_OBJECT

    SEARCH_ENGINE m_google{kGoogle, QStringLiteral("English"), QStringLiteral("United States"), 50};

private slots:
    void rankOverPages_data()
    {
        QTest::addColumn<int>("envir");
        QTest::addColumn<int>("rank");
        QTest::addColumn<int>("requests");
        QTest::addColumn<int>("result");
        struct Case {
            const char* name;
            int rank;
            int requests;
            int result;
        };
        const QList<Case> cases = {
            {"position 7 of the first page", 7, 1, 1},
            {"last of the first page", 10, 1, 1},
            {"position 5 of the second page", 15, 2, 1},
            {"last of the second page", 30, 2, 1},
            {"position 1 of the third page", 31, 3, 1},
            {"last of the third page", 100, 3, 1},
            {"on no page", 101, 3, 2},
        };
        for (EngineEnvironment::Kind kind : kinds()) {
            for (const Case& c : cases) {
                QTest::addRow("%s: %s", qPrintable(EngineEnvironment::kindName(kind)), c.name)
                    << int(kind) << c.rank << c.requests << c.result;
            }
        }
    }
    void rankOverPages()
    {
        QFETCH(int, envir);
        QFETCH(int, rank);
        QFETCH(int, requests);
        QFETCH(int, result);
        const auto kind = EngineEnvironment::Kind(envir);
        QVERIFY2(m_envir->setUp(*m_hub, kind, true), qPrintable(m_envir->error()));
        m_engine->setHandler(kGoogle, pagesWithRank(rank));

        RecordingProgress progress;
        RankOperation operation(&progress, &m_hub->UpdateRunningFlag());
        operation.AddCheckRankTask(kSite, &m_google, kKeyword);
        QCOMPARE(operation.AllTasks().size(), size_t(1));
        QVERIFY(qobject_cast<GoogleRankTask*>(operation.AllTasks().front()));
        QVERIFY(runToEnd(operation, progress));

        const QList<RecordedRequest> seen = m_engine->requestsFor(kGoogle);
        QCOMPARE(seen.size(), requests);
        for (int i = 0; i < seen.size(); ++i) {
            QCOMPARE(seen.at(i).target, kTargets.at(i));
            QCOMPARE(seen.at(i).peer.toString(), EngineEnvironment::peerOf(kind));
            QCOMPARE(seen.at(i).header("User-Agent"),
                     QByteArray("Mozilla/5.0 (Windows NT 10.0; WOW64; Trident/7.0; rv:11.0) "
                                "like Gecko"));
        }
        QCOMPARE(int(operation.AllTasks().front()->Result()), result);
        QCOMPARE(operation.Results().size(), size_t(1));
        const UPDATE_FLOW& flow = operation.Results().front();
        QCOMPARE(flow.Rank, qint64(rank));
        QCOMPARE(flow.RankURL, result == 1 ? kSiteLink : QString());
        QCOMPARE(flow.SearchEngine, kGoogle);
        QCOMPARE(flow.Lang, QStringLiteral("English"));
        QCOMPARE(flow.Keyword, kKeyword);
        QCOMPARE(flow.Website, kSite);
    }

    // A page past the read cap (endless, or 1 GiB) is read up to the cap only and what
    // was read is the page: the rank is what the reading finds in that part, and memory
    // stays far below the page's size.
    void hugePageIsReadUpToTheCap_data()
    {
        QTest::addColumn<FakeResponse>("first"); // the answer to the first page request
        QTest::addColumn<int>("rank");
        QTest::addColumn<int>("requests");
        const qint64 cap = CheckRankTask::kMaxPageBytes;
        const QByteArray filler = "<p>more of the same, with no result in it</p>\n";
        testRow("endless, the website's link before the cap",
                FakeResponse::streamed(EnginePages::google(EnginePages::links(10, 3, kSiteLink)),
                                       filler, -1),
                3, 1);
        // The tail would make the website first on the first page; read whole, the
        // check would end there. Cut, the first page has none of it and the second
        // page gives rank 15.
        testRow("1 GiB, the website's link only after the cap",
                FakeResponse::streamed(EnginePages::google(EnginePages::links(10, 0, kSiteLink)),
                                       filler, qint64(1) << 30,
                                       EnginePages::google(EnginePages::links(10, 1, kSiteLink))),
                15, 2);
        // Three-byte characters (and a blank), the cap falling after the first byte of one.
        QByteArray head = EnginePages::google(EnginePages::links(10, 4, kSiteLink));
        const QByteArray shoes = QStringLiteral("青い靴 ").toUtf8();
        while ((cap - head.size()) % shoes.size() != 1)
            head += ' ';
        testRow("endless UTF-8, the cap inside a character",
                FakeResponse::streamed(head, shoes, -1), 4, 1);
    }
    void hugePageIsReadUpToTheCap()
    {
        QFETCH(FakeResponse, first);
        QFETCH(int, rank);
        QFETCH(int, requests);
        QVERIFY2(m_envir->setUp(*m_hub, EngineEnvironment::Local, false),
                 qPrintable(m_envir->error()));
        m_engine->enqueue(kGoogle, first);
        m_engine->setHandler(kGoogle, pagesWithRank(rank));
        RecordingProgress progress;
        RankOperation operation(&progress, &m_hub->UpdateRunningFlag());
        operation.AddCheckRankTask(kSite, &m_google, kKeyword);

        bool reset = false;
        const qint64 baseKb = FreshPeakKb(&reset);
        if (!reset)
            qWarning("no /proc/self/clear_refs: peak growth measured from the peak so far");
        QVERIFY(baseKb > 0);

        QVERIFY(runToEnd(operation, progress));
        const qint64 growthKb = PeakKb() - baseKb;

        QCOMPARE(m_engine->requestsFor(kGoogle).size(), requests);
        QCOMPARE(int(operation.AllTasks().front()->Result()), 1);
        QCOMPARE(operation.Results().size(), size_t(1));
        QCOMPARE(operation.Results().front().Rank, qint64(rank));
        QCOMPARE(operation.Results().front().RankURL, kSiteLink);
        qInfo("peak memory grew by %lld kB", (long long)growthKb);
        QVERIFY2(growthKb < 64 * 1024, qPrintable(QString::number(growthKb)));
    }

    void pageWithoutResultsEndsTheCheck()
    {
        QVERIFY2(m_envir->setUp(*m_hub, EngineEnvironment::Local, false),
                 qPrintable(m_envir->error()));
        m_engine->enqueue(
            kGoogle, FakeResponse::page(EnginePages::google(EnginePages::links(10, 0, kSiteLink))));
        m_engine->enqueue(kGoogle, FakeResponse::page(EnginePages::empty()));
        m_engine->setHandler(kGoogle, pagesWithRank(12));
        RecordingProgress progress;
        RankOperation operation(&progress, &m_hub->UpdateRunningFlag());
        operation.AddCheckRankTask(kSite, &m_google, kKeyword);
        QVERIFY(runToEnd(operation, progress));
        // No other environment may take it: it ends with the failure of the second page.
        QCOMPARE(m_engine->requestsFor(kGoogle).size(), 2);
        QCOMPARE(int(operation.AllTasks().front()->Result()), 4);
        QCOMPARE(operation.Results().front().Rank, qint64(0));
        QCOMPARE(operation.Results().front().RankURL, QString());
    }

    void retryResumesOnTheFailedPage_data()
    {
        QTest::addColumn<int>("proxy");
        QTest::addColumn<int>("failingStart");
        QTest::addColumn<int>("rank");
        testRow("http proxy, second page", int(EngineEnvironment::Http), 10, 15);
        testRow("socks5 proxy, second page", int(EngineEnvironment::Socks5), 10, 15);
        testRow("http proxy, third page", int(EngineEnvironment::Http), 30, 101);
        testRow("socks5 proxy, third page", int(EngineEnvironment::Socks5), 30, 42);
    }
    void retryResumesOnTheFailedPage()
    {
        QFETCH(int, proxy);
        QFETCH(int, failingStart);
        QFETCH(int, rank);
        QVERIFY2(m_envir->addProxy(*m_hub, EngineEnvironment::Kind(proxy), true,
                                   QStringLiteral("United States"), QStringLiteral("127.0.0.2")),
                 qPrintable(m_envir->error()));
        m_engine->setHandler(kGoogle,
                             pagesWithRank(rank, QStringLiteral("127.0.0.1"), failingStart));
        RecordingProgress progress;
        RankOperation operation(&progress, &m_hub->UpdateRunningFlag());
        QCOMPARE(operation.Envirs().size(), size_t(2));
        operation.AddCheckRankTask(kSite, &m_google, kKeyword);
        QVERIFY(runToEnd(operation, progress));

        // Local: the pages up to the failing one; the proxy: from the failing page on.
        const int failingPage = failingStart == 10 ? 1 : 2;
        const int lastPage = rank <= 10 ? 0 : rank <= 30 ? 1 : 2;
        const QList<RecordedRequest> seen = m_engine->requestsFor(kGoogle);
        QCOMPARE(seen.size(), failingPage + 1 + (qMin(lastPage, 2) - failingPage + 1));
        int i = 0;
        for (int page = 0; page <= failingPage; ++page, ++i) {
            QCOMPARE(seen.at(i).target, kTargets.at(page));
            QCOMPARE(seen.at(i).peer.toString(), QStringLiteral("127.0.0.1"));
        }
        for (int page = failingPage; page <= lastPage; ++page, ++i) {
            QCOMPARE(seen.at(i).target, kTargets.at(page));
            QCOMPARE(seen.at(i).peer.toString(), QStringLiteral("127.0.0.2"));
        }
        QCOMPARE(operation.Results().size(), size_t(1));
        QCOMPARE(operation.Results().front().Rank, qint64(rank));
        QCOMPARE(progress.fractions, QList<float>{1.0f});
    }

    void failedPageWithoutAnotherWayGivesZero()
    {
        QVERIFY2(m_envir->setUp(*m_hub, EngineEnvironment::Socks5, true),
                 qPrintable(m_envir->error()));
        m_engine->setHandler(kGoogle, pagesWithRank(45, QStringLiteral("127.0.0.2"), 30));
        RecordingProgress progress;
        RankOperation operation(&progress, &m_hub->UpdateRunningFlag());
        operation.AddCheckRankTask(kSite, &m_google, kKeyword);
        QVERIFY(runToEnd(operation, progress));
        QCOMPARE(m_engine->requestsFor(kGoogle).size(), 3);
        QCOMPARE(int(operation.AllTasks().front()->Result()), 3);
        QCOMPARE(operation.Results().front().Rank, qint64(0));
        QCOMPARE(progress.ends, 1);
    }
};

LT_TEST_MAIN_NETNS(TestGoogleRankTask)
#include "tst_googleranktask.moc"
