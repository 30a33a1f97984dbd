#include "Regex.h"
#include "ResultPageFixture.h"
#include "TestMain.h"
#include "TestRankHub.h"
#include "TestRows.h"

#include <QRegExp>

using Entries = QList<QPair<int, QString>>;
Q_DECLARE_METATYPE(Entries)

namespace {

const QString kFallback = QStringLiteral("donot any proper regular expression");

// A result page in the oldest Google layout: one "<h3 class=r>" link per result, between
// the usual head and foot, with further markup added after the results.
QString GooglePage(const QStringList& hrefs, const QString& extra = QString())
{
    QString page = QStringLiteral(
        "<!doctype html><html><head><meta charset=\"utf-8\"><title>q - Search</title>"
        "<script>var a=\"x\";function f(b){return b>1&&b<3}</script></head><body>"
        "<div id=\"nav\"><a href=\"/webhp?hl=en\">Web</a> <a href=\"/imghp\">Images</a></div>"
        "<ol id=\"rso\">\n");
    for (const QString& href : hrefs) {
        page += QStringLiteral("<li class=\"g\"><h3 class=\"r\"><a href=\"%1\" ping=\"/u\">"
                               "A title</a></h3><div class=\"s\">Some text.</div></li>\n")
                    .arg(href);
    }
    page += QStringLiteral("</ol>") + extra +
            QStringLiteral("<div id=\"foot\"><a href=\"/search?q=q&amp;start=10\">Next</a>"
                           "</div></body></html>");
    return page;
}

Entries E(std::initializer_list<QPair<int, QString>> list)
{
    return Entries(list);
}

} // namespace

class TestRegex : public QObject
{
    Q_OBJECT

    TestRankHub* m_hub = nullptr;
    QStringList m_patterns;

    QString pattern(REGEXP_INDEX index) const { return m_hub->GetRegexp(index); }

private slots:
    void initTestCase()
    {
        m_hub = new TestRankHub;
        for (int k = 0; k < REGEXP_Count; ++k)
            m_patterns.append(m_hub->GetRegexp(REGEXP_INDEX(k)));
        QVERIFY(!m_patterns.contains(QString()));
    }

    void cleanupTestCase() { delete m_hub; }

    void chooser_data()
    {
        QTest::addColumn<int>("engine");
        QTest::addColumn<QString>("page");
        QTest::addColumn<int>("chosen"); // -1: the fallback text

        const QString g9 = QStringLiteral(
            "<div class=\"egMi0 kCrYT\"><a href=\"/url?q=https://a.test/&amp;sa=U\">A</a></div>");
        const QString g9rel =
            QStringLiteral("<div class=\"egMi0 kCrYT\"><a href=\"/url?q=/settings&amp;sa=U\">");
        const QString g6 =
            QStringLiteral("<div class=\"kCrYT\"><a href=\"/url?q=http://a.test/&amp;sa=U\">");
        const QString g5 = QStringLiteral("<div class=\"r\"><a href=\"http://a.test/\">A</a>");
        const QString g4 =
            QStringLiteral("<h3 class=\"r\"><a href=\"/url?q=http://a.test/&amp;sa=U\">A</a>");
        const QString g3 = QStringLiteral("<h3 class=\"r\"><a href=\"http://a.test/\">A</a>");
        const QString y10 = QStringLiteral(
            "<h3 class=\"title\"><a class=\" ac-algo fz-l\" href=\"https://a.test/\">A</a></h3>");
        const QString y2 =
            QStringLiteral("<h3 class=\"title\" data-pos=\"1\" data-section=\"web-results-x\"><a "
                           "class=\"ac-algo fz-m\" "
                           "href=\"https://a.test/\">A</a></h3>");
        const QString b8 = QStringLiteral("<li class=\"b_algo\"><div class=\"b_title\"><a "
                                          "class=\"sh_favicon\" href=\"https://a.test/\">");
        const QString b7 = QStringLiteral("<li class=\"b_algo\"><div class=\"b_title\"><h2><a "
                                          "href=\"https://a.test/\" h=\"ID=1\">A</a></h2>");

        testRow("google: fifth layout first", int(SE_Google), g9 + g6 + g5 + g4 + g3,
                int(REGEXP_GoogleResult5));
        testRow("google: fourth layout", int(SE_Google), g3 + g5 + g6, int(REGEXP_GoogleResult4));
        testRow("google: first match without scheme skips", int(SE_Google), g9rel + g9 + g5,
                int(REGEXP_GoogleResult3));
        testRow("google: third layout", int(SE_Google), g3 + g5, int(REGEXP_GoogleResult3));
        testRow("google: second layout", int(SE_Google), g4, int(REGEXP_GoogleResult2));
        testRow("google: first layout", int(SE_Google), g3, int(REGEXP_GoogleResult1));
        testRow("google: capitals", int(SE_Google),
                "<DIV CLASS=\"R\"><A HREF=\"HTTPS://A.TEST/\">A</A>", int(REGEXP_GoogleResult3));
        testRow("google: ftp scheme", int(SE_Google), "<h3 class=\"r\"><a href=\"ftp://a.test/\">",
                int(REGEXP_GoogleResult1));
        testRow("google: blank before scheme", int(SE_Google),
                "<h3 class=\"r\"><a href=\" http://a.test/\">", -1);
        testRow("google: relative only", int(SE_Google), "<h3 class=\"r\"><a href=\"/a\">x</a>",
                -1);
        testRow("google: nothing", int(SE_Google), "<html><body>none</body></html>", -1);
        testRow("yahoo: first layout", int(SE_Yahoo), y2 + y10, int(REGEXP_YahooResult2));
        testRow("yahoo: second layout", int(SE_Yahoo), y2, int(REGEXP_YahooResult1));
        testRow("yahoo: nothing", int(SE_Yahoo), g3, -1);
        testRow("bing: first layout", int(SE_Bing), b7 + b8, int(REGEXP_BingResult2));
        testRow("bing: second layout", int(SE_Bing), b7, int(REGEXP_BingResult1));
        testRow("bing: nothing", int(SE_Bing), y10, -1);
    }

