#include "EngineTest.h"
#include "TestRows.h"
#include "YahooRankTask.h"

namespace {
const QString kYahoo = QStringLiteral("search.yahoo.com");
const QString kSite = QStringLiteral("mysite.example");
const QString kSiteLink = QStringLiteral("https://www.mysite.example/Shop/item-3");
const QString kKeyword = QStringLiteral("blue shoes");

// Request target of the page that starts at result b (1, 11, ... 91).
QByteArray target(int b)
{
    if (b == 1)
        return "/search?ei=UTF-8&p=blue%20shoes";
    return "/search?ei=UTF-8&b=" + QByteArray::number(b) + "&p=blue%20shoes";
}

// Serves ten results from the asked b on; the website has the given overall rank (101: on
// no page). A request from `blockedPeer` for page `blockedB` gets a page without results.
FakeSearchEngine::Handler pagesWithRank(int rank, const QString& blockedPeer = QString(),
                                        int blockedB = -1)
{
    return [=](const RecordedRequest& request) {
        const int b = EngineEnvironment::queryValue(request, QStringLiteral("b"), "1").toInt();
        if (!EngineEnvironment::queryValue(request, QStringLiteral("n")).isNull())
            return FakeResponse::withStatus(400, "Bad Request");
        if (b == blockedB && request.peer.toString() == blockedPeer)
            return FakeResponse::page(EnginePages::empty());
        const int position = rank >= b && rank < b + 10 ? rank - b + 1 : 0;
        return FakeResponse::page(EnginePages::yahoo(EnginePages::links(10, position, kSiteLink)));
    };
}
} // namespace

class TestYahooRankTask : public EngineTest
{
    Q_OBJECT

    SEARCH_ENGINE m_yahoo{QStringLiteral("search.yahoo.com"), QStringLiteral("English"),
                          QStringLiteral("United States"), 0};

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
            {"position 1 of the second page", 11, 2, 1},
            {"position 3 of the fourth page", 33, 4, 1},
            {"position 10 of the tenth page", 100, 10, 1},
            {"on no page", 101, 10, 2},
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
        m_engine->setHandler(kYahoo, pagesWithRank(rank));

        RecordingProgress progress;
        RankOperation operation(&progress, &m_hub->UpdateRunningFlag());
        operation.AddCheckRankTask(kSite, &m_yahoo, kKeyword);
        QCOMPARE(operation.AllTasks().size(), size_t(1));
        QVERIFY(qobject_cast<YahooRankTask*>(operation.AllTasks().front()));
        QVERIFY(runToEnd(operation, progress));

        const QList<RecordedRequest> seen = m_engine->requestsFor(kYahoo);
        QCOMPARE(seen.size(), requests);
        for (int i = 0; i < seen.size(); ++i) {
            QCOMPARE(seen.at(i).target, target(10 * i + 1));
            QCOMPARE(seen.at(i).peer.toString(), EngineEnvironment::peerOf(kind));
        }
        QCOMPARE(int(operation.AllTasks().front()->Result()), result);
        QCOMPARE(operation.Results().size(), size_t(1));
        const UPDATE_FLOW& flow = operation.Results().front();
        QCOMPARE(flow.Rank, qint64(rank));
        // The link as the page has it, capitals included.
        QCOMPARE(flow.RankURL, result == 1 ? kSiteLink : QString());
        QCOMPARE(flow.SearchEngine, kYahoo);
        QCOMPARE(flow.Keyword, kKeyword);
    }

    void retryResumesOnTheBlockedPage_data()
    {
        QTest::addColumn<int>("proxy");
        QTest::addColumn<int>("blockedB");
        QTest::addColumn<int>("rank");
        testRow("http proxy, second page", int(EngineEnvironment::Http), 11, 19);
        testRow("socks5 proxy, fifth page", int(EngineEnvironment::Socks5), 41, 77);
        testRow("socks5 proxy, last page", int(EngineEnvironment::Socks5), 91, 101);
    }
    void retryResumesOnTheBlockedPage()
    {
        QFETCH(int, proxy);
        QFETCH(int, blockedB);
        QFETCH(int, rank);
        QVERIFY2(m_envir->addProxy(*m_hub, EngineEnvironment::Kind(proxy), true,
                                   QStringLiteral("United States"), QStringLiteral("127.0.0.2")),
                 qPrintable(m_envir->error()));
        m_engine->setHandler(kYahoo, pagesWithRank(rank, QStringLiteral("127.0.0.1"), blockedB));
        RecordingProgress progress;
        RankOperation operation(&progress, &m_hub->UpdateRunningFlag());
        operation.AddCheckRankTask(kSite, &m_yahoo, kKeyword);
        QVERIFY(runToEnd(operation, progress));

        const int blocked = blockedB / 10;                 // page index
        const int last = rank > 100 ? 9 : (rank - 1) / 10; // page index of the last read
        const QList<RecordedRequest> seen = m_engine->requestsFor(kYahoo);
        QCOMPARE(seen.size(), (blocked + 1) + (last - blocked + 1));
        int i = 0;
        for (int page = 0; page <= blocked; ++page, ++i) {
            QCOMPARE(seen.at(i).target, target(10 * page + 1));
            QCOMPARE(seen.at(i).peer.toString(), QStringLiteral("127.0.0.1"));
        }
        for (int page = blocked; page <= last; ++page, ++i) {
            QCOMPARE(seen.at(i).target, target(10 * page + 1));
            QCOMPARE(seen.at(i).peer.toString(), QStringLiteral("127.0.0.2"));
        }
        QCOMPARE(operation.Results().front().Rank, qint64(rank));
        // The block page counted as a failure of the local connection.
        const auto& tried = operation.AllTasks().front()->TriedEnvirs();
        QCOMPARE(tried.size(), size_t(1));
        QCOMPARE(tried.front(), operation.Envirs().front());
    }

    void blockedPageWithoutAnotherWayGivesZero()
    {
        QVERIFY2(m_envir->setUp(*m_hub, EngineEnvironment::Http, false),
                 qPrintable(m_envir->error()));
        m_engine->setHandler(kYahoo, pagesWithRank(55, QStringLiteral("127.0.0.2"), 21));
        RecordingProgress progress;
        RankOperation operation(&progress, &m_hub->UpdateRunningFlag());
        operation.AddCheckRankTask(kSite, &m_yahoo, kKeyword);
        QVERIFY(runToEnd(operation, progress));
        QCOMPARE(m_engine->requestsFor(kYahoo).size(), 3);
        QCOMPARE(int(operation.AllTasks().front()->Result()), 4);
        QCOMPARE(operation.Results().front().Rank, qint64(0));
    }
};

LT_TEST_MAIN_NETNS(TestYahooRankTask)
#include "tst_yahooranktask.moc"
