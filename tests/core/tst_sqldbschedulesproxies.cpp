#include "SqlDb.h"
#include "TestMain.h"

#include <QSqlQuery>

namespace {
SCHEDUAL schedual(const QString& website, int type, quint64 days, QTime start, int mode)
{
    SCHEDUAL s;
    s.Website = website;
    s.Type = type;
    s.Days = days;
    s.StartTime = start;
    s.StartMode = mode;
    return s;
}

int countRows(SqlDb& store, const QString& table)
{
    QSqlQuery query(store.m_DB);
    if (!query.exec(QStringLiteral("SELECT count(*) FROM ") + table) || !query.next())
        return -1;
    return query.value(0).toInt();
}

struct StoredSchedual {
    QVariant type, days, start, mode, lastRun;
};

StoredSchedual storedRow(SqlDb& store, const QString& website)
{
    QSqlQuery query(store.m_DB);
    query.prepare("SELECT Type, Days, StartTime, StartMode, LastRunDay FROM Schedual "
                  "WHERE Website=?");
    query.addBindValue(website);
    StoredSchedual row;
    if (query.exec() && query.next())
        row = {query.value(0), query.value(1), query.value(2), query.value(3), query.value(4)};
    return row;
}
} // namespace

class TestSqlDbSchedulesProxies : public QObject
{
    Q_OBJECT

private slots:
    void init() { TestEnvironment::freshHome(); }

    void addAndLoadSchedules_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<quint64>("days");
        QTest::addColumn<bool>("stored");
        QTest::addColumn<quint64>("storedDays");

