#include "MessageBoxWatcher.h"
#include "RankMain.h"
#include "SqlValue.h"
#include "TestMain.h"
#include "UpdateRun.h"

#include <QSettings>
#include <QSqlQuery>

namespace {

bool exec(SqlDb& store, const QString& statement, const QVariantList& values = {})
{
    QSqlQuery query(store.m_DB);
    query.prepare(statement);
    for (const QVariant& value : values)
        query.addBindValue(value);
    return query.exec();
}

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
        const QString home = TestEnvironment::freshHome();
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, home + "/.config");
        today = QDate::currentDate();
        yesterday = today.addDays(-1);
        SqlDb store;
        QVERIFY(exec(store, "INSERT INTO Website VALUES(?,?,?,?)",
                     {"example.com", QVariant(),
                      "www.google.com?English?United States\nwww.bing.com?English?United States",
                      "shoes\nboots"}));
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
        QSqlQuery query(hub.m_Sqldb.m_DB);
        QVERIFY(query.exec("begin"));
        QVERIFY(query.exec("rollback"));
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

    void failingBegin()
    {
        RankMain hub;
        QSqlQuery open(hub.m_Sqldb.m_DB);
        QVERIFY(open.exec("begin"));
        MessageBoxWatcher boxes;
        std::list<UPDATE_FLOW> flows{measurement(G, "shoes", QDateTime::currentDateTime(), 2)};
        UpdateToDatabaseAndMem(flows, hub.m_vRankData, hub);
        QCOMPARE(boxes.boxes().size(), 1);
        QCOMPARE(boxes.boxes()[0].icon, MessageBoxHook::Warning);
        QCOMPARE(boxes.boxes()[0].title, QStringLiteral("Lumatrove"));
        QCOMPARE(boxes.boxes()[0].parent, nullptr);
        QVERIFY2(boxes.boxes()[0].text.contains("transaction"), qPrintable(boxes.boxes()[0].text));
        // Memory holds the merge; the file got nothing of it.
        QCOMPARE(points(seriesOf(hub, G, "shoes")).size(), 1);
        QVERIFY(open.exec("rollback"));
        QCOMPARE(storedRows(hub.m_Sqldb).size(), 0);
    }

    // A batch that fails shows its error; the other batch and the commit still run.
    void failingBatch_data()
    {
        QTest::addColumn<QString>("refused");
        QTest::addColumn<QStringList>("expectedRows");
        const QString t8 = QDateTime(QDate::currentDate(), QTime(8, 0)).toString(Qt::ISODate);
        const QString t9 = QDateTime(QDate::currentDate(), QTime(9, 0)).toString(Qt::ISODate);
        QTest::newRow("insert") << "INSERT" << QStringList{"4 www.google.com shoes 2  " + t9};
        QTest::newRow("update") << "UPDATE"
                                << QStringList{"4 www.google.com shoes 6 http://example.com/old " +
                                                   t8,
                                               "5 www.google.com boots 3  " + t9};
    }

    void failingBatch()
    {
        QFETCH(QString, refused);
        QFETCH(QStringList, expectedRows);
        {
            SqlDb store;
            QVERIFY(addRow(store, 4, G, "shoes", QDateTime(today, QTime(8, 0)), 6));
            QVERIFY(exec(store, QStringLiteral("CREATE TRIGGER refuse BEFORE %1 ON UpdateFlow "
                                               "BEGIN SELECT RAISE(ABORT, 'refused here'); END")
                                    .arg(refused)));
        }
        RankMain hub;
        MessageBoxWatcher boxes;
        const QDateTime t9(today, QTime(9, 0));
        std::list<UPDATE_FLOW> flows{measurement(G, "shoes", t9, 2),
                                     measurement(G, "boots", t9, 3)};
        UpdateToDatabaseAndMem(flows, hub.m_vRankData, hub);
        QCOMPARE(boxes.boxes().size(), 1);
        QCOMPARE(boxes.boxes()[0].icon, MessageBoxHook::Warning);
        QCOMPARE(boxes.boxes()[0].title, QStringLiteral("Lumatrove"));
        QCOMPARE(boxes.boxes()[0].parent, nullptr);
        QVERIFY2(boxes.boxes()[0].text.contains("refused here"), qPrintable(boxes.boxes()[0].text));
        QCOMPARE(storedRows(hub.m_Sqldb), expectedRows);
        // Memory holds the whole merge.
        QCOMPARE(points(seriesOf(hub, G, "shoes")).size(), 1);
        QCOMPARE(seriesOf(hub, G, "shoes")->FlowItems.back().Rank, qint16(2));
        QCOMPARE(points(seriesOf(hub, G, "boots")).size(), 1);
        // The commit ran: no transaction is left open.
        QSqlQuery query(hub.m_Sqldb.m_DB);
        QVERIFY(query.exec("begin"));
        QVERIFY(query.exec("rollback"));
    }

    // A commit the file refuses (another connection reads it) is reported, and does not
    // keep the next run from being stored.
    void refusedCommit()
    {
        RankMain hub;
        {
            QSqlDatabase reader =
                QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("reader"));
            reader.setDatabaseName(SqlDb::DatabasePath());
            reader.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=1"));
            QVERIFY(reader.open());
            QSqlQuery reading(reader);
            QVERIFY(reading.exec("begin"));
            QVERIFY(reading.exec("SELECT * FROM Website"));
            QVERIFY(reading.next());

            MessageBoxWatcher boxes;
            std::list<UPDATE_FLOW> flows{measurement(G, "shoes", QDateTime(today, QTime(9, 0)), 2)};
            UpdateToDatabaseAndMem(flows, hub.m_vRankData, hub);
            QCOMPARE(boxes.boxes().size(), 1);
            QCOMPARE(boxes.boxes()[0].icon, MessageBoxHook::Warning);
            QCOMPARE(boxes.boxes()[0].title, QStringLiteral("Lumatrove"));
            QVERIFY2(boxes.boxes()[0].text.contains("locked"), qPrintable(boxes.boxes()[0].text));
            QVERIFY(reading.exec("commit"));
            reading.finish();
            reader.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("reader"));
        QCOMPARE(storedRows(hub.m_Sqldb), QStringList());

        MessageBoxWatcher boxes;
        const QDateTime t10(today, QTime(10, 0));
        std::list<UPDATE_FLOW> flows{measurement(G, "boots", t10, 5)};
        UpdateToDatabaseAndMem(flows, hub.m_vRankData, hub);
        QCOMPARE(boxes.boxes().size(), 0);
        QCOMPARE(storedRows(hub.m_Sqldb), QStringList{"2 www.google.com boots 5  " + iso(t10)});
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
