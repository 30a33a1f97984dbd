#include "SqlDb.h"
#include "TestMain.h"

#include <QSqlQuery>

#include <list>

namespace {
const QString kGoogle = QStringLiteral("www.google.com");

UPDATE_FLOW measurement(LTInt64 number, const QString& keyword, LTInt64 rank, const QDateTime& time,
                        const QString& lang = "English")
{
    UPDATE_FLOW f;
    f.UpdateNo = number;
    f.Website = "a.com";
    f.SearchEngine = kGoogle;
    f.Lang = lang;
    f.Keyword = keyword;
    f.SearchTime = time;
    f.Rank = rank;
    f.RankURL = "http://a.com/" + keyword;
    return f;
}

std::vector<UPDATE_FLOW*> pointers(std::list<UPDATE_FLOW>& flows)
{
    std::vector<UPDATE_FLOW*> result;
    for (UPDATE_FLOW& f : flows)
        result.push_back(&f);
    return result;
}

// Every row as text, in row order: the stored forms are what is compared.
QStringList storedRows(SqlDb& store)
{
    QStringList rows;
    QSqlQuery query(store.m_DB);
    query.exec("SELECT UpdateNo, Website, SearchEngine, Keyword, SearchTime, Rank, RankURL, Lang, "
               "typeof(UpdateNo), typeof(Rank) FROM UpdateFlow ORDER BY rowid");
    while (query.next()) {
        QStringList columns;
        for (int i = 0; i < 10; ++i)
            columns << (query.value(i).isNull() ? QStringLiteral("NULL")
                                                : query.value(i).toString());
        rows << columns.join('|');
    }
    return rows;
}

const QDateTime kMorning(QDate(2026, 4, 1), QTime(9, 15, 30, 450));
const QDateTime kEvening(QDate(2026, 4, 1), QTime(20, 0, 5));
} // namespace

class TestSqlDbWrites : public QObject
{
    Q_OBJECT

private slots:
    void init() { TestEnvironment::freshHome(); }

    void batchesInsideOneTransaction()
    {
        SqlDb store;
        std::list<UPDATE_FLOW> inserts{measurement(1, "shoes", 4, kMorning),
                                       measurement(2, "hats", 101, kMorning, "German"),
                                       measurement(3, "boots", 0, QDateTime())};
        QSqlQuery query(store.m_DB);
        QVERIFY(query.exec("begin"));
        QString error = "untouched";
        QVERIFY(store.BatchInsert(pointers(inserts), error, query));
        QCOMPARE(error, QString("untouched"));
        QVERIFY(query.exec("commit"));

        QCOMPARE(storedRows(store),
                 QStringList({"1|a.com|www.google.com|shoes|2026-04-01T09:15:30|4|http://a.com/"
                              "shoes|English|integer|integer",
                              "2|a.com|www.google.com|hats|2026-04-01T09:15:30|101|http://a.com/"
                              "hats|German|integer|integer",
                              "3|a.com|www.google.com|boots|NULL|0|http://a.com/"
                              "boots|English|integer|integer"}));

        // A later check of the same day replaces rows by number; an unknown number
        // changes nothing and is no failure.
        std::list<UPDATE_FLOW> updates{measurement(2, "hats", 55, kEvening, "German"),
                                       measurement(9, "ghost", 1, kEvening)};
        updates.front().RankURL = "http://a.com/hats/new";
        QVERIFY(query.exec("begin"));
        QVERIFY(store.BatchUpdate(pointers(updates), error, query));
        QVERIFY(query.exec("commit"));
        QCOMPARE(storedRows(store).at(1), QString("2|a.com|www.google.com|hats|2026-04-01T20:00:05|"
                                                  "55|http://a.com/hats/new|German|integer|"
                                                  "integer"));
        QCOMPARE(storedRows(store).size(), 3);

        // The next load shows what was written.
        std::vector<WEBSITE> websites;
        std::vector<RANK_DATA*> series;
        LTInt64 last = 0;
        QSqlQuery setup(store.m_DB);
        QVERIFY(setup.exec("INSERT INTO Website VALUES('a.com', NULL, "
                           "'www.google.com?English?Spain\nwww.google.com?German?Spain', "
                           "'shoes\nhats')"));
        QVERIFY(store.LoadRankData(websites, series, last));
        QCOMPARE(last, LTInt64(3));
        QCOMPARE(series.size(), std::size_t(2));
        QCOMPARE(series[1]->FlowItems.at(0).Rank, qint16(55));
        QCOMPARE(series[1]->FlowItems.at(0).SearchTime, kEvening);
        QCOMPARE(series[0]->FlowItems.at(0).SearchTime, kMorning.addMSecs(-450));
        for (RANK_DATA* s : series)
            delete s;
    }

