#include "LumatroveMain.h"
#include "SqlDb.h"
#include "TestMain.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <csignal>
#include <unistd.h>

namespace {

const QString kLockName = QStringLiteral(LUMATROVE_LOCK_NAME);

// A private mount namespace with a fresh /run (and /var/run where that is not a link to
// it), kept alive by a sleeping process; the probes enter it, so parallel tests never
// share the single-instance lock. The test program runs as root of its own namespaces
// (see NetworkNamespace), which lets it make and enter this one as a normal user too.
class PrivateRun
{
public:
    ~PrivateRun()
    {
        if (m_holder.state() != QProcess::NotRunning) {
            m_holder.kill();
            m_holder.waitForFinished(10000);
        }
    }

    bool start(bool readOnly)
    {
        const QString options = readOnly ? QStringLiteral("-o ro ") : QString();
        const QString script =
            QStringLiteral(
                "mount -t tmpfs %1none /run || exit 1; "
                "if [ ! -L /var/run ]; then mount -t tmpfs %1none /var/run || exit 1; fi; "
                "echo ready; exec sleep 600")
                .arg(options);
        m_holder.start(QStringLiteral("unshare"),
                       {QStringLiteral("--mount"), QStringLiteral("--propagation"),
                        QStringLiteral("private"), QStringLiteral("--"), QStringLiteral("sh"),
                        QStringLiteral("-c"), script});
        if (!m_holder.waitForStarted(10000))
            return false;
        while (!m_holder.canReadLine()) {
            if (!m_holder.waitForReadyRead(10000))
                return false;
        }
        return m_holder.readLine().trimmed() == "ready";
    }

    // Starts a probe inside the namespace.
    void launch(QProcess& process, const QStringList& args)
    {
        QStringList command = {QStringLiteral("--target"), QString::number(m_holder.processId()),
                               QStringLiteral("--mount"), QStringLiteral("--"),
                               QStringLiteral(STARTUP_PROBE)};
        process.start(QStringLiteral("nsenter"), command + args);
    }

    // Runs a probe to its end; returns its exit code (-1 when it did not end normally).
    int run(const QStringList& args, QStringList* lines)
    {
        QProcess process;
        launch(process, args);
        if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit) {
            process.kill();
            process.waitForFinished();
            return -1;
        }
        if (lines)
            *lines = QString::fromUtf8(process.readAllStandardOutput())
                         .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        return process.exitCode();
    }

    bool existsInside(const QString& path)
    {
        QProcess test;
        test.start(QStringLiteral("nsenter"),
                   {QStringLiteral("--target"), QString::number(m_holder.processId()),
                    QStringLiteral("--mount"), QStringLiteral("--"), QStringLiteral("test"),
                    QStringLiteral("-e"), path});
        test.waitForFinished(30000);
        return test.exitStatus() == QProcess::NormalExit && test.exitCode() == 0;
    }

private:
    QProcess m_holder;
};

// Waits until the process prints the line.
bool waitForLine(QProcess& process, const QByteArray& wanted)
{
    while (true) {
        while (process.canReadLine()) {
            if (process.readLine().trimmed() == wanted)
                return true;
        }
        if (process.state() == QProcess::NotRunning || !process.waitForReadyRead(120000))
            return false;
    }
}

} // namespace

class TestStartup : public QObject
{
    Q_OBJECT

private:
    QByteArray m_runtime = qgetenv("XDG_RUNTIME_DIR");

private slots:
    void init()
    {
        TestEnvironment::freshHome();
        qputenv("XDG_RUNTIME_DIR", m_runtime);
        qunsetenv("TMPDIR");
    }

    void databaseFolderIsAPlainFile()
    {
        LT_REQUIRE_NETNS();
        QVERIFY(QDir().mkpath(QDir::homePath() + "/Documents"));
        QFile plain(QDir::homePath() + "/Documents/lumatrove");
        QVERIFY(plain.open(QIODevice::WriteOnly));
        plain.close();

        PrivateRun ns;
        QVERIFY(ns.start(false));
        QStringList lines;
        QCOMPARE(ns.run({QStringLiteral("--report")}, &lines), 3);
        QCOMPARE(lines.size(), 2);
        QVERIFY2(lines.at(0).startsWith("BOX warning|m_DB.open()|"), qPrintable(lines.at(0)));
        QCOMPARE(lines.at(1), "BOX warning|Lumatrove|Can not open or create the database.");
    }

