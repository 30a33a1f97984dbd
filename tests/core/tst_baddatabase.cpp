// Databases written by hand with wrong types in every column: the load must neither
// crash nor invent data; rows are dropped or read as their columns' conversions say.
#include "LoadPaths.h"
#include "MessageBoxWatcher.h"
#include "SqlDb.h"
#include "TestMain.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QSqlQuery>

#include <memory>

namespace {
const QString kSite = QStringLiteral("bad.test");
const QString kEngine = QStringLiteral("www.google.com");
const QString kLang = QStringLiteral("English");
const QString kKeyword = QStringLiteral("k");
const QString kTime = QStringLiteral("2026-02-01T10:00:00");

struct Loaded {
    std::vector<WEBSITE> websites;
    std::vector<RANK_DATA*> series;
    LTInt64 last = -1;
    bool ok = false;
    ~Loaded() { clear(); }
    void clear()
    {
        for (RANK_DATA* data : series)
            delete data;
        series.clear();
        websites.clear();
    }
};

// What the central widget does at start: load; on a repeated number clear the repeats
// and load once more, whatever that gives.
std::unique_ptr<Loaded> startUp(SqlDb& store, bool* firstLoadOk = nullptr)
{
    auto loaded = std::make_unique<Loaded>();
    loaded->ok = store.LoadRankData(loaded->websites, loaded->series, loaded->last);
    if (firstLoadOk)
        *firstLoadOk = loaded->ok;
    if (!loaded->ok) {
        loaded->clear();
        store.ClearRepeatedUpdateNo();
        loaded->ok = store.LoadRankData(loaded->websites, loaded->series, loaded->last);
    }
    return loaded;
}

bool insertWebsite(SqlDb& store, const QVariant& url, const QVariant& created,
                   const QVariant& engines, const QVariant& keywords)
{
    QSqlQuery query(store.m_DB);
    query.prepare(QStringLiteral("INSERT INTO Website VALUES(?,?,?,?)"));
    for (const QVariant& value : {url, created, engines, keywords})
        query.addBindValue(value);
    return query.exec();
}

bool insertTrackedWebsite(SqlDb& store)
{
    return insertWebsite(store, kSite, kTime, kEngine + "?" + kLang + "?United States",
                         kKeyword + "\n42");
}

// One UpdateFlow row; every value keeps the type it is given (placeholders bind the
// QVariant's own type, so text stays text and a fraction stays a fraction).
bool insertRow(SqlDb& store, const QVariant& updateNo, const QVariant& rank,
               const QVariant& time = kTime, const QVariant& url = QStringLiteral("http://u"),
               const QVariant& keyword = kKeyword, const QVariant& website = kSite,
               const QVariant& engine = kEngine, const QVariant& lang = kLang)
{
    QSqlQuery query(store.m_DB);
    query.prepare(QStringLiteral("INSERT INTO UpdateFlow VALUES(?,?,?,?,?,?,?,?)"));
    for (const QVariant& value : {updateNo, website, engine, keyword, time, rank, url, lang})
        query.addBindValue(value);
    return query.exec();
}

int rowCount(SqlDb& store)
{
    QSqlQuery query(store.m_DB);
    if (!query.exec(QStringLiteral("SELECT count(*) FROM UpdateFlow")) || !query.next())
        return -1;
    return query.value(0).toInt();
}

// (update number, rank) of every point, series by series.
QList<QPair<LTInt64, int>> points(const Loaded& loaded)
{
    QList<QPair<LTInt64, int>> result;
    for (const RANK_DATA* data : loaded.series) {
        for (const FLOW_ITEM& item : data->FlowItems)
            result << qMakePair(item.UpdateNo, int(item.Rank));
    }
    return result;
}

using Points = QList<QPair<LTInt64, int>>;

QByteArray fileHash()
{
    QFile file(SqlDb::DatabasePath());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

// Writes 4 KiB of random bytes (fixed seed) into the database file at offset.
bool damage(qint64 offset)
{
    QFile file(SqlDb::DatabasePath());
    if (!file.open(QIODevice::ReadWrite) || !file.seek(offset))
        return false;
    QRandomGenerator random(4096);
    QByteArray bytes(4096, Qt::Uninitialized);
    for (char& byte : bytes)
        byte = char(random.bounded(256));
    return file.write(bytes) == bytes.size();
}
} // namespace

Q_DECLARE_METATYPE(Points)

class TestBadDatabase : public QObject
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

