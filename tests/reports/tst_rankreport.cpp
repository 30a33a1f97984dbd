// Report file naming, the CSV reports as written files, and the date grid of several
// rank histories.

#include "RankReport.h"
#include "TestMain.h"
#include "TestRankHub.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStandardItemModel>
#include <QTemporaryDir>

#include <memory>

namespace {

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

FLOW_ITEM Point(QDate day, qint16 rank, int hour = 10)
{
    FLOW_ITEM point;
    point.Rank = rank;
    point.SearchTime = QDateTime(day, QTime(hour, 0));
    return point;
}

// A table model holding the given rows of cells.
std::unique_ptr<QStandardItemModel> Table(const QList<QStringList>& rows, int columns)
{
    auto model = std::make_unique<QStandardItemModel>(int(rows.size()), columns);
    for (int r = 0; r < rows.size(); ++r) {
        for (int c = 0; c < rows[r].size(); ++c)
            model->setItem(r, c, new QStandardItem(rows[r][c]));
    }
    return model;
}

SEARCH_ENGINE Engine(const QString& host, const QString& lang)
{
    SEARCH_ENGINE engine;
    engine.SearchEngine = host;
    engine.Lang = lang;
    engine.Country = QStringLiteral("United States");
    return engine;
}

const QByteArray kTail = "#===============================,,,,,,,,,\n"
                         "# ,,,,,,,,,\n"
                         "#Credit,,,,,,,,,\n"
                         "Report generated with www.brindlecor.example,,,,,,,,,\n";

QByteArray Head(const QByteArray& site, const QByteArray& updated, int keywords)
{
    return ",,,,,,,,,\n"
           "#===============================,,,,,,,,,\n"
           "# " +
           site +
           ",,,,,,,,,\n"
           "\"# Updated on " +
           updated +
           "\",,,,,,,,,\n"
           "# Total keywords: " +
           QByteArray::number(keywords) +
           ",,,,,,,,,\n"
           "#===============================,,,,,,,,,\n"
           "#,,,,,,,,,\n"
           "# Overview,,,,,,,,,\n";
}

using Grid = QMap<int, QList<int>>;
using Pairs = QList<QPair<int, int>>;

} // namespace

class tst_RankReport : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestRankHub> m_hub;
    std::unique_ptr<QTemporaryDir> m_dir;

