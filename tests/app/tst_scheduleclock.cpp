#include "CheckTiming.h"
#include "MessageBoxWatcher.h"
#include "Progress.h"
#include "RankMain.h"
#include "SqlValue.h"
#include "StandInOperation.h"
#include "StoreFixture.h"
#include "TestMain.h"

#include <QLabel>

namespace {

using StoreFixture::exec;

bool addWebsite(SqlDb& store, const QString& website, const QString& engines,
                const QString& keywords)
{
    return exec(store, "INSERT INTO Website VALUES(?,?,?,?)",
                {website, QVariant(), engines, keywords});
}

bool addSchedual(SqlDb& store, const QString& website, int type, quint64 days, QTime start,
                 int mode, QDate lastRun = QDate())
{
    return exec(
        store,
        "INSERT INTO Schedual(Website, Type, Days, StartTime, StartMode, LastRunDay) "
        "VALUES(?,?,?,?,?,?)",
        {website, type, days, SqlValue::fromTime(start), mode, SqlValue::fromDate(lastRun)});
}

QDate storedLastRunDay(SqlDb& store, const QString& website)
{
    const QVariantList day =
        StoreFixture::values(store, "SELECT LastRunDay FROM Schedual WHERE Website=?", {website});
    return day.size() == 1 ? SqlValue::toDate(day.at(0)) : QDate(2000, 1, 1);
}

const QString kEngines = "www.google.com?English?United States\nwww.bing.com?English?United States";

} // namespace