    // Two rows whose update number is no number the program writes, beside the rows
    // 1 and 2. Such a number must not pose as another row's: read as 0 or cut to 32
    // bits, the load saw a repeat that the clean-up's statement (comparing the stored
    // values) never removed, and the user saw an empty model.
    void updateNumbersThatAreNoNumbers_data()
    {
        QTest::addColumn<QVariant>("bad");
        QTest::newRow("text") << QVariant(QStringLiteral("abc"));
        QTest::newRow("number and text") << QVariant(QStringLiteral("12abc"));
        QTest::newRow("empty text") << QVariant(QStringLiteral(""));
        QTest::newRow("NULL") << QVariant();
        QTest::newRow("fraction") << QVariant(1.5);
        QTest::newRow("beyond 32 bits, low bits 2") << QVariant(qlonglong(0x100000002LL));
        QTest::newRow("beyond 32 bits, low bits 0") << QVariant(qlonglong(0x7fffffff00000000LL));
        QTest::newRow("just above 32 bits") << QVariant(qlonglong(2147483648LL));
        QTest::newRow("just below 32 bits") << QVariant(qlonglong(-2147483649LL));
        QTest::newRow("bytes") << QVariant(QByteArray("\x00\x01", 2));
    }

    void updateNumbersThatAreNoNumbers()
    {
        QFETCH(QVariant, bad);
        SqlDb store;
        QVERIFY(store.SetConfigValue(QStringLiteral("DB_VER"), 1001));
        QVERIFY(insertTrackedWebsite(store));
        QVERIFY(insertRow(store, 1, 7));
        QVERIFY(insertRow(store, bad, 30));
        QVERIFY(insertRow(store, bad, 31));
        QVERIFY(insertRow(store, 2, 9));
        QVERIFY(insertRow(store, 0, 11)); // a real 0 beside the bad rows

        bool firstOk = false;
        auto loaded = startUp(store, &firstOk);
        QVERIFY2(firstOk, "rows without a usable number make no repeat");
        QCOMPARE(loaded->websites.size(), size_t(1));
        QCOMPARE(points(*loaded), (Points{{1, 7}, {2, 9}, {0, 11}}));
        QCOMPARE(loaded->last, LTInt64(2));
        QCOMPARE(rowCount(store), 5); // nothing deleted
    }

    // Real repeats next to rows without a usable number: the clean-up removes the
    // repeats, and the second load gives the data.
    void repeatsBesideBadNumbersAreCleared()
    {
        SqlDb store;
        QVERIFY(store.SetConfigValue(QStringLiteral("DB_VER"), 1001));
        QVERIFY(insertTrackedWebsite(store));
        QVERIFY(insertRow(store, QStringLiteral("x"), 30));
        QVERIFY(insertRow(store, 5, 1));
        QVERIFY(insertRow(store, qlonglong(0x100000005LL), 30));
        QVERIFY(insertRow(store, 5, 2));
        QVERIFY(insertRow(store, QStringLiteral("x"), 30));

        bool firstOk = true;
        auto loaded = startUp(store, &firstOk);
        QVERIFY(!firstOk);
        QVERIFY(loaded->ok);
        QCOMPARE(points(*loaded), (Points{{5, 2}}));
        QCOMPARE(loaded->last, LTInt64(5));
    }

