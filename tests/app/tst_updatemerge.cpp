#include "MessageBoxWatcher.h"
#include "RankHistory.h"
#include "RankMain.h"
#include "SqlValue.h"
#include "StoreFixture.h"
#include "TestMain.h"
#include "UpdateRun.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QSqlError>
#include <QSqlQuery>

#include <cerrno>
#include <cstring>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

namespace {

using StoreFixture::exec;

bool addRow(SqlDb& store, LTInt64 number, const QString& engine, const QString& keyword,
            const QDateTime& time, int rank, const QString& website = "example.com")
{
    return exec(store, "INSERT INTO UpdateFlow VALUES(?,?,?,?,?,?,?,?)",
                {number, website, engine, keyword, SqlValue::fromDateTime(time), rank,
                 "http://" + website + "/old", "English"});
}

UPDATE_FLOW measurement(const QString& engine, const QString& keyword, const QDateTime& time,
                        LTInt64 rank, const QString& url = QString())
{
    UPDATE_FLOW flow;
    flow.Website = "example.com";
    flow.SearchEngine = engine;
    flow.Lang = "English";
    flow.Keyword = keyword;
    flow.SearchTime = time;
    flow.Rank = rank;
    flow.RankURL = url;
    return flow;
}

// "number engine keyword rank url time" per stored row, by update number.
QStringList storedRows(SqlDb& store)
{
    QSqlQuery query(store.m_DB);
    query.exec("SELECT UpdateNo, SearchEngine, Keyword, Rank, RankURL, SearchTime FROM "
               "UpdateFlow ORDER BY UpdateNo, rowid");
    QStringList rows;
    while (query.next()) {
        rows << QStringList{query.value(0).toString(),
                            query.value(1).toString(),
                            query.value(2).toString(),
                            query.value(3).toString(),
                            query.value(4).toString(),
                            SqlValue::toDateTime(query.value(5)).toString(Qt::ISODate)}
                    .join(' ');
    }
    return rows;
}

// "number rank url time" per point.
QStringList points(const RANK_DATA* series)
{
    QStringList out;
    if (!series)
        return out;
    for (const FLOW_ITEM& item : series->FlowItems)
        out << QStringList{QString::number(item.UpdateNo), QString::number(item.Rank), item.RankURL,
                           item.SearchTime.toString(Qt::ISODate)}
                   .join(' ');
    return out;
}

RANK_DATA* seriesOf(RankMain& hub, const QString& engine, const QString& keyword)
{
    for (RANK_DATA* series : hub.m_vRankData) {
        if (series->SearchEngine == engine && series->Keyword == keyword &&
            series->Website == "example.com")
            return series;
    }
    return nullptr;
}

QString iso(const QDateTime& time)
{
    return time.toString(Qt::ISODate);
}

// Every series, "website engine keyword lang: points", in list order.
QStringList listed(const std::vector<RANK_DATA*>& rankData)
{
    QStringList out;
    for (const RANK_DATA* series : rankData)
        out << QStringList{series->Website, series->SearchEngine, series->Keyword, series->Lang}
                       .join(' ') +
                   ": " + points(series).join(", ");
    return out;
}

// The same, sorted.
QStringList describe(const std::vector<RANK_DATA*>& rankData)
{
    QStringList out = listed(rankData);
    out.sort();
    return out;
}

// The merge's memory part as the rules state it, one list search and one scan for the
// highest number per result.
void plainMerge(std::list<UPDATE_FLOW> flows, std::vector<RANK_DATA*>& rankData, LTInt64 storedLast)
{
    for (UPDATE_FLOW& flow : flows) {
        RANK_DATA* series = AssignProperRankData(rankData, flow);
        if (HasUpdatedThisDay(series, flow, flow.UpdateNo)) {
            if (flow.Rank == 0 && series->FlowItems.back().Rank != 0)
                continue;
            UpdateToFlowItem(series, flow);
            continue;
        }
        LTInt64 last = storedLast;
        for (const RANK_DATA* other : rankData) {
            if (!other->FlowItems.empty())
                last = qMax(last, other->FlowItems.back().UpdateNo);
        }
        series->FlowItems.push_back(
            FLOW_ITEM{last + 1, qint16(flow.Rank), flow.SearchTime, flow.RankURL});
    }
}

// What the next start would show.
QStringList freshLoad(SqlDb& store)
{
    std::vector<WEBSITE> websites;
    std::vector<RANK_DATA*> loaded;
    LTInt64 last = 0;
    if (!store.LoadRankData(websites, loaded, last))
        return {"load failed"};
    const QStringList out = describe(loaded);
    for (RANK_DATA* series : loaded)
        delete series;
    return out;
}

bool addWebsite()
{
    SqlDb store;
    return exec(store, "INSERT INTO Website VALUES(?,?,?,?)",
                {"example.com", QVariant(),
                 "www.google.com?English?United States\nwww.bing.com?English?United States",
                 "shoes\nboots\nhats"});
}

// A small file system over HOME, in a private mount namespace of this thread (the one
// that does the file's I/O), so the store can run out of space. Empty when mounted,
// otherwise why not.
QString mountSmallHome()
{
    if (::geteuid() != 0)
        return "a full disk needs a small file system mounted in a private mount namespace, "
               "which only root may make (CI runs as root)";
    const auto failed = [](const char* step) {
        return QStringLiteral("cannot mount a small file system (%1: %2)")
            .arg(QLatin1String(step), QString::fromLocal8Bit(std::strerror(errno)));
    };
    if (::unshare(CLONE_NEWNS) != 0)
        return failed("unshare");
    if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
        return failed("mount --make-rprivate /");
    if (::mount("tmpfs", QFile::encodeName(QDir::homePath()).constData(), "tmpfs", 0,
                "size=512k") != 0)
        return failed("mount tmpfs");
    return {};
}

// Fills the file system of the path until it refuses another byte.
bool fillUp(const QString& path)
{
    QFile filler(path);
    if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    const QByteArray block(4096, 'x');
    while (filler.write(block) == block.size()) {
    }
    return filler.error() != QFileDevice::NoError && filler.size() > 0;
}

const QString G = "www.google.com";
const QString B = "www.bing.com";

} // namespace

