#include "LoadPaths.h"
#include "RankHistory.h"
#include "SqlDb.h"
#include "SqlValue.h"
#include "SqliteFigures.h"
#include "TestMain.h"
#include "TestRows.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QSqlError>
#include <QSqlQuery>

#include <ctime>

namespace {
struct Row {
    int updateNo;
    QString website, engine, keyword, time;
    int rank;
    QString url, lang;
};

// Local time in a zone with summer time for the life of the object.
class ZoneScope
{
public:
    explicit ZoneScope(const char* zone)
        : m_saved(qgetenv("TZ")), m_wasSet(qEnvironmentVariableIsSet("TZ"))
    {
        qputenv("TZ", zone);
        tzset();
    }
    ~ZoneScope()
    {
        if (m_wasSet)
            qputenv("TZ", m_saved);
        else
            qunsetenv("TZ");
        tzset();
    }

private:
    QByteArray m_saved;
    bool m_wasSet;
};

// Everything of a QDateTime that code can see.
QString describe(const QDateTime& value)
{
    return QStringLiteral("%1 timeSpec %2 offset %3 dst %4 epoch %5")
        .arg(value.toString(Qt::ISODateWithMs))
        .arg(int(value.timeSpec()))
        .arg(value.offsetFromUtc())
        .arg(value.isDaylightTime())
        .arg(value.isValid() ? value.toMSecsSinceEpoch() : -1);
}

bool insertWebsite(SqlDb& store, const QString& url, const QString& engines,
                   const QString& keywords, const QVariant& created = QVariant())
{
    QSqlQuery query(store.m_DB);
    query.prepare("INSERT INTO Website VALUES(?,?,?,?)");
    query.addBindValue(url);
    query.addBindValue(created);
    query.addBindValue(engines);
    query.addBindValue(keywords);
    return query.exec();
}

bool insertRows(SqlDb& store, const QList<Row>& rows)
{
    QSqlQuery query(store.m_DB);
    query.prepare("INSERT INTO UpdateFlow VALUES(?,?,?,?,?,?,?,?)");
    for (const Row& r : rows) {
        query.addBindValue(r.updateNo);
        query.addBindValue(r.website);
        query.addBindValue(r.engine);
        query.addBindValue(r.keyword);
        query.addBindValue(r.time);
        query.addBindValue(r.rank);
        query.addBindValue(r.url);
        query.addBindValue(r.lang);
        if (!query.exec())
            return false;
    }
    return true;
}

QString storedEngines(SqlDb& store, int rowid)
{
    QSqlQuery query(store.m_DB);
    query.prepare("SELECT SearchEngines FROM Website WHERE rowid=?");
    query.addBindValue(rowid);
    if (!query.exec() || !query.next())
        return QStringLiteral("<missing>");
    return query.value(0).toString();
}

QList<int> storedUpdateNumbersByRowid(SqlDb& store)
{
    QList<int> rowids;
    QSqlQuery query(store.m_DB);
    query.exec("SELECT rowid, UpdateNo FROM UpdateFlow ORDER BY rowid");
    while (query.next())
        rowids << query.value(0).toInt() * 100 + query.value(1).toInt();
    return rowids;
}

struct Loaded {
    std::vector<WEBSITE> websites;
    std::vector<RANK_DATA*> series;
    ~Loaded()
    {
        for (RANK_DATA* s : series)
            delete s;
    }
};

const QString kGoogle = QStringLiteral("www.google.com");
const QString kBing = QStringLiteral("www.bing.com");
} // namespace

class TestSqlDbLoad : public QObject
{
    Q_OBJECT

private slots:
    // Every case runs on both ways of reading the rank rows.
    void initTestCase_data() { LoadPaths::addRows(); }

    void init()
    {
        TestEnvironment::freshHome();
        LoadPaths::select();
    }

