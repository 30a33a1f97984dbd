#include "EngineTest.h"

#include <QElapsedTimer>

#include <algorithm>

namespace {
const QString kSite = QStringLiteral("mysite.example");
const QString kSiteLink = QStringLiteral("https://mysite.example/");

// A pause of an engine delay of 0 lasts 2000 to 6999 ms. A timer may fire a little early
// by its rounding, and late on a loaded machine.
constexpr qint64 kShortest = 2000 - 20;
constexpr qint64 kLongest = 6999 + 1500;

struct Arrival {
    qint64 at;
    QString host;
    QString keyword;
    QByteArray target;
};
} // namespace

// The checks at their real pauses between pages and coolings between checks (no scaling).
class TestEnginePacing : public EngineTest
{
    Q_OBJECT

public:
    TestEnginePacing() : EngineTest(1.0, 1.0) {}

private:
private slots:
    void pausesBetweenPagesAndChecks()
    {
        const SEARCH_ENGINE google{QStringLiteral("www.google.com"), QStringLiteral("English"),
                                   QStringLiteral("United States"), 0};
        const SEARCH_ENGINE bing{QStringLiteral("www.bing.com"), QStringLiteral("English"),
                                 QStringLiteral("United States"), 0};
        const SEARCH_ENGINE yahoo{QStringLiteral("search.yahoo.com"), QStringLiteral("English"),
                                  QStringLiteral("United States"), 0};

        // Google: on its second page; Bing: on the page its next link names; Yahoo "first":
        // on its second page, Yahoo "second": on its first page.
        m_engine->setHandler(google.SearchEngine, [](const RecordedRequest& request) {
            const bool second = !EngineEnvironment::queryValue(request, "start").isNull();
            return FakeResponse::page(EnginePages::google(
                EnginePages::links(second ? 20 : 10, second ? 5 : 0, kSiteLink)));
        });
        m_engine->setHandler(bing.SearchEngine, [](const RecordedRequest& request) {
            const bool second = !EngineEnvironment::queryValue(request, "first").isNull();
            return FakeResponse::page(
                EnginePages::bing(EnginePages::links(10, second ? 3 : 0, kSiteLink),
                                  EnginePages::bingNextHref("first", second ? "21" : "11")));
        });
        m_engine->setHandler(yahoo.SearchEngine, [](const RecordedRequest& request) {
            const bool second = !EngineEnvironment::queryValue(request, "b").isNull();
            const bool first = EngineEnvironment::queryValue(request, "p") == "first";
            const int position = first ? (second ? 2 : 0) : 4;
            return FakeResponse::page(
                EnginePages::yahoo(EnginePages::links(10, position, kSiteLink)));
        });

        QElapsedTimer clock;
        QList<Arrival> arrivals;
        connect(m_engine.get(), &FakeSearchEngine::requestReceived, this,
                [&](const RecordedRequest& request) {
                    QString keyword = EngineEnvironment::queryValue(request, "q");
                    if (keyword.isNull())
                        keyword = EngineEnvironment::queryValue(request, "p");
                    arrivals.append({clock.elapsed(), request.host, keyword, request.target});
                });

        RecordingProgress progress;
        RankOperation operation(&progress, &m_hub->UpdateRunningFlag());
        operation.AddCheckRankTask(kSite, &google, QStringLiteral("first"));
        operation.AddCheckRankTask(kSite, &bing, QStringLiteral("first"));
        operation.AddCheckRankTask(kSite, &yahoo, QStringLiteral("first"));
        operation.AddCheckRankTask(kSite, &yahoo, QStringLiteral("second"));
        clock.start();
        QVERIFY(runToEnd(operation, progress, 40000));
        qDebug() << "whole run" << clock.elapsed() << "ms";

        auto of = [&](const QString& host, const QString& keyword) {
            QList<Arrival> list;
            for (const Arrival& arrival : arrivals) {
                if (arrival.host == host && arrival.keyword == keyword)
                    list.append(arrival);
            }
            return list;
        };
        const QList<Arrival> g = of(google.SearchEngine, "first");
        const QList<Arrival> b = of(bing.SearchEngine, "first");
        const QList<Arrival> y1 = of(yahoo.SearchEngine, "first");
        const QList<Arrival> y2 = of(yahoo.SearchEngine, "second");
        QCOMPARE(g.size(), 2);
        QCOMPARE(b.size(), 2);
        QCOMPARE(y1.size(), 2);
        QCOMPARE(y2.size(), 1);

        // The three engines start together; each pauses between its pages.
        for (const QList<Arrival>* pages : {&g, &b, &y1}) {
            QVERIFY2(pages->at(0).at < 1500, qPrintable(pages->at(0).host));
            const qint64 pause = pages->at(1).at - pages->at(0).at;
            QVERIFY2(pause >= kShortest && pause <= kLongest,
                     qPrintable(QStringLiteral("%1: %2 ms").arg(pages->at(0).host).arg(pause)));
        }
        // The second Yahoo check waits for the first to end and for the cooling after it.
        const qint64 cooling = y2.at(0).at - y1.at(1).at;
        QVERIFY2(cooling >= kShortest && cooling <= kLongest,
                 qPrintable(QStringLiteral("cooling %1 ms").arg(cooling)));

        QList<qint64> ranks;
        for (const UPDATE_FLOW& flow : operation.Results())
            ranks.append(flow.Rank);
        std::sort(ranks.begin(), ranks.end());
        QCOMPARE(ranks, (QList<qint64>{4, 12, 13, 15}));
    }
};

LT_TEST_MAIN_NETNS(TestEnginePacing)
#include "tst_enginepacing.moc"
