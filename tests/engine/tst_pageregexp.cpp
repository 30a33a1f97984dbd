#include "PageRegExp.h"
#include "Regex.h"
#include "ResultPageFixture.h"
#include "TestMain.h"
#include "TestRankHub.h"

#include <QRegExp>

#include <algorithm>
#include <ctime>
#include <functional>
#include <vector>

namespace {

struct Match {
    int at;
    int length;
    QString cap;
    bool operator==(const Match& o) const
    {
        return at == o.at && length == o.length && cap == o.cap;
    }
};

// Every match of the pattern as QRegExp finds it over the whole page.
QList<Match> BareMatches(const QString& pattern, const QString& page)
{
    QRegExp rx(pattern, Qt::CaseInsensitive);
    rx.setMinimal(true);
    QList<Match> matches;
    int index = 0;
    int at;
    while ((at = rx.indexIn(page, index)) >= 0) {
        matches.append({at, rx.matchedLength(), rx.cap(1)});
        index = at + qMax(rx.matchedLength(), 1);
    }
    return matches;
}

QList<Match> BoundedMatches(const QString& pattern, const QString& page)
{
    PageRegExp rx(pattern);
    rx.setPage(page);
    QList<Match> matches;
    int index = 0;
    int at;
    while ((at = rx.indexIn(index)) >= 0) {
        matches.append({at, rx.matchedLength(), rx.cap(1)});
        index = at + qMax(rx.matchedLength(), 1);
    }
    return matches;
}

const QString kVideo = QStringLiteral("<div\\s+class=vresult>.*<a\\s+href=\\\"([^>\\\"]+)\\\".*");
const QString kPlaces =
    QStringLiteral("<h4\\s+class=[\"]?r[\"]?>\\s*<a\\s+href=\\\"([^>\\\"]+)\\\".*");

// Every pattern the program applies to whole pages.
QList<QPair<QString, QString>> PagePatterns(const QStringList& file)
{
    QList<QPair<QString, QString>> patterns;
    for (int k = 0; k < file.size(); ++k)
        patterns.append({QStringLiteral("pattern %1").arg(k), file.at(k)});
    patterns.append({QStringLiteral("video"), kVideo});
    patterns.append({QStringLiteral("places"), kPlaces});
    return patterns;
}

// Pieces of every pattern, so random pages hold near misses of each.
const QStringList kPieces = {
    "<h3 class=\"r\">",
    "<a href=\"",
    "http://a.test/x",
    "/url?q=",
    "\"",
    ">",
    "&amp;",
    "<li class=\"b_algo\">",
    "<h2>",
    "/h2>",
    "</h2>",
    "class=\"sh_favicon\" href=\"",
    "<div class=\"r\">",
    "<div class=\"kCrYT\">",
    "<div class=\"egMi0 kCrYT\">",
    "<h3 class=\"title\">",
    "<h3 ",
    "<a class=\"ac-algo fz-l\" href=\"",
    "<div class=vresult>",
    "<h4 class=r>",
    "<li><a class=\"sb_pagN x\" href=\"/search?q=1\" ",
    " ",
    "\n",
    "x",
    "7",
    "</a>",
    "</li>",
    "<a id=\"pg-next\" ",
    "href=\"/search;p\"",
    "Next",
    "<A HREF=\"",
    "HTTPS://B",
    "class=\"title x\"",
    "<li>",
    "<h3 class=\"r\"><a href=\"/url?q=",
    "<div class=\"kCrYT\"><a href=\"/url?q=",
    "<div class=\"egMi0 kCrYT\"><a href=\"/url?q=",
    "<li class=\"b_algo\"><h2><a href=\"",
    "<li class=\"b_algo\"><a class=\"sh_favicon\" href=\"",
    "<div class=vresult><a href=\"",
    "<h4 class=r><a href=\"",
    "<li><a class=\"sb_pagN x\" href=\"/search?q=2\" t=\"n\">Next</a></li>"};

QString RandomPage(quint32 seed, int pieces)
{
    QString page;
    for (int k = 0; k < pieces; ++k) {
        seed = seed * 1664525u + 1013904223u;
        page += kPieces.at(int((seed >> 10) % kPieces.size()));
    }
    return page;
}

QString Repeat(const QString& unit, int length)
{
    QString page;
    page.reserve(length + unit.size());
    while (page.size() < length)
        page += unit;
    return page;
}

} // namespace