class TestUpdateMerge : public QObject
{
    Q_OBJECT

    QDate today;
    QDate yesterday;

private slots:
    void init()
    {
        StoreFixture::freshHome();
        today = QDate::currentDate();
        yesterday = today.addDays(-1);
        QVERIFY(addWebsite());
    }

    // The day rule, the numbering and the file, in one merge of a run.
    void mergeOfOneRun()
    {
        const QDateTime y10(yesterday, QTime(10, 0));
        const QDateTime t8(today, QTime(8, 0));
        {
            SqlDb store;
            QVERIFY(addRow(store, 5, G, "shoes", y10, 7));
            QVERIFY(addRow(store, 9, G, "shoes", t8, 3));
            QVERIFY(addRow(store, 7, G, "boots", y10, 12));
            // A row of a website that is gone: not loaded, but its number stays taken.
            QVERIFY(addRow(store, 12, G, "shoes", y10, 1, "gone.example"));
        }
        RankMain hub;
        QCOMPARE(hub.GetLastUpdateNo(), LTInt64(12));

        const QDateTime t9(today, QTime(9, 0));
        const QDateTime t91(today, QTime(9, 1));
        const QDateTime t92(today, QTime(9, 2));
        std::list<UPDATE_FLOW> flows{
            // Same day as its newest point: overwrites it, keeps number 9.
            measurement(G, "shoes", t9, 4, "http://example.com/a"),
            // A new series.
            measurement(B, "shoes", t9, 0),
            // Newest point of another day: a new point.
            measurement(G, "boots", t91, 101),
            // Twice for one new series: one row, overwritten by the later result.
            measurement(B, "boots", t91, 30, "http://example.com/b1"),
            measurement(B, "boots", t92, 20, "http://example.com/b2"),
        };
        MessageBoxWatcher boxes;
        UpdateToDatabaseAndMem(flows, hub.m_vRankData, hub);
        QCOMPARE(boxes.boxes().size(), 0);

        QList<LTInt64> numbers;
        for (const UPDATE_FLOW& flow : flows)
            numbers << flow.UpdateNo;
        QCOMPARE(numbers, (QList<LTInt64>{9, 13, 14, 15, 15}));

        QCOMPARE(points(seriesOf(hub, G, "shoes")),
                 (QStringList{"5 7 http://example.com/old " + iso(y10),
                              "9 4 http://example.com/a " + iso(t9)}));
        QCOMPARE(points(seriesOf(hub, B, "shoes")), (QStringList{"13 0  " + iso(t9)}));
        QCOMPARE(points(seriesOf(hub, G, "boots")),
                 (QStringList{"7 12 http://example.com/old " + iso(y10), "14 101  " + iso(t91)}));
        QCOMPARE(points(seriesOf(hub, B, "boots")),
                 (QStringList{"15 20 http://example.com/b2 " + iso(t92)}));
        QCOMPARE(seriesOf(hub, B, "shoes")->Lang, QStringLiteral("English"));
        QCOMPARE(hub.GetLastUpdateNo(), LTInt64(15));

        QCOMPARE(storedRows(hub.m_Sqldb),
                 (QStringList{
                     "5 www.google.com shoes 7 http://example.com/old " + iso(y10),
                     "7 www.google.com boots 12 http://example.com/old " + iso(y10),
                     "9 www.google.com shoes 4 http://example.com/a " + iso(t9),
                     "12 www.google.com shoes 1 http://gone.example/old " + iso(y10),
                     "13 www.bing.com shoes 0  " + iso(t9),
                     "14 www.google.com boots 101  " + iso(t91),
                     "15 www.bing.com boots 20 http://example.com/b2 " + iso(t92),
                 }));

        // What the next start loads is what memory holds.
        std::vector<WEBSITE> websites;
        std::vector<RANK_DATA*> loaded;
        LTInt64 last = 0;
        QVERIFY(hub.m_Sqldb.LoadRankData(websites, loaded, last));
        QCOMPARE(last, LTInt64(15));
        for (RANK_DATA* series : loaded) {
            const RANK_DATA* own = seriesOf(hub, series->SearchEngine, series->Keyword);
            QVERIFY(own);
            QCOMPARE(points(series), points(own));
            delete series;
        }
        QCOMPARE(loaded.size(), std::size_t(4));
    }

