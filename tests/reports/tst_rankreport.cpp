// Report file naming, the CSV reports as written files, and the date grid of several
// rank histories.

#include "PlantedLink.h"
#include "RankReport.h"
#include "TestMain.h"
#include "TestRankHub.h"
#include "TestRows.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QStandardItemModel>
#include <QTemporaryDir>

#include <csignal>
#include <memory>

#include <sys/resource.h>

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

// The head of a report whose third line starts with the given cell.
QByteArray Head(const QByteArray& siteCell, const QByteArray& updated, int keywords)
{
    return ",,,,,,,,,\n"
           "#===============================,,,,,,,,,\n" +
           siteCell +
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

// A written CSV read back as a spreadsheet would: a byte-order mark means UTF-8, else
// Latin-1; then cells split by RFC 4180 (quoted cells may hold commas, quotes and breaks).
struct Csv {
    bool bom = false;
    QList<QStringList> rows;
};

Csv ReadCsv(const QString& path)
{
    Csv csv;
    QByteArray bytes = ReadFile(path);
    csv.bom = bytes.startsWith("\xef\xbb\xbf");
    const QString text = csv.bom ? QString::fromUtf8(bytes.mid(3)) : QString::fromLatin1(bytes);
    QStringList row;
    QString cell;
    bool quoted = false;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c != QLatin1Char('"'))
                cell += c;
            else if (i + 1 < text.size() && text[i + 1] == QLatin1Char('"'))
                cell += text[++i];
            else
                quoted = false;
        } else if (c == QLatin1Char('"')) {
            quoted = true;
        } else if (c == QLatin1Char(',')) {
            row << cell;
            cell.clear();
        } else if (c == QLatin1Char('\n')) {
            csv.rows << (row << cell);
            row.clear();
            cell.clear();
        } else {
            cell += c;
        }
    }
    return csv;
}