class TestPageRegExp : public QObject
{
    Q_OBJECT

    TestRankHub* m_hub = nullptr;
    // Read here, not in initTestCase: the data functions need them too.
    const QStringList m_patterns = RankHub::ReadPatternFile();

private slots:
    void initTestCase() { m_hub = new TestRankHub; }
    void cleanupTestCase() { delete m_hub; }

    // The bounded search finds exactly what QRegExp finds over the whole page.
    void sameMatches_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("page");

        const auto patterns = PagePatterns(m_patterns);
        for (const auto& named : patterns) {
            for (quint32 seed = 1; seed <= 40; ++seed) {
                QTest::newRow(qPrintable(named.first + QStringLiteral(", random %1").arg(seed)))
                    << named.second << RandomPage(seed * 7919u, 200 + int(seed) * 20);
            }
        }
        // Openings without their tail, with the tail once at the end, and the tail alone.
        const QStringList hostile = {
            "<li class=\"b_algo\"><h2><a href=\"http://x.test/\">T</a></li>\n",
            "<div class=vresult><span>clip</span></div>",
            "<li><a class=\"sb_pagN x\" href=\"/search?q=x\" h=\"1\">",
            "<a id=\"pg-next\" class=\"n\">",
            "<h3 class=\"r\"><a href=\"http://x.test/a>",
            "<li><a class=\"sb_pagN x\" href=\"/search?q=y\" h=\"ab\"><b>Next page</b></a>"};
        const QStringList endings = {"",
                                     "</h2>",
                                     "<a href=\"http://v.test/\">",
                                     ">Next</a></li>",
                                     "<a id=\"pg-next\" href=\"/search;x\">N</a>",
                                     "</li>"};
        for (const auto& named : patterns) {
            for (int u = 0; u < hostile.size(); ++u) {
                for (int e = 0; e < endings.size(); ++e) {
                    QTest::newRow(
                        qPrintable(named.first + QStringLiteral(", hostile %1/%2").arg(u).arg(e)))
                        << named.second << Repeat(hostile.at(u), 6000) + endings.at(e);
                }
            }
        }
    }

    void sameMatches()
    {
        QFETCH(QString, pattern);
        QFETCH(QString, page);
        QCOMPARE(BoundedMatches(pattern, page), BareMatches(pattern, page));
    }

    // The comparison above means something only if the random pages hold matches.
    void randomPagesHoldMatches()
    {
        for (const auto& named : PagePatterns(m_patterns)) {
            int matches = 0;
            for (quint32 seed = 1; seed <= 40; ++seed)
                matches += BareMatches(named.second, RandomPage(seed * 7919u, 200 + int(seed) * 20))
                               .size();
            qInfo("%s: %d matches", qPrintable(named.first), matches);
            QVERIFY2(matches >= 10, qPrintable(named.first));
        }
    }

    void sameMatchesOnFixtures()
    {
        const QList<ResultPageFixture> fixtures =
            ResultPageFixture::loadAll(QStringLiteral(LUMATROVE_TEST_DATA "/pages"));
        QVERIFY(!fixtures.isEmpty());
        const auto patterns = PagePatterns(m_patterns);
        for (const ResultPageFixture& fixture : fixtures) {
            for (const auto& named : patterns) {
                const QList<Match> bare = BareMatches(named.second, fixture.page);
                if (BoundedMatches(named.second, fixture.page) != bare)
                    QFAIL(qPrintable(fixture.name + QStringLiteral(": ") + named.first));
            }
        }
    }

    // Pages made to defeat a pattern take time in proportion to their size.
    void linearGrowth_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("unit");
        QTest::addColumn<QString>("ending");
        QTest::addColumn<int>("engine"); // 0: the pattern alone, else the whole parse

        const QStringList& file = m_patterns;
        const auto row = [](const char* name, const QString& pattern, const QString& unit,
                            const QString& ending, int engine) {
            QTest::newRow(name) << pattern << unit << ending << engine;
        };
        const QString bing1 =
            QStringLiteral("<li class=\"b_algo\"><h2><a href=\"http://x.test/\" h=\"ID=SERP\">"
                           "A title</a><p>Some words</p></li>\n");
        row("bing result 1, no tail", file.at(REGEXP_BingResult1), bing1, "", 0);
        row("bing result 1, tail at the end", file.at(REGEXP_BingResult1), bing1, "</h2>", 0);
        row("bing page, no tail", QString(), bing1, "", int(SE_Bing));
        row("bing page, tail at the end", QString(), bing1, "</h2>", int(SE_Bing));
        const QString bing2 = QStringLiteral(
            "<li class=\"b_algo\"><div class=\"b_title\"><a class=\"sh_favicon\" href=\"http://x.");
        row("bing result 2", file.at(REGEXP_BingResult2), bing2, "", 0);

        const QString video = QStringLiteral("<div class=vresult><span>clip</span></div>\n");
        row("video, no link", kVideo, video, "", 0);
        row("video, link at the end", kVideo, video, "<a href=\"http://v.test/\">", 0);
        row("video blocks with a video link", QString(),
            QStringLiteral("<h3 class=\"r\"><a href=\"http://www.google.com/search?q=x%26tbs=vid:"
                           "1\">V</a></h3>") +
                video,
            "", int(SE_Google));
        row("places", kPlaces, QStringLiteral("<h4 class=r> <a href=\"http://x.test/p>\n"), "", 0);
        row("places links and blocks", QString(),
            QStringLiteral(
                "<h3 class=\"r\"><a href=\"http://www.google.com/search?q=x%26tbs=plcs\">"
                "P</a></h3><h4 class=r><a href=\"http://alpha.test/p\">A</a></h4>\n"),
            "", int(SE_Google));

        const QStringList googleUnits = {"<h3 class=\"r\"><a href=\"http://x.test/a>",
                                         "<h3 class=\"r\"><a href=\"/url?q=x>",
                                         "<div class=\"r\"><a href=\"http://x.test/a>",
                                         "<div class=\"kCrYT\"><a href=\"/url?q=http://x>",
                                         "<div class=\"egMi0 kCrYT\"><a href=\"/url?q=http://x>"};
        const REGEXP_INDEX google[] = {REGEXP_GoogleResult1, REGEXP_GoogleResult2,
                                       REGEXP_GoogleResult3, REGEXP_GoogleResult4,
                                       REGEXP_GoogleResult5};
        for (int k = 0; k < 5; ++k) {
            QTest::newRow(qPrintable(QStringLiteral("google result %1").arg(k + 1)))
                << file.at(google[k]) << googleUnits.at(k) << QString() << 0;
        }
        row("google page, relative links", QString(),
            QStringLiteral("<h3 class=\"r\"><a href=\"/x\">y</a></h3>\n"), "", int(SE_Google));
        const QString yahoo = QStringLiteral(
            "<h3 class=\"title\"><a class=\" ac-algo fz-l\" href=\"http://x.test/>\n");
        row("yahoo result 1", file.at(REGEXP_YahooResult1), yahoo, "", 0);
        row("yahoo result 2", file.at(REGEXP_YahooResult2), yahoo, "", 0);
        row("yahoo page", QString(), yahoo, "", int(SE_Yahoo));

        const QString next = QStringLiteral(
            "<li><a class=\"sb_pagN sb_bp\" title=\"Next\" href=\"/search?q=x&amp;first=11\" "
            "h=\"ID=SERP,1\">\n");
        row("bing next url, no tail", file.at(REGEXP_BingNextUrl), next, "", 0);
        row("bing next url, tail at the end", file.at(REGEXP_BingNextUrl), next, ">Next</a></li>",
            0);
        // Many places where the tail could begin, none where it ends.
        row("bing next url, tail never closed", file.at(REGEXP_BingNextUrl),
            QStringLiteral("<li><a class=\"sb_pagN x\" href=\"/search?q=y\" h=\"ab\"><b>Next "
                           "page</b> <i>more</i>\n"),
            "</li>", 0);
        const QString yahooNext = QStringLiteral("<a id=\"pg-next\" class=\"next\">\n");
        row("yahoo next url, no tail", file.at(REGEXP_YahooNextUrl), yahooNext, "", 0);
        row("yahoo next url, tail at the end", file.at(REGEXP_YahooNextUrl), yahooNext,
            "<a id=\"pg-next\" href=\"/search;_ylt=x\">Next</a>", 0);

        // One result whose link is the whole page.
        row("long link of many schemes", QString(), QStringLiteral("http://"),
            "alpha.test/q=\" h=\"x\">T</a></h2>", -int(SE_Bing));
    }

    void linearGrowth()
    {
        QFETCH(QString, pattern);
        QFETCH(QString, unit);
        QFETCH(QString, ending);
        QFETCH(int, engine);

        const auto pageOf = [&](int length) {
            if (engine < 0) {
                return QStringLiteral("<li class=\"b_algo\"><h2><a href=\"http://") +
                       Repeat(unit, length) + ending;
            }
            return Repeat(unit, length) + ending;
        };
        const std::function<void(const QString&)> run = [&](const QString& page) {
            if (engine == 0) {
                PageRegExp rx(pattern);
                rx.setPage(page);
                int index = 0;
                int at;
                while ((at = rx.indexIn(index)) >= 0)
                    index = at + qMax(rx.matchedLength(), 1);
            } else {
                Regex regex;
                RANK_REUSLT_TYPE type = RRT_NotFound;
                regex.getResultsMatch(EnuSearchEngineType(qAbs(engine)), page, "alpha.test", type);
            }
        };

        // Small enough to stay in the cache and to keep the test short; a quadratic search
        // still spends nearly all of its time on the openings.
        const QString small = pageOf(16 * 1024);
        const QString large = pageOf(64 * 1024);
        // CPU time of this thread: other processes on a loaded machine do not count.
        const auto cpuNow = [] {
            timespec ts{};
            clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
            return qint64(ts.tv_sec) * 1000000000 + ts.tv_nsec;
        };
        // Enough rounds that the small page takes a millisecond or more.
        qint64 start = cpuNow();
        run(small);
        const qint64 once = qMax<qint64>(cpuNow() - start, 1);
        const int rounds = int(std::clamp<qint64>(1000000 / once, 1, 100));
        const auto measureOnce = [&](const QString& page) {
            start = cpuNow();
            for (int k = 0; k < rounds; ++k)
                run(page);
            return double(qMax<qint64>(cpuNow() - start, 1));
        };
        // Each pair of sizes measured back to back, in turns, so that a slow spell hits
        // both alike; the median of the pairs' ratios.
        std::vector<double> ratios;
        for (int pair = 0; pair < 5; ++pair) {
            const bool smallFirst = pair % 2 == 0;
            const double first = measureOnce(smallFirst ? small : large);
            const double second = measureOnce(smallFirst ? large : small);
            ratios.push_back(smallFirst ? second / first : first / second);
        }
        std::sort(ratios.begin(), ratios.end());
        const double ratio = ratios[ratios.size() / 2];
        qInfo("%d rounds: ratio %.2f (pairs %.2f to %.2f)", rounds, ratio, ratios.front(),
              ratios.back());
        // Four times the text: about four times the time; a quadratic search takes sixteen.
        QVERIFY2(ratio < 8.0, qPrintable(QStringLiteral("time grew %1 times").arg(ratio)));
    }
};

LT_TEST_MAIN(TestPageRegExp)
#include "tst_pageregexp.moc"
