#include "BingRankTask.h"
#include "CheckRun.h"
#include "CheckTiming.h"
#include "EngineEnvironment.h"
#include "EnginePages.h"
#include "FakeSearchEngine.h"
#include "RankHub.h"
#include "TestMain.h"
#include "TestRankHub.h"
#include "TestRankOperation.h"
#include "TestRows.h"

#include <QRegularExpression>
#include <QSet>

#include <cstdlib>
#include <ctime>
#include <memory>

namespace {
const QString kBing = QStringLiteral("www.bing.com");
const QString kSite = QStringLiteral("mysite.example");
const QString kSiteLink = QStringLiteral("https://www.mysite.example/shop/blue-shoes");
const QString kKeyword = QStringLiteral("blue shoes");
const QByteArray kUserAgent =
    "Mozilla/4.0 (compatible; MSIE 8.0; Windows NT 6.1; Trident/4.0; SLCC2; .NET CLR 2.0.50727; "
    ".NET CLR 3.5.30729; .NET CLR 3.0.30729; Media Center PC 6.0; .NET4.0C; .NET4.0E)";

// The request line target of the result page that starts at `first`.
QByteArray pageTarget(int first)
{
    if (first == 1)
        return "/search?go=&form=W0FD&mkt=en-US&filt=all&q=blue%20shoes";
    return "/search?go=&form=W0FD&mkt=en-US&filt=all&first=" + QByteArray::number(first) +
           "&q=blue%20shoes";
}

// The cookie numbers a request sent in one of the seconds from..to can carry: the C
// generator seeded with that second, its first value scaled to 0..99999.
QSet<int> cookieNumbersBetween(std::time_t from, std::time_t to)
{
    QSet<int> numbers;
    for (std::time_t second = from; second <= to; ++second) {
        std::srand(unsigned(second));
        numbers.insert(int((qint64(std::rand()) * 100000) >> 31));
    }
    return numbers;
}

const QRegularExpression
    kCookieForm(QStringLiteral("^_EDGE_V=1; MUID=7A(\\d{5})C29E41B8D03F6A7E15B94C2D8$"));

// One scripted result page: `count` links with the website at `position` (0: nowhere)
// and the next-page href (empty: none). count 0 serves a page without result links.
struct BingPage {
    int first = 1;
    int count = 10;
    int position = 0;
    QString next;
};
using BingScript = QList<BingPage>;

QString nextHref(int first)
{
    return EnginePages::bingNextHref(kKeyword, QString::number(first));
}
} // namespace

Q_DECLARE_METATYPE(BingPage)
Q_DECLARE_METATYPE(BingScript)

class TestBingRankTask : public QObject
{
    Q_OBJECT

    std::unique_ptr<FakeSearchEngine> m_engine;
    std::unique_ptr<TestRankHub> m_hub;
    std::unique_ptr<EngineEnvironment> m_envir;
    SEARCH_ENGINE m_bing{kBing, QStringLiteral("English"), QStringLiteral("United States"), 0};

    void serve(const BingScript& script)
    {
        m_engine->setHandler(kBing, [script](const RecordedRequest& request) {
            const int first =
                EngineEnvironment::queryValue(request, QStringLiteral("first"), "1").toInt();
            for (const BingPage& page : script) {
                if (page.first != first)
                    continue;
                if (page.count == 0)
                    return FakeResponse::page(EnginePages::empty());
                return FakeResponse::page(EnginePages::bing(
                    EnginePages::links(page.count, page.position, kSiteLink), page.next));
            }
            return FakeResponse::withStatus(404, "Not Found");
        });
    }

    // Every request must carry exactly the check's own headers; returns the cookie number.
    static int checkOwnHeaders(const RecordedRequest& request)
    {
        const auto own = EngineEnvironment::ownHeaders(request);
        if (own.size() != 4 || own.at(0) != qMakePair(QByteArray("User-Agent"), kUserAgent) ||
            own.at(1) != qMakePair(QByteArray("Accept"), QByteArray("*/*")) ||
            own.at(2) != qMakePair(QByteArray("Accept-Language"), QByteArray("none")) ||
            own.at(3).first != "Cookie")
            return -1;
        const auto match = kCookieForm.match(QString::fromLatin1(own.at(3).second));
        return match.hasMatch() ? match.captured(1).toInt() : -1;
    }

