#include "Records.h"
#include "SqlDb.h"
#include "TestMain.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QSqlRecord>

#include <csignal>
#include <map>
#include <sys/types.h>

namespace {
// Rows per transaction: with the long ranking URLs of the child one transaction changes
// more pages than SQLite's page cache holds, so it also writes to the database file
// before "commit".
constexpr int kBatchSize = 5000;
constexpr int kKills = 8;
constexpr LTInt64 kFreshRank = 50;
constexpr LTInt64 kReplacedRank = 101;
constexpr int kReplacedRows = 50; // the first rows of a batch, replaced by the next one

QStringList inspect(const QString& path, const QString& sql)
{
    QStringList rows;
    {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("inspect"));
        db.setDatabaseName(path);
        if (db.open()) {
            QSqlQuery query(db);
            query.setForwardOnly(true);
            if (query.exec(sql)) {
                while (query.next()) {
                    QStringList columns;
                    for (int i = 0; i < query.record().count(); ++i)
                        columns << query.value(i).toString();
                    rows << columns.join(QLatin1Char('|'));
                }
            } else {
                rows << QStringLiteral("error: ") + sql;
            }
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("inspect"));
    return rows;
}
} // namespace

class TestStoreCrash : public QObject
{
    Q_OBJECT

private slots:
    void killedWriterLeavesWholeTransactions()
    {
        TestEnvironment::freshHome();
        {
            SqlDb store;
            QVERIFY(store.m_DB.isOpen());
            QVERIFY(store.SetConfigValue(QStringLiteral("DB_VER"), 1001));
            QStringList keywords;
            for (int i = 0; i < 10; ++i)
                keywords << QStringLiteral("keyword %1").arg(i);
            QSqlQuery query(store.m_DB);
            QVERIFY(query.prepare(QStringLiteral("insert into Website values(?,?,?,?)")));
            query.addBindValue(QStringLiteral("crash.test"));
            query.addBindValue(QStringLiteral("2026-01-01T00:00:00"));
            query.addBindValue(QStringLiteral("www.google.com?English?United States"));
            query.addBindValue(keywords.join(QLatin1Char('\n')));
            QVERIFY(query.exec());
        }
        const QString path = SqlDb::DatabasePath();

        const quint32 seed = qEnvironmentVariableIsSet("LUMATROVE_CRASH_SEED")
                                 ? qEnvironmentVariableIntValue("LUMATROVE_CRASH_SEED")
                                 : QRandomGenerator::system()->generate();
        qInfo("seed %u (LUMATROVE_CRASH_SEED repeats the run)", seed);
        QRandomGenerator random(seed);

        qint64 transactionMs = 0; // measured in the first round
        LTInt64 batches = 0;      // whole transactions in the store so far
        int killsInsideTransaction = 0;

        for (int round = 0; round < kKills; ++round) {
            QProcess child;
            child.setProcessChannelMode(QProcess::SeparateChannels);
            child.start(QStringLiteral(STORE_CRASH_CHILD), {QString::number(kBatchSize)});
            QVERIFY2(child.waitForStarted(), qPrintable(child.errorString()));

            QByteArray output;
            LTInt64 reported = -1;
            auto readLines = [&](int waitMs) {
                child.waitForReadyRead(waitMs);
                output += child.readAllStandardOutput();
                int end;
                while ((end = output.indexOf('\n')) >= 0) {
                    const QByteArray line = output.left(end);
                    output.remove(0, end + 1);
                    if (line.startsWith("committed "))
                        reported = line.mid(10).toLongLong();
                    else if (line.startsWith("ready "))
                        reported = line.mid(6).toLongLong();
                }
            };
            QElapsedTimer clock;
            clock.start();
            while (reported < 0 && clock.elapsed() < 60000 && child.state() == QProcess::Running)
                readLines(100);
            QVERIFY2(reported == batches, "the child starts from the transactions in the store");

            if (transactionMs == 0) {
                // Let two transactions commit to learn how long one takes.
                clock.restart();
                while (reported < batches + 2 && clock.elapsed() < 120000 &&
                       child.state() == QProcess::Running)
                    readLines(100);
                QVERIFY2(reported == batches + 2, child.readAllStandardError().constData());
                transactionMs = qMax<qint64>(1, clock.elapsed() / 2);
                qInfo("one transaction of %d rows takes about %lld ms", kBatchSize,
                      static_cast<long long>(transactionMs));
            }

            // A point anywhere in the next few transactions: building a batch, inside
            // the inserts, inside the updates, inside "commit".
            const qint64 delay = random.bounded(4 * transactionMs + 1);
            clock.restart();
            while (clock.elapsed() < delay && child.state() == QProcess::Running)
                readLines(int(qMax<qint64>(1, delay - clock.elapsed())));
            QCOMPARE(child.state(), QProcess::Running);
            QCOMPARE(::kill(pid_t(child.processId()), SIGKILL), 0);
            QVERIFY(child.waitForFinished(30000));
            readLines(0);
            QCOMPARE(child.exitStatus(), QProcess::CrashExit);

            if (QFileInfo(path + QStringLiteral("-journal")).size() > 0)
                ++killsInsideTransaction;

            QCOMPARE(inspect(path, QStringLiteral("PRAGMA integrity_check")),
                     QStringList{QStringLiteral("ok")});

            // Count the rows of every transaction and the ranks they carry: the replaced
            // rows apart from the others.
            struct Batch {
                std::map<LTInt64, int> replacedRanks;
                std::map<LTInt64, int> otherRanks;
            };
            std::map<LTInt64, Batch> byBatch;
            const QStringList rows =
                inspect(path, QStringLiteral("select UpdateNo, Rank from UpdateFlow"));
            for (const QString& row : rows) {
                const QStringList columns = row.split(QLatin1Char('|'));
                QCOMPARE(columns.size(), 2);
                const LTInt64 number = columns[0].toLongLong();
                QVERIFY2(number >= 1, qPrintable(row));
                Batch& batch = byBatch[(number - 1) / kBatchSize];
                auto& ranks = (number - 1) % kBatchSize < kReplacedRows ? batch.replacedRanks
                                                                        : batch.otherRanks;
                ++ranks[columns[1].toLongLong()];
            }
            const LTInt64 found = LTInt64(byBatch.size());
            QVERIFY2(found >= reported, "a reported commit is in the store");
            QVERIFY2(found <= reported + 1, "at most the transaction in flight committed");
            QVERIFY2(found >= batches, "nothing committed earlier is lost");
            QCOMPARE(LTInt64(rows.size()), found * kBatchSize);
            for (const auto& [number, batch] : byBatch) {
                QVERIFY2(number < found, "transactions are numbered without gaps");
                const LTInt64 replaced = number + 1 < found ? kReplacedRank : kFreshRank;
                QCOMPARE(batch.replacedRanks, (std::map<LTInt64, int>{{replaced, kReplacedRows}}));
                QCOMPARE(batch.otherRanks,
                         (std::map<LTInt64, int>{{kFreshRank, kBatchSize - kReplacedRows}}));
            }
            qInfo("kill %d after %lld ms: %lld transactions in the store", round + 1,
                  static_cast<long long>(delay), static_cast<long long>(found));
            batches = found;

            // The program's next start loads all of it.
            {
                SqlDb store;
                QVERIFY(store.m_DB.isOpen());
                std::vector<WEBSITE> websites;
                std::vector<RANK_DATA*> series;
                LTInt64 last = -1;
                QVERIFY(store.LoadRankData(websites, series, last));
                QCOMPARE(last, batches * kBatchSize);
                QCOMPARE(websites.size(), size_t(1));
                size_t points = 0;
                for (RANK_DATA* data : series) {
                    points += data->FlowItems.size();
                    delete data;
                }
                QCOMPARE(LTInt64(points), batches * kBatchSize);
            }
        }
        qInfo("%d of %d kills interrupted a transaction; %lld transactions committed",
              killsInsideTransaction, kKills, static_cast<long long>(batches));
        QVERIFY2(killsInsideTransaction > 0, "no kill hit an open transaction");
    }
};

LT_TEST_MAIN(TestStoreCrash)
#include "tst_storecrash.moc"