    void emptyStoreUpgradesTrivially()
    {
        SqlDb store;
        QCOMPARE(store.m_nDbVersion, 0);
        Loaded loaded;
        LTInt64 last = -5;
        QVERIFY(store.LoadRankData(loaded.websites, loaded.series, last));
        QVERIFY(loaded.websites.empty());
        QVERIFY(loaded.series.empty());
        QCOMPARE(last, LTInt64(0));
        QCOMPARE(store.QueryConfigValue("DB_VER"), QString("1001"));
        QCOMPARE(store.m_nDbVersion, 0); // read once, when the store was built

        SqlDb next;
        QCOMPARE(next.m_nDbVersion, 1001);
    }

    void websitesAndSeries()
    {
        SqlDb store;
        QVERIFY(store.SetConfigValue("DB_VER", 1001));
        const QString bothEngines =
            kGoogle + "?English?United States\n" + kBing + "?English?United States?7";
        QVERIFY(insertWebsite(store, "a.com", bothEngines, "shoes\n\nred hats ",
                              "2026-01-02T03:04:05"));
        // Same URL again, only this row holds "boots"; older rows wrote milliseconds.
        QVERIFY(insertWebsite(store, "a.com", kGoogle + "?German?Germany", "boots\nshoes",
                              "2026-01-02T03:04:05.678"));
        QVERIFY(insertWebsite(store, "", "", ""));

        QVERIFY(insertRows(
            store,
            {
                {3, "a.com", kBing, "shoes", "2026-02-01T10:00:00", 12, "http://a.com/s",
                 "English"},
                {1, "a.com", kGoogle, "shoes", "2026-02-01T10:00:01.250", 4, "http://a.com/",
                 "English"},
                // Keyword of the second row of a.com, in its language there.
                {2, "a.com", kGoogle, "boots", "2026-02-01T10:00:02", 101, "", "German"},
                // Fits the second row of a.com: joins the English series.
                {40, "a.com", kGoogle, "shoes", "2026-02-02T10:00:00", 3, "x", "German"},
                // Dropped: case differs, URL unknown.
                {41, "a.com", kGoogle, "Shoes", "2026-02-02T10:00:00", 3, "x", "English"},
                {42, "b.com", kGoogle, "shoes", "2026-02-02T10:00:00", 3, "x", "English"},
                // Keyword as it stands in its line, blanks included.
                {5, "a.com", kGoogle, "red hats ", "2026-02-02T10:00:00", 0, "", "English"},
                // A later point of the first series.
                {6, "a.com", kBing, "shoes", "2026-02-02T10:00:00", 9, "http://a.com/s", "English"},
                // No variant of that language holds the keyword.
                {7, "a.com", kGoogle, "boots", "2026-02-03T10:00:00", 55, "", "English"},
            }));

        Loaded loaded;
        LTInt64 last = 0;
        QVERIFY(store.LoadRankData(loaded.websites, loaded.series, last));
        QCOMPARE(last, LTInt64(42)); // dropped rows count for the highest number

        QCOMPARE(loaded.websites.size(), std::size_t(3));
        const WEBSITE& a = loaded.websites[0];
        QCOMPARE(a.Website, QString("a.com"));
        QCOMPARE(a.CreateTime, QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5)));
        QCOMPARE(a.SearchEngines.size(), std::size_t(2));
        QCOMPARE(a.SearchEngines[0].Interval, LTInt64(50));
        QCOMPARE(a.SearchEngines[1].Interval, LTInt64(7));
        QCOMPARE(a.Keywords, QStringList({"shoes", "", "red hats"}));
        QCOMPARE(loaded.websites[1].CreateTime, QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5, 678)));
        QCOMPARE(loaded.websites[2].Website, QString(""));
        QVERIFY(loaded.websites[2].SearchEngines.empty());
        QVERIFY(!loaded.websites[2].CreateTime.isValid());

        // "red hats " was trimmed away as the last line of its text: its row is dropped.
        QCOMPARE(loaded.series.size(), std::size_t(3));
        const RANK_DATA* bingShoes = loaded.series[0];
        QCOMPARE(bingShoes->SearchEngine, kBing);
        QCOMPARE(bingShoes->Keyword, QString("shoes"));
        QCOMPARE(bingShoes->FlowItems.size(), std::size_t(2));
        QCOMPARE(bingShoes->FlowItems[0].UpdateNo, LTInt64(3));
        QCOMPARE(bingShoes->FlowItems[1].UpdateNo, LTInt64(6));
        QCOMPARE(bingShoes->FlowItems[1].Rank, qint16(9));
        QCOMPARE(bingShoes->FlowItems[1].RankURL, QString("http://a.com/s"));

        const RANK_DATA* googleShoes = loaded.series[1];
        QCOMPARE(googleShoes->SearchEngine, kGoogle);
        QCOMPARE(googleShoes->Lang, QString("English"));
        QCOMPARE(googleShoes->FlowItems.size(), std::size_t(2));
        QCOMPARE(googleShoes->FlowItems[0].SearchTime,
                 QDateTime(QDate(2026, 2, 1), QTime(10, 0, 1, 250)));
        QCOMPARE(googleShoes->FlowItems[1].UpdateNo, LTInt64(40));

        const RANK_DATA* boots = loaded.series[2];
        QCOMPARE(boots->Keyword, QString("boots"));
        QCOMPARE(boots->Lang, QString("German")); // the language of its first row
        QCOMPARE(boots->FlowItems.size(), std::size_t(1));
        QCOMPARE(boots->FlowItems[0].Rank, qint16(101));
    }

    void repeatedNumbers_data()
    {
        QTest::addColumn<bool>("repeatFits");
        QTest::newRow("repeat among kept rows") << true;
        QTest::newRow("repeat among dropped rows") << false;
    }

    void repeatedNumbers()
    {
        QFETCH(bool, repeatFits);
        SqlDb store;
        QVERIFY(store.SetConfigValue("DB_VER", 1001));
        QVERIFY(insertWebsite(store, "a.com", kGoogle + "?English?USA", "k"));
        const QString site = repeatFits ? "a.com" : "gone.com";
        QVERIFY(insertRows(store,
                           {{5, site, kGoogle, "k", "2026-01-01T00:00:00", 8, "old", "English"},
                            {7, "a.com", kGoogle, "k", "2026-01-02T00:00:00", 6, "", "English"},
                            {5, site, kGoogle, "k", "2026-01-03T00:00:00", 2, "new", "English"},
                            {9, "a.com", kGoogle, "k", "2026-01-04T00:00:00", 1, "", "English"}}));

        Loaded loaded;
        LTInt64 last = -3;
        QVERIFY(!store.LoadRankData(loaded.websites, loaded.series, last));
        QVERIFY(loaded.websites.empty());
        QVERIFY(loaded.series.empty());
        QCOMPARE(last, LTInt64(-3));
        QCOMPARE(store.QueryConfigValue("DB_VER"), QString("1001"));

        // The row inserted last of each number stays.
        store.ClearRepeatedUpdateNo();
        QCOMPARE(storedUpdateNumbersByRowid(store), QList<int>({207, 305, 409}));

        QVERIFY(store.LoadRankData(loaded.websites, loaded.series, last));
        QCOMPARE(last, LTInt64(9));
        QCOMPARE(loaded.series.size(), std::size_t(1));
        const std::vector<FLOW_ITEM>& items = loaded.series[0]->FlowItems;
        QCOMPARE(items.size(), std::size_t(repeatFits ? 3 : 2));
        QCOMPARE(items.front().UpdateNo, LTInt64(7));
        if (repeatFits)
            QCOMPARE(items[1].RankURL, QString("new"));
    }

    void repeatsInAnyOrder_data()
    {
        QTest::addColumn<QList<int>>("numbers");
        QTest::addColumn<bool>("loads");
        QTest::addColumn<int>("highest");

        QTest::newRow("rising") << QList<int>{1, 2, 5, 9} << true << 9;
        QTest::newRow("rising, last repeats the first") << QList<int>{1, 2, 5, 1} << false << -7;
        QTest::newRow("out of order, no repeat") << QList<int>{5, 3, 9, 4, 1} << true << 9;
        QTest::newRow("repeat after the order broke") << QList<int>{5, 3, 9, 4, 3} << false << -7;
        QTest::newRow("repeat of a number after the break")
            << QList<int>{5, 3, 9, 4, 9} << false << -7;
        QTest::newRow("adjacent repeat") << QList<int>{2, 2} << false << -7;
        QTest::newRow("negative numbers leave zero") << QList<int>{-4, -1} << true << 0;
    }

    void repeatsInAnyOrder()
    {
        QFETCH(QList<int>, numbers);
        QFETCH(bool, loads);
        QFETCH(int, highest);
        SqlDb store;
        QList<Row> rows;
        for (int n : numbers)
            rows << Row{n, "x", kGoogle, "k", "", 1, "", ""};
        QVERIFY(insertRows(store, rows));
        Loaded loaded;
        LTInt64 last = -7; // a failed load leaves it alone
        QCOMPARE(store.LoadRankData(loaded.websites, loaded.series, last), loads);
        QCOMPARE(last, LTInt64(highest));
    }

    void upgradeRenamesUsa()
    {
        SqlDb store;
        QVERIFY(insertWebsite(store, "a.com",
                              kGoogle + "?English?USA\nwww.google.ca?French?Canada?20", "k"));
        QVERIFY(insertWebsite(store, "b.com", kBing + "?English?usa\n" + kGoogle + "?English?USA ",
                              "k"));
        QVERIFY(insertWebsite(store, "c.com", "search.yahoo.com?English?Canada\n", "k"));

        Loaded loaded;
        LTInt64 last = 0;
        QVERIFY(store.LoadRankData(loaded.websites, loaded.series, last));
        QCOMPARE(loaded.websites[0].SearchEngines[0].Country, QString("United States"));
        QCOMPARE(loaded.websites[0].SearchEngines[1].Country, QString("Canada"));
        QCOMPARE(loaded.websites[1].SearchEngines[0].Country, QString("usa"));
        QCOMPARE(loaded.websites[1].SearchEngines[1].Country, QString("USA "));

        QCOMPARE(storedEngines(store, 1),
                 kGoogle + "?English?United States\nwww.google.ca?French?Canada?20");
        QCOMPARE(storedEngines(store, 2), kBing + "?English?usa\n" + kGoogle + "?English?USA ");
        // Rewritten even without a change: the line end after the last line is gone.
        QCOMPARE(storedEngines(store, 3), QString("search.yahoo.com?English?Canada"));
        QCOMPARE(store.QueryConfigValue("DB_VER"), QString("1001"));
    }

    void failedUpgradeLeavesVersionUnwritten()
    {
        {
            SqlDb store;
            QVERIFY(insertWebsite(store, "a.com", kGoogle + "?English?USA", "k"));
            QVERIFY(insertWebsite(store, "b.com", kBing + "?English?USA", "k"));
            QVERIFY(insertWebsite(store, "c.com", kGoogle + "?English?USA", "k"));
            QSqlQuery query(store.m_DB);
            QVERIFY(query.exec("CREATE TRIGGER refuse BEFORE UPDATE ON Website "
                               "WHEN old.Website = 'b.com' "
                               "BEGIN SELECT RAISE(ABORT, 'read-only website'); END"));

            Loaded loaded;
            LTInt64 last = 0;
            QVERIFY(store.LoadRankData(loaded.websites, loaded.series, last));
            QCOMPARE(loaded.websites[0].SearchEngines[0].Country, QString("United States"));
            QCOMPARE(loaded.websites[2].SearchEngines[0].Country, QString("USA"));
            QCOMPARE(storedEngines(store, 1), kGoogle + "?English?United States");
            QCOMPARE(storedEngines(store, 3), kGoogle + "?English?USA");
            QCOMPARE(store.QueryConfigValue("DB_VER"), QString(""));
            QVERIFY(query.exec("DROP TRIGGER refuse"));
        }
        // The next store tries again.
        SqlDb store;
        QCOMPARE(store.m_nDbVersion, 0);
        Loaded loaded;
        LTInt64 last = 0;
        QVERIFY(store.LoadRankData(loaded.websites, loaded.series, last));
        QCOMPARE(storedEngines(store, 2), kBing + "?English?United States");
        QCOMPARE(storedEngines(store, 3), kGoogle + "?English?United States");
        QCOMPARE(store.QueryConfigValue("DB_VER"), QString("1001"));
    }

    void upgradedStoreIsNotUpgradedAgain()
    {
        SqlDb store;
        QVERIFY(store.SetConfigValue("DB_VER", 1001));
        QVERIFY(insertWebsite(store, "a.com", kGoogle + "?English?USA\n", "k"));
        SqlDb reopened;
        Loaded loaded;
        LTInt64 last = 0;
        QVERIFY(reopened.LoadRankData(loaded.websites, loaded.series, last));
        QCOMPARE(loaded.websites[0].SearchEngines[0].Country, QString("USA"));
        QCOMPARE(storedEngines(reopened, 1), kGoogle + "?English?USA\n");
    }

    // The search times are read by hand from the stored text; they must be the local
    // date-times QDateTime(QDate, QTime) gives, also around the changes of summer time.
    void searchTimesInLocalTime_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QDateTime>("local");
        QTest::addColumn<qint64>("utcSeconds"); // by hand; -1: only as the constructor gives

        const auto local = [](int y, int mo, int d, int h, int mi, int s, int ms = 0) {
            return QDateTime(QDate(y, mo, d), QTime(h, mi, s, ms));
        };
        const auto utc = [](int y, int mo, int d, int h, int mi, int s) {
            return QDateTime(QDate(y, mo, d), QTime(h, mi, s), Qt::UTC).toSecsSinceEpoch();
        };
        const qint64 none = -1;
        testRow("winter", "2025-01-15T12:00:00", local(2025, 1, 15, 12, 0, 0),
                utc(2025, 1, 15, 11, 0, 0));
        testRow("summer", "2025-07-01T08:30:15", local(2025, 7, 1, 8, 30, 15),
                utc(2025, 7, 1, 6, 30, 15));
        testRow("last second before summer time", "2025-03-30T01:59:59",
                local(2025, 3, 30, 1, 59, 59), utc(2025, 3, 30, 0, 59, 59));
        testRow("in the skipped hour", "2025-03-30T02:30:00", local(2025, 3, 30, 2, 30, 0), none);
        testRow("first hour of summer time", "2025-03-30T03:00:00", local(2025, 3, 30, 3, 0, 0),
                utc(2025, 3, 30, 1, 0, 0));
        testRow("last hour before the repeat", "2025-10-26T01:59:59",
                local(2025, 10, 26, 1, 59, 59), utc(2025, 10, 25, 23, 59, 59));
        testRow("repeated hour", "2025-10-26T02:00:00", local(2025, 10, 26, 2, 0, 0), none);
        testRow("repeated hour, milliseconds", "2025-10-26T02:59:59.999",
                local(2025, 10, 26, 2, 59, 59, 999), none);
        testRow("after the repeat", "2025-10-26T03:00:00", local(2025, 10, 26, 3, 0, 0),
                utc(2025, 10, 26, 2, 0, 0));
        testRow("milliseconds", "2025-06-01T23:59:59.250", local(2025, 6, 1, 23, 59, 59, 250),
                utc(2025, 6, 1, 21, 59, 59));
        testRow("blank separator", "2025-06-01 10:00:00", local(2025, 6, 1, 10, 0, 0),
                utc(2025, 6, 1, 8, 0, 0));
        testRow("hour 24", "2025-06-01T24:00:00", local(2025, 6, 2, 0, 0, 0),
                utc(2025, 6, 1, 22, 0, 0));
        testRow("no such day", "2025-02-29T10:00:00", QDateTime(), none);
        testRow("second 60", "2025-06-01T10:00:60", QDateTime(), none);
        testRow("year 0", "0000-06-01T10:00:00", QDateTime(), none);
    }

    void searchTimesInLocalTime()
    {
        QFETCH(QString, stored);
        ZoneScope zone("Europe/Berlin");
        QFETCH(QDateTime, local); // built before the zone was set: build it again
        const QDateTime expected =
            local.isValid() ? QDateTime(local.date(), local.time()) : QDateTime();
        QFETCH(qint64, utcSeconds);

        SqlDb store;
        QVERIFY(store.SetConfigValue("DB_VER", 1001));
        QVERIFY(insertWebsite(store, "a.com", kGoogle + "?English?Germany", "k"));
        QVERIFY(insertRows(store, {{1, "a.com", kGoogle, "k", stored, 3, "", "English"}}));
        Loaded loaded;
        LTInt64 last = 0;
        QVERIFY(store.LoadRankData(loaded.websites, loaded.series, last));
        QCOMPARE(loaded.series.size(), std::size_t(1));
        const QDateTime got = loaded.series[0]->FlowItems.at(0).SearchTime;
        QCOMPARE(describe(got), describe(expected));
        QCOMPARE(describe(got), describe(SqlValue::toDateTime(stored)));
        if (utcSeconds >= 0)
            QCOMPARE(got.toSecsSinceEpoch(), utcSeconds);
    }

    void sameResultAsTheListSearches()
    {
        // Generated rows over colliding keys: the load must give what the list searches
        // and the general conversions give, series in order of their first kept row.
        ZoneScope zone("Europe/Berlin");
        SqlDb store;
        QVERIFY(store.SetConfigValue("DB_VER", 1001));
        const QStringList urls{"a.com", "A.com", "b.\u00e4.com"};
        const QStringList hosts{kGoogle, kBing, "fr.search.yahoo.com"};
        const QStringList langs{"English", "French"};
        const QStringList keywords{"k1", "k2", "K1", "k3 "};
        QRandomGenerator random(20261206);
        // The written forms and others that older versions or other tools left.
        const QStringList times{"2025-03-%1T09:00:00",
                                "2025-10-%1T02:30:00",
                                "2025-03-%1T02:30:00.125",
                                "2025-11-%1 10:00:00",
                                "2025-02-%1T24:00:00",
                                "2025-04-%1T10:00",
                                "x%1",
                                ""};
        // ASCII, other scripts, empty and NULL (a null QString binds NULL).
        const QStringList urlsOfPoints{"http://u/1", "http://u/1", "http://\u00fc.de/\u4e2d", "",
                                       QString()};

        std::vector<WEBSITE> websites;
        for (int w = 0; w < 5; ++w) {
            WEBSITE site;
            site.Website = urls[random.bounded(urls.size())];
            for (int e = 0; e < 2; ++e) {
                SEARCH_ENGINE engine;
                engine.SearchEngine = hosts[random.bounded(hosts.size())];
                engine.Lang = langs[random.bounded(langs.size())];
                engine.Country = "France";
                engine.Interval = FindSearchEngineType(engine.SearchEngine) == SE_Google ? 50 : 0;
                site.SearchEngines.push_back(engine);
            }
            site.Keywords << keywords[random.bounded(3)] << keywords[random.bounded(3)];
            QVERIFY(insertWebsite(store, site.Website,
                                  site.SearchEngines[0].SearchEngine + "?" +
                                      site.SearchEngines[0].Lang + "?France\n" +
                                      site.SearchEngines[1].SearchEngine + "?" +
                                      site.SearchEngines[1].Lang + "?France",
                                  site.Keywords.join('\n')));
            websites.push_back(site);
        }

        QList<Row> rows;
        std::vector<RANK_DATA*> expected;
        for (int i = 0; i < 600; ++i) {
            Row r{i * 3 + 1,
                  urls[random.bounded(urls.size())],
                  hosts[random.bounded(hosts.size())],
                  keywords[random.bounded(keywords.size())],
                  times[random.bounded(times.size())].arg(i % 28 + 1, 2, 10, QLatin1Char('0')),
                  int(random.bounded(102)),
                  urlsOfPoints[random.bounded(urlsOfPoints.size())],
                  langs[random.bounded(langs.size())]};
            rows << r;
            UPDATE_FLOW flow;
            flow.UpdateNo = r.updateNo;
            flow.Website = r.website;
            flow.SearchEngine = r.engine;
            flow.Keyword = r.keyword;
            flow.Lang = r.lang;
            if (ValidatedUpdate(websites, flow)) {
                FLOW_ITEM item;
                item.UpdateNo = r.updateNo;
                item.Rank = qint16(r.rank);
                item.SearchTime = SqlValue::toDateTime(r.time);
                item.RankURL = r.url;
                std::vector<FLOW_ITEM>& items = AssignProperRankData(expected, flow)->FlowItems;
                // A text equal to the point before is that point's text (null or not).
                if (!items.empty() && items.back().RankURL == item.RankURL)
                    item.RankURL = items.back().RankURL;
                items.push_back(item);
            }
        }
        QVERIFY(insertRows(store, rows));

        Loaded loaded;
        LTInt64 last = 0;
        QVERIFY(store.LoadRankData(loaded.websites, loaded.series, last));
        QCOMPARE(last, LTInt64(599 * 3 + 1));
        QVERIFY(expected.size() > 3);
        QCOMPARE(loaded.series.size(), expected.size());
        for (std::size_t i = 0; i < expected.size(); ++i) {
            const RANK_DATA* got = loaded.series[i];
            const RANK_DATA* want = expected[i];
            QCOMPARE(got->Website, want->Website);
            QCOMPARE(got->SearchEngine, want->SearchEngine);
            QCOMPARE(got->Keyword, want->Keyword);
            QCOMPARE(got->Lang, want->Lang);
            QCOMPARE(got->FlowItems.size(), want->FlowItems.size());
            for (std::size_t j = 0; j < want->FlowItems.size(); ++j) {
                QCOMPARE(got->FlowItems[j].UpdateNo, want->FlowItems[j].UpdateNo);
                QCOMPARE(got->FlowItems[j].Rank, want->FlowItems[j].Rank);
                QCOMPARE(got->FlowItems[j].RankURL, want->FlowItems[j].RankURL);
                QCOMPARE(got->FlowItems[j].RankURL.isNull(), want->FlowItems[j].RankURL.isNull());
                QCOMPARE(describe(got->FlowItems[j].SearchTime),
                         describe(want->FlowItems[j].SearchTime));
            }
        }
        for (RANK_DATA* s : expected)
            delete s;

        // The driver's handle is read exactly when the driver runs this program's SQLite.
        QFETCH_GLOBAL(bool, throughQuery);
        const int oneLibrary = driverRunsLinkedSqlite(store.m_DB);
        if (throughQuery)
            QVERIFY(!store.LoadReadDriverHandle());
        else if (oneLibrary < 0)
            QSKIP("the linked SQLite keeps no memory figures: which library the driver runs is "
                  "not known");
        else
            QCOMPARE(store.LoadReadDriverHandle(), oneLibrary == 1);
    }

    // Where the driver runs a SQLite copy other than the program's, its handle must not
    // reach the program's library: the load reads through QSqlQuery and gives the rows.
    void driverWithAnotherSqlite()
    {
#ifndef SQLITE_COPY_CHILD
        QSKIP("no static SQLite library to build a program with a copy of its own");
#else
        QFETCH_GLOBAL(bool, throughQuery);
        if (throughQuery)
            QSKIP("the child program takes its way by itself: one run is enough");
        {
            SqlDb store;
            QVERIFY(store.SetConfigValue("DB_VER", 1001));
            QVERIFY(insertWebsite(store, "a.com", kGoogle + "?English?France", "k"));
            QVERIFY(insertRows(
                store, {{1, "a.com", kGoogle, "k", "2026-01-01T00:00:00", 7, "", "English"},
                        {5, "b.com", kGoogle, "k", "2026-01-01T00:00:00", 8, "", "English"},
                        {2, "a.com", kGoogle, "k", "2026-01-02T00:00:00", 9, "", "English"},
                        {3, "a.com", kGoogle, "k", "2026-01-03T00:00:00", 11, "u", "English"}}));
        }
        QProcess child;
        child.start(QStringLiteral(SQLITE_COPY_CHILD));
        QVERIFY2(child.waitForFinished(60000), qPrintable(child.errorString()));
        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        QCOMPARE(child.exitCode(), 0);
        // Two libraries, no handle passed, the rows of a.com.
        QCOMPARE(QString::fromLatin1(child.readAllStandardOutput()),
                 QStringLiteral("0 0 1 5\n1:7\n2:9\n3:11\n"));
#endif
    }
};

LT_TEST_MAIN(TestSqlDbLoad)
#include "tst_sqldbload.moc"