    // Results before and after midnight in one run: the later ones start the new day.
    void runAcrossMidnight()
    {
        const QDateTime before(yesterday, QTime(23, 58));
        {
            SqlDb store;
            QVERIFY(addRow(store, 3, G, "shoes", before, 8));
        }
        RankMain hub;
        const QDateTime lateEvening(yesterday, QTime(23, 59, 30));
        const QDateTime afterMidnight(today, QTime(0, 0, 10));
        std::list<UPDATE_FLOW> flows{
            measurement(G, "shoes", lateEvening, 6),
            measurement(G, "boots", lateEvening, 9),
            measurement(G, "shoes", afterMidnight, 5),
            measurement(G, "boots", afterMidnight, 0),
        };
        UpdateToDatabaseAndMem(flows, hub.m_vRankData, hub);
        QCOMPARE(points(seriesOf(hub, G, "shoes")),
                 (QStringList{"3 6  " + iso(lateEvening), "5 5  " + iso(afterMidnight)}));
        QCOMPARE(points(seriesOf(hub, G, "boots")),
                 (QStringList{"4 9  " + iso(lateEvening), "6 0  " + iso(afterMidnight)}));
        QCOMPARE(storedRows(hub.m_Sqldb),
                 (QStringList{"3 www.google.com shoes 6  " + iso(lateEvening),
                              "4 www.google.com boots 9  " + iso(lateEvening),
                              "5 www.google.com shoes 5  " + iso(afterMidnight),
                              "6 www.google.com boots 0  " + iso(afterMidnight)}));
    }