    void emptyBatches()
    {
        SqlDb store;
        QSqlQuery query(store.m_DB);
        QVERIFY(query.exec("begin"));
        QString error = "untouched";
        QVERIFY(store.BatchInsert({}, error, query));
        QVERIFY(store.BatchUpdate({}, error, query));
        QVERIFY(query.exec("commit"));
        QCOMPARE(error, QString("untouched"));
        QVERIFY(storedRows(store).isEmpty());
    }

    void failingRowKeepsTheRowsBefore_data()
    {
        QTest::addColumn<bool>("update");
        QTest::newRow("insert") << false;
        QTest::newRow("update") << true;
    }

    void failingRowKeepsTheRowsBefore()
    {
        QFETCH(bool, update);
        SqlDb store;
        QSqlQuery query(store.m_DB);
        if (update) {
            std::list<UPDATE_FLOW> rows;
            for (int n = 1; n <= 5; ++n)
                rows.push_back(measurement(n, "k" + QString::number(n), n, kMorning));
            QVERIFY(query.exec("begin"));
            QString ignored;
            QVERIFY(store.BatchInsert(pointers(rows), ignored, query));
            QVERIFY(query.exec("commit"));
        }
        QVERIFY(query.exec(QString("CREATE TRIGGER refuse BEFORE %1 ON UpdateFlow "
                                   "WHEN new.UpdateNo = 3 "
                                   "BEGIN SELECT RAISE(ABORT, 'row three is refused'); END")
                               .arg(update ? "UPDATE" : "INSERT")));

        std::list<UPDATE_FLOW> flows;
        for (int n = 1; n <= 5; ++n)
            flows.push_back(measurement(n, "k" + QString::number(n), 60 + n, kEvening));
        QVERIFY(query.exec("begin"));
        QString error;
        const bool ok = update ? store.BatchUpdate(pointers(flows), error, query)
                               : store.BatchInsert(pointers(flows), error, query);
        QVERIFY(!ok);
        QVERIFY2(error.contains("row three is refused"), qPrintable(error));
        QVERIFY(query.exec("commit"));

        QSqlQuery check(store.m_DB);
        QVERIFY(check.exec("SELECT UpdateNo, Rank FROM UpdateFlow ORDER BY rowid"));
        QStringList got;
        while (check.next())
            got << check.value(0).toString() + ":" + check.value(1).toString();
        if (update)
            QCOMPARE(got, QStringList({"1:61", "2:62", "3:3", "4:4", "5:5"}));
        else
            QCOMPARE(got, QStringList({"1:61", "2:62"}));
    }

    void singleRows()
    {
        SqlDb store;
        UPDATE_FLOW flow = measurement(7, "it's", 12, kMorning);
        store.InsertToDataBase(flow);
        QCOMPARE(storedRows(store),
                 QStringList("7|a.com|www.google.com|it's|2026-04-01T09:15:30|12|"
                             "http://a.com/it's|English|integer|integer"));
        flow.Rank = 0;
        flow.Keyword = "renamed";
        flow.SearchTime = kEvening;
        store.UpdateToDataBase(flow);
        QCOMPARE(storedRows(store),
                 QStringList("7|a.com|www.google.com|renamed|2026-04-01T20:00:05|0|http://a.com/"
                             "it's|English|integer|integer"));
        flow.UpdateNo = 8;
        store.UpdateToDataBase(flow); // no such row: nothing happens
        QCOMPARE(storedRows(store).size(), 1);
    }
};

LT_TEST_MAIN(TestSqlDbWrites)
#include "tst_sqldbwrites.moc"
