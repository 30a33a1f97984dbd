#include "AddWebsiteView.h"
#include "RMainWindow.h"
#include "RankHistory.h"
#include "RankMain.h"
#include "StoreFixture.h"
#include "TestMain.h"

namespace {

QVariantList scheduleRows(SqlDb& store)
{
    return StoreFixture::values(
        store, "SELECT Website, Type, Days, StartTime, StartMode FROM Schedual ORDER BY rowid");
}

} // namespace

class TestWizardSchedule : public QObject
{
    Q_OBJECT

    RMainWindow* m_window = nullptr;

private slots:
    void init()
    {
        StoreFixture::freshHome();
        m_window = new RMainWindow;
        s_wndRMainWindow = m_window;
    }

    void cleanup()
    {
        delete m_window;
        m_window = nullptr;
    }

    // Which widgets are enabled for each state of the box and the radios.
    void enabling_data()
    {
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<int>("dayRadio");   // 0 every day, 1 week, 2 month
        QTest::addColumn<int>("startRadio"); // 0 on time, 1 on launch
        QTest::addColumn<bool>("weekButtons");
        QTest::addColumn<bool>("monthCombo");
        QTest::addColumn<bool>("time");
        QTest::newRow("off, week, time") << false << 1 << 0 << false << false << false;
        QTest::newRow("on, every day, time") << true << 0 << 0 << false << false << true;
        QTest::newRow("on, week, launch") << true << 1 << 1 << true << false << false;
        QTest::newRow("on, month, time") << true << 2 << 0 << false << true << true;
        QTest::newRow("off, month, launch") << false << 2 << 1 << false << false << false;
    }

    void enabling()
    {
        QFETCH(bool, enabled);
        QFETCH(int, dayRadio);
        QFETCH(int, startRadio);
        QFETCH(bool, weekButtons);
        QFETCH(bool, monthCombo);
        QFETCH(bool, time);
        AddWebsiteView page(nullptr, m_window->Hub(), nullptr);
        Ui_AddWebsiteView& ui = page.ui;
        // The radios are set while the box is on, then the box takes its state: the
        // slots alone must bring every widget into line.
        ui.checkEnableSchedual->setChecked(true);
        QRadioButton* days[] = {ui.radioEveryDay, ui.radioDayOfWeek, ui.radioDayOfMonth};
        days[dayRadio]->setChecked(true);
        (startRadio ? ui.radioStartOnRun : ui.radioStartOnTime)->setChecked(true);
        ui.checkEnableSchedual->setChecked(enabled);

        for (QRadioButton* radio : {ui.radioEveryDay, ui.radioDayOfWeek, ui.radioDayOfMonth,
                                    ui.radioStartOnTime, ui.radioStartOnRun})
            QCOMPARE(radio->isEnabled(), enabled);
        for (QWidget* button :
             {ui.btnW1, ui.btnW2, ui.btnW3, ui.btnW4, ui.btnW5, ui.btnW6, ui.btnW7})
            QCOMPARE(button->isEnabled(), weekButtons);
        QCOMPARE(ui.cbDayOfMonth->isEnabled(), monthCombo);
        QCOMPARE(ui.timeStart->isEnabled(), time);
        QVERIFY(ui.groupBoxStartMode->isEnabled());
    }

    void weekMask_data()
    {
        QTest::addColumn<QStringList>("buttons");
        QTest::addColumn<qint64>("mask");
        QTest::newRow("none") << QStringList{} << qint64(0);
        QTest::newRow("Monday") << QStringList{"btnW1"} << qint64(1);
        QTest::newRow("weekend") << QStringList{"btnW6", "btnW7"} << qint64(96);
        QTest::newRow("Tuesday and Sunday") << QStringList{"btnW2", "btnW7"} << qint64(66);
        QTest::newRow("all") << QStringList{"btnW1", "btnW2", "btnW3", "btnW4",
                                            "btnW5", "btnW6", "btnW7"}
                             << qint64(127);
    }

    void weekMask()
    {
        QFETCH(QStringList, buttons);
        QFETCH(qint64, mask);
        AddWebsiteView page(nullptr, m_window->Hub(), nullptr);
        const QStringList all{"btnW1", "btnW2", "btnW3", "btnW4", "btnW5", "btnW6", "btnW7"};
        for (const QString& name : buttons)
            page.findChild<QPushButton*>(name)->setChecked(true);
        QCOMPARE(page.GetWeekMutliSel(), mask);

        AddWebsiteView other(nullptr, m_window->Hub(), nullptr);
        other.findChild<QPushButton*>("btnW3")->setChecked(true);
        // Bits above Sunday are ignored.
        other.SetWeekMutliSel(static_cast<unsigned long>(mask) | 0x180UL);
        for (const QString& name : all)
            QCOMPARE(other.findChild<QPushButton*>(name)->isChecked(), buttons.contains(name));
    }