// The row that follows the first row whose first cell is `heading`.
QStringList RowAfter(const Csv& csv, const QString& heading)
{
    for (int i = 0; i + 1 < csv.rows.size(); ++i) {
        if (csv.rows[i].value(0) == heading)
            return csv.rows[i + 1];
    }
    return {};
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
        testRow("scheme", "http://a.example/x", "http@@@a.example@x");
        testRow("all nine", "a\\b/c:d*e?f\"g<h>i|j", "a@b@c@d@e@f@g@h@i@j");
        testRow("kept", "some site. ~é_(1)", "some site. ~é_(1)");
        testRow("empty", "", "");
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
        testRow("website pdf", "http://www.a.example", "", ".pdf", "http@@@www.a.example", ".pdf");
        testRow("keyword csv, second part not cleaned", "https://b.example/shop?x=1", "what: now?",
                ".csv", "what: now?-https@@@b.example@shop@x=1", ".csv");
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

    void relativeFolderIsTheDataFolder_data()
    {
        QTest::addColumn<QString>("setting");
        QTest::addColumn<QString>("below"); // folder below the data folder; absolute: itself
        testRow("default", "./", "");
        testRow("empty", "", "");
        testRow("relative", "reports/../out", "out");
        testRow("absolute", "/srv/reports/", "/srv/reports");
    }
    void relativeFolderIsTheDataFolder()
    {
        QFETCH(QString, setting);
        QFETCH(QString, below);
        // The folder that holds the database, not the folder the program was started from.
        const QString data =
            QFileInfo(QSqlDatabase::database(QSqlDatabase::defaultConnection, false).databaseName())
                .absolutePath();
        const QString expected = below.startsWith('/') ? below
                                 : below.isEmpty()     ? data
                                                       : data + '/' + below;
        m_hub->setSetting(SETTING_ReportOutputPath, setting);
        const QString saved = QDir::currentPath();
        QVERIFY(QDir::setCurrent(m_dir->path()));
        RankReport report;
        const QString path =
            report.MakeReportFilePath(QStringLiteral("site"), QString(), QStringLiteral(".csv"));
        QDir::setCurrent(saved);
        QCOMPARE(QFileInfo(path).path(), expected);
    }

    void hostileNames_data()
    {
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<QString>("second");
        QTest::addColumn<QString>("lead"); // the name before time stamp and extension
        const QString site = "http://a.example", site8 = "-http@@@a.example";
        testRow("parent folders", site, "../../escaped", "..@..@escaped" + site8);
        testRow("slash", site, "24/7 plumber", "24@7 plumber" + site8);
        testRow("backslash, controls", site,
                "a\\b\tc\nd\x01"
                "e\x7f\u0085",
                "a@b@c@d@e@@" + site8);
        testRow("colon, question mark kept", site, "what: now?", "what: now?" + site8);
        testRow("dots", site, "..", ".." + site8);
        testRow("hostile website", "../..\\x\n/..", "", "..@..@x@@..");
        testRow("240-char website", QString(240, 'w'), "kw", "kw-" + QString(227, 'w'));
        testRow("100 CJK keyword", site, QString(100, QChar(0x691c)),
                QString(76, QChar(0x691c)) + "-");
        testRow("100 CJK website", QString(100, QChar(0x691c)), "", QString(76, QChar(0x691c)));
        testRow("2000-char keyword", site, QString(2000, 'k'), QString(229, 'k') + "-");
        const QString smile = QString::fromUcs4(U"\U0001F600");
        testRow("surrogate pairs", site, smile.repeated(100), smile.repeated(57) + "-");
    }
    // Whatever the keyword and website hold, the report lands in the chosen folder under
    // a name the file system takes, with the time stamp and extension intact.
    void hostileNames()
    {
        QFETCH(QString, prefix);
        QFETCH(QString, second);
        QFETCH(QString, lead);
        const QString folder = m_dir->filePath(QStringLiteral("a/b/out"));
        QVERIFY(QDir().mkpath(folder));
        m_hub->setSetting(SETTING_ReportOutputPath, folder);
        RankReport report;
        const QString path = report.MakeReportFilePath(prefix, second, QStringLiteral(".csv"));
        const QString name = QFileInfo(path).fileName();
        QCOMPARE(name.left(lead.size()), lead);
        QVERIFY2(QRegularExpression(QStringLiteral("^\\d{14}\\.csv$"))
                     .match(name.mid(lead.size()))
                     .hasMatch(),
                 qPrintable(name));
        QVERIFY(name.toUtf8().size() <= 255);

        // Written twice: the second report replaces the first of the same name.
        WEBSITE site;
        site.Website = prefix;
        QVERIFY(report.PrintWebsiteCsv(QDate(), path, site, {}, {}, nullptr));
        QVERIFY(report.PrintWebsiteCsv(QDate(), path, site, {}, {}, nullptr));
        QStringList files;
        QDirIterator it(m_dir->path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext())
            files << it.next();
        QCOMPARE(files, QStringList{folder + '/' + name});
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
            Head("# http://www.tidewater.example", "11/30/2026", 3) +
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
        // No engines, no keywords, no measurement; a character beyond Latin-1 makes the
        // file UTF-8 behind a byte-order mark, and the comma in the URL quotes its cell.
        WEBSITE site;
        site.Website = QStringLiteral("http://café.example/a,b/\u4e2d");
        QStandardItemModel empty(0, 10);
        const QString path = m_dir->filePath(QStringLiteral("empty.csv"));
        RankReport report;
        QVERIFY(report.PrintWebsiteCsv(QDate(), path, site, {}, {}, &empty));
        const QByteArray siteCell = "\"# http://caf\xc3\xa9.example/a,b/\xe4\xb8\xad\"";
        const QByteArray expected = "\xef\xbb\xbf" + Head(siteCell, "", 0) +
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

    void csvCells_data()
    {
        QTest::addColumn<QString>("website");
        QTest::addColumn<QString>("keyword");
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("keywordCell");
        QTest::addColumn<QString>("urlCell");
        QTest::addColumn<bool>("utf8");
        const QString site = "http://a.example";
        testRow("comma and quotes", "http://a.example/a,b", "seo, \"best\" tools",
                "http://a.example/x,y?q=\"1\"", "seo, \"best\" tools",
                "http://a.example/x,y?q=\"1\"", false);
        testRow("= formula", site, "=cmd|' /C calc'!A0", "=HYPERLINK(\"http://e.example\")",
                "'=cmd|' /C calc'!A0", "'=HYPERLINK(\"http://e.example\")", false);
        testRow("+ and -", site, "+1+2", "-3+4", "'+1+2", "'-3+4", false);
        testRow("@ and tab", site, "@SUM(A1)", "\thttp://t.example", "'@SUM(A1)",
                "'\thttp://t.example", false);
        testRow("line breaks", site, "\rcalc", "http://a.example/\nx", "'\rcalc",
                "http://a.example/\nx", false);
        testRow("latin-1", "http://caf\u00e9.example", "caf\u00e9 cr\u00e8me",
                "http://caf\u00e9.example/\u00fc", "caf\u00e9 cr\u00e8me",
                "http://caf\u00e9.example/\u00fc", false);
        testRow("japanese", "http://\u4f8b\u3048.jp", "\u691c\u7d22",
                "http://\u4f8b\u3048.jp/\u691c\u7d22", "\u691c\u7d22",
                "http://\u4f8b\u3048.jp/\u691c\u7d22", true);
    }
    // Every cell reads back as the text it came from (user text that a spreadsheet would
    // run as a formula behind a "'"); rank and change texts stay as they are.
    void csvCells()
    {
        QFETCH(QString, website);
        QFETCH(QString, keyword);
        QFETCH(QString, url);
        QFETCH(QString, keywordCell);
        QFETCH(QString, urlCell);
        QFETCH(bool, utf8);
        WEBSITE site;
        site.Website = website;
        site.Keywords = QStringList{keyword};
        site.SearchEngines = {Engine(QStringLiteral("www.google.com"), QStringLiteral("English"))};
        const QStringList ranks{"+3", "-5", "-", ">100"};
        const auto overview = Table({QStringList{keyword} + ranks}, 10);
        const auto keywordTable = Table({QStringList{"Google", "United States", "English", "1"} +
                                         ranks + QStringList{"-", url}},
                                        10);
        const QString websitePath = m_dir->filePath(QStringLiteral("site.csv"));
        const QString keywordPath = m_dir->filePath(QStringLiteral("keyword.csv"));
        RankReport report;
        QVERIFY(report.PrintWebsiteCsv(QDate(2026, 11, 30), websitePath, site, {{1, 0, 0, 0}},
                                       {{1, 0, 0}}, overview.get()));
        std::vector<const RANK_DATA*> none;
        QVERIFY(report.PrintKeywordCsv(QDate(2026, 11, 30), keywordPath, site, none, {},
                                       keywordTable.get()));

        const QStringList blank(9, QString());
        for (const QString& path : {websitePath, keywordPath}) {
            const Csv csv = ReadCsv(path);
            QCOMPARE(csv.bom, utf8);
            QCOMPARE(csv.rows.value(2), (QStringList{"# " + website} + blank));
            QCOMPARE(csv.rows.value(3), (QStringList{"# Updated on 11/30/2026"} + blank));
        }
        const Csv web = ReadCsv(websitePath);
        QCOMPARE(RowAfter(web, "Keywords"),
                 (QStringList{keywordCell} + ranks + QStringList(5, QString())));
        QCOMPARE(RowAfter(web, "Search Engine"),
                 (QStringList{"www.google.com_English", "1", "0", "0", "0", "1"} +
                  QStringList(6, QString())));
        QCOMPARE(RowAfter(ReadCsv(keywordPath), "Search Engine"),
                 (QStringList{"Google", "United States", "English", "1"} + ranks +
                  QStringList{"-", urlCell}));
    }

    void failedWrite_data()
    {
        QTest::addColumn<QByteArray>("older");
        QTest::newRow("older file kept") << QByteArray("older report\n");
        QTest::newRow("no file left") << QByteArray();
    }
    // A write that fails part way (here the file size limit, as a full disk would) leaves
    // no fragment and keeps an older report of that name as it was.
    void failedWrite()
    {
        QFETCH(QByteArray, older);
        const QString path = m_dir->filePath(QStringLiteral("report.csv"));
        if (!older.isEmpty()) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(older);
        }
        WEBSITE site;
        site.Website = QStringLiteral("http://a.example");
        QList<QStringList> rows;
        for (int i = 0; i < 400; ++i)
            rows << QStringList{QStringLiteral("keyword %1").arg(i), "1", "+1", "+1"};
        const auto model = Table(rows, 10);

        std::signal(SIGXFSZ, SIG_IGN);
        rlimit saved{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
        rlimit small = saved;
        small.rlim_cur = 4096;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        RankReport report;
        const bool ok = report.PrintWebsiteCsv(QDate(), path, site, {}, {}, model.get());
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &saved), 0);

        QVERIFY(!ok);
        QCOMPARE(ReadFile(path), older);
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden),
                 older.isEmpty() ? QStringList() : QStringList{"report.csv"});
        // Without the limit the same report replaces the older file.
        QVERIFY(report.PrintWebsiteCsv(QDate(), path, site, {}, {}, model.get()));
        QVERIFY(ReadFile(path).contains("keyword 399,1,+1,+1,"));
    }

    void linkAtTheReportName_data()
    {
        QTest::addColumn<QString>("plant");
        testRow("link to a file outside", "file");
        testRow("link to no file yet", "dangling");
        testRow("report folder is a link", "folder");
    }
    // A link at the report's name (in a shared folder, anyone's doing) is replaced by the
    // report; the file it points to outside the folder stays as it was, or absent. A report
    // folder that is itself a link still takes reports.
    void linkAtTheReportName()
    {
        QFETCH(QString, plant);
        const PlantedLink link(plant, m_dir->path(), QStringLiteral("site.csv"));
        QVERIFY(link.planted());

        WEBSITE site;
        site.Website = QStringLiteral("http://a.example");
        RankReport report;
        QVERIFY(report.PrintWebsiteCsv(QDate(), link.path(), site, {}, {}, nullptr));
        QCOMPARE(link.outsideChange(), QString());
        QVERIFY(!QFileInfo(link.path()).isSymLink());
        QVERIFY(ReadFile(link.path()).startsWith(Head("# http://a.example", "", 0)));
        // Nothing else is left in the report folder.
        QCOMPARE(link.folderEntries(),
                 QStringList{plant == QLatin1String("folder") ? "linked" : "site.csv"});
    }

    void csvReportsUnwritablePaths()
    {
        WEBSITE site;
        site.Website = QStringLiteral("x");
        m_hub->setSetting(SETTING_ReportOutputPath, m_dir->filePath(QStringLiteral("missing")));
        RankReport report;
        const QString inMissing =
            report.MakeReportFilePath(QStringLiteral("x"), QString(), QStringLiteral(".csv"));
        QVERIFY(!report.PrintWebsiteCsv(QDate(), inMissing, site, {}, {}, nullptr));
        std::vector<const RANK_DATA*> none;
        QVERIFY(!report.PrintKeywordCsv(QDate(), inMissing, site, none, {}, nullptr));
        QVERIFY(!QFileInfo::exists(m_dir->filePath(QStringLiteral("missing"))));
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
                                   "+4", "http://www.tidewater.example/boats,\"a\""}},
                                 10);
        const QString path = m_dir->filePath(QStringLiteral("keyword.csv"));
        RankReport report;
        QVERIFY(
            report.PrintKeywordCsv(QDate(2026, 11, 3), path, site, histories, pairs, model.get()));
        const QByteArray expected =
            Head("# http://www.tidewater.example", "11/03/2026", 2) +
            "Search Engine,Country,Language,Best,Current,Last,Change,Created,Change,URL\n"
            "Google,United States,English,1,5,7,+2,9,+4,\"http://www.tidewater.example/"
            "boats,\"\"a\"\"\"\n"
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
            Head("# s", "", 0) +
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