    // A damaged file: the rows after the damage cannot be read. Taking the read error for
    // the end of the rows showed part of the history as all of it, and the user went on
    // writing into the damaged file. Each statement of the start-up that reads the file
    // must fail the start instead: the store warns with the file and the driver's
    // message, closes, loads nothing and changes nothing.
    void damagedFileFailsTheStart_data()
    {
        QTest::addColumn<QString>("where");
        QTest::addColumn<bool>("lastLeaf"); // the table's last page in scan order, not its root
        QTest::newRow("middle of the file") << QString() << false;
        QTest::newRow("Website") << QStringLiteral("Website") << false;
        QTest::newRow("UpdateFlow") << QStringLiteral("UpdateFlow") << false;
        // The scan starts well and fails on its way.
        QTest::newRow("last rows of UpdateFlow") << QStringLiteral("UpdateFlow") << true;
        QTest::newRow("config") << QStringLiteral("config") << false;
        QTest::newRow("Schedual") << QStringLiteral("Schedual") << false;
    }

    void damagedFileFailsTheStart()
    {
        QFETCH(QString, where);
        QFETCH(bool, lastLeaf);
        qint64 offset = -1;
        {
            SqlDb store;
            QVERIFY(store.SetConfigValue(QStringLiteral("DB_VER"), 1001));
            QVERIFY(insertTrackedWebsite(store));
            QSqlQuery query(store.m_DB);
            QVERIFY(query.exec(QStringLiteral(
                "INSERT INTO Schedual VALUES('bad.test', 0, 0, '10:00:00', 0, NULL)")));
            for (int i = 1; i <= 400; ++i)
                QVERIFY(insertRow(store, i, i % 100 + 1));
            if (!where.isEmpty()) {
                QVERIFY(query.exec(QStringLiteral("PRAGMA page_size")) && query.next());
                const qint64 pageSize = query.value(0).toLongLong();
                query.prepare(lastLeaf ? QStringLiteral("SELECT pageno FROM dbstat WHERE name=? "
                                                        "ORDER BY path DESC LIMIT 1")
                                       : QStringLiteral("SELECT rootpage FROM sqlite_master "
                                                        "WHERE name=?"));
                query.addBindValue(where);
                if (lastLeaf && !query.exec())
                    QSKIP("this SQLite has no dbstat table to find a table's last page");
                QVERIFY(query.exec() && query.next());
                offset = (query.value(0).toLongLong() - 1) * pageSize;
            }
        }
        if (offset < 0)
            offset = QFile(SqlDb::DatabasePath()).size() / 2;
        QVERIFY(damage(offset));
        const QByteArray before = fileHash();
        QVERIFY(!before.isEmpty());

        MessageBoxWatcher boxes;
        // What the central widget does at start.
        SqlDb store;
        Loaded loaded;
        std::vector<SCHEDUAL> schedules;
        if (!store.LoadRankData(loaded.websites, loaded.series, loaded.last) &&
            store.m_DB.isOpen()) {
            store.ClearRepeatedUpdateNo();
            store.LoadRankData(loaded.websites, loaded.series, loaded.last);
        }
        store.loadScheduals(schedules);

        QVERIFY(!store.m_DB.isOpen());
        QFETCH_GLOBAL(bool, throughQuery);
        if (throughQuery)
            QVERIFY(!store.LoadReadDriverHandle());
        QVERIFY(schedules.empty());
        if (where != QLatin1String("Schedual")) { // read after the rank history
            QVERIFY(loaded.websites.empty());
            QVERIFY(loaded.series.empty());
            QCOMPARE(loaded.last, LTInt64(-1));
        }
        QCOMPARE(boxes.boxes().size(), 1);
        const MessageBoxHook::Request& box = boxes.boxes().first();
        QCOMPARE(box.title, QStringLiteral("Lumatrove"));
        const QString prefix = QStringLiteral("Can not read the database %1: ")
                                   .arg(QDir::toNativeSeparators(SqlDb::DatabasePath()));
        QVERIFY2(box.text.startsWith(prefix), qPrintable(box.text));
        QVERIFY2(box.text.size() > prefix.size(), "the driver's message follows");
        QCOMPARE(fileHash(), before);
    }