    void emptyRunWritesNothing()
    {
        {
            SqlDb store;
            QVERIFY(addRow(store, 3, G, "shoes", QDateTime(today, QTime(1, 0)), 8));
        }
        RankMain hub;
        std::list<UPDATE_FLOW> flows;
        MessageBoxWatcher boxes;
        UpdateToDatabaseAndMem(flows, hub.m_vRankData, hub);
        QCOMPARE(boxes.boxes().size(), 0);
        QCOMPARE(hub.m_vRankData.size(), std::size_t(1));
        QCOMPARE(storedRows(hub.m_Sqldb).size(), 1);
        // The transaction was closed: a new one can begin.
        QVERIFY(exec(hub.m_Sqldb, "begin") && exec(hub.m_Sqldb, "rollback"));
    }

    // The two-argument form works on the current hub.
    void mergeOnTheCurrentHub()
    {
        RankMain hub;
        std::list<UPDATE_FLOW> flows{measurement(G, "shoes", QDateTime::currentDateTime(), 2)};
        UpdateToDatabaseAndMem(flows, hub.m_vRankData);
        QCOMPARE(flows.front().UpdateNo, LTInt64(1));
        QCOMPARE(storedRows(hub.m_Sqldb).size(), 1);
    }

    // A begin the file refuses (a transaction is open already) leaves memory as it was.
    void failingBegin()
    {
        RankMain hub;
        QSqlQuery open(hub.m_Sqldb.m_DB);
        QVERIFY(open.exec("begin"));
        MessageBoxWatcher boxes;
        std::list<UPDATE_FLOW> flows{measurement(G, "shoes", QDateTime::currentDateTime(), 2)};
        UpdateToDatabaseAndMem(flows, hub.m_vRankData, hub);
        QCOMPARE(boxes.boxes().size(), 1);
        QVERIFY2(StoreFixture::boxLines(boxes)[0].startsWith("Warning|Lumatrove|") &&
                     boxes.boxes()[0].text.contains("transaction"),
                 qPrintable(StoreFixture::boxLines(boxes)[0]));
        QCOMPARE(boxes.boxes()[0].parent, nullptr);
        QCOMPARE(hub.m_vRankData.size(), std::size_t(0));
        QVERIFY(open.exec("rollback"));
        QCOMPARE(storedRows(hub.m_Sqldb).size(), 0);
    }

    // One series, at most one stored row of the day before the run, and the ranks of the
    // run's results for it, in order (today 9:00, 9:01, ...).
    void sameDayRule_data()
    {
        QTest::addColumn<int>("storedRank"); // -1: no row
        QTest::addColumn<int>("storedDay");  // days before today
        QTest::addColumn<QList<int>>("ranks");
        QTest::addColumn<QStringList>("expected"); // "number rank minute" per point

        QTest::newRow("failed re-check keeps the day's good rank")
            << 15 << 0 << QList<int>{0} << QStringList{"7 15 8:00"};
        QTest::newRow("good re-check overwrites the day, keeps its number")
            << 15 << 0 << QList<int>{3} << QStringList{"7 3 9:00"};
        QTest::newRow("failed re-check overwrites a failed one")
            << 0 << 0 << QList<int>{0} << QStringList{"7 0 9:00"};
        QTest::newRow("good re-check overwrites a failed one")
            << 0 << 0 << QList<int>{33} << QStringList{"7 33 9:00"};
        QTest::newRow("failed check on a new day is a new point")
            << 15 << 1 << QList<int>{0} << QStringList{"7 15 8:00", "8 0 9:00"};
        QTest::newRow("good then failed in one run: the good one stays")
            << -1 << 0 << QList<int>{5, 0} << QStringList{"8 5 9:00"};
        QTest::newRow("failed then good in one run: the good one wins")
            << -1 << 0 << QList<int>{0, 5} << QStringList{"8 5 9:01"};
        QTest::newRow("failed, good, failed over a failed day")
            << 0 << 0 << QList<int>{0, 4, 0} << QStringList{"7 4 9:01"};
    }