    bool setUpEnvir(int kind)
    {
        m_envir = std::make_unique<EngineEnvironment>();
        return m_envir->setUp(*m_hub, EngineEnvironment::Kind(kind), true);
    }

    static void addEnvirColumn() { QTest::addColumn<int>("envir"); }
    static QList<EngineEnvironment::Kind> kinds()
    {
        return {EngineEnvironment::Local, EngineEnvironment::Http, EngineEnvironment::Socks5};
    }

private slots:
    void initTestCase()
    {
        CheckTiming::SetPacingScale(0.001);
        CheckTiming::SetWatchdogScale(0.2);
    }

    void init()
    {
        TestEnvironment::freshHome();
        m_hub = std::make_unique<TestRankHub>();
        if (!QByteArray(QTest::currentTestFunction()).startsWith("network"))
            return;
        LT_REQUIRE_NETNS();
        m_engine = std::make_unique<FakeSearchEngine>();
        QVERIFY(m_engine->listen(80));
    }

    void cleanup()
    {
        m_envir.reset();
        m_engine.reset();
        m_hub.reset();
    }

    void cookieNumber_data()
    {
        QTest::addColumn<int>("randomValue");
        QTest::addColumn<int>("number");
        QTest::addColumn<QByteArray>("text");
        testRow("zero", 0, 0, QByteArray("_EDGE_V=1; MUID=7A00000C29E41B8D03F6A7E15B94C2D8"));
        testRow("just below one", 21474, 0, QByteArray());
        testRow("just one", 21475, 1, QByteArray());
        testRow("half", 1073741824, 50000, QByteArray());
        testRow("largest", 2147483647, 99999,
                QByteArray("_EDGE_V=1; MUID=7A99999C29E41B8D03F6A7E15B94C2D8"));
        testRow("some value", 123456789, 5748, QByteArray());
        testRow("another value", 987654321, 45991, QByteArray());
        testRow("42", 90194314, 4200,
                QByteArray("_EDGE_V=1; MUID=7A04200C29E41B8D03F6A7E15B94C2D8"));
    }
    void cookieNumber()
    {
        QFETCH(int, randomValue);
        QFETCH(int, number);
        QFETCH(QByteArray, text);
        QCOMPARE(BingRankTask::CookieNumber(randomValue), number);
        if (!text.isEmpty())
            QCOMPARE(BingRankTask::CookieText(number), text);
    }

    void extractFirstValue_data()
    {
        QTest::addColumn<QByteArray>("page");
        QTest::addColumn<qint64>("first");
        const QStringList none = EnginePages::links(10, 0, kSiteLink);
        const auto page = [&none](const QString& first) {
            return EnginePages::bing(none, EnginePages::bingNextHref(kKeyword, first));
        };
        const auto next = [&none](const char* href) { return EnginePages::bing(none, href); };
        testRow("next page 11", page("11"), qint64(11));
        testRow("next page 101", page("101"), qint64(101));
        testRow("leading zeros", page("0000000000021"), qint64(21));
        testRow("value too long for an int", page("99999999999999999999"), qint64(2147483647));
        testRow("just beyond an int", page("2147483648"), qint64(2147483647));
        testRow("no next link", EnginePages::bing(none, QString()), qint64(0));
        testRow("next link without first", next("/search?q=blue+shoes&amp;FORM=PERE"), qint64(0));
        testRow("key in capitals", next("/search?q=blue+shoes&amp;FIRST=11"), qint64(0));
        QTest::newRow("tag in capitals")
            << QByteArray("<html><body><LI><A CLASS=\"sb_pagN sb_pagN_bp b_widePag\" "
                          "HREF=\"/search?q=a&amp;first=31&amp;FORM=PORE\" h=\"ID=SERP\">"
                          "<div>Next</div></A></LI></body></html>")
            << qint64(31);
        QTest::newRow("first of two next links")
            << QByteArray("<ul><li><a class=\"sb_pagN x\" href=\"/search?q=a&amp;first=21\" "
                          "h=\"1\">Next</a></li><li><a class=\"sb_pagN x\" "
                          "href=\"/search?q=a&amp;first=41\" h=\"2\">More</a></li></ul>")
            << qint64(21);
        QTest::newRow("first= only in a result link")
            << QByteArray("<li class=\"b_algo\"><a href=\"http://a.example/?first=7\">x</a></li>")
            << qint64(0);
        QByteArray hostile;
        for (int i = 0; i < 500; ++i)
            hostile += "<li><a class=\"sb_pagN x\" href=\"/search?q=a&amp;first=9\" h=\"1\">";
        QTest::newRow("unclosed openings before the next link")
            << hostile + "</li>" + EnginePages::bing(none, nextHref(41)) << qint64(9);
        QTest::newRow("unclosed openings only") << hostile + "</li>" << qint64(0);
        QTest::newRow("link text with digits is no next link")
            << QByteArray("<li><a class=\"sb_pagN x\" href=\"/search?q=a&amp;first=21\" "
                          "h=\"1\">2</a></li>")
            << qint64(0);
    }
    void extractFirstValue()
    {
        QFETCH(QByteArray, page);
        QFETCH(qint64, first);
        QCOMPARE(ExtractBingFirstValue(QString::fromUtf8(page)), first);
    }