    void ranksOfEveryType_data()
    {
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<int>("rank");
        QTest::newRow("position") << QVariant(12) << 12;
        QTest::newRow("not found") << QVariant(101) << 101;
        QTest::newRow("bing beyond 100") << QVariant(135) << 135;
        QTest::newRow("failed") << QVariant(0) << 0;
        QTest::newRow("number as text") << QVariant(QStringLiteral("15")) << 15; // column affinity
        QTest::newRow("text") << QVariant(QStringLiteral("high")) << 0;
        QTest::newRow("NULL") << QVariant() << 0;
        QTest::newRow("whole fraction") << QVariant(3.0) << 3; // column affinity
        QTest::newRow("negative") << QVariant(-5) << -5;
        // Cut to 32 and then 16 bits these would read as 7 and 4464: invented positions.
        QTest::newRow("beyond 32 bits") << QVariant(qlonglong(0x100000007LL)) << 0;
        QTest::newRow("beyond 16 bits") << QVariant(70000) << 0;
        QTest::newRow("16-bit limit") << QVariant(32767) << 32767;
        QTest::newRow("bytes holding a number") << QVariant(QByteArray("7")) << 7;
        QTest::newRow("bytes") << QVariant(QByteArray("\x01\x02", 2)) << 0;
    }

    void ranksOfEveryType()
    {
        QFETCH(QVariant, stored);
        QFETCH(int, rank);
        SqlDb store;
        QVERIFY(store.SetConfigValue(QStringLiteral("DB_VER"), 1001));
        QVERIFY(insertTrackedWebsite(store));
        QVERIFY(insertRow(store, 4, stored));
        auto loaded = startUp(store);
        QVERIFY(loaded->ok);
        QCOMPARE(points(*loaded), (Points{{4, rank}}));
    }

    void otherColumnsOfEveryType()
    {
        SqlDb store;
        QVERIFY(store.SetConfigValue(QStringLiteral("DB_VER"), 1001));
        QVERIFY(insertTrackedWebsite(store));
        const QString huge(5 * 1024 * 1024, QLatin1Char('u'));
        QVERIFY(insertRow(store, 1, 3, QStringLiteral("yesterday")));
        QVERIFY(insertRow(store, 2, 3, 20260201));
        QVERIFY(insertRow(store, 3, 3, QVariant()));
        QVERIFY(insertRow(store, 4, 3, QStringLiteral("2026-02-30T10:00:00")));
        QVERIFY(insertRow(store, 5, 3, QStringLiteral("2026-02-01T10:00:00.250")));
        QVERIFY(insertRow(store, 6, 3, kTime, QVariant()));
        QVERIFY(insertRow(store, 7, 3, kTime, huge));
        QVERIFY(insertRow(store, 8, 3, kTime, 42));
        // The keyword 42 stored as a number is the website's keyword "42".
        QVERIFY(insertRow(store, 9, 3, kTime, QStringLiteral("http://u"), 42));
        // Rows that fit no website: dropped, their numbers still count.
        QVERIFY(insertRow(store, 10, 3, kTime, QStringLiteral("http://u"), QVariant()));
        QVERIFY(insertRow(store, 11, 3, kTime, QStringLiteral("http://u"), kKeyword, QVariant()));
        QVERIFY(insertRow(store, 12, 3, kTime, QStringLiteral("http://u"), kKeyword, kSite, 7));
        QVERIFY(insertRow(store, 13, 3, kTime, QStringLiteral("http://u"), kKeyword, kSite, kEngine,
                          QVariant()));
        QVERIFY(insertRow(store, 14, 3, kTime, QStringLiteral("http://u"), huge));

        auto loaded = startUp(store);
        QVERIFY(loaded->ok);
        QCOMPARE(loaded->last, LTInt64(14));
        QCOMPARE(loaded->series.size(), size_t(2));
        const RANK_DATA* k = loaded->series[0];
        QCOMPARE(k->Keyword, kKeyword);
        QCOMPARE(k->FlowItems.size(), size_t(8));
        const QDateTime time(QDate(2026, 2, 1), QTime(10, 0));
        const QDateTime expectedTimes[] = {
            QDateTime(),        QDateTime(), QDateTime(), QDateTime(),
            time.addMSecs(250), time,        time,        time};
        const QString expectedUrls[] = {"http://u", "http://u", "http://u", "http://u",
                                        "http://u", "",         huge,       "42"};
        for (int i = 0; i < 8; ++i) {
            QCOMPARE(k->FlowItems[i].UpdateNo, LTInt64(i + 1));
            QCOMPARE(k->FlowItems[i].SearchTime, expectedTimes[i]);
            QCOMPARE(k->FlowItems[i].RankURL, expectedUrls[i]);
            QCOMPARE(k->FlowItems[i].Rank, qint16(3));
        }
        QCOMPARE(loaded->series[1]->Keyword, QStringLiteral("42"));
        QCOMPARE(loaded->series[1]->FlowItems.size(), size_t(1));
        QCOMPARE(loaded->series[1]->FlowItems[0].UpdateNo, LTInt64(9));
    }

