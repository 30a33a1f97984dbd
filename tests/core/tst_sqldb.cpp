#include "MessageBoxWatcher.h"
#include "SqlDb.h"
#include "SqlValue.h"
#include "TestMain.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>

namespace {
QString schemaOf(const QString& path)
{
    // Read through a connection of our own, so the store's default connection is untouched.
    QString schema;
    {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("inspect"));
        db.setDatabaseName(path);
        if (db.open()) {
            QSqlQuery query(db);
            query.exec(QStringLiteral("SELECT sql FROM sqlite_master ORDER BY rowid"));
            while (query.next())
                schema += query.value(0).toString() + QLatin1Char('\n');
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("inspect"));
    return schema;
}

// The tables as every version of the program has written them.
const QStringList kTables{
    "CREATE TABLE proxy( address VARCHAR(20) NOT NULL, port INTEGER, type TEXT, country "
    "VARCHAR(50), username VARCHAR(50), password VARCHAR(50), enable BIT)",
    "CREATE TABLE Website(Website TEXT, CreateTime TIMESTAMP, SearchEngines TEXT, Keywords TEXT)",
    "CREATE TABLE UpdateFlow(UpdateNo int, Website TEXT, SearchEngine TEXT, Keyword TEXT, "
    "SearchTime TIMESTAMP, Rank int, RankURL TEXT, Lang TEXT)",
    "CREATE TABLE config(name TEXT, value TEXT)",
    "CREATE TABLE Schedual(Website TEXT, Type INTEGER, Days INTEGER, StartTime TIME, "
    "StartMode INTEGER, LastRunDay DATE)"};
const QString kIndex = QStringLiteral("CREATE INDEX UpdateFlow_UpdateNo ON UpdateFlow(UpdateNo)\n");

QByteArray digestOf(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}
} // namespace

class TestSqlDb : public QObject
{
    Q_OBJECT

private slots:
    void init() { TestEnvironment::freshHome(); }

    void firstStartCreatesFoldersFileAndSchema()
    {
        MessageBoxWatcher boxes;
        QVERIFY(!QDir(QDir::homePath() + "/Documents").exists());
        {
            SqlDb store;
            QVERIFY(store.m_DB.isOpen());
            QCOMPARE(store.m_nDbVersion, 0);
        }
        QVERIFY(boxes.boxes().isEmpty());
        QVERIFY(QFile::exists(QDir::homePath() + "/Documents/lumatrove/Lumatrove.DB"));
        QCOMPARE(SqlDb::DatabasePath(), QDir::homePath() + "/Documents/lumatrove/Lumatrove.DB");

        QCOMPARE(schemaOf(SqlDb::DatabasePath()), kTables.join('\n') + '\n' + kIndex);
    }