    void chooser()
    {
        QFETCH(int, engine);
        QFETCH(QString, page);
        QFETCH(int, chosen);

        QString got;
        if (engine == SE_Google)
            got = SelectGoogleRegular(page);
        else if (engine == SE_Yahoo)
            got = SelectYahooRegular(page);
        else
            got = SelectBingRegular(page);
        QCOMPARE(got, chosen < 0 ? kFallback : pattern(REGEXP_INDEX(chosen)));
    }

    void chooserWithoutHub()
    {
        RankHub::SetCurrent(nullptr);
        const QString page = QStringLiteral("<h3 class=\"r\"><a href=\"http://a.test/\">");
        const QString got = SelectGoogleRegular(page);
        RankHub::SetCurrent(m_hub);
        QCOMPARE(got, kFallback);
    }

    void extraction_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("website");
        QTest::addColumn<Entries>("entries");
        QTest::addColumn<int>("result");

        const QString alpha = QStringLiteral("alpha.test");
        testRow("fourth result",
                GooglePage({"http://beta.test/", "http://gamma.test/x", "https://delta.test/",
                            "http://www.alpha.test/"}),
                alpha, E({{4, "http://www.alpha.test/"}}), 2);
        testRow("www and subdomain",
                GooglePage({"http://www.alpha.test/a", "https://blog.alpha.test/b"}), alpha,
                E({{1, "http://www.alpha.test/a"}, {2, "https://blog.alpha.test/b"}}), 2);
        testRow("dot rule", GooglePage({"http://alpha.test.evil.test/"}), alpha, Entries(), 2);
        testRow("first-section rule",
                GooglePage({"http://beta.test/alpha.test/", "http://alpha.test/"}), alpha,
                E({{2, "http://alpha.test/"}}), 2);
        testRow("tail of a longer host", GooglePage({"http://betaalpha.test/"}), alpha,
                E({{1, "http://betaalpha.test/"}}), 2);
        testRow("path and extension",
                GooglePage({"http://alpha.test/file.html", "http://alpha.test/file/x"}),
                "alpha.test/file", E({{2, "http://alpha.test/file/x"}}), 2);
        testRow("website with blanks and capitals", GooglePage({"http://Alpha.Test/X"}),
                "  HTTP://WWW.ALPHA.test  ", E({{1, "http://Alpha.Test/X"}}), 2);
        testRow("amp; with ampersand", GooglePage({"http://alpha.test/p?x=1%26amp;y=2%26AMP;z=3"}),
                alpha, E({{1, "http://alpha.test/p?x=1&y=2&z=3"}}), 2);
        testRow("amp; without ampersand", GooglePage({"http://alpha.test/amp;x"}), alpha,
                E({{1, "http://alpha.test/amp;x"}}), 2);
        testRow("percent-encoded UTF-8", GooglePage({"http://alpha.test/caf%C3%A9%20bar"}), alpha,
                E({{1, QString::fromUtf8("http://alpha.test/caf\xc3\xa9 bar")}}), 2);
        testRow(
            "engine-internal links without the site take no position",
            GooglePage({"http://maps.google.com/maps?q=x", "http://images.google.com/images?q=x",
                        "http://www.google.com/products?q=x", "http://www.google.com/images?hl=en",
                        "http://www.alpha.test/"}),
            alpha, E({{1, "http://www.alpha.test/"}}), 2);
        testRow("engine-internal link with the site takes a position",
                GooglePage({"http://maps.google.com/maps?q=alpha.test", "http://www.alpha.test/"}),
                alpha, E({{2, "http://www.alpha.test/"}}), 2);
        testRow("news takes no position",
                GooglePage({"http://www.google.com/search?q=x%26tbs=nws", "http://alpha.test/"}),
                alpha, E({{1, "http://alpha.test/"}}), 2);
        testRow("other sub-search keeps its position",
                GooglePage({"http://www.google.com/search?q=alpha.test", "http://alpha.test/"}),
                alpha, E({{2, "http://alpha.test/"}}), 2);

