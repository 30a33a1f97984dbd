#include "CheckRankTask.h"
#include "EngineTest.h"

#include <QHash>
#include <QSet>

#include <map>
#include <tuple>

namespace {

struct Website {
    QString url;
    QString link; // the website's result link on the engines' pages
    bool british; // engine variants of the United Kingdom, else of the United States
    QStringList keywords;
};

// The websites of the batch; every keyword belongs to one website only, so the fake
// engine knows from the keyword whose link to place.
const QList<Website> kWebsites = {
    {"alpha.example",
     "https://www.alpha.example/catalogue/item",
     false,
     {"red boots", "green hats", "yellow scarves"}},
    {"beta.example/shop", "http://beta.example/shop/", false, {"garden tools", "lawn mowers"}},
    {"gamma.example", "https://blog.gamma.example/post?id=9", false, {"tea cups"}},
    {"delta.example", "https://delta.example/", true, {"rain coats", "wool socks"}},
};

// The rank each engine gives each keyword (101: on none of the first 100 results).
const QHash<QString, std::tuple<int, int, int>> kRanks = {
    // keyword            Google Bing Yahoo
    {"red boots", {3, 5, 9}},          {"green hats", {27, 101, 44}},
    {"yellow scarves", {64, 38, 101}}, {"garden tools", {101, 17, 71}},
    {"lawn mowers", {12, 2, 1}},       {"tea cups", {100, 60, 20}},
    {"rain coats", {1, 23, 100}},      {"wool socks", {31, 91, 13}},
};

const QString kLocal = QStringLiteral("127.0.0.1");
const QString kTinyAuth = QStringLiteral("127.0.0.2");
const QString kSocksAuth = QStringLiteral("127.0.0.3");
const QString kTiny = QStringLiteral("127.0.0.4");
const QString kSocksBritish = QStringLiteral("127.0.0.5");

QString linkOf(const QString& keyword)
{
    for (const Website& website : kWebsites) {
        if (website.keywords.contains(keyword))
            return website.link;
    }
    return QString();
}

int positionOn(int rank, int first, int count)
{
    return rank >= first && rank < first + count ? rank - first + 1 : 0;
}

// An update run that also notes each check as it ends.
class RecordingOperation : public RankOperation
{
public:
    using RankOperation::RankOperation;
    void OnATaskEnd(CheckRankTask* task) override
    {
        ended.append(task);
        RankOperation::OnATaskEnd(task);
    }
    QList<CheckRankTask*> ended;
};

} // namespace

// A whole update run: several websites, keywords and all three engines, spread over the
// local connection, two HTTP proxies and two SOCKS5 proxies, with failures scripted per
// way out.
class TestEngineBatch : public EngineTest
{
    Q_OBJECT

public:
    TestEngineBatch() : EngineTest(0.1) {}

private:
    QHash<QString, int> m_stalled; // peer -> stalled requests so far

    FakeResponse google(const RecordedRequest& request)
    {
        if (request.peer.toString() == kTiny)
            return FakeResponse::withStatus(503, "Service Unavailable");
        const QString keyword = EngineEnvironment::queryValue(request, QStringLiteral("q"));
        const int start =
            EngineEnvironment::queryValue(request, QStringLiteral("start"), "0").toInt();
        const int num = EngineEnvironment::queryValue(request, QStringLiteral("num"), "10").toInt();
        const int position = positionOn(std::get<0>(kRanks.value(keyword)), start + 1, num);
        return FakeResponse::page(
            EnginePages::google(EnginePages::links(num, position, linkOf(keyword), "g")));
    }

    FakeResponse bing(const RecordedRequest& request)
    {
        if (request.peer.toString() == kSocksBritish)
            return FakeResponse::page(EnginePages::empty());
        const QString keyword = EngineEnvironment::queryValue(request, QStringLiteral("q"));
        const int first =
            EngineEnvironment::queryValue(request, QStringLiteral("first"), "1").toInt();
        const int position = positionOn(std::get<1>(kRanks.value(keyword)), first, 10);
        return FakeResponse::page(
            EnginePages::bing(EnginePages::links(10, position, linkOf(keyword), "b"),
                              EnginePages::bingNextHref(keyword, QString::number(first + 10))));
    }