    void gainSchedual_data()
    {
        QTest::addColumn<int>("dayRadio");
        QTest::addColumn<int>("startRadio");
        QTest::addColumn<int>("type");
        QTest::addColumn<quint64>("days");
        QTest::newRow("every day on time") << 0 << 0 << 0 << quint64(0);
        QTest::newRow("weekdays on launch") << 1 << 1 << 1 << quint64(96);
        QTest::newRow("day 28 on time") << 2 << 0 << 2 << quint64(28);
    }

    void gainSchedual()
    {
        QFETCH(int, dayRadio);
        QFETCH(int, startRadio);
        QFETCH(int, type);
        QFETCH(quint64, days);
        AddWebsiteView page(nullptr, m_window->Hub(), nullptr);
        Ui_AddWebsiteView& ui = page.ui;
        ui.lineUrl->setText("  shop.example ");
        SCHEDUAL record;
        record.Type = 9;
        QVERIFY(!page.GainSchedual(record));
        QCOMPARE(record.Type, 9);
        QVERIFY(record.Website.isEmpty());

        ui.checkEnableSchedual->setChecked(true);
        QRadioButton* radios[] = {ui.radioEveryDay, ui.radioDayOfWeek, ui.radioDayOfMonth};
        radios[dayRadio]->setChecked(true);
        ui.btnW6->setChecked(true);
        ui.btnW7->setChecked(true);
        ui.cbDayOfMonth->setCurrentIndex(27);
        (startRadio ? ui.radioStartOnRun : ui.radioStartOnTime)->setChecked(true);
        ui.timeStart->setTime(QTime(23, 59, 30));
        QVERIFY(page.GainSchedual(record));
        QCOMPARE(record.Website, QStringLiteral("shop.example"));
        QCOMPARE(record.Type, type);
        QCOMPARE(record.Days, days);
        QCOMPARE(record.StartMode, startRadio);
        // The time is kept in both start modes, without seconds.
        QCOMPARE(record.StartTime, QTime(23, 59, 0));
        QVERIFY(record.LastRunDay.isNull());
    }

    // Stored once, then updated: one entry, the old run day kept in memory.
    void storeAndRemove()
    {
        RankMain* hub = m_window->Hub();
        AddWebsiteView page(nullptr, hub, nullptr);
        SCHEDUAL first;
        first.Website = "shop.example";
        first.Type = 1;
        first.Days = 5;
        first.StartTime = QTime(8, 0);
        page.UpdateOrAddSchedualToDBAndMem(first);
        QCOMPARE(hub->m_vSchedual.size(), std::size_t(1));
        QCOMPARE(scheduleRows(hub->m_Sqldb), (QVariantList{"shop.example", 1, 5, "08:00:00", 0}));

        hub->m_vSchedual[0].LastRunDay = QDate(2026, 2, 2);
        SCHEDUAL second = first;
        second.Type = 2;
        second.Days = 3;
        second.StartMode = 1;
        second.StartTime = QTime(9, 15);
        page.UpdateOrAddSchedualToDBAndMem(second);
        QCOMPARE(hub->m_vSchedual.size(), std::size_t(1));
        QCOMPARE(hub->m_vSchedual[0].Type, 2);
        QCOMPARE(hub->m_vSchedual[0].StartTime, QTime(9, 15));
        QCOMPARE(hub->m_vSchedual[0].LastRunDay, QDate(2026, 2, 2));
        QCOMPARE(scheduleRows(hub->m_Sqldb), (QVariantList{"shop.example", 2, 3, "09:15:00", 1}));

        SCHEDUAL other = first;
        other.Website = "other.example";
        page.UpdateOrAddSchedualToDBAndMem(other);
        page.DeleteSchedualInDBAndMem("shop.example");
        QCOMPARE(hub->m_vSchedual.size(), std::size_t(1));
        QCOMPARE(hub->m_vSchedual[0].Website, QStringLiteral("other.example"));
        QCOMPARE(scheduleRows(hub->m_Sqldb).value(0), QVariant("other.example"));
        QCOMPARE(scheduleRows(hub->m_Sqldb).size(), 5);
        page.DeleteSchedualInDBAndMem("nothing.example");
        QCOMPARE(hub->m_vSchedual.size(), std::size_t(1));
    }
};

LT_TEST_MAIN(TestWizardSchedule)
#include "tst_wizardschedule.moc"
