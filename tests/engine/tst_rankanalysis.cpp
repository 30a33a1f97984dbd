#include "KeywordCheckService.h"
#include "ResultPageFixture.h"
#include "TestMain.h"
#include "TestRankHub.h"

namespace {

// One result page of the engine with one result per link, in the layout of the engine's
// first-choice pattern.
QString ResultPage(int engine, const QStringList& links)
{
    QString page = QStringLiteral("<!DOCTYPE html><html><head><title>q</title></head><body>"
                                  "<div id=\"results\">\n");
    for (const QString& link : links) {
        switch (engine) {
        case SE_Google:
            page += QStringLiteral("<div class=\"g\"><div class=\"egMi0 kCrYT\"><a href=\"/url?q=%1"
                                   "&amp;sa=U&amp;ved=2ahUKE\"><h3>Title</h3></a></div></div>\n")
                        .arg(link);
            break;
        case SE_Yahoo:
            page += QStringLiteral("<li><div class=\"dd algo\"><h3 class=\"title\"><a class=\" "
                                   "ac-algo fz-l ac-21th lh-24\" href=\"%1\" referrerpolicy="
                                   "\"origin\">Title</a></h3></div></li>\n")
                        .arg(link);
            break;
        default:
            page += QStringLiteral("<li class=\"b_algo\"><div class=\"b_title\"><a class="
                                   "\"sh_favicon\" href=\"%1\" h=\"ID=SERP,5.1\"><img/></a>"
                                   "<h2><a href=\"%1\">Title</a></h2></div></li>\n")
                        .arg(link);
        }
    }
    return page + QStringLiteral("</div></body></html>");
}

long Analyse(int engine, const QString& page, const QString& website, QString& found,
             RANK_REUSLT_TYPE& result)
{
    switch (engine) {
    case SE_Google:
        return KeywordCheckService::AnalyseGoogleRank(page, website, found, result);
    case SE_Yahoo:
        return KeywordCheckService::AnalyseYahooRank(page, website, found, result);
    default:
        return KeywordCheckService::AnalyseBingRank(page, website, found, result);
    }
}

} // namespace

class TestRankAnalysis : public QObject
{
    Q_OBJECT

    TestRankHub* m_hub = nullptr;

private slots:
    void initTestCase() { m_hub = new TestRankHub; }
    void cleanupTestCase() { delete m_hub; }

    void analyse_data()
    {
        QTest::addColumn<int>("engine");
        QTest::addColumn<QStringList>("links");
        QTest::addColumn<QString>("website");
        QTest::addColumn<int>("position"); // 0: not found
        QTest::addColumn<QString>("found");
        QTest::addColumn<int>("result");

        const int engines[] = {SE_Google, SE_Yahoo, SE_Bing};
        for (int engine : engines) {
            const QString name = engine == SE_Google  ? QStringLiteral("google")
                                 : engine == SE_Yahoo ? QStringLiteral("yahoo")
                                                      : QStringLiteral("bing");
            const auto row = [&](const char* what) {
                QTestData& data = QTest::newRow(qPrintable(name + QStringLiteral(": ") + what));
                data << engine;
                return &data;
            };
            *row("fourth result") << QStringList{"http://beta.test/", "https://gamma.test/",
                                                 "http://delta.test/", "https://www.alpha.test/a"}
                                  << "alpha.test" << 4 << "https://www.alpha.test/a" << 1;
            *row("first of several wins")
                << QStringList{"http://beta.test/", "http://blog.alpha.test/x",
                               "http://alpha.test/"}
                << "http://www.alpha.test/" << 2 << "http://blog.alpha.test/x" << 1;
            *row("extracted but not owned")
                << QStringList{"http://betaalpha.test/", "http://alpha.test/z"} << "alpha.test" << 2
                << "http://alpha.test/z" << 1;
            *row("path website: deeper page")
                << QStringList{"http://alpha.test/shop/item"} << "alpha.test/shop" << 0 << "" << 2;
            *row("path website: itself")
                << QStringList{"http://beta.test/", "http://alpha.test/shop/"} << "alpha.test/shop"
                << 2 << "http://alpha.test/shop/" << 1;
            *row("capitals in the host") << QStringList{"http://ALPHA.Test/x"} << "Alpha.TEST" << 1
                                         << "http://ALPHA.Test/x" << 1;
            // Yahoo and Bing compare the link in lower case, so the website is too.
            *row("capitals in the website path")
                << QStringList{"http://alpha.test/Shop"} << "alpha.test/Shop" << 1
                << "http://alpha.test/Shop" << 1;
            if (engine == SE_Google) {
                *row("capitals in the link path")
                    << QStringList{"http://alpha.test/SHOP"} << "alpha.test/shop" << 0 << "" << 2;
            } else {
                *row("capitals in the link path")
                    << QStringList{"http://alpha.test/SHOP"} << "alpha.test/shop" << 1
                    << "http://alpha.test/SHOP" << 1;
            }
            *row("other websites only") << QStringList{"http://beta.test/", "http://gamma.test/"}
                                        << "alpha.test" << 0 << "" << 2;
            *row("no result links") << QStringList{} << "alpha.test" << 0 << "" << 4;
        }
    }

    void analyse()
    {
        QFETCH(int, engine);
        QFETCH(QStringList, links);
        QFETCH(QString, website);
        QFETCH(int, position);
        QFETCH(QString, found);
        QFETCH(int, result);

        QString foundUrl = QStringLiteral("left alone");
        RANK_REUSLT_TYPE type = RRT_RequestFailed;
        const long got = Analyse(engine, ResultPage(engine, links), website, foundUrl, type);
        QCOMPARE(got, long(position));
        QCOMPARE(int(type), result);
        QCOMPARE(foundUrl, position ? found : QStringLiteral("left alone"));
    }

    // From a whole page and a website to (position, URL) or not found.
    void fixtures()
    {
        const QList<ResultPageFixture> fixtures =
            ResultPageFixture::loadAll(QStringLiteral(LUMATROVE_TEST_DATA "/pages"));
        QVERIFY(fixtures.size() >= 12);
        for (const ResultPageFixture& fixture : fixtures) {
            QVERIFY(!fixture.name.isEmpty());
            QString foundUrl = QStringLiteral("left alone");
            RANK_REUSLT_TYPE type = RRT_NotStarted;
            const long position =
                Analyse(fixture.engine, fixture.page, fixture.website, foundUrl, type);
            const QString what = fixture.name + QLatin1Char(' ');
            QVERIFY2(position == fixture.foundPosition,
                     qPrintable(what + QString::number(position)));
            QVERIFY2(foundUrl ==
                         (fixture.foundPosition ? fixture.foundUrl : QStringLiteral("left alone")),
                     qPrintable(what + foundUrl));
            QVERIFY2(int(type) == (fixture.foundPosition ? int(RRT_Found) : fixture.result),
                     qPrintable(what + QString::number(type)));
        }
    }
};

LT_TEST_MAIN(TestRankAnalysis)
#include "tst_rankanalysis.moc"