        const QString placesBlocks = QStringLiteral(
            "<div class=\"local\"><h4 class=r><a href=\"http://maps.Alpha.test/p?id=1&amp;h=2\">"
            "Alpha shop</a></h4><h4 class=\"r\">  <a href=\"http://beta.test/p\">Beta</a></h4>"
            "<h4 class=\"r\"><span>x</span><a href=\"http://alpha.test/never\">no</a></h4>"
            "<H4 CLASS=r>\n<A HREF=\"http://www.alpha.test/loc%20x\">Alpha 2</A></H4></div>");
        testRow("places",
                GooglePage({"http://beta.test/", "http://gamma.test/",
                            "http://www.google.com/search?q=shop%26tbs=plcs", "http://alpha.test/"},
                           placesBlocks),
                alpha,
                E({{3, "http://maps.Alpha.test/p?id=1&amp;h=2"},
                   {3, "http://www.alpha.test/loc%20x"},
                   {4, "http://alpha.test/"}}),
                2);
        testRow("places repeated per places link",
                GooglePage({"http://www.google.com/search?q=a%26tbs=plcs",
                            "http://www.google.com/search?q=b%26TBS=PLCS:1"},
                           "<h4 class=r><a href=\"http://alpha.test/p\">P</a></h4>"),
                alpha, E({{1, "http://alpha.test/p"}, {2, "http://alpha.test/p"}}), 2);
        testRow("video",
                GooglePage({"http://www.google.com/search?q=v%26tbs=vid:1", "http://beta.test/"},
                           "<div class=vresult><span>clip</span><a class=\"c\" "
                           "href=\"http://x\"></a><a href=\"http://alpha.test/v\">V</a></div><div "
                           "class=\"vresult\"><a href=\"http://alpha.test/quoted\">Q</a>"),
                alpha, E({{1, "http://alpha.test/v"}}), 2);
        testRow("places before video",
                GooglePage({"http://www.google.com/search?q=v%26tbs=vid:1%26tbs=plcs"},
                           "<div class=vresult><a href=\"http://alpha.test/v\">V</a></div>"),
                alpha, Entries(), 2);
        testRow("no link", QStringLiteral("<html><body>Nothing here</body></html>"), alpha,
                Entries(), 4);
        testRow("only engine-internal links",
                GooglePage({"http://maps.google.com/a", "http://www.google.de/products?q=x"}),
                alpha, Entries(), 4);
        testRow("only news", GooglePage({"http://www.google.com/search?q=a%26tbs=nws"}), alpha,
                Entries(), 4);
    }

    void extraction()
    {
        QFETCH(QString, page);
        QFETCH(QString, website);
        QFETCH(Entries, entries);
        QFETCH(int, result);

        Regex regex;
        RANK_REUSLT_TYPE type = RRT_NotFound;
        const Entries got = regex.getMatches(pattern(REGEXP_GoogleResult1), page, website, type);
        QCOMPARE(got, entries);
        QCOMPARE(int(type), result);
    }

    // Whole result pages of each engine and layout, with fallbacks, several charsets and
    // pages without results.
    void fixtures_data()
    {
        QTest::addColumn<int>("index");
        const QList<ResultPageFixture> fixtures =
            ResultPageFixture::loadAll(QStringLiteral(LUMATROVE_TEST_DATA "/pages"));
        QVERIFY(fixtures.size() >= 12);
        for (int k = 0; k < fixtures.size(); ++k)
            testRow(qPrintable(fixtures.at(k).name), k);
    }

    void fixtures()
    {
        QFETCH(int, index);
        const ResultPageFixture fixture =
            ResultPageFixture::loadAll(QStringLiteral(LUMATROVE_TEST_DATA "/pages")).at(index);
        QVERIFY(!fixture.name.isEmpty());
        QVERIFY(fixture.bytes >= 100 * 1024 && fixture.bytes <= 250 * 1024);

        QString chosen;
        if (fixture.engine == SE_Google)
            chosen = SelectGoogleRegular(fixture.page);
        else if (fixture.engine == SE_Yahoo)
            chosen = SelectYahooRegular(fixture.page);
        else
            chosen = SelectBingRegular(fixture.page);
        QCOMPARE(chosen, fixture.pattern < 0 ? kFallback : pattern(REGEXP_INDEX(fixture.pattern)));

        Regex regex;
        RANK_REUSLT_TYPE type = RRT_NotFound;
        const Entries got =
            regex.getResultsMatch(fixture.engine, fixture.page, fixture.website, type);
        QCOMPARE(got, fixture.entries);
        QCOMPARE(int(type), fixture.result);
    }

    void otherEngineKind()
    {
        Regex regex;
        RANK_REUSLT_TYPE type = RRT_NotFound;
        const QString page = GooglePage({"http://alpha.test/"});
        QVERIFY(regex.getResultsMatch(SE_Other, page, "alpha.test", type).isEmpty());
        QCOMPARE(type, RRT_NotFound);
        type = RRT_RequestFailed;
        QVERIFY(regex.getResultsMatch(EnuSearchEngineType(3), page, "alpha.test", type).isEmpty());
        QCOMPARE(type, RRT_RequestFailed);
    }

    void fallbackPage()
    {
        Regex regex;
        RANK_REUSLT_TYPE type = RRT_NotFound;
        const QString page = GooglePage({"/relative/alpha.test"});
        QVERIFY(regex.getResultsMatch(SE_Google, page, "alpha.test", type).isEmpty());
        QCOMPARE(type, RRT_NoResult);
        // The fallback text is an ordinary pattern: a page that holds it is parsed with it.
        type = RRT_NotFound;
        QVERIFY(regex.getMatches(kFallback, "x " + kFallback, "alpha.test", type).isEmpty());
        QCOMPARE(type, RRT_NotFound);
    }

    // Whether a link counts as a Google images link is QRegExp's answer for the pattern
    // over the whole link, however the search is organised.
    void googleImagesLink_data()
    {
        QTest::addColumn<QString>("link");

        const QStringList tokens = {"http://", "HTTP://", "google", ".", "?",  "/images",
                                    "q=",      "x",       "/",      "g", "Q=", "http:/"};
        quint32 seed = 7;
        const auto next = [&seed] {
            seed = seed * 1103515245u + 12345u;
            return (seed >> 8) & 0xffff;
        };
        for (int row = 0; row < 400; ++row) {
            QString link = QStringLiteral("http://");
            const int length = 2 + int(next() % 14);
            for (int k = 0; k < length; ++k)
                link += tokens.at(int(next() % tokens.size()));
            testRow(qPrintable(QString::number(row) + ": " + link), link);
        }
        testRow("plain", "http://images.google.com/images?q=x");
        testRow("question mark before google", "http://a?b.google.com/images?q=x");
        testRow("question mark as the dot", "http://a?google.com/images?q=x");
        testRow("second start past a question mark", "http://a?http://x.google.y/images/q=");
    }

    void googleImagesLink()
    {
        QFETCH(QString, link);
        QRegExp reference(QStringLiteral("http://[^?]*.google.(?:[^?])*/images.+q="),
                          Qt::CaseInsensitive);
        reference.setMinimal(true);
        const bool internal = reference.indexIn(link) >= 0;

        // The site string is not in the link: an internal link takes no position, any other
        // link takes one without an entry.
        Regex regex;
        RANK_REUSLT_TYPE type = RRT_NotFound;
        const QString page = QStringLiteral("<h3 class=\"r\"><a href=\"%1\">").arg(link);
        const Entries got =
            regex.getMatches(pattern(REGEXP_GoogleResult1), page, "zeta.invalid", type);
        QVERIFY(got.isEmpty());
        QCOMPARE(type == RRT_NoResult, internal);
    }

    void pageSizeCap()
    {
        const QString filler(Regex::MaxPageLength - 200, QLatin1Char(' '));
        const QString head = QStringLiteral("<h3 class=\"r\"><a href=\"http://beta.test/\">");
        Regex regex;
        RANK_REUSLT_TYPE type = RRT_NotFound;
        // A link that starts within the limit but ends beyond it is cut off.
        const QString late = head + filler +
                             QStringLiteral("<h3 class=\"r\"><a href=\"http://alpha.test/") +
                             QString(300, QLatin1Char('a')) + QStringLiteral("\">");
        QCOMPARE(regex.getMatches(pattern(REGEXP_GoogleResult1), late, "alpha.test", type),
                 Entries());
        QCOMPARE(type, RRT_NotFound);
        const QString early = head +
                              QStringLiteral("<h3 class=\"r\"><a href=\"http://alpha.test/\">") +
                              filler + filler;
        QCOMPARE(regex.getMatches(pattern(REGEXP_GoogleResult1), early, "alpha.test", type),
                 E({{2, "http://alpha.test/"}}));
    }
};

LT_TEST_MAIN(TestRegex)
#include "tst_regex.moc"