    void extractWithoutPatterns()
    {
        // Without a hub there is no next-link pattern: no next page, and no crash.
        m_hub.reset();
        QVERIFY(!RankHub::Current());
        const QByteArray page =
            EnginePages::bing(EnginePages::links(10, 0, kSiteLink), nextHref(11));
        QCOMPARE(ExtractBingFirstValue(QString::fromUtf8(page)), qint64(0));
    }

    void networkPaging_data()
    {
        addEnvirColumn();
        QTest::addColumn<BingScript>("script");
        QTest::addColumn<QList<int>>("firsts");
        QTest::addColumn<int>("result");
        QTest::addColumn<qint64>("rank");
        QTest::addColumn<QString>("message");

        // Each case through each way out.
        const auto add = [](const char* name, const BingScript& script, const QList<int>& firsts,
                            int result, qint64 rank, const QString& message) {
            for (EngineEnvironment::Kind kind : kinds()) {
                QTest::addRow("%s: %s", qPrintable(EngineEnvironment::kindName(kind)), name)
                    << int(kind) << script << firsts << result << rank << message;
            }
        };
        const QString less = QStringLiteral("LessContent");
        const QString none;
        const auto n = [](int first) { return nextHref(first); };
        add("found on the first page", {{1, 10, 4, n(11)}}, {1}, 1, 4, none);
        add("found by the next link", {{1, 10, 0, n(11)}, {11, 10, 3, n(21)}}, {1, 11}, 1, 13,
            none);
        add("link jumps to 92, rank above 100", {{1, 10, 0, n(92)}, {92, 20, 15, n(112)}}, {1, 92},
            1, 106, none);
        add("next link beyond 100", {{1, 10, 0, n(11)}, {11, 10, 0, n(101)}}, {1, 11}, 2, 101,
            none);
        add("next link at 100 is read", {{1, 10, 0, n(100)}, {100, 10, 0, n(110)}}, {1, 100}, 2,
            101, none);
        add("no next link", {{1, 10, 0, none}}, {1}, 4, 0, less);
        add("next link does not advance", {{1, 10, 0, n(11)}, {11, 10, 0, n(11)}}, {1, 11}, 4, 0,
            less);
        add("next link goes back", {{1, 10, 0, n(21)}, {21, 10, 0, n(11)}}, {1, 21}, 4, 0, less);
        add("next value too long for an int",
            {{1, 10, 0, EnginePages::bingNextHref(kKeyword, "99999999999999999999")}}, {1}, 2, 101,
            none);
        add("next link without first",
            {{1, 10, 0, QStringLiteral("/search?q=blue+shoes&amp;FORM=PERE")}}, {1}, 4, 0, less);
        add("page without results", {{1, 0, 0, none}}, {1}, 4, 0, none);
    }

