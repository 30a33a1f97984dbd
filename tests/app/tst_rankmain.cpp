#include "LTException.h"
#include "ParamEvent.h"
#include "RMainWindow.h"
#include "RankMain.h"
#include "StoreFixture.h"
#include "TestMain.h"

#include <QDialog>
#include <QEventLoop>
#include <QLayout>
#include <QPointer>
#include <QSettings>
#include <QTimer>

namespace {

// Counts the events of one type that reach an object.
class EventCounter : public QObject
{
public:
    EventCounter(QObject* target, QEvent::Type type) : m_type(type)
    {
        target->installEventFilter(this);
    }
    int count = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == m_type)
            ++count;
        return QObject::eventFilter(watched, event);
    }

private:
    QEvent::Type m_type;
};

RANK_DATA* history(std::initializer_list<LTInt64> updateNumbers)
{
    auto* data = new RANK_DATA;
    for (LTInt64 number : updateNumbers) {
        FLOW_ITEM item;
        item.UpdateNo = number;
        data->FlowItems.push_back(item);
    }
    return data;
}

using StoreFixture::exec;

QList<LTInt64> updateNumbersOf(const RANK_DATA* data)
{
    QList<LTInt64> numbers;
    for (const FLOW_ITEM& item : data->FlowItems)
        numbers.append(item.UpdateNo);
    return numbers;
}

} // namespace