    FakeResponse yahoo(const RecordedRequest& request)
    {
        // The first two Yahoo requests through the SOCKS5 proxy with a password hang until
        // the watchdog aborts them.
        if (request.peer.toString() == kSocksAuth && m_stalled[kSocksAuth]++ < 2)
            return FakeResponse::stall();
        const QString keyword = EngineEnvironment::queryValue(request, QStringLiteral("p"));
        const int b = EngineEnvironment::queryValue(request, QStringLiteral("b"), "1").toInt();
        const int position = positionOn(std::get<2>(kRanks.value(keyword)), b, 10);
        return FakeResponse::page(
            EnginePages::yahoo(EnginePages::links(10, position, linkOf(keyword), "y")));
    }

private slots:
    void everyCheckEndsOnceWithItsRank()
    {
        const QString us = QStringLiteral("United States");
        const QString uk = QStringLiteral("United Kingdom");
        QVERIFY2(m_envir->setUp(*m_hub, EngineEnvironment::Local, false),
                 qPrintable(m_envir->error()));
        QVERIFY2(m_envir->addProxy(*m_hub, EngineEnvironment::Http, true, us, kTinyAuth),
                 qPrintable(m_envir->error()));
        QVERIFY2(m_envir->addProxy(*m_hub, EngineEnvironment::Socks5, true, us, kSocksAuth),
                 qPrintable(m_envir->error()));
        QVERIFY2(m_envir->addProxy(*m_hub, EngineEnvironment::Http, false, us, kTiny),
                 qPrintable(m_envir->error()));
        QVERIFY2(m_envir->addProxy(*m_hub, EngineEnvironment::Socks5, false, uk, kSocksBritish),
                 qPrintable(m_envir->error()));

        for (const QString& host :
             {QStringLiteral("www.google.com"), QStringLiteral("www.google.co.uk")})
            m_engine->setHandler(host, [this](const RecordedRequest& r) { return google(r); });
        m_engine->setHandler(QStringLiteral("www.bing.com"),
                             [this](const RecordedRequest& r) { return bing(r); });
        for (const QString& host :
             {QStringLiteral("search.yahoo.com"), QStringLiteral("uk.search.yahoo.com")})
            m_engine->setHandler(host, [this](const RecordedRequest& r) { return yahoo(r); });

        RecordingProgress progress;
        RecordingOperation operation(&progress, &m_hub->UpdateRunningFlag());
        QCOMPARE(operation.Envirs().size(), size_t(5));

        // (website, engine host, keyword) -> expected (rank, ranking URL)
        std::map<std::tuple<QString, QString, QString>, std::pair<qint64, QString>> expected;
        for (const Website& website : kWebsites) {
            const QString country = website.british ? uk : us;
            const std::vector<SEARCH_ENGINE> engines = {
                {website.british ? "www.google.co.uk" : "www.google.com", "English", country, 50},
                {"www.bing.com", "English", country, 0},
                {website.british ? "uk.search.yahoo.com" : "search.yahoo.com", "English", country,
                 0},
            };
            for (const QString& keyword : website.keywords) {
                const auto ranks = kRanks.value(keyword);
                const int rank[3] = {std::get<0>(ranks), std::get<1>(ranks), std::get<2>(ranks)};
                for (int e = 0; e < 3; ++e) {
                    operation.AddCheckRankTask(website.url, &engines[e], keyword);
                    expected[{website.url, engines[e].SearchEngine, keyword}] = {
                        rank[e], rank[e] <= 100 ? website.link : QString()};
                }
            }
        }
        const size_t total = expected.size();
        QCOMPARE(operation.AllTasks().size(), total);

        QVERIFY(runToEnd(operation, progress, 120000));

        // Every check ended exactly once, with the rank the engine gave it.
        QCOMPARE(size_t(operation.ended.size()), total);
        QCOMPARE(QSet<CheckRankTask*>(operation.ended.begin(), operation.ended.end()).size(),
                 int(total));
        QCOMPARE(operation.Results().size(), total);
        for (const UPDATE_FLOW& flow : operation.Results()) {
            const auto it = expected.find({flow.Website, flow.SearchEngine, flow.Keyword});
            QVERIFY2(it != expected.end(), qPrintable(flow.Keyword));
            QCOMPARE(flow.Rank, it->second.first);
            QCOMPARE(flow.RankURL, it->second.second);
            QCOMPARE(flow.Lang, QStringLiteral("English"));
            expected.erase(it);
        }
        QVERIFY(expected.empty());

        // Progress rose step by step to 1, and the run was closed once.
        QCOMPARE(size_t(progress.fractions.size()), total);
        for (int i = 0; i < progress.fractions.size(); ++i)
            QCOMPARE(progress.fractions.at(i), float(double(i + 1) / double(total)));
        QCOMPARE(progress.fractions.last(), 1.0f);
        QCOMPARE(progress.ends, 1);

        // Every way out carried requests; the British proxy only British ones.
        QSet<QString> peers;
        for (const RecordedRequest& request : m_engine->requests()) {
            peers.insert(request.peer.toString());
            if (request.peer.toString() == kSocksBritish) {
                QString keyword = EngineEnvironment::queryValue(request, QStringLiteral("q"));
                if (keyword.isNull())
                    keyword = EngineEnvironment::queryValue(request, QStringLiteral("p"));
                QVERIFY2(kWebsites.last().keywords.contains(keyword),
                         request.url.toEncoded().constData());
            }
        }
        QCOMPARE(peers, (QSet<QString>{kLocal, kTinyAuth, kSocksAuth, kTiny, kSocksBritish}));

        // The scripted failures happened, and were made good elsewhere.
        int googleRefused = 0;
        int bingBlocked = 0;
        for (const RecordedRequest& request : m_engine->requests()) {
            googleRefused += request.peer.toString() == kTiny && request.host.contains("google");
            bingBlocked +=
                request.peer.toString() == kSocksBritish && request.host.contains("bing");
        }
        QVERIFY(googleRefused > 0);
        QVERIFY(m_stalled.value(kSocksAuth) > 0);
        qDebug() << "Google refused" << googleRefused << "Bing blocked" << bingBlocked
                 << "Yahoo stalled" << m_stalled.value(kSocksAuth) << "requests"
                 << m_engine->requests().size();
    }
};

LT_TEST_MAIN_NETNS(TestEngineBatch)
#include "tst_enginebatch.moc"