    void sameDayRule()
    {
        QFETCH(int, storedRank);
        QFETCH(int, storedDay);
        QFETCH(QList<int>, ranks);
        QFETCH(QStringList, expected);
        const QDate day = today.addDays(-storedDay);
        {
            SqlDb store;
            // Number 7 is the highest in the file even without the series' row.
            QVERIFY(addRow(store, 7, G, storedRank < 0 ? "boots" : "shoes",
                           QDateTime(day, QTime(8, 0)), storedRank < 0 ? 1 : storedRank));
        }
        RankMain hub;
        std::list<UPDATE_FLOW> flows;
        for (int i = 0; i < ranks.size(); ++i)
            flows.push_back(measurement(G, "shoes", QDateTime(today, QTime(9, i)), ranks[i]));
        MessageBoxWatcher boxes;
        UpdateToDatabaseAndMem(flows, hub.m_vRankData, hub);
        QCOMPARE(boxes.boxes().size(), 0);

        QStringList wanted;
        for (const QString& point : expected) {
            const QStringList parts = point.split(' ');
            const QDateTime time(parts[2] == "8:00" ? day : today,
                                 QTime::fromString(parts[2], "h:mm"));
            wanted << parts[0] + ' ' + parts[1] + ' ' +
                          (parts[2] == "8:00" ? "http://example.com/old" : "") + ' ' + iso(time);
        }
        QCOMPARE(points(seriesOf(hub, G, "shoes")), wanted);
        QCOMPARE(freshLoad(hub.m_Sqldb), describe(hub.m_vRankData));
    }

    // A merge the file refuses at any statement is taken back whole: the file keeps none
    // of it, memory holds again exactly what the file holds, and the driver's text is
    // shown. The run inserts four rows (shoes, boots, hats on Google; hats on Bing, a new
    // series) and updates two (shoes, boots on Bing).
    void refusedMerge_data()
    {
        QTest::addColumn<QString>("trigger"); // the trigger's event and condition
        QTest::addColumn<QString>("cause");   // "trigger", "reader", "writer", "full disk"
        QTest::addColumn<QString>("text");

        auto row = [](const char* name, const char* trigger, const char* cause, const char* text) {
            QTest::newRow(name) << QString(trigger) << QString(cause) << QString(text);
        };
        const char* refused = "refused here";
        row("insert row 1 of 4", "INSERT ON UpdateFlow WHEN NEW.Keyword = 'shoes'", "trigger",
            refused);
        row("insert row 3 of 4",
            "INSERT ON UpdateFlow WHEN NEW.Keyword = 'hats' AND NEW.SearchEngine = "
            "'www.google.com'",
            "trigger", refused);
        row("insert row 4 of 4", "INSERT ON UpdateFlow WHEN NEW.SearchEngine = 'www.bing.com'",
            "trigger", refused);
        row("update row 1 of 2", "UPDATE ON UpdateFlow WHEN NEW.Keyword = 'shoes'", "trigger",
            refused);
        row("update row 2 of 2", "UPDATE ON UpdateFlow WHEN NEW.Keyword = 'boots'", "trigger",
            refused);
        row("another connection reads: commit refused", "", "reader", "locked");
        row("another connection writes: insert refused", "", "writer", "locked");
        row("full disk", "", "full disk", "full");
    }