class TestRankMain : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QCoreApplication::setOrganizationName(QStringLiteral("Brindlecor"));
        QCoreApplication::setApplicationName(QStringLiteral("Lumatrove"));
    }

    void init() { StoreFixture::freshHome(); }

    // The patterns come from the embedded file, one per index, nothing beyond.
    void patternsOfTheEmbeddedFile()
    {
        RankMain hub;
        const QStringList patterns = hub.LoadRegexps();
        QCOMPARE(patterns.size(), int(REGEXP_Count));
        QVERIFY(patterns.at(0).startsWith(QStringLiteral("<li>\\s*<a\\s+class=\"sb_pagN ")));
        for (int i = 0; i < REGEXP_Count; ++i) {
            QVERIFY(!patterns.at(i).isEmpty());
            QCOMPARE(hub.GetRegexp(REGEXP_INDEX(i)), patterns.at(i));
        }
        QCOMPARE(hub.GetRegexp(REGEXP_INDEX(REGEXP_Count)), QString());
    }

    void settingDefaults_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QVariant>("expected"); // invalid: any non-empty text

        QTest::newRow("OnlyProxy") << 0 << "OnlyProxy" << QVariant(0);
        QTest::newRow("CompanyName") << 1 << "REPORT_CompanyName" << QVariant();
        QTest::newRow("Adress") << 2 << "REPORT_Adress" << QVariant();
        QTest::newRow("Tel") << 3 << "REPORT_Tel" << QVariant();
        QTest::newRow("Email") << 4 << "REPORT_Email" << QVariant();
        QTest::newRow("Website") << 5 << "REPORT_Website" << QVariant();
        QTest::newRow("Facebook") << 6 << "REPORT_Facebook" << QVariant();
        QTest::newRow("Twitter") << 7 << "REPORT_Twitter" << QVariant();
        QTest::newRow("LinkedIn") << 8 << "REPORT_LinkedIn" << QVariant();
        QTest::newRow("LogoFile") << 9 << "REPORT_LogoFile"
                                  << QVariant(QStringLiteral("./logo.png"));
        QTest::newRow("OutputPath") << 10 << "REPORT_OutputPath" << QVariant(QStringLiteral("./"));
    }

    void settingDefaults()
    {
        QFETCH(int, index);
        QFETCH(QString, key);
        QFETCH(QVariant, expected);
        const auto setting = SETTINGS(index);

        RankMain hub;
        const QVariant value = hub.GetSettingValue(setting);
        if (expected.isValid()) {
            QCOMPARE(value.typeId(), expected.typeId());
            QCOMPARE(value, expected);
        } else {
            QCOMPARE(value.typeId(), int(QMetaType::QString));
            QVERIFY(!value.toString().isEmpty());
        }

        // Written under its key, read back by the next hub.
        hub.SetSettingValue(setting, QStringLiteral("changed %1").arg(index));
        QCOMPARE(QSettings().value(key), QVariant(QStringLiteral("changed %1").arg(index)));
        RankMain next;
        QCOMPARE(next.GetSettingValue(setting), QVariant(QStringLiteral("changed %1").arg(index)));
    }

    void emptyDatabase()
    {
        auto* hub = new RankMain;
        EventCounter addWebsite(hub, QEvent::Type(1021));
        QVERIFY(hub->m_Sqldb.m_DB.isOpen());
        QVERIFY(hub->m_vWebsites.empty());
        QVERIFY(hub->m_vRankData.empty());
        QCOMPARE(hub->GetLastUpdateNo(), LTInt64(0));
        QVERIFY(!hub->m_bUpdateRunning);
        QCOMPARE(hub->m_nCurrentView, 0);
        QCOMPARE(hub->m_nPreviousView, 5);
        QCOMPARE(RankHub::Current(), static_cast<RankHub*>(hub));

        // Opening the add-website page waits for the event loop.
        QCOMPARE(addWebsite.count, 0);
        QCoreApplication::processEvents();
        QCOMPARE(addWebsite.count, 1);
        QCoreApplication::processEvents();
        QCOMPARE(addWebsite.count, 1);

        delete hub;
        QCOMPARE(RankHub::Current(), nullptr);
    }

    void loadsTheStoredModel()
    {
        {
            SqlDb store;
            const QString flow = "INSERT INTO UpdateFlow VALUES(?,?,?,?,?,?,?,?)";
            QVERIFY(exec(store, "INSERT INTO Website VALUES(?,?,?,?)",
                         {"example.com", QVariant(), "www.google.com?English?United States",
                          "shoes\nboots"}));
            // Update number 3 twice: the row inserted last is kept.
            QVERIFY(exec(store, flow,
                         {3, "example.com", "www.google.com", "shoes", "2026-01-01T10:00:00", 5,
                          "http://example.com/a", "English"}));
            QVERIFY(exec(store, flow,
                         {3, "example.com", "www.google.com", "boots", "2026-01-02T10:00:00", 7,
                          "http://example.com/b", "English"}));
            QVERIFY(exec(store, flow,
                         {8, "example.com", "www.google.com", "shoes", "2026-01-03T10:00:00", 4,
                          "http://example.com/a", "English"}));
            // A website that is gone: its row is not loaded, but its number stays in use.
            QVERIFY(exec(store, flow,
                         {20, "gone.example", "www.google.com", "shoes", "2026-01-03T10:00:00", 1,
                          "http://gone.example/", "English"}));
            QVERIFY(exec(store,
                         "INSERT INTO Schedual(Website, Type, Days, StartTime, StartMode) "
                         "VALUES(?,?,?,?,?)",
                         {"example.com", 1, 5, "09:30:00", 0}));
        }

        auto* hub = new RankMain;
        EventCounter addWebsite(hub, QEvent::Type(1021));
        QCOMPARE(hub->m_vWebsites.size(), std::size_t(1));
        QCOMPARE(hub->m_vWebsites[0].Website, QStringLiteral("example.com"));
        QCOMPARE(hub->m_vWebsites[0].Keywords, (QStringList{"shoes", "boots"}));
        QCOMPARE(hub->m_vRankData.size(), std::size_t(2));
        const RANK_DATA* shoes =
            hub->m_vRankData[0]->Keyword == "shoes" ? hub->m_vRankData[0] : hub->m_vRankData[1];
        const RANK_DATA* boots =
            shoes == hub->m_vRankData[0] ? hub->m_vRankData[1] : hub->m_vRankData[0];
        QCOMPARE(updateNumbersOf(shoes), QList<LTInt64>{8});
        QCOMPARE(updateNumbersOf(boots), QList<LTInt64>{3});
        QCOMPARE(hub->GetLastUpdateNo(), LTInt64(20));
        QCOMPARE(hub->m_vSchedual.size(), std::size_t(1));
        QCOMPARE(hub->m_vSchedual[0].Website, QStringLiteral("example.com"));
        QCOMPARE(hub->m_vSchedual[0].Days, quint64(5));

        // The repeat is gone from the file too.
        QCOMPARE(StoreFixture::values(hub->m_Sqldb,
                                      "SELECT UpdateNo, Keyword FROM UpdateFlow ORDER BY UpdateNo"),
                 (QVariantList{3, "boots", 8, "shoes", 20, "shoes"}));

        // There is a website: the add-website page is not opened.
        QCoreApplication::processEvents();
        QCOMPARE(addWebsite.count, 0);
        delete hub;
    }

    void findWebsiteExactly()
    {
        RankMain hub;
        for (const char* url : {"example.com", "Example.com", "example.com/shop", "example.com"}) {
            WEBSITE website;
            website.Website = QString::fromLatin1(url);
            hub.m_vWebsites.push_back(website);
        }
        QCOMPARE(hub.FindWebsite("example.com"), &hub.m_vWebsites[0]);
        QCOMPARE(hub.FindWebsite("Example.com"), &hub.m_vWebsites[1]);
        QCOMPARE(hub.FindWebsite("example.com/shop"), &hub.m_vWebsites[2]);

        for (const char* missing : {"EXAMPLE.COM", "example.com/", " example.com", ""}) {
            try {
                hub.FindWebsite(QString::fromLatin1(missing));
                QFAIL(missing);
            } catch (const LTException& e) {
                QCOMPARE(e.code(), 5);
                QCOMPARE(QByteArray(e.message()), QByteArray());
            }
        }
    }

    void lastUpdateNoOfTheModel_data()
    {
        QTest::addColumn<LTInt64>("stored");
        QTest::addColumn<LTInt64>("expected");
        QTest::newRow("a newest point is higher") << LTInt64(7) << LTInt64(12);
        QTest::newRow("the stored number is higher") << LTInt64(40) << LTInt64(40);
    }

    void lastUpdateNoOfTheModel()
    {
        QFETCH(LTInt64, stored);
        QFETCH(LTInt64, expected);
        RankMain hub;
        hub.m_nLastUpdateNo = stored;
        // Only the newest point of each history counts.
        hub.m_vRankData = {history({3, 5}), history({}), history({30, 12}), history({9})};
        QCOMPARE(hub.GetLastUpdateNo(), expected);
    }

    void rebuildReplacesTheHub()
    {
        RMainWindow window;
        window.resize(1000, 580);
        window.setWindowTitle(RankMain::GetWindowTitle());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QPointer<RankMain> old = window.Hub();
        QCOMPARE(old->MainWidget(), &window);

        QCoreApplication::postEvent(&window, new ParamEvent(-1));
        QCoreApplication::postEvent(&window, new QEvent(QEvent::Type(1002)));
        QCoreApplication::postEvent(&window, new QEvent(QEvent::Type(1003)));
        QTRY_VERIFY(old.isNull());
        RankMain* hub = window.Hub();
        QVERIFY(hub);
        QCOMPARE(hub->MainWidget(), &window);
        QTRY_VERIFY(hub->isVisible());
        QCOMPARE(RankHub::Current(), static_cast<RankHub*>(hub));
        QCOMPARE(window.size(), QSize(1000, 580));
        QCOMPARE(window.windowTitle(), QStringLiteral("Lumatrove 1.7.7"));
        QCOMPARE(window.findChildren<RankMain*>().size(), 1);
    }

    void rebuildFromAModalDialogOfTheOldHub()
    {
        // The program's main loop, with a dialog of the old hub open inside it.
        RMainWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QPointer<RankMain> old = window.Hub();
        EventCounter oldTicks(old, QEvent::Timer);
        auto* dialog = new QDialog(old);

        QPointer<RankMain> fresh;
        bool oldAliveInDialog = false, oldStopped = false, oldHidden = false;
        bool oldAliveAfterDialog = false;
        int freshTicks = 0;
        QEventLoop mainLoop;
        QTimer::singleShot(0, &mainLoop, [&] {
            QTimer::singleShot(0, dialog, [&] {
                QCoreApplication::postEvent(&window, new ParamEvent(-1));
                QTimer::singleShot(200, dialog, [&] {
                    fresh = window.Hub();
                    oldAliveInDialog = !old.isNull();
                    oldStopped = old && old->IsStopped();
                    oldHidden = old && !old->isVisible();
                    auto* counter = new EventCounter(fresh, QEvent::Timer);
                    // Long enough for one tick of the schedule timer.
                    QTimer::singleShot(2700, dialog, [&, counter] {
                        freshTicks = counter->count;
                        delete counter;
                        dialog->accept();
                    });
                });
            });
            dialog->exec();
            // The page's handler goes on after its dialog: its hub must still be there.
            oldAliveAfterDialog = !old.isNull() && old->m_vWebsites.empty();
            QTimer::singleShot(300, &mainLoop, &QEventLoop::quit);
        });
        QTimer::singleShot(20000, &mainLoop, &QEventLoop::quit);
        mainLoop.exec();

        QVERIFY(fresh);
        QVERIFY(fresh != old);
        QCOMPARE(window.Hub(), fresh.data());
        QVERIFY(oldAliveInDialog);
        QVERIFY(oldStopped);
        QVERIFY(oldHidden);
        QVERIFY(oldAliveAfterDialog);
        QCOMPARE(oldTicks.count, 0);
        QVERIFY(freshTicks >= 1);
        // Back in the main loop the old hub is gone.
        QVERIFY(old.isNull());
        QCOMPARE(RankHub::Current(), static_cast<RankHub*>(fresh.data()));
    }
};

LT_TEST_MAIN(TestRankMain)
#include "tst_rankmain.moc"