    // 4 KiB of random bytes in the middle of a database of 400 rank rows. The load took
    // the read error for the end of the rows: the program started silently on part of
    // the history and went on writing into the damaged file.
    void damagedDatabaseFailsTheStart()
    {
        LT_REQUIRE_NETNS();
        {
            SqlDb store;
            QVERIFY(store.SetConfigValue(QStringLiteral("DB_VER"), 1001));
            QSqlQuery query(store.m_DB);
            QVERIFY(query.exec(
                QStringLiteral("INSERT INTO Website VALUES('site.test', '2026-01-01T08:00:00', "
                               "'www.google.com?English?United States', 'k')")));
            query.prepare(QStringLiteral("INSERT INTO UpdateFlow VALUES(?, 'site.test', "
                                         "'www.google.com', 'k', ?, ?, 'http://site.test/', "
                                         "'English')"));
            for (int i = 1; i <= 400; ++i) {
                query.addBindValue(i);
                query.addBindValue(QStringLiteral("2026-01-01T10:00:00"));
                query.addBindValue(i % 100 + 1);
                QVERIFY(query.exec());
            }
        }
        QFile file(SqlDb::DatabasePath());
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.seek(file.size() / 2));
        QRandomGenerator random(13);
        QByteArray noise(4096, Qt::Uninitialized);
        for (char& byte : noise)
            byte = char(random.bounded(256));
        QCOMPARE(file.write(noise), qint64(noise.size()));
        QVERIFY(file.seek(0));
        const QByteArray damaged = file.readAll();
        file.close();

        PrivateRun ns;
        QVERIFY(ns.start(false));
        QStringList lines;
        QCOMPARE(ns.run({QStringLiteral("--report")}, &lines), 3);
        QCOMPARE(lines.size(), 2);
        const QString prefix =
            QStringLiteral("BOX warning|Lumatrove|Can not read the database %1: ")
                .arg(SqlDb::DatabasePath());
        QVERIFY2(lines.at(0).startsWith(prefix) && lines.at(0).size() > prefix.size(),
                 qPrintable(lines.at(0)));
        QCOMPARE(lines.at(1), "BOX warning|Lumatrove|Can not open or create the database.");
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll() == damaged);
    }

    void titleAndSize()
    {
        LT_REQUIRE_NETNS();
        PrivateRun ns;
        QVERIFY(ns.start(false));
        QStringList lines;
        QCOMPARE(ns.run({QStringLiteral("--report")}, &lines), 0);
        QCOMPARE(lines, QStringList{"WINDOW Lumatrove 1.7.7|1000x580|visible"});
        QVERIFY(QFile::exists(QDir::homePath() + "/Documents/lumatrove/Lumatrove.DB"));
        QVERIFY(ns.existsInside("/run/" + kLockName));
    }

    void secondInstanceIsRefused_data()
    {
        QTest::addColumn<bool>("runReadOnly");
        QTest::addColumn<bool>("withRuntimeFolder");
        QTest::addColumn<QString>("where");
        QTest::newRow("/run writable") << false << true << "run";
        QTest::newRow("/run read-only") << true << true << "runtime";
        QTest::newRow("/run read-only, no runtime folder") << true << false << "tmp";
    }

    void secondInstanceIsRefused()
    {
        LT_REQUIRE_NETNS();
        QFETCH(bool, runReadOnly);
        QFETCH(bool, withRuntimeFolder);
        QFETCH(QString, where);

        QTemporaryDir tmp;
        QVERIFY(tmp.isValid());
        qputenv("TMPDIR", QFile::encodeName(tmp.path()));
        QDir(QString::fromLocal8Bit(m_runtime)).remove(kLockName);
        if (!withRuntimeFolder)
            qunsetenv("XDG_RUNTIME_DIR");

        PrivateRun ns;
        QVERIFY(ns.start(runReadOnly));
        QProcess first;
        ns.launch(first, {QStringLiteral("--stay")});
        QVERIFY(waitForLine(first, "READY"));

        QStringList lines;
        QCOMPARE(ns.run({QStringLiteral("--report")}, &lines), 1);
        QCOMPARE(lines, QStringList());
        QCOMPARE(first.state(), QProcess::Running);

        const QString runtimeLock = QString::fromLocal8Bit(m_runtime) + '/' + kLockName;
        const QString tmpLock = tmp.path() + '/' + kLockName + "-0";
        QCOMPARE(ns.existsInside("/run/" + kLockName), where == "run");
        QCOMPARE(QFile::exists(runtimeLock), where == "runtime");
        QCOMPARE(QFile::exists(tmpLock), where == "tmp");

        // Once the first instance has ended, the next one starts.
        first.kill();
        QVERIFY(first.waitForFinished(30000));
        QCOMPARE(ns.run({QStringLiteral("--report")}, &lines), 0);
        QCOMPARE(lines, QStringList{"WINDOW Lumatrove 1.7.7|1000x580|visible"});
    }

    void startedProgramDoesNotHoldTheLock()
    {
        LT_REQUIRE_NETNS();
        PrivateRun ns;
        QVERIFY(ns.start(false));
        QStringList lines;
        QCOMPARE(ns.run({QStringLiteral("--spawn"), QStringLiteral("sleep"), QStringLiteral("300")},
                        &lines),
                 0);
        QCOMPARE(lines.size(), 2);
        QVERIFY(lines.at(1).startsWith("CHILD "));
        const pid_t child = pid_t(lines.at(1).mid(6).toLongLong());
        QVERIFY(child > 0);
        QCOMPARE(::kill(child, 0), 0); // still running

        const int second = ns.run({QStringLiteral("--report")}, &lines);
        ::kill(child, SIGKILL);
        QCOMPARE(second, 0);
        QCOMPARE(lines, QStringList{"WINDOW Lumatrove 1.7.7|1000x580|visible"});
    }
};

LT_TEST_MAIN_NETNS(TestStartup)
#include "tst_startup.moc"