private slots:
    void init()
    {
        m_hub = std::make_unique<TestRankHub>();
        m_dir = std::make_unique<QTemporaryDir>();
        m_hub->setSetting(SETTING_ReportOutputPath, m_dir->path());
    }
    void cleanup()
    {
        m_hub.reset();
        m_dir.reset();
    }

    void forbiddenCharacters_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("scheme") << "http://a.example/x"
                                << "http@@@a.example@x";
        QTest::newRow("all nine") << "a\\b/c:d*e?f\"g<h>i|j"
                                  << "a@b@c@d@e@f@g@h@i@j";
        QTest::newRow("kept") << "some site. ~é_(1)"
                              << "some site. ~é_(1)";
        QTest::newRow("empty") << ""
                               << "";
    }
    void forbiddenCharacters()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(ReplaceFileNameForbidChars(text), expected);
    }

    void reportPathNaming_data()
    {
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<QString>("second");
        QTest::addColumn<QString>("extension");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::newRow("website pdf") << "http://www.a.example"
                                     << ""
                                     << ".pdf"
                                     << "http@@@www.a.example"
                                     << ".pdf";
        QTest::newRow("keyword csv, second part not cleaned")
            << "https://b.example/shop?x=1"
            << "what: now?"
            << ".csv"
            << "what: now?-https@@@b.example@shop@x=1"
            << ".csv";
    }
    void reportPathNaming()
    {
        QFETCH(QString, prefix);
        QFETCH(QString, second);
        QFETCH(QString, extension);
        QFETCH(QString, before);
        QFETCH(QString, after);
        RankReport report;
        const QDateTime start = QDateTime::currentDateTime();
        const QString path = report.MakeReportFilePath(prefix, second, extension);
        const QDateTime end = QDateTime::currentDateTime();

        QCOMPARE(QFileInfo(path).absolutePath(), QDir(m_dir->path()).absolutePath());
        const QString name = QFileInfo(path).fileName();
        QVERIFY2(name.startsWith(before) && name.endsWith(after), qPrintable(name));
        const QString stamp = name.mid(before.size(), name.size() - before.size() - after.size());
        QVERIFY2(QRegularExpression(QStringLiteral("^\\d{14}$")).match(stamp).hasMatch(),
                 qPrintable(stamp));
        const QDateTime time = QDateTime::fromString(stamp, QStringLiteral("yyyyMMddHHmmss"));
        QVERIFY(time.isValid());
        QVERIFY(time >= start.addMSecs(-start.time().msec()) && time <= end);
    }

    void defaultFolderIsTheWorkingFolder()
    {
        m_hub->setSetting(SETTING_ReportOutputPath, QStringLiteral("./"));
        const QString saved = QDir::currentPath();
        QVERIFY(QDir::setCurrent(m_dir->path()));
        RankReport report;
        const QString path =
            report.MakeReportFilePath(QStringLiteral("site"), QString(), QStringLiteral(".csv"));
        QDir::setCurrent(saved);
        QVERIFY(QFileInfo(path).isAbsolute());
        QCOMPARE(QFileInfo(path).absolutePath(), QDir(m_dir->path()).canonicalPath());
        QVERIFY(!path.contains(QStringLiteral("/./")));
    }

    void overlongWebsiteIsShortenedKeepingTimeAndExtension()
    {
        RankReport report;
        const QString prefix(300, QLatin1Char('w'));
        const QString name = QFileInfo(report.MakeReportFilePath(prefix, QStringLiteral("kw"),
                                                                 QStringLiteral(".pdf")))
                                 .fileName();
        // "kw-" + 259 characters: 241 of the website, 14 of time, 4 of extension.
        QCOMPARE(name.size(), 3 + 259);
        QVERIFY(name.startsWith(QStringLiteral("kw-") + QString(241, QLatin1Char('w'))));
        QVERIFY(QRegularExpression(QStringLiteral("w\\d{14}\\.pdf$")).match(name).hasMatch());
        // Exactly at the limit nothing is cut.
        const QString fits(259 - 18, QLatin1Char('v'));
        const QString kept =
            QFileInfo(report.MakeReportFilePath(fits, QString(), QStringLiteral(".pdf")))
                .fileName();
        QVERIFY(kept.startsWith(fits));
        QCOMPARE(kept.size(), 259);
    }

    void websiteCsv()
    {
        WEBSITE site;
        site.Website = QStringLiteral("http://www.tidewater.example");
        site.Keywords = QStringList{QStringLiteral("boats"), QStringLiteral("harbour tours"),
                                    QStringLiteral("sail")};
        site.SearchEngines = {Engine(QStringLiteral("www.google.com"), QStringLiteral("English")),
                              Engine(QStringLiteral("www.bing.com"), QStringLiteral("Deutsch"))};
        const std::vector<RankDistribution> bands = {{1, 0, 1, 1}, {0, 2, 0, 1}};
        const std::vector<RankChangeKeywordCount> changes = {{1, 1, 1}, {0, 0, 3}};
        const auto model = Table({{"boats", "3", "+2", "+5", "12", "0", "-1", "", "", ""},
                                  {"harbour tours", ">100", "-", "-", "-", "-", "-"}},
                                 10);
        const QString path = m_dir->filePath(QStringLiteral("site.csv"));
        RankReport report;
        QVERIFY(
            report.PrintWebsiteCsv(QDate(2026, 11, 30), path, site, bands, changes, model.get()));

        const QByteArray expected =
            Head("http://www.tidewater.example", "11/30/2026", 3) +
            "Search Engine,Top 10,11_30,31_100,not in 100,Total,,,,\n"
            "www.google.com_English,1,0,1,1,3,,,,,,\n"
            "www.bing.com_Deutsch,0,2,0,1,3,,,,,,\n"
            "#===============================,,,,,,,,,\n"
            "# ,,,,,,,,,\n"
            "# Rank Change,,,,,,,,,\n"
            "Search Engine,Rank up,Rank Down,Rank unchange,Total,,,,,\n"
            "www.google.com_English,1,1,1,3,,,,,,\n"
            "www.bing.com_Deutsch,0,0,3,3,,,,,,\n"
            "#===============================,,,,,,,,,\n"
            "# ,,,,,,,,,\n"
            "# Details,,,,,,,,,\n"
            "Keywords,Google - Current,Change,All time Change,Bing - Current,Change,All time "
            "Change,Yahoo - Current,Change,All time Change\n"
            "boats,3,+2,+5,12,0,-1,,,\n"
            "harbour tours,>100,-,-,-,-,-,,,\n" +
            kTail;
        QCOMPARE(ReadFile(path), expected);
    }

    void websiteCsvEmptyCases()
    {
        // No engines, no keywords, no measurement, Latin-1 text and a comma in the URL.
        WEBSITE site;
        site.Website = QStringLiteral("http://café.example/a,b/\u4e2d");
        QStandardItemModel empty(0, 10);
        const QString path = m_dir->filePath(QStringLiteral("empty.csv"));
        RankReport report;
        QVERIFY(report.PrintWebsiteCsv(QDate(), path, site, {}, {}, &empty));
        QByteArray site8 = "http://caf\xe9.example/a,b/?";
        const QByteArray expected = Head(site8, "", 0) +
                                    "Search Engine,Top 10,11_30,31_100,not in 100,Total,,,,\n"
                                    "#===============================,,,,,,,,,\n"
                                    "# ,,,,,,,,,\n"
                                    "# Rank Change,,,,,,,,,\n"
                                    "Search Engine,Rank up,Rank Down,Rank unchange,Total,,,,,\n"
                                    "#===============================,,,,,,,,,\n"
                                    "# ,,,,,,,,,\n"
                                    "# Details,,,,,,,,,\n"
                                    "Keywords,Google - Current,Change,All time Change,Bing - "
                                    "Current,Change,All time Change,Yahoo - Current,Change,All "
                                    "time Change\n" +
                                    kTail;
        QCOMPARE(ReadFile(path), expected);
    }

    void csvReplacesAnOlderFileAndReportsUnwritablePaths()
    {
        WEBSITE site;
        site.Website = QStringLiteral("x");
        const QString path = m_dir->filePath(QStringLiteral("old.csv"));
        {
            QFile old(path);
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write(QByteArray(5000, 'z'));
        }
        RankReport report;
        QVERIFY(report.PrintWebsiteCsv(QDate(), path, site, {}, {}, nullptr));
        QVERIFY(!ReadFile(path).contains('z'));

        // A keyword with "/" points into a folder that does not exist.
        const QString inMissing = report.MakeReportFilePath(
            QStringLiteral("x"), QStringLiteral("a/b"), QStringLiteral(".csv"));
        QVERIFY(!report.PrintWebsiteCsv(QDate(), inMissing, site, {}, {}, nullptr));
        std::vector<const RANK_DATA*> none;
        QVERIFY(!report.PrintKeywordCsv(QDate(), inMissing, site, none, {}, nullptr));
        // A full device is a failure too, not a short file reported as written.
        if (QFile::exists(QStringLiteral("/dev/full")))
            QVERIFY(!report.PrintWebsiteCsv(QDate(), QStringLiteral("/dev/full"), site, {}, {},
                                            nullptr));
    }

    void dateGrid_data()
    {
        QTest::addColumn<Pairs>("pairs");
        // Expected grid: per date (day of November) the rank in each of three cells, -1 none.
        QTest::addColumn<Grid>("expected");

        QTest::newRow("all points")
            << Pairs{{0, 2}, {0, 1}, {0, 0}}
            << Grid{{1, {5, -1, 30}}, {2, {6, 101, -1}}, {3, {7, -1, -1}}, {4, {-1, 0, -1}}};
        QTest::newRow("ranges") << Pairs{{1, 1}, {-1, -1}, {0, 0}}
                                << Grid{{1, {-1, -1, 30}}, {2, {6, -1, -1}}};
        QTest::newRow("first after last, last -1") << Pairs{{2, 1}, {0, -1}, {-1, 0}} << Grid{};
        QTest::newRow("only the second")
            << Pairs{{-1, -1}, {1, 1}, {-1, -1}} << Grid{{4, {-1, 0, -1}}};
        QTest::newRow("pair beyond the points")
            << Pairs{{2, 9}, {5, 7}, {-1, -1}} << Grid{{3, {7, -1, -1}}};
    }
    void dateGrid()
    {
        QFETCH(Pairs, pairs);
        QFETCH(Grid, expected);
        const QDate nov(2026, 11, 1);
        RANK_DATA google;
        google.FlowItems = {Point(nov, 5), Point(nov.addDays(1), 6), Point(nov.addDays(2), 7)};
        RANK_DATA bing;
        bing.FlowItems = {Point(nov.addDays(1), 101), Point(nov.addDays(3), 0)};
        RANK_DATA yahoo;
        yahoo.FlowItems = {Point(nov, 30)};
        std::vector<std::pair<LTInt64, LTInt64>> indexPairs;
        for (const auto& p : pairs)
            indexPairs.emplace_back(p.first, p.second);

        std::map<QDate, std::vector<const FLOW_ITEM*>> grid;
        CombinRankDataForSameDate({&google, &bing, &yahoo}, grid, indexPairs);
        QCOMPARE(int(grid.size()), int(expected.size()));
        for (auto it = expected.cbegin(); it != expected.cend(); ++it) {
            const QDate day(2026, 11, it.key());
            QVERIFY2(grid.count(day), qPrintable(day.toString()));
            const std::vector<const FLOW_ITEM*>& cells = grid.at(day);
            QCOMPARE(int(cells.size()), 3);
            for (int k = 0; k < 3; ++k) {
                const int want = it.value().at(k);
                QCOMPARE(cells[size_t(k)] ? int(cells[size_t(k)]->Rank) : -1, want);
            }
        }
    }

    void dateGridKeepsTheLaterPointOfADay()
    {
        const QDate day(2026, 11, 1);
        RANK_DATA history;
        history.FlowItems = {Point(day, 9, 8), Point(day, 4, 20)};
        std::map<QDate, std::vector<const FLOW_ITEM*>> grid;
        CombinRankDataForSameDate({&history}, grid, {{0, 1}});
        QCOMPARE(int(grid.size()), 1);
        QCOMPARE(grid.at(day).at(0), &history.FlowItems[1]);
        // No histories: nothing at all.
        std::map<QDate, std::vector<const FLOW_ITEM*>> none;
        CombinRankDataForSameDate({}, none, {{0, 1}});
        QVERIFY(none.empty());
    }

    void keywordCsv()
    {
        WEBSITE site;
        site.Website = QStringLiteral("http://www.tidewater.example");
        site.Keywords = QStringList{QStringLiteral("boats"), QStringLiteral("sail")};
        const QDate nov(2026, 11, 1);
        RANK_DATA google;
        google.SearchEngine = QStringLiteral("www.google.com");
        google.FlowItems = {Point(nov, 5), Point(nov.addDays(2), 101)};
        RANK_DATA yahoo;
        yahoo.SearchEngine = QStringLiteral("search.yahoo.com");
        yahoo.FlowItems = {Point(nov.addDays(1), 0), Point(nov.addDays(2), 44)};
        RANK_DATA bing;
        bing.SearchEngine = QStringLiteral("www.bing.com");
        bing.FlowItems = {Point(nov.addDays(-3), 8)};
        // The website's engine order is Google, Yahoo, Bing; Bing has nothing in range.
        std::vector<const RANK_DATA*> histories = {&google, &yahoo, &bing};
        const std::vector<std::pair<LTInt64, LTInt64>> pairs = {{0, 1}, {0, 1}, {-1, -1}};
        const auto model = Table({{"Google", "United States", "English", "1", "5", "7", "+2", "9",
                                   "+4", "http://www.tidewater.example/boats,a"}},
                                 10);
        const QString path = m_dir->filePath(QStringLiteral("keyword.csv"));
        RankReport report;
        QVERIFY(
            report.PrintKeywordCsv(QDate(2026, 11, 3), path, site, histories, pairs, model.get()));
        const QByteArray expected =
            Head("http://www.tidewater.example", "11/03/2026", 2) +
            "Search Engine,Country,Language,Best,Current,Last,Change,Created,Change,URL\n"
            "Google,United States,English,1,5,7,+2,9,+4,http://www.tidewater.example/boats,a\n"
            "#===============================,,,,,,,,,\n"
            "# ,,,,,,,,,\n"
            "# Details,,,,,,,,,\n"
            "Date,Google,Yahoo,Bing,,,,,,\n"
            "\"11/01/2026\",5,-,-,,,,,,\n"
            "\"11/02/2026\",-,-,-,,,,,,\n"
            "\"11/03/2026\",>100,44,-,,,,,,\n" +
            kTail;
        QCOMPARE(ReadFile(path), expected);
    }

    void keywordCsvWithoutHistories()
    {
        WEBSITE site;
        site.Website = QStringLiteral("s");
        std::vector<const RANK_DATA*> histories;
        const QString path = m_dir->filePath(QStringLiteral("nohistory.csv"));
        RankReport report;
        QVERIFY(report.PrintKeywordCsv(QDate(), path, site, histories, {}, nullptr));
        const QByteArray expected =
            Head("s", "", 0) +
            "Search Engine,Country,Language,Best,Current,Last,Change,Created,Change,URL\n"
            "#===============================,,,,,,,,,\n"
            "# ,,,,,,,,,\n"
            "# Details,,,,,,,,,\n"
            "Date,,,,,,,,,\n" +
            kTail;
        QCOMPARE(ReadFile(path), expected);
    }
};

LT_TEST_MAIN(tst_RankReport)
#include "tst_rankreport.moc"