        QTest::newRow("every day keeps no days") << 0 << quint64(0x55) << true << quint64(0);
        QTest::newRow("weekday mask") << 1 << quint64(0x41) << true << quint64(0x41);
        QTest::newRow("day of month") << 2 << quint64(28) << true << quint64(28);
        QTest::newRow("type 3 refused") << 3 << quint64(1) << false << quint64(0);
        QTest::newRow("negative type refused") << -1 << quint64(1) << false << quint64(0);
    }

    void addAndLoadSchedules()
    {
        QFETCH(int, type);
        QFETCH(quint64, days);
        QFETCH(bool, stored);
        QFETCH(quint64, storedDays);

        SqlDb store;
        const SCHEDUAL s = schedual("www.example.com", type, days, QTime(6, 30, 15), 1);
        QCOMPARE(store.addSchedual(s), stored);
        QCOMPARE(countRows(store, "Schedual"), stored ? 1 : 0);

        std::vector<SCHEDUAL> loaded;
        store.loadScheduals(loaded);
        QCOMPARE(loaded.size(), std::size_t(stored ? 1 : 0));
        if (!stored)
            return;
        QCOMPARE(loaded[0].Website, QString("www.example.com"));
        QCOMPARE(loaded[0].Type, type);
        QCOMPARE(loaded[0].Days, storedDays);
        QCOMPARE(loaded[0].StartTime, QTime(6, 30, 15));
        QCOMPARE(loaded[0].StartMode, 1);
        QVERIFY(loaded[0].LastRunDay.isNull());

        const StoredSchedual row = storedRow(store, "www.example.com");
        QCOMPARE(row.start.toString(), QString("06:30:15"));
        QVERIFY(row.lastRun.isNull());
    }

    void updateKeepsLastRunDay()
    {
        SqlDb store;
        SCHEDUAL s = schedual("a.com", 1, 0x1f, QTime(8, 0), 0);
        QVERIFY(store.addSchedual(s));
        s.LastRunDay = QDate(2026, 2, 27);
        QVERIFY(store.UpdateSchedualLastRunDay(s));
        QCOMPARE(storedRow(store, "a.com").lastRun.toString(), QString("2026-02-27"));

        // A changed schedule keeps the day of its last run; type 0 clears the days.
        SCHEDUAL changed = schedual("a.com", 0, 0x1f, QTime(21, 45, 1), 1);
        QVERIFY(store.UpdateSchedual(changed));
        std::vector<SCHEDUAL> loaded;
        store.loadScheduals(loaded);
        QCOMPARE(loaded.size(), std::size_t(1));
        QCOMPARE(loaded[0].Type, 0);
        QCOMPARE(loaded[0].Days, quint64(0));
        QCOMPARE(loaded[0].StartTime, QTime(21, 45, 1));
        QCOMPARE(loaded[0].StartMode, 1);
        QCOMPARE(loaded[0].LastRunDay, QDate(2026, 2, 27));

        // A type outside 0..2 changes nothing.
        changed.Type = 5;
        QVERIFY(!store.UpdateSchedual(changed));
        QCOMPARE(storedRow(store, "a.com").type.toInt(), 0);

        // Rows that do not exist: nothing happens, and that is no failure.
        QVERIFY(store.UpdateSchedual(schedual("b.com", 2, 3, QTime(1, 0), 0)));
        QVERIFY(store.deleteSchedual("b.com"));
        QCOMPARE(countRows(store, "Schedual"), 1);

        QVERIFY(store.deleteSchedual("a.com"));
        QCOMPARE(countRows(store, "Schedual"), 0);
    }

    void loadsOlderRowsAndAppends()
    {
        SqlDb store;
        QSqlQuery query(store.m_DB);
        // Forms older versions wrote: times and days with milliseconds, NULL columns.
        QVERIFY(query.exec("INSERT INTO Schedual VALUES('old.com', 1, 96, '07:08:09.000', 0, "
                           "'2025-11-30')"));
        QVERIFY(query.exec("INSERT INTO Schedual VALUES('bare.com', NULL, NULL, NULL, NULL, "
                           "NULL)"));

        std::vector<SCHEDUAL> loaded{schedual("kept.com", 0, 0, QTime(), 0)};
        store.loadScheduals(loaded);
        QCOMPARE(loaded.size(), std::size_t(3));
        QCOMPARE(loaded[0].Website, QString("kept.com"));
        QCOMPARE(loaded[1].Website, QString("old.com"));
        QCOMPARE(loaded[1].Days, quint64(96));
        QCOMPARE(loaded[1].StartTime, QTime(7, 8, 9));
        QCOMPARE(loaded[1].LastRunDay, QDate(2025, 11, 30));
        QCOMPARE(loaded[2].Website, QString("bare.com"));
        QCOMPARE(loaded[2].Type, 0);
        QCOMPARE(loaded[2].Days, quint64(0));
        QVERIFY(loaded[2].StartTime.isNull());
        QVERIFY(loaded[2].LastRunDay.isNull());
    }

    void textsAreData()
    {
        SqlDb store;
        const QString site = "x.com'); DROP TABLE Schedual; --";
        QVERIFY(store.addSchedual(schedual(site, 0, 0, QTime(1, 2, 3), 0)));
        std::vector<SCHEDUAL> loaded;
        store.loadScheduals(loaded);
        QCOMPARE(loaded.size(), std::size_t(1));
        QCOMPARE(loaded[0].Website, site);
        QVERIFY(store.deleteSchedual(site));
        QCOMPARE(countRows(store, "Schedual"), 0);
    }

    void proxies()
    {
        SqlDb store;
        QVERIFY(!store.isProxyExist("10.0.0.1", 8080));
        QVERIFY(store.appendProxy("10.0.0.1", 8080, "Germany", "http", "ann", "s3cr'et", true));
        QVERIFY(store.appendProxy("10.0.0.1", 1080, "France", "socks5", "", "", false));
        QVERIFY(store.isProxyExist("10.0.0.1", 8080));
        QVERIFY(store.isProxyExist("10.0.0.1", 1080));
        QVERIFY(!store.isProxyExist("10.0.0.1", 3128));
        QVERIFY(!store.isProxyExist("10.0.0.10", 8080));

        // Columns in table order: the country comes before the type in the call only.
        QSqlQuery query(store.m_DB);
        QVERIFY(query.exec("SELECT address, port, type, country, username, password, enable "
                           "FROM proxy ORDER BY rowid"));
        QVERIFY(query.next());
        QCOMPARE(query.value(2).toString(), QString("http"));
        QCOMPARE(query.value(3).toString(), QString("Germany"));
        QCOMPARE(query.value(5).toString(), QString("s3cr'et"));
        QCOMPARE(query.value(6).toInt(), 1);

        QList<PROXY> loaded;
        store.loadProxies(loaded);
        QCOMPARE(loaded.size(), 2);
        QCOMPARE(loaded[0].address, QString("10.0.0.1"));
        QCOMPARE(loaded[0].port, LTInt64(8080));
        QCOMPARE(loaded[0].type, QString("http"));
        QCOMPARE(loaded[0].country, QString("Germany"));
        QCOMPARE(loaded[0].username, QString("ann"));
        QCOMPARE(loaded[0].password, QString("s3cr'et"));
        QVERIFY(loaded[0].enable);
        QCOMPARE(loaded[1].port, LTInt64(1080));
        QCOMPARE(loaded[1].type, QString("socks5"));
        QVERIFY(!loaded[1].enable);

        // Switching and removing act on one (address, port) pair only.
        QVERIFY(store.enableProxy("10.0.0.1", 1080, true));
        QVERIFY(store.enableProxy("10.0.0.1", 8080, false));
        QVERIFY(store.enableProxy("nowhere", 1, true));
        loaded.clear();
        store.loadProxies(loaded);
        QCOMPARE(loaded.size(), 2);
        QVERIFY(!loaded[0].enable);
        QVERIFY(loaded[1].enable);

        QVERIFY(store.removeProxy("10.0.0.1", 8080));
        QVERIFY(store.removeProxy("nowhere", 1));
        loaded.clear();
        store.loadProxies(loaded);
        QCOMPARE(loaded.size(), 1);
        QCOMPARE(loaded[0].port, LTInt64(1080));
    }

    void duplicateProxiesActTogether()
    {
        SqlDb store;
        QVERIFY(store.appendProxy("p.example", 3128, "Italy", "http", "", "", false));
        QVERIFY(store.appendProxy("p.example", 3128, "Italy", "http", "", "", false));
        QCOMPARE(countRows(store, "proxy"), 2);
        QVERIFY(store.isProxyExist("p.example", 3128));
        QVERIFY(store.enableProxy("p.example", 3128, true));
        QList<PROXY> loaded;
        store.loadProxies(loaded);
        QCOMPARE(loaded.size(), 2);
        QVERIFY(loaded[0].enable && loaded[1].enable);
        QVERIFY(store.removeProxy("p.example", 3128));
        QCOMPARE(countRows(store, "proxy"), 0);
    }

    void olderProxyRows_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("'true'") << "'true'" << true;
        QTest::newRow("'false'") << "'false'" << false;
        QTest::newRow("1") << "1" << true;
        QTest::newRow("0") << "0" << false;
        QTest::newRow("NULL") << "NULL" << false;
    }

    void olderProxyRows()
    {
        QFETCH(QString, stored);
        QFETCH(bool, enabled);
        SqlDb store;
        QSqlQuery query(store.m_DB);
        QVERIFY(query.exec("INSERT INTO proxy VALUES('1.2.3.4', '8080', 'http', 'Spain', NULL, "
                           "NULL, " +
                           stored + ")"));
        QList<PROXY> loaded{PROXY()};
        store.loadProxies(loaded);
        QCOMPARE(loaded.size(), 2);
        QCOMPARE(loaded[1].address, QString("1.2.3.4"));
        QCOMPARE(loaded[1].port, LTInt64(8080));
        QCOMPARE(loaded[1].username, QString(""));
        QCOMPARE(loaded[1].enable, enabled);
    }
};

LT_TEST_MAIN(TestSqlDbSchedulesProxies)
#include "tst_sqldbschedulesproxies.moc"