    void refusedMerge()
    {
        QFETCH(QString, trigger);
        QFETCH(QString, cause);
        QFETCH(QString, text);

        struct Unmount {
            bool mounted = false;
            ~Unmount()
            {
                if (mounted)
                    ::umount2(QFile::encodeName(QDir::homePath()).constData(), MNT_DETACH);
            }
        } unmount;
        if (cause == "full disk") {
            const QString why = mountSmallHome();
            if (!why.isEmpty())
                QSKIP(qPrintable(why));
            unmount.mounted = true;
            QVERIFY(addWebsite());
        }

        const QDateTime y10(yesterday, QTime(10, 0));
        const QDateTime t8(today, QTime(8, 0));
        {
            SqlDb store;
            QVERIFY(addRow(store, 1, G, "shoes", y10, 7));
            QVERIFY(addRow(store, 2, G, "boots", y10, 12));
            QVERIFY(addRow(store, 3, G, "hats", y10, 20));
            QVERIFY(addRow(store, 4, B, "shoes", t8, 5));
            QVERIFY(addRow(store, 5, B, "boots", t8, 0));
            if (!trigger.isEmpty())
                QVERIFY(exec(store, "CREATE TRIGGER refuse BEFORE " + trigger +
                                        " BEGIN SELECT RAISE(ABORT, 'refused here'); END"));
        }
        RankMain hub;
        const QStringList before = describe(hub.m_vRankData);
        const QStringList rowsBefore = storedRows(hub.m_Sqldb);
        QCOMPARE(before.size(), 5);
        // The other connection's lock is to be met at once, not waited out.
        QVERIFY(exec(hub.m_Sqldb, "PRAGMA busy_timeout = 20"));

        const QString other = QStringLiteral("other");
        {
            QSqlDatabase otherDb = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), other);
            otherDb.setDatabaseName(SqlDb::DatabasePath());
            otherDb.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=1"));
            QVERIFY(otherDb.open());
            QSqlQuery holding(otherDb);
            if (cause == "reader") {
                QVERIFY(holding.exec("begin"));
                QVERIFY(holding.exec("SELECT * FROM Website"));
                QVERIFY(holding.next());
            } else if (cause == "writer") {
                QVERIFY(holding.exec("begin immediate"));
            } else if (cause == "full disk") {
                QVERIFY(fillUp(QDir::homePath() + "/filler"));
            }

            const QDateTime t9(today, QTime(9, 0));
            std::list<UPDATE_FLOW> flows{
                measurement(G, "shoes", t9, 4, "http://example.com/new"),
                measurement(B, "shoes", t9, 3),
                measurement(G, "boots", t9, 6),
                measurement(B, "boots", t9, 2),
                measurement(G, "hats", t9, 8),
                measurement(B, "hats", t9, 1),
            };
            MessageBoxWatcher boxes;
            UpdateToDatabaseAndMem(flows, hub.m_vRankData, hub);
            QCOMPARE(boxes.boxes().size(), 1);
            QVERIFY2(StoreFixture::boxLines(boxes)[0].startsWith("Warning|Lumatrove|") &&
                         boxes.boxes()[0].text.contains(text),
                     qPrintable(StoreFixture::boxLines(boxes)[0]));
            QCOMPARE(boxes.boxes()[0].parent, nullptr);
            QCOMPARE(describe(hub.m_vRankData), before);