    // A store written before the index existed keeps its tables and rows and gains the
    // index, which the same-day rewrite of a row then uses instead of a scan.
    void olderStoreGainsTheIndex()
    {
        const QString path = SqlDb::DatabasePath();
        QDir().mkpath(QFileInfo(path).absolutePath());
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "older");
            db.setDatabaseName(path);
            QVERIFY(db.open());
            QSqlQuery query(db);
            for (const QString& table : kTables)
                QVERIFY(query.exec(table));
            QVERIFY(query.exec("INSERT INTO UpdateFlow VALUES(7,'a.com','www.google.com','shoes',"
                               "'2026-01-02T03:04:05',9,'','English')"));
        }
        QSqlDatabase::removeDatabase("older");
        QCOMPARE(schemaOf(path), kTables.join('\n') + '\n');

        SqlDb store;
        QVERIFY(store.m_DB.isOpen());
        QCOMPARE(schemaOf(path), kTables.join('\n') + '\n' + kIndex);
        QSqlQuery query(store.m_DB);
        QVERIFY(query.exec("EXPLAIN QUERY PLAN UPDATE UpdateFlow SET Rank=1 WHERE UpdateNo=7"));
        QString plan;
        while (query.next())
            plan += query.value(3).toString();
        QVERIFY2(plan.contains("USING INDEX UpdateFlow_UpdateNo"), qPrintable(plan));
        QVERIFY(query.exec("SELECT UpdateNo, Rank FROM UpdateFlow"));
        QVERIFY(query.next());
        QCOMPARE(query.value(0).toInt(), 7);
        QCOMPARE(query.value(1).toInt(), 9);
        QVERIFY(!query.next());
    }

    void secondStartChangesNothing()
    {
        {
            SqlDb store;
            QVERIFY(store.SetConfigValue("DB_VER", 1001));
            QSqlQuery query(store.m_DB);
            QVERIFY(query.exec("INSERT INTO Website VALUES('a.com', NULL, '', '')"));
        }
        const QString schema = schemaOf(SqlDb::DatabasePath());
        const QByteArray digest = digestOf(SqlDb::DatabasePath());
        {
            SqlDb store;
            QVERIFY(store.m_DB.isOpen());
            QCOMPARE(store.m_nDbVersion, 1001);
        }
        QCOMPARE(schemaOf(SqlDb::DatabasePath()), schema);
        QCOMPARE(digestOf(SqlDb::DatabasePath()), digest);
    }

    void openFailures_data()
    {
        QTest::addColumn<bool>("folderIsFile");
        QTest::newRow("data folder is a plain file") << true;
        QTest::newRow("database file is not a database") << false;
    }

    void openFailures()
    {
        QFETCH(bool, folderIsFile);
        QDir().mkpath(QDir::homePath() + "/Documents");
        QString path = QDir::homePath() + "/Documents/lumatrove";
        if (!folderIsFile) {
            QDir().mkpath(path);
            path += "/Lumatrove.DB";
        }
        QByteArray content("These are the user's notes, not a database.\n");
        content = content.repeated(200);
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
        }

        MessageBoxWatcher boxes;
        {
            SqlDb store;
            QVERIFY(!store.m_DB.isOpen());
            QCOMPARE(store.m_nDbVersion, -1);
            QCOMPARE(store.QueryConfigValue("DB_VER"), QString());
            QVERIFY(!store.SetConfigValue("DB_VER", 1001));
        }
        QCOMPARE(boxes.boxes().size(), 1);
        QCOMPARE(boxes.boxes().at(0).title, QStringLiteral("m_DB.open()"));
        QCOMPARE(boxes.boxes().at(0).icon, MessageBoxHook::Warning);
        QVERIFY2(!boxes.boxes().at(0).text.trimmed().isEmpty(), "the driver's error text is shown");

        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), content);
    }

    void configValues()
    {
        SqlDb store;
        QCOMPARE(store.QueryConfigValue("missing"), QString(""));
        QVERIFY(!store.QueryConfigValue("missing").isNull());

        QVERIFY(store.SetConfigValue("DB_VER", 1001));
        QCOMPARE(store.QueryConfigValue("DB_VER"), QStringLiteral("1001"));
        QVERIFY(store.SetConfigValue("DB_VER", QStringLiteral("2002")));
        QCOMPARE(store.QueryConfigValue("DB_VER"), QStringLiteral("2002"));

        QSqlQuery query(store.m_DB);
        QVERIFY(query.exec("SELECT count(*) FROM config WHERE name='DB_VER'"));
        QVERIFY(query.next());
        QCOMPARE(query.value(0).toInt(), 1); // updated, not inserted again

        // Two rows of one name: both are updated, the first is read.
        QVERIFY(query.exec("INSERT INTO config VALUES('twice','a')"));
        QVERIFY(query.exec("INSERT INTO config VALUES('twice','b')"));
        QCOMPARE(store.QueryConfigValue("twice"), QStringLiteral("a"));
        QVERIFY(store.SetConfigValue("twice", "c"));
        QVERIFY(query.exec("SELECT value FROM config WHERE name='twice'"));
        int rows = 0;
        while (query.next()) {
            QCOMPARE(query.value(0).toString(), QStringLiteral("c"));
            ++rows;
        }
        QCOMPARE(rows, 2);

        // Names and values go through placeholders: quotes are data.
        QVERIFY(store.SetConfigValue("it's", "x'); DROP TABLE config; --"));
        QCOMPARE(store.QueryConfigValue("it's"), QStringLiteral("x'); DROP TABLE config; --"));
    }

    void versionThatIsNotANumberReadsAsZero()
    {
        {
            SqlDb store;
            QVERIFY(store.SetConfigValue("DB_VER", "1001abc"));
        }
        SqlDb store;
        QCOMPARE(store.m_nDbVersion, 0);
    }

    void secondStoreDisablesTheFirst()
    {
        SqlDb first;
        QVERIFY(first.SetConfigValue("k", "1"));
        SqlDb second;
        QVERIFY(second.SetConfigValue("k", "2"));
        QCOMPARE(second.QueryConfigValue("k"), QStringLiteral("2"));
        // Qt replaced the default connection: the first handle is closed.
        QVERIFY(!first.m_DB.isOpen());
        QVERIFY(second.m_DB.isOpen());
    }

    void storedForms_data()
    {
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<QDateTime>("dateTime");

        const QDateTime moment(QDate(2026, 3, 9), QTime(7, 5, 3), Qt::LocalTime);
        QTest::newRow("plain") << QVariant("2026-03-09T07:05:03") << moment;
        QTest::newRow("milliseconds") << QVariant("2026-03-09T07:05:03.000") << moment;
        QTest::newRow("with blank") << QVariant("2026-03-09 07:05:03") << moment;
        QTest::newRow("null") << QVariant() << QDateTime();
        QTest::newRow("garbage") << QVariant("yesterday") << QDateTime();
    }

    void storedForms()
    {
        QFETCH(QVariant, stored);
        QFETCH(QDateTime, dateTime);
        QCOMPARE(SqlValue::toDateTime(stored), dateTime);
    }

    void storedFormsRoundTrip()
    {
        // The stored forms survive a real column, and null values are NULL.
        SqlDb store;
        QSqlQuery query(store.m_DB);
        QVERIFY(query.prepare("INSERT INTO Schedual VALUES(?,?,?,?,?,?)"));
        const QTime start(23, 59, 58, 123);
        const QDate day(2026, 12, 31);
        query.addBindValue("w");
        query.addBindValue(1);
        query.addBindValue(3);
        query.addBindValue(SqlValue::fromTime(start));
        query.addBindValue(0);
        query.addBindValue(SqlValue::fromDate(QDate()));
        QVERIFY(query.exec());
        QVERIFY(query.exec("SELECT StartTime, LastRunDay, typeof(LastRunDay) FROM Schedual"));
        QVERIFY(query.next());
        QCOMPARE(query.value(0).toString(), QStringLiteral("23:59:58"));
        QCOMPARE(SqlValue::toTime(query.value(0)), QTime(23, 59, 58));
        QVERIFY(SqlValue::toDate(query.value(1)).isNull());
        QCOMPARE(query.value(2).toString(), QStringLiteral("null"));

        QCOMPARE(SqlValue::fromDate(day).toString(), QStringLiteral("2026-12-31"));
        QCOMPARE(SqlValue::toDate(QVariant("2026-12-31")), day);
        QCOMPARE(SqlValue::fromDateTime(QDateTime(day, start)).toString(),
                 QStringLiteral("2026-12-31T23:59:58"));
    }

    void storedBooleans_data()
    {
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<bool>("value");
        QTest::newRow("1") << QVariant(1) << true;
        QTest::newRow("0") << QVariant(0) << false;
        QTest::newRow("'1'") << QVariant("1") << true;
        QTest::newRow("'true'") << QVariant("true") << true;
        QTest::newRow("'false'") << QVariant("false") << false;
        QTest::newRow("'TRUE'") << QVariant("TRUE") << true;
        QTest::newRow("NULL") << QVariant() << false;
        QTest::newRow("junk") << QVariant("maybe") << false;
    }

    void storedBooleans()
    {
        QFETCH(QVariant, stored);
        QFETCH(bool, value);
        QCOMPARE(SqlValue::toBool(stored), value);
        QCOMPARE(SqlValue::toBool(SqlValue::fromBool(value)), value);
    }
};

LT_TEST_MAIN(TestSqlDb)
#include "tst_sqldb.moc"