class TestScheduleClock : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { CheckTiming::SetPacingScale(0.001); }

    void init()
    {
        StoreFixture::freshHome();
        RankMain::m_dtPreviousDateTime = QDateTime();
    }

    // Whether one schedule is due on a tick. 2026-12-06 is a Sunday, 12-07 a Monday.
    void dueOnATick_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<quint64>("days");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QDate>("lastRun");
        QTest::addColumn<QDateTime>("previous");
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<bool>("due");

        // "DD hh:mm:ss.zzz" in December 2026, or a whole date; empty: none. Starts at 10:00.
        auto at = [](QString text) {
            if (text.size() < 16)
                text.prepend("2026-12-");
            return QDateTime::fromString(text, "yyyy-MM-dd hh:mm:ss.zzz");
        };
        auto row = [&](const char* name, int type, quint64 days, int mode, int lastRunDay,
                       const char* previous, const char* now, bool due) {
            const QDate lastRun = lastRunDay ? QDate(2026, 12, lastRunDay) : QDate();
            QTest::newRow(name) << type << days << mode << lastRun
                                << (*previous ? at(previous) : QDateTime()) << at(now) << due;
        };
        row("start crossed", 0, 0, 0, 0, "06 09:59:58.000", "06 10:00:00.500", true);
        row("tick exactly at the start", 0, 0, 0, 0, "06 09:59:57.500", "06 10:00:00.000", true);
        row("previous tick exactly at the start", 0, 0, 0, 0, "06 10:00:00.000", "06 10:00:02.500",
            false);
        row("not yet", 0, 0, 0, 0, "06 09:59:55.000", "06 09:59:57.500", false);
        row("long past", 0, 0, 0, 0, "06 11:00:00.000", "06 11:00:02.500", false);
        row("first tick after start of the program", 0, 0, 0, 0, "", "06 10:00:01.000", false);
        row("crossed although it ran today", 0, 0, 0, 6, "06 09:59:59.000", "06 10:00:01.000",
            true);
        row("weekdays: empty mask", 1, 0, 0, 0, "06 09:59:59.000", "06 10:00:01.000", false);
        row("weekdays: Sunday bit on a Sunday", 1, 1 << 6, 0, 0, "06 09:59:59.000",
            "06 10:00:01.000", true);
        row("weekdays: Sunday bit on a Monday", 1, 1 << 6, 0, 0, "07 09:59:59.000",
            "07 10:00:01.000", false);
        row("weekdays: Monday bit on a Monday", 1, 1, 0, 0, "07 09:59:59.000", "07 10:00:01.000",
            true);
        row("weekdays: all but Sunday on a Sunday", 1, 0x3f, 0, 0, "06 09:59:59.000",
            "06 10:00:01.000", false);
        row("day of month 15 on the 15th", 2, 15, 0, 0, "15 09:59:59.000", "15 10:00:01.000", true);
        row("day of month 15 on the 14th", 2, 15, 0, 0, "14 09:59:59.000", "14 10:00:01.000",
            false);
        row("day of month 15 on the 15th of another month", 2, 15, 0, 0, "2027-02-15 09:59:59.000",
            "2027-02-15 10:00:01.000", true);
        row("unknown type: every day", 7, 0, 0, 0, "07 09:59:59.000", "07 10:00:01.000", true);
        row("at program start: first tick", 0, 0, 1, 0, "", "06 08:00:00.000", true);
        row("at program start: ran yesterday", 0, 0, 1, 5, "", "06 08:00:00.000", true);
        row("at program start: ran today", 0, 0, 1, 6, "", "06 08:00:00.000", false);
        row("at program start: later tick", 0, 0, 1, 0, "06 09:59:59.000", "06 10:00:01.000",
            false);
        row("at program start: not on this weekday", 1, 1, 1, 0, "", "06 08:00:00.000", false);
        row("unknown start mode", 0, 0, 2, 0, "", "06 10:00:01.000", false);
        row("unknown start mode, start crossed", 0, 0, 2, 0, "06 09:59:59.000", "06 10:00:01.000",
            false);
    }

    void dueOnATick()
    {
        QFETCH(int, type);
        QFETCH(quint64, days);
        QFETCH(int, mode);
        QFETCH(QDate, lastRun);
        QFETCH(QDateTime, previous);
        QFETCH(QDateTime, now);
        QFETCH(bool, due);
        {
            SqlDb store;
            QVERIFY(addWebsite(store, "example.com", kEngines, ""));
            QVERIFY(addSchedual(store, "example.com", type, days, QTime(10, 0), mode, lastRun));
        }
        StandInRuns runs;
        RankMain hub;
        QCOMPARE(hub.m_vSchedual.size(), std::size_t(1));
        RankMain::m_dtPreviousDateTime = previous;
        hub.CheckSchedualAt(now);

        QCOMPARE(runs.operations, due ? 1 : 0);
        QCOMPARE(RankMain::m_dtPreviousDateTime, now);
        QVERIFY(hub.m_lstDueSchedual.empty());
        const QDate expected = due ? now.date() : lastRun;
        QCOMPARE(hub.m_vSchedual[0].LastRunDay, expected);
        QCOMPARE(storedLastRunDay(hub.m_Sqldb, "example.com"), expected);
    }

    // Schedules due together run one per tick, in the order of the list.
    void queueRunsOnePerTick()
    {
        {
            SqlDb store;
            for (const char* site : {"a.example", "b.example", "c.example"})
                QVERIFY(addWebsite(store, site, kEngines, ""));
            QVERIFY(addSchedual(store, "b.example", 0, 0, QTime(10, 0), 1));
            QVERIFY(addSchedual(store, "c.example", 0, 0, QTime(10, 0), 0));
            QVERIFY(addSchedual(store, "a.example", 0, 0, QTime(10, 0), 1));
        }
        StandInRuns runs;
        RankMain hub;
        const QDate day(2026, 12, 6);
        hub.CheckSchedualAt(QDateTime(day, QTime(9, 0)));
        // b ran; a waits.
        QCOMPARE(runs.operations, 1);
        QCOMPARE(hub.m_vSchedual[0].LastRunDay, day);
        QCOMPARE(hub.m_vSchedual[2].LastRunDay, QDate());
        QCOMPARE(hub.m_lstDueSchedual.size(), std::size_t(1));
        QCOMPARE(hub.m_lstDueSchedual.front().Website, QStringLiteral("a.example"));

        // c falls due on this tick and queues behind a.
        hub.CheckSchedualAt(QDateTime(day, QTime(10, 0, 1)));
        QCOMPARE(runs.operations, 2);
        QCOMPARE(hub.m_vSchedual[2].LastRunDay, day);
        QCOMPARE(storedLastRunDay(hub.m_Sqldb, "a.example"), day);
        QCOMPARE(hub.m_vSchedual[1].LastRunDay, QDate());

        hub.CheckSchedualAt(QDateTime(day, QTime(10, 0, 3)));
        QCOMPARE(runs.operations, 3);
        QCOMPARE(hub.m_vSchedual[1].LastRunDay, day);
        QCOMPARE(storedLastRunDay(hub.m_Sqldb, "c.example"), day);
        QVERIFY(hub.m_lstDueSchedual.empty());

        hub.CheckSchedualAt(QDateTime(day, QTime(10, 0, 6)));
        QCOMPARE(runs.operations, 3);
    }

    // A start-up schedule runs once a day, also across a restart of the program.
    void startUpScheduleOncePerDay()
    {
        {
            SqlDb store;
            QVERIFY(addWebsite(store, "example.com", kEngines, ""));
            QVERIFY(addSchedual(store, "example.com", 0, 0, QTime(10, 0), 1, QDate()));
        }
        StandInRuns runs;
        const QDate day(2026, 12, 6);
        {
            RankMain hub;
            hub.CheckSchedualAt(QDateTime(day, QTime(8, 0)));
            QCOMPARE(runs.operations, 1);
        }
        // A new process on the same day: the clock has not ticked yet.
        RankMain::m_dtPreviousDateTime = QDateTime();
        {
            RankMain hub;
            QCOMPARE(hub.m_vSchedual[0].LastRunDay, day);
            hub.CheckSchedualAt(QDateTime(day, QTime(9, 0)));
            QCOMPARE(runs.operations, 1);
        }
        // And on the next day.
        RankMain::m_dtPreviousDateTime = QDateTime();
        {
            RankMain hub;
            hub.CheckSchedualAt(QDateTime(day.addDays(1), QTime(9, 0)));
            QCOMPARE(runs.operations, 2);
            QCOMPARE(storedLastRunDay(hub.m_Sqldb, "example.com"), day.addDays(1));
        }
    }

    // A rebuilt hub keeps the time of the previous tick.
    void rebuildKeepsThePreviousTick()
    {
        {
            SqlDb store;
            QVERIFY(addWebsite(store, "example.com", kEngines, ""));
            QVERIFY(addSchedual(store, "example.com", 0, 0, QTime(10, 0), 0));
        }
        StandInRuns runs;
        const QDate day(2026, 12, 6);
        {
            RankMain old;
            old.CheckSchedualAt(QDateTime(day, QTime(9, 59, 59)));
        }
        RankMain hub;
        hub.CheckSchedualAt(QDateTime(day, QTime(10, 0, 2)));
        QCOMPARE(runs.operations, 1);
    }

    // Schedules due while another run goes wait in the queue, each queued once, and run
    // one per tick after that run; one whose run fails (website gone) is dropped unrecorded.
    void dueDuringAnotherRun()
    {
        {
            SqlDb store;
            QVERIFY(addWebsite(store, "example.com", kEngines, "shoes"));
            QVERIFY(addWebsite(store, "late.example", kEngines, "boots"));
            QVERIFY(addSchedual(store, "example.com", 0, 0, QTime(10, 0), 1));
            QVERIFY(addSchedual(store, "gone.example", 0, 0, QTime(10, 0), 1));
            QVERIFY(addSchedual(store, "late.example", 0, 0, QTime(8, 0, 1), 0));
        }
        StandInRuns runs;
        RankMain hub;
        const QDate day(2026, 12, 6), next = day.addDays(1);
        auto queued = [&] {
            QStringList sites;
            for (const SCHEDUAL& entry : hub.m_lstDueSchedual)
                sites << entry.Website;
            return sites;
        };

        hub.m_bUpdateRunning = true;
        // The start-up schedules fall due on the first tick, the other one when its time is
        // crossed; the run in progress keeps all of them waiting.
        hub.CheckSchedualAt(QDateTime(day, QTime(8, 0)));
        hub.CheckSchedualAt(QDateTime(day, QTime(8, 0, 2, 500)));
        QCOMPARE(queued(), (QStringList{"example.com", "gone.example", "late.example"}));
        // Still waiting when its time is crossed again the next day: not queued twice.
        hub.CheckSchedualAt(QDateTime(next, QTime(8, 0)));
        hub.CheckSchedualAt(QDateTime(next, QTime(8, 0, 2, 500)));
        QCOMPARE(queued(), (QStringList{"example.com", "gone.example", "late.example"}));
        QCOMPARE(runs.operations, 0);
        QCOMPARE(hub.m_vSchedual[0].LastRunDay, QDate());
        QVERIFY(hub.m_bUpdateRunning);
        hub.m_bUpdateRunning = false;

        hub.CheckSchedualAt(QDateTime(next, QTime(8, 0, 5)));
        QCOMPARE(runs.operations, 1);
        QCOMPARE(runs.queued, (QStringList{"example.com|www.google.com|shoes",
                                           "example.com|www.bing.com|shoes"}));
        QCOMPARE(hub.m_vSchedual[0].LastRunDay, next);
        QCOMPARE(storedLastRunDay(hub.m_Sqldb, "example.com"), next);

        QTest::ignoreMessage(QtCriticalMsg, "scheduled updating error: ");
        hub.CheckSchedualAt(QDateTime(next, QTime(8, 0, 7, 500)));
        QCOMPARE(runs.operations, 1);
        QCOMPARE(hub.m_vSchedual[1].LastRunDay, QDate());
        QCOMPARE(storedLastRunDay(hub.m_Sqldb, "gone.example"), QDate());
        QCOMPARE(queued(), QStringList{"late.example"});

        hub.CheckSchedualAt(QDateTime(next, QTime(8, 0, 10)));
        QCOMPARE(runs.operations, 2);
        QCOMPARE(storedLastRunDay(hub.m_Sqldb, "late.example"), next);
        QVERIFY(hub.m_lstDueSchedual.empty());

        hub.CheckSchedualAt(QDateTime(next, QTime(8, 0, 12, 500)));
        QCOMPARE(runs.operations, 2);
        QVERIFY(!hub.m_bUpdateRunning);
    }

    // A stored proxy of unknown type keeps the run from being built: logged, unrecorded.
    void unknownProxyType()
    {
        {
            SqlDb store;
            QVERIFY(addWebsite(store, "example.com", kEngines, "shoes"));
            QVERIFY(store.appendProxy("10.0.0.1", 8080, "United States", "HTTP", "", "", true));
        }
        RankMain hub;
        SCHEDUAL schedual;
        schedual.Website = "example.com";
        QTest::ignoreMessage(QtCriticalMsg, "scheduled updating error: unsupported proxy type");
        QVERIFY(!hub.ProceeSchedual(schedual));
        QVERIFY(!hub.m_bUpdateRunning);
    }

    // The whole run of a schedule: the pairs not yet successful today, the label, the
    // merge into memory and the file, and today recorded.
    void scheduledRun()
    {
        const QDateTime earlier = QDateTime::currentDateTime().addSecs(-1);
        const bool sameDay = earlier.date() == QDate::currentDate();
        if (!sameDay)
            QSKIP("runs across midnight");
        {
            SqlDb store;
            QVERIFY(addWebsite(store, "example.com", kEngines, "shoes\nboots"));
            QVERIFY(addSchedual(store, "example.com", 0, 0, QTime(10, 0), 1));
            // Already successful today: skipped. Failed today: checked again.
            QVERIFY(exec(store, "INSERT INTO UpdateFlow VALUES(?,?,?,?,?,?,?,?)",
                         {4, "example.com", "www.bing.com", "shoes",
                          SqlValue::fromDateTime(earlier), 9, "", "English"}));
            QVERIFY(exec(store, "INSERT INTO UpdateFlow VALUES(?,?,?,?,?,?,?,?)",
                         {6, "example.com", "www.google.com", "boots",
                          SqlValue::fromDateTime(earlier), 0, "", "English"}));
        }
        StandInRuns runs;
        runs.script("www.google.com", "shoes", 3);
        runs.script("www.google.com", "boots", 101);
        runs.script("www.bing.com", "boots", 0);
        RankMain hub;
        QStringList labels;
        QList<bool> flags;
        runs.onStart = [&](StandInCheck*) {
            auto* progress = hub.findChild<Progress*>();
            labels << (progress ? progress->findChild<QLabel*>("label")->text() : QString());
            flags << hub.m_bUpdateRunning;
        };
        MessageBoxWatcher boxes;
        hub.CheckSchedualAt(QDateTime::currentDateTime());

        QCOMPARE(runs.queued, (QStringList{"example.com|www.google.com|shoes",
                                           "example.com|www.google.com|boots",
                                           "example.com|www.bing.com|boots"}));
        QCOMPARE(labels.size(), 3);
        for (const QString& label : labels)
            QCOMPARE(label, QStringLiteral("example.com scheduled updating remaining keywords..."));
        QCOMPARE(flags, (QList<bool>{true, true, true}));
        QVERIFY(!hub.m_bUpdateRunning);
        QCOMPARE(boxes.boxes().size(), 0);
        QCOMPARE(hub.m_vSchedual[0].LastRunDay, QDate::currentDate());
        QCOMPARE(storedLastRunDay(hub.m_Sqldb, "example.com"), QDate::currentDate());

        QCOMPARE(StoreFixture::values(hub.m_Sqldb, "SELECT UpdateNo, SearchEngine, Keyword, Rank "
                                                   "FROM UpdateFlow ORDER BY UpdateNo"),
                 (QVariantList{4, "www.bing.com", "shoes", 9, 6, "www.google.com", "boots", 101, 7,
                               "www.google.com", "shoes", 3, 8, "www.bing.com", "boots", 0}));
    }

    // Every pair already successful today: counts as run, no dialog, nothing queued.
    void scheduleWithNothingLeft()
    {
        const QDateTime earlier = QDateTime::currentDateTime().addSecs(-1);
        if (earlier.date() != QDate::currentDate())
            QSKIP("runs across midnight");
        {
            SqlDb store;
            QVERIFY(
                addWebsite(store, "example.com", "www.google.com?English?United States", "shoes"));
            QVERIFY(exec(store, "INSERT INTO UpdateFlow VALUES(?,?,?,?,?,?,?,?)",
                         {4, "example.com", "www.google.com", "shoes",
                          SqlValue::fromDateTime(earlier), 101, "", "English"}));
        }
        StandInRuns runs;
        RankMain hub;
        SCHEDUAL schedual;
        schedual.Website = "example.com";
        QVERIFY(hub.ProceeSchedual(schedual));
        QCOMPARE(runs.queued, QStringList());
        QCOMPARE(hub.findChildren<Progress*>().size(), 0);
        QVERIFY(!hub.m_bUpdateRunning);
    }

    // No environment can serve the checks: counts as run, no message.
    void scheduleThatCannotStart()
    {
        QVERIFY(StoreFixture::storeWebsite("example.com", kEngines, "shoes"));
        StandInRuns runs;
        RankMain hub;
        hub.SetSettingValue(SETTING_OnlyProxy, 1);
        MessageBoxWatcher boxes;
        SCHEDUAL schedual;
        schedual.Website = "example.com";
        QVERIFY(hub.ProceeSchedual(schedual));
        QCOMPARE(runs.queued.size(), 2);
        QCOMPARE(runs.started.size(), 0);
        QCOMPARE(boxes.boxes().size(), 0);
        QVERIFY(!hub.m_bUpdateRunning);
        QCOMPARE(hub.m_vRankData.size(), std::size_t(0));
    }

    // The hub's timer runs the clock.
    void timerTicks()
    {
        {
            SqlDb store;
            QVERIFY(addWebsite(store, "example.com", kEngines, ""));
            QVERIFY(addSchedual(store, "example.com", 0, 0, QTime(10, 0), 1));
        }
        StandInRuns runs;
        RankMain hub;
        QVERIFY(RankMain::m_dtPreviousDateTime.isNull());
        QTRY_VERIFY_WITH_TIMEOUT(!RankMain::m_dtPreviousDateTime.isNull(), 6000);
        QCOMPARE(runs.operations, 1);
        QCOMPARE(hub.m_vSchedual[0].LastRunDay, RankMain::m_dtPreviousDateTime.date());
    }
};

LT_TEST_MAIN(TestScheduleClock)
#include "tst_scheduleclock.moc"