            if (holding.isActive() || cause == "writer")
                holding.exec("rollback");
            holding.finish();
            otherDb.close();
        }
        QSqlDatabase::removeDatabase(other);
        if (cause == "full disk")
            QVERIFY(QFile::remove(QDir::homePath() + "/filler"));

        QCOMPARE(storedRows(hub.m_Sqldb), rowsBefore);
        QCOMPARE(freshLoad(hub.m_Sqldb), before);

        // No transaction was left open, and the numbers the refused merge had taken are
        // free again.
        QVERIFY(exec(hub.m_Sqldb, "DROP TRIGGER IF EXISTS refuse"));
        const QDateTime t10(today, QTime(10, 0));
        std::list<UPDATE_FLOW> flows{measurement(G, "shoes", t10, 2)};
        MessageBoxWatcher boxes;
        UpdateToDatabaseAndMem(flows, hub.m_vRankData, hub);
        QCOMPARE(boxes.boxes().size(), 0);
        QCOMPARE(flows.front().UpdateNo, LTInt64(6));
        QCOMPARE(storedRows(hub.m_Sqldb),
                 rowsBefore + QStringList{"6 www.google.com shoes 2  " + iso(t10)});
        QCOMPARE(freshLoad(hub.m_Sqldb), describe(hub.m_vRankData));
    }

    // Runs of random results, failed checks among them, over stored series and new ones:
    // memory, in list order, is what the rules give one result at a time, and the file
    // loads back to it.
    void sameAsOneResultAtATime()
    {
        {
            SqlDb store;
            QVERIFY(addRow(store, 3, G, "shoes", QDateTime(yesterday, QTime(9, 0)), 7));
            QVERIFY(addRow(store, 8, B, "boots", QDateTime(today, QTime(1, 0)), 0));
            QVERIFY(addRow(store, 11, G, "hats", QDateTime(today, QTime(2, 0)), 40));
        }
        RankMain hub;
        QRandomGenerator random(15);
        const QStringList keywords{"shoes", "boots", "hats"};
        for (int run = 0; run < 4; ++run) {
            std::vector<RANK_DATA*> expected;
            for (const RANK_DATA* series : hub.m_vRankData)
                expected.push_back(new RANK_DATA(*series));
            std::list<UPDATE_FLOW> flows;
            for (int i = 0; i < 40; ++i) {
                const int rank = random.bounded(3) == 0 ? 0 : 1 + int(random.bounded(101));
                const QDate day = today.addDays(run - 3 + int(random.bounded(2)));
                flows.push_back(measurement(random.bounded(2) ? G : B,
                                            keywords[int(random.bounded(3))],
                                            QDateTime(day, QTime(10, i)), rank,
                                            QString("http://example.com/%1/%2").arg(run).arg(i)));
            }
            plainMerge(flows, expected, hub.GetLastUpdateNo());
            MessageBoxWatcher boxes;
            UpdateToDatabaseAndMem(flows, hub.m_vRankData, hub);
            QCOMPARE(boxes.boxes().size(), 0);
            QCOMPARE(listed(hub.m_vRankData), listed(expected));
            for (RANK_DATA* series : expected)
                delete series;
            QCOMPARE(freshLoad(hub.m_Sqldb), describe(hub.m_vRankData));
        }
    }

    void overwriteByNumber_data()
    {
        QTest::addColumn<QList<LTInt64>>("numbers");
        QTest::addColumn<LTInt64>("number");
        QTest::addColumn<int>("overwritten"); // index, -1 none
        QTest::newRow("newest") << QList<LTInt64>{2, 5, 8} << LTInt64(8) << 2;
        QTest::newRow("older point") << QList<LTInt64>{2, 5, 8} << LTInt64(2) << 0;
        QTest::newRow("middle") << QList<LTInt64>{2, 5, 8} << LTInt64(5) << 1;
        QTest::newRow("repeated number: the newer of the two")
            << QList<LTInt64>{2, 5, 5, 8} << LTInt64(5) << 2;
        QTest::newRow("absent") << QList<LTInt64>{2, 5, 8} << LTInt64(7) << -1;
        QTest::newRow("no points") << QList<LTInt64>{} << LTInt64(0) << -1;
    }

    void overwriteByNumber()
    {
        QFETCH(QList<LTInt64>, numbers);
        QFETCH(LTInt64, number);
        QFETCH(int, overwritten);
        RANK_DATA series;
        for (LTInt64 n : numbers) {
            FLOW_ITEM item;
            item.UpdateNo = n;
            item.Rank = 50;
            item.RankURL = "old";
            item.SearchTime = QDateTime(QDate(2026, 1, 1), QTime(1, 0));
            series.FlowItems.push_back(item);
        }
        UPDATE_FLOW flow =
            measurement(G, "shoes", QDateTime(QDate(2026, 2, 2), QTime(2, 0)), 7, "new");
        flow.UpdateNo = number;
        UpdateToFlowItem(&series, flow);
        UpdateToFlowItem(nullptr, flow);
        QCOMPARE(int(series.FlowItems.size()), numbers.size());
        for (int i = 0; i < int(series.FlowItems.size()); ++i) {
            const FLOW_ITEM& item = series.FlowItems[i];
            QCOMPARE(item.UpdateNo, numbers[i]);
            if (i == overwritten) {
                QCOMPARE(item.Rank, qint16(7));
                QCOMPARE(item.RankURL, QStringLiteral("new"));
                QCOMPARE(item.SearchTime, flow.SearchTime);
            } else {
                QCOMPARE(item.Rank, qint16(50));
                QCOMPARE(item.RankURL, QStringLiteral("old"));
            }
        }
    }
};

LT_TEST_MAIN(TestUpdateMerge)
#include "tst_updatemerge.moc"