    void websiteRowsOfEveryType()
    {
        SqlDb store;
        QVERIFY(store.SetConfigValue(QStringLiteral("DB_VER"), 1001));
        QString manyKeywords;
        for (int i = 0; i < 100000; ++i)
            manyKeywords += QStringLiteral("keyword %1\n").arg(i);
        const QString longHost(1024 * 1024, QLatin1Char('h'));
        QVERIFY(insertWebsite(store, 42, QStringLiteral("garbage"), QVariant(), manyKeywords));
        QVERIFY(insertWebsite(store, QVariant(), 20260201, 7, QVariant()));
        QVERIFY(insertWebsite(store, QByteArray("site"), QVariant(),
                              longHost + "?English?Canada?12x", QByteArray("a\nb")));
        QVERIFY(insertRow(store, 1, 4, kTime, QStringLiteral("http://u"),
                          QStringLiteral("keyword 99999"), QStringLiteral("42"),
                          QStringLiteral("")));
        QVERIFY(insertRow(store, 2, 5, kTime, QStringLiteral("http://u"), QStringLiteral("b"),
                          QStringLiteral("site"), longHost, QStringLiteral("English")));

        auto loaded = startUp(store);
        QVERIFY(loaded->ok);
        QCOMPARE(loaded->websites.size(), size_t(3));

        const WEBSITE& first = loaded->websites[0];
        QCOMPARE(first.Website, QStringLiteral("42"));
        QVERIFY(!first.CreateTime.isValid());
        QVERIFY(first.SearchEngines.empty());
        QCOMPARE(first.Keywords.size(), 100000);
        QCOMPARE(first.Keywords.last(), QStringLiteral("keyword 99999"));

        const WEBSITE& second = loaded->websites[1];
        QCOMPARE(second.Website, QString());
        QVERIFY(!second.CreateTime.isValid());
        QCOMPARE(second.SearchEngines.size(), size_t(1));
        QCOMPARE(second.SearchEngines[0].SearchEngine, QStringLiteral("7"));
        QCOMPARE(second.Keywords, QStringList{QString()});

        const WEBSITE& third = loaded->websites[2];
        QCOMPARE(third.Website, QStringLiteral("site"));
        QCOMPARE(third.SearchEngines.size(), size_t(1));
        QCOMPARE(third.SearchEngines[0].SearchEngine, longHost);
        QCOMPARE(third.SearchEngines[0].Country, QStringLiteral("Canada"));
        QCOMPARE(third.SearchEngines[0].Interval, LTInt64(0)); // "12x" is no number
        QCOMPARE(third.Keywords, (QStringList{"a", "b"}));

        // The first website has no engine variant: its row fits nothing. The third's
        // long host fits its row.
        QCOMPARE(points(*loaded), (Points{{2, 5}}));
        QCOMPARE(loaded->last, LTInt64(2));
    }
};

LT_TEST_MAIN(TestBadDatabase)
#include "tst_baddatabase.moc"