    void networkPaging()
    {
        QFETCH(int, envir);
        QFETCH(BingScript, script);
        QFETCH(QList<int>, firsts);
        QFETCH(int, result);
        QFETCH(qint64, rank);
        QFETCH(QString, message);
        QVERIFY2(setUpEnvir(envir), qPrintable(m_envir->error()));
        serve(script);

        const std::time_t before = std::time(nullptr);
        RecordingProgress progress;
        RankOperation operation(&progress, &m_hub->UpdateRunningFlag());
        operation.AddCheckRankTask(kSite, &m_bing, kKeyword);
        QCOMPARE(operation.AllTasks().size(), size_t(1));
        QVERIFY(qobject_cast<BingRankTask*>(operation.AllTasks().front()));
        QVERIFY(runToEnd(operation, progress));
        const std::time_t after = std::time(nullptr);
        const QSet<int> cookies = cookieNumbersBetween(before, after);

        const QList<RecordedRequest> requests = m_engine->requestsFor(kBing);
        QCOMPARE(requests.size(), firsts.size());
        const QString peer = EngineEnvironment::peerOf(EngineEnvironment::Kind(envir));
        for (int i = 0; i < requests.size(); ++i) {
            QCOMPARE(requests.at(i).target, pageTarget(firsts.at(i)));
            QCOMPARE(requests.at(i).peer.toString(), peer);
            const int cookie = checkOwnHeaders(requests.at(i));
            QVERIFY2(cookies.contains(cookie), qPrintable(QString::number(cookie)));
        }

        const CheckRankTask* task = operation.AllTasks().front();
        QCOMPARE(int(task->Result()), result);
        QCOMPARE(task->Message(), message);
        QCOMPARE(operation.Results().size(), size_t(1));
        const UPDATE_FLOW& flow = operation.Results().front();
        QCOMPARE(flow.Rank, rank);
        QCOMPARE(flow.RankURL, result == 1 ? kSiteLink : QString());
        QCOMPARE(flow.SearchEngine, kBing);
        QCOMPARE(flow.Keyword, kKeyword);
        QCOMPARE(flow.Website, kSite);
        QCOMPARE(progress.fractions, QList<float>{1.0f});
    }

    void networkRedirectResendsTheRequest_data()
    {
        addEnvirColumn();
        QTest::addColumn<QByteArray>("location");
        QTest::addColumn<QByteArray>("target");
        for (EngineEnvironment::Kind kind : kinds()) {
            const QString name = EngineEnvironment::kindName(kind);
            QTest::addRow("%s: absolute", qPrintable(name))
                << int(kind) << QByteArray("http://www.bing.com/search?moved=1&q=blue%20shoes")
                << QByteArray("/search?moved=1&q=blue%20shoes");
            QTest::addRow("%s: relative", qPrintable(name))
                << int(kind) << QByteArray("/results?moved=2") << QByteArray("/results?moved=2");
        }
    }
    void networkRedirectResendsTheRequest()
    {
        QFETCH(int, envir);
        QFETCH(QByteArray, location);
        QFETCH(QByteArray, target);
        QVERIFY2(setUpEnvir(envir), qPrintable(m_envir->error()));
        m_engine->enqueue(kBing, FakeResponse::redirect(location));
        // The page the redirect leads to is served by the handler as "first" 1.
        serve({{1, 10, 0, nextHref(11)}, {11, 10, 5, nextHref(21)}});
        RecordingProgress progress;
        RankOperation operation(&progress, &m_hub->UpdateRunningFlag());
        operation.AddCheckRankTask(kSite, &m_bing, kKeyword);
        QVERIFY(runToEnd(operation, progress));

        const QList<RecordedRequest> requests = m_engine->requestsFor(kBing);
        QCOMPARE(requests.size(), 3);
        QCOMPARE(requests.at(0).target, pageTarget(1));
        QCOMPARE(requests.at(1).target, target);
        QVERIFY(checkOwnHeaders(requests.at(0)) >= 0);
        // Same request, same headers, same cookie number.
        QCOMPARE(EngineEnvironment::ownHeaders(requests.at(1)),
                 EngineEnvironment::ownHeaders(requests.at(0)));
        QCOMPARE(requests.at(2).target, pageTarget(11));
        QCOMPARE(operation.Results().front().Rank, qint64(15));
    }

    void networkEngineCookiesAreNotSent()
    {
        QVERIFY2(setUpEnvir(EngineEnvironment::Local), qPrintable(m_envir->error()));
        FakeResponse first = FakeResponse::page(
            EnginePages::bing(EnginePages::links(10, 0, kSiteLink), nextHref(11)));
        first.headers.append(
            qMakePair(QByteArray("Set-Cookie"),
                      QByteArray("MUID=0123456789ABCDEF; path=/; domain=bing.com")));
        first.headers.append(qMakePair(QByteArray("Set-Cookie"), QByteArray("SRCHD=AF=NOFORM")));
        m_engine->enqueue(kBing, first);
        serve({{11, 10, 2, nextHref(21)}});
        RecordingProgress progress;
        RankOperation operation(&progress, &m_hub->UpdateRunningFlag());
        operation.AddCheckRankTask(kSite, &m_bing, kKeyword);
        QVERIFY(runToEnd(operation, progress));
        const QList<RecordedRequest> requests = m_engine->requestsFor(kBing);
        QCOMPARE(requests.size(), 2);
        QCOMPARE(requests.at(1).headerCount("Cookie"), 1);
        QVERIFY(checkOwnHeaders(requests.at(1)) >= 0);
        QCOMPARE(operation.Results().front().Rank, qint64(12));
    }

    void networkRetryResumesOnTheFailedPage_data()
    {
        QTest::addColumn<int>("proxy");
        testRow("http proxy", int(EngineEnvironment::Http));
        testRow("socks5 proxy", int(EngineEnvironment::Socks5));
    }
    void networkRetryResumesOnTheFailedPage()
    {
        QFETCH(int, proxy);
        m_envir = std::make_unique<EngineEnvironment>();
        QVERIFY2(m_envir->addProxy(*m_hub, EngineEnvironment::Kind(proxy), true,
                                   QStringLiteral("United States"), QStringLiteral("127.0.0.2")),
                 qPrintable(m_envir->error()));
        const BingScript script{{1, 10, 0, nextHref(11)}, {11, 10, 6, nextHref(21)}};
        m_engine->setHandler(kBing, [script](const RecordedRequest& request) {
            const int first =
                EngineEnvironment::queryValue(request, QStringLiteral("first"), "1").toInt();
            // The local connection fails on the second page.
            if (first == 11 && request.peer == QHostAddress(QHostAddress::LocalHost))
                return FakeResponse::withStatus(500, "Internal Server Error");
            for (const BingPage& page : script) {
                if (page.first == first)
                    return FakeResponse::page(EnginePages::bing(
                        EnginePages::links(page.count, page.position, kSiteLink), page.next));
            }
            return FakeResponse::withStatus(404, "Not Found");
        });
        RecordingProgress progress;
        RankOperation operation(&progress, &m_hub->UpdateRunningFlag());
        QCOMPARE(operation.Envirs().size(), size_t(2)); // local first, then the proxy
        operation.AddCheckRankTask(kSite, &m_bing, kKeyword);
        QVERIFY(runToEnd(operation, progress));

        const QList<RecordedRequest> requests = m_engine->requestsFor(kBing);
        QCOMPARE(requests.size(), 3);
        QCOMPARE(requests.at(0).target, pageTarget(1));
        QCOMPARE(requests.at(0).peer.toString(), QStringLiteral("127.0.0.1"));
        QCOMPARE(requests.at(1).target, pageTarget(11));
        QCOMPARE(requests.at(1).peer.toString(), QStringLiteral("127.0.0.1"));
        QCOMPARE(requests.at(2).target, pageTarget(11));
        QCOMPARE(requests.at(2).peer.toString(), QStringLiteral("127.0.0.2"));
        QVERIFY(checkOwnHeaders(requests.at(2)) >= 0);
        QCOMPARE(int(operation.AllTasks().front()->Result()), 1);
        QCOMPARE(operation.Results().front().Rank, qint64(16));
    }
};

LT_TEST_MAIN_NETNS(TestBingRankTask)
#include "tst_bingranktask.moc"
