#include "CheckTiming.h"
#include "HeaderBar.h"
#include "LimitToolBox.h"
#include "MessageBoxWatcher.h"
#include "Progress.h"
#include "RMainWindow.h"
#include "RankHistory.h"
#include "RankMain.h"
#include "SqlValue.h"
#include "StandInOperation.h"
#include "StoreFixture.h"
#include "TestMain.h"
#include "UpdateRun.h"
#include "WebsiteView.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QSqlQuery>
#include <QTableWidget>
#include <QTimer>

namespace {

using StoreFixture::boxLines;
using StoreFixture::exec;
using StoreFixture::texts;

bool addWebsite(SqlDb& store, const QString& website, const QString& engines,
                const QString& keywords)
{
    return exec(store, "INSERT INTO Website VALUES(?,?,?,?)",
                {website, QVariant(), engines, keywords});
}

bool addRow(SqlDb& store, LTInt64 number, const QString& website, const QString& engine,
            const QString& keyword, const QDateTime& time, int rank)
{
    return exec(
        store, "INSERT INTO UpdateFlow VALUES(?,?,?,?,?,?,?,?)",
        {number, website, engine, keyword, SqlValue::fromDateTime(time), rank, "", "English"});
}

// "number website engine keyword rank" per stored row.
QStringList storedRows(SqlDb& store)
{
    QSqlQuery query(store.m_DB);
    query.exec("SELECT UpdateNo, Website, SearchEngine, Keyword, Rank FROM UpdateFlow ORDER BY "
               "UpdateNo, rowid");
    QStringList rows;
    while (query.next())
        rows << QStringList{query.value(0).toString(), query.value(1).toString(),
                            query.value(2).toString(), query.value(3).toString(),
                            query.value(4).toString()}
                    .join(' ');
    return rows;
}

// Records, with every box, whether a run was still marked as running.
class FlagAtBox : public MessageBoxWatcher
{
public:
    explicit FlagAtBox(RankMain& hub) : m_hub(hub) {}
    int show(const Request& request) override
    {
        flagAtBox << m_hub.m_bUpdateRunning;
        return MessageBoxWatcher::show(request);
    }
    QList<bool> flagAtBox;

private:
    RankMain& m_hub;
};

const QString G = "www.google.com";
const QString B = "www.bing.com";
const QString kTwoEngines =
    "www.google.com?English?United States\nwww.bing.com?English?United States";
const QString kNoProxy =
    "No proxy is selected for the specified countries. Can not start update process.";

// What a run's dialog showed when its checks started.
struct DialogSeen {
    QStringList labels;
    QList<QWidget*> parents;
    QList<bool> flags;
};

void watchDialog(StandInRuns& runs, RankMain& hub, DialogSeen& seen)
{
    runs.onStart = [&hub, &seen](StandInCheck*) {
        // The checks start before the dialog's loop runs: look for the dialog itself.
        Progress* progress = nullptr;
        for (QWidget* widget : QApplication::allWidgets()) {
            if (auto* candidate = qobject_cast<Progress*>(widget))
                progress = candidate;
        }
        seen.labels << (progress ? progress->findChild<QLabel*>("label")->text() : "<none>");
        seen.parents << (progress ? progress->parentWidget() : nullptr);
        seen.flags << hub.m_bUpdateRunning;
    };
}

void clickCancelSoon()
{
    QTimer::singleShot(100, [] {
        if (auto* progress = qobject_cast<Progress*>(QApplication::activeModalWidget()))
            progress->findChild<QPushButton*>("pushButton")->click();
    });
}

} // namespace

class TestUpdateRun : public QObject
{
    Q_OBJECT

    QDateTime earlier; // today, a moment ago

private slots:
    void initTestCase() { CheckTiming::SetPacingScale(0.001); }

    void init()
    {
        StoreFixture::freshHome();
        earlier = QDateTime::currentDateTime().addSecs(-2);
        if (earlier.date() != QDate::currentDate())
            QSKIP("runs across midnight");
    }

    // Every driver returns at once, silently, while a run is in progress.
    void busyHubRefusesEveryDriver()
    {
        QVERIFY(StoreFixture::storeWebsite("example.com", kTwoEngines, "shoes"));
        StandInRuns runs;
        RankMain hub;
        QWidget page;
        MessageBoxWatcher boxes;
        int refreshed = 0;
        auto refresh = [&] { ++refreshed; };
        hub.m_bUpdateRunning = true;
        UpdateRun::Overview(hub, &page, 0, refresh);
        UpdateRun::Overview(hub, &page, -1, refresh);
        UpdateRun::Keyword(hub, &page, &hub.m_vWebsites[0], QString("shoes"), refresh);
        UpdateRun::Keyword(hub, &page, &hub.m_vWebsites[0], std::nullopt, refresh);
        UpdateRun::UpdateAll(hub, &page, 1, refresh);
        UpdateRun::UpdateAll(hub, &page, 0, refresh);
        SCHEDUAL schedual;
        schedual.Website = "example.com";
        QVERIFY(!UpdateRun::Schedule(hub, schedual, refresh));
        QVERIFY(!hub.ProceeSchedual(schedual));
        QCOMPARE(boxes.boxes().size(), 0);
        QCOMPARE(runs.operations, 0);
        QCOMPARE(refreshed, 0);
        QVERIFY(hub.m_bUpdateRunning);
    }

    void overviewRefusals_data()
    {
        QTest::addColumn<QString>("keywords");
        QTest::addColumn<QString>("engines");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("icon");
        QTest::addColumn<QString>("text");
        QTest::newRow("no current page") << "shoes" << kTwoEngines << -1 << "Warning"
                                         << "Please add a website.";
        QTest::newRow("index beyond the list") << "shoes" << kTwoEngines << 1 << "Warning"
                                               << "Please add a website.";
        QTest::newRow("no keywords") << "-" << kTwoEngines << 0 << "Information"
                                     << "All keywords have been updated today.";
        QTest::newRow("no engines") << "shoes"
                                    << "" << 0 << "Information"
                                    << "All keywords have been updated today.";
        QTest::newRow("every pair done today")
            << "shoes\nboots"
            << "www.google.com?English?United States" << 0 << "Information"
            << "All keywords have been updated today.";
    }

    void overviewRefusals()
    {
        QFETCH(QString, keywords);
        QFETCH(QString, engines);
        QFETCH(int, index);
        QFETCH(QString, icon);
        QFETCH(QString, text);
        {
            SqlDb store;
            QVERIFY(addWebsite(store, "example.com", engines, keywords));
            QVERIFY(addRow(store, 1, "example.com", G, "shoes", earlier, 101));
            QVERIFY(addRow(store, 2, "example.com", G, "boots", earlier, 3));
        }
        StandInRuns runs;
        RankMain hub;
        // The store always gives at least one keyword.
        if (keywords == "-")
            hub.m_vWebsites[0].Keywords.clear();
        QWidget page;
        MessageBoxWatcher boxes;
        int refreshed = 0;
        UpdateRun::Overview(hub, &page, index, [&] { ++refreshed; });
        QCOMPARE(boxLines(boxes), QStringList{icon + "|Lumatrove|" + text});
        QCOMPARE(boxes.boxes()[0].parent, &page);
        QCOMPARE(boxes.boxes()[0].buttons, int(MessageBoxHook::Ok));
        QCOMPARE(runs.operations, 0);
        QCOMPARE(refreshed, 0);
        QVERIFY(!hub.m_bUpdateRunning);
    }

    // The overview's run: keywords by engines, without the pairs done today; the label,
    // the flag, the merge and the refresh.
    void overviewRun()
    {
        const QDateTime yesterday = earlier.addDays(-1);
        {
            SqlDb store;
            QVERIFY(addWebsite(store, "other.example", kTwoEngines, "shoes"));
            QVERIFY(addWebsite(store, "example.com", kTwoEngines, "shoes\nboots\nhats"));
            QVERIFY(addRow(store, 3, "example.com", B, "boots", earlier, 8));
            QVERIFY(addRow(store, 5, "example.com", G, "hats", earlier, 0));
            QVERIFY(addRow(store, 6, "example.com", G, "shoes", yesterday, 40));
        }
        StandInRuns runs;
        runs.script(G, "shoes", 12);
        runs.script(B, "shoes", 101);
        runs.script(G, "boots", 0);
        runs.script(G, "hats", 2);
        runs.script(B, "hats", 77);
        RankMain hub;
        QWidget page;
        DialogSeen seen;
        watchDialog(runs, hub, seen);
        MessageBoxWatcher boxes;
        QStringList rowsAtRefresh;
        QList<bool> flagAtRefresh;
        UpdateRun::Overview(hub, &page, 1, [&] {
            rowsAtRefresh = storedRows(hub.m_Sqldb);
            flagAtRefresh << hub.m_bUpdateRunning;
        });

        QCOMPARE(runs.operations, 1);
        QCOMPARE(runs.queued,
                 (QStringList{"example.com|www.google.com|shoes", "example.com|www.bing.com|shoes",
                              "example.com|www.google.com|boots", "example.com|www.google.com|hats",
                              "example.com|www.bing.com|hats"}));
        QCOMPARE(runs.started.size(), 5);
        QCOMPARE(seen.labels, QStringList(5, "Updating remaining keywords..."));
        QCOMPARE(seen.parents, QList<QWidget*>(5, &page));
        QCOMPARE(seen.flags, QList<bool>(5, true));
        QCOMPARE(boxes.boxes().size(), 0);
        QCOMPARE(flagAtRefresh, QList<bool>{true});
        QVERIFY(!hub.m_bUpdateRunning);

        // The failed Google check of "boots" is flushed last; the "hats" point of today is
        // overwritten in place.
        const QStringList expected{
            "3 example.com www.bing.com boots 8",    "5 example.com www.google.com hats 2",
            "6 example.com www.google.com shoes 40", "7 example.com www.google.com shoes 12",
            "8 example.com www.bing.com shoes 101",  "9 example.com www.bing.com hats 77",
            "10 example.com www.google.com boots 0"};
        QCOMPARE(storedRows(hub.m_Sqldb), expected);
        QCOMPARE(rowsAtRefresh, expected);
        RANK_DATA* hats = Find_RankData(hub.m_vRankData, "example.com", G, "hats");
        QVERIFY(hats);
        QCOMPARE(hats->FlowItems.size(), std::size_t(1));
        QCOMPARE(hats->FlowItems[0].Rank, qint16(2));
        QCOMPARE(StatKeywordsHasUpdated(hub.m_vWebsites[1], hub.m_vRankData), LTInt64(5));
    }

    void overviewLabel_data()
    {
        QTest::addColumn<int>("rankToday"); // -1: no point today
        QTest::addColumn<QString>("label");
        QTest::newRow("nothing today") << -1 << "Updating...";
        QTest::newRow("a failed point today") << 0 << "Updating remaining keywords...";
        QTest::newRow("a point today") << 101 << "Updating remaining keywords...";
    }

    void overviewLabel()
    {
        QFETCH(int, rankToday);
        QFETCH(QString, label);
        {
            SqlDb store;
            QVERIFY(addWebsite(store, "example.com", kTwoEngines, "shoes"));
            QVERIFY(addRow(store, 1, "example.com", B, "shoes", earlier.addDays(-3), 5));
            if (rankToday >= 0)
                QVERIFY(addRow(store, 2, "example.com", G, "shoes", earlier, rankToday));
            // Another website's point today does not count.
            QVERIFY(addRow(store, 3, "other.example", G, "shoes", earlier, 5));
        }
        StandInRuns runs;
        RankMain hub;
        QWidget page;
        DialogSeen seen;
        watchDialog(runs, hub, seen);
        UpdateRun::Overview(hub, &page, 0, {});
        QVERIFY(!seen.labels.isEmpty());
        QCOMPARE(seen.labels[0], label);
    }

    // No environment can serve the checks: the run ends first, then the warning.
    void cannotStart()
    {
        {
            SqlDb store;
            QVERIFY(addWebsite(store, "example.com", kTwoEngines, "shoes"));
            QVERIFY(addWebsite(store, "bare.example", "", "shoes"));
        }
        StandInRuns runs;
        RankMain hub;
        hub.SetSettingValue(SETTING_OnlyProxy, 1);
        QWidget page;
        FlagAtBox boxes(hub);
        int refreshed = 0;
        auto refresh = [&] { ++refreshed; };

        UpdateRun::Overview(hub, &page, 0, refresh);
        UpdateRun::Keyword(hub, &page, &hub.m_vWebsites[0], QString("shoes"), refresh);
        UpdateRun::UpdateAll(hub, &page, 2, refresh);
        hub.SetSettingValue(SETTING_OnlyProxy, 0);
        // A website without engines: nothing queued, the same warning.
        UpdateRun::Keyword(hub, &page, &hub.m_vWebsites[1], QString("shoes"), refresh);

        QCOMPARE(boxLines(boxes), QStringList(4, "Warning|Lumatrove|" + kNoProxy));
        for (const MessageBoxHook::Request& box : boxes.boxes())
            QCOMPARE(box.parent, &page);
        QCOMPARE(boxes.flagAtBox, QList<bool>(4, false));
        QCOMPARE(runs.operations, 4);
        QCOMPARE(runs.started.size(), 0);
        QCOMPARE(refreshed, 0);
        QCOMPARE(storedRows(hub.m_Sqldb), QStringList());
    }

    // The keyword page's run: one keyword by every engine, nothing skipped; a failed
    // check leaves today's good point alone.
    void keywordRun()
    {
        {
            SqlDb store;
            QVERIFY(addWebsite(store, "example.com", kTwoEngines, "shoes\nboots"));
            QVERIFY(addRow(store, 7, "example.com", G, "boots", earlier, 5));
            QVERIFY(addRow(store, 9, "example.com", B, "shoes", earlier, 5));
        }
        StandInRuns runs;
        runs.script(G, "boots", 0);
        runs.script(B, "boots", 33);
        RankMain hub;
        QWidget page;
        DialogSeen seen;
        watchDialog(runs, hub, seen);
        MessageBoxWatcher boxes;
        int refreshed = 0;
        UpdateRun::Keyword(hub, &page, &hub.m_vWebsites[0], QString("boots"), [&] { ++refreshed; });
        QCOMPARE(runs.queued, (QStringList{"example.com|www.google.com|boots",
                                           "example.com|www.bing.com|boots"}));
        QCOMPARE(seen.labels, QStringList(2, "Updating..."));
        QCOMPARE(seen.parents, QList<QWidget*>(2, &page));
        QCOMPARE(boxes.boxes().size(), 0);
        QCOMPARE(refreshed, 1);
        QVERIFY(!hub.m_bUpdateRunning);
        QCOMPARE(storedRows(hub.m_Sqldb), (QStringList{"7 example.com www.google.com boots 5",
                                                       "9 example.com www.bing.com shoes 5",
                                                       "10 example.com www.bing.com boots 33"}));
        RANK_DATA* boots = Find_RankData(hub.m_vRankData, "example.com", G, "boots");
        QCOMPARE(boots->FlowItems.size(), std::size_t(1));
        QCOMPARE(boots->FlowItems[0].UpdateNo, LTInt64(7));
        QCOMPARE(boots->FlowItems[0].Rank, qint16(5));

        // No current row.
        UpdateRun::Keyword(hub, &page, &hub.m_vWebsites[0], std::nullopt, [&] { ++refreshed; });
        QCOMPARE(boxLines(boxes), QStringList{"Warning|Lumatrove|Please add a website."});
        QCOMPARE(boxes.boxes()[0].parent, &page);
        QCOMPARE(runs.operations, 1);
    }

    // The header bar's run over every website.
    void updateAll()
    {
        {
            SqlDb store;
            QVERIFY(addWebsite(store, "a.example", kTwoEngines, "shoes\nboots"));
            QVERIFY(addWebsite(store, "b.example", "www.bing.com?English?United States", "hats"));
            QVERIFY(addRow(store, 1, "a.example", B, "shoes", earlier, 4));
        }
        StandInRuns runs;
        RankMain hub;
        QWidget bar;
        DialogSeen seen;
        watchDialog(runs, hub, seen);
        FlagAtBox boxes(hub);
        int refreshed = 0;
        UpdateRun::UpdateAll(hub, &bar, 0, [&] { ++refreshed; });
        QCOMPARE(boxLines(boxes), QStringList{"Warning|Lumatrove|Please add some websites."});
        QCOMPARE(boxes.boxes()[0].parent, &bar);
        QCOMPARE(runs.operations, 0);

        UpdateRun::UpdateAll(hub, &bar, 2, [&] { ++refreshed; });
        QCOMPARE(runs.queued,
                 (QStringList{"a.example|www.google.com|shoes", "a.example|www.google.com|boots",
                              "a.example|www.bing.com|boots", "b.example|www.bing.com|hats"}));
        QCOMPARE(seen.labels, QStringList(4, "Updating remaining keywords..."));
        QCOMPARE(seen.parents, QList<QWidget*>(4, &bar));
        QCOMPARE(refreshed, 1);
        QCOMPARE(storedRows(hub.m_Sqldb).size(), 5);

        // Everything is done today: told so while the run still exists.
        UpdateRun::UpdateAll(hub, &bar, 2, [&] { ++refreshed; });
        QCOMPARE(boxLines(boxes),
                 (QStringList{"Warning|Lumatrove|Please add some websites.",
                              "Information|Lumatrove|All keywords have been updated today."}));
        QCOMPARE(boxes.boxes()[1].parent, &bar);
        QCOMPARE(boxes.flagAtBox, (QList<bool>{false, true}));
        QVERIFY(!hub.m_bUpdateRunning);
        QCOMPARE(refreshed, 1);
        QCOMPARE(runs.operations, 2);
    }

    // The header bar's entry: the combo's count decides, the bar parents the boxes.
    void updateAllFromTheHeaderBar_data()
    {
        QTest::addColumn<int>("websites");
        QTest::newRow("two websites") << 2;
        QTest::newRow("none") << 0;
    }

    void updateAllFromTheHeaderBar()
    {
        QFETCH(int, websites);
        for (int i = 0; i < websites; ++i)
            QVERIFY(StoreFixture::storeWebsite(QString("site%1.example").arg(i), kTwoEngines,
                                               i ? "boots" : "shoes"));
        StandInRuns runs;
        RankMain hub;
        DialogSeen seen;
        watchDialog(runs, hub, seen);
        MessageBoxWatcher boxes;
        hub.m_pHeaderBar->on_pushUpdateAllWebsite_clicked();
        QCOMPARE(runs.queued.size(), 2 * websites);
        QCOMPARE(seen.parents, QList<QWidget*>(2 * websites, hub.m_pHeaderBar));
        QCOMPARE(storedRows(hub.m_Sqldb).size(), 2 * websites);
        QCOMPARE(texts(boxes), websites ? QStringList() : QStringList{"Please add some websites."});
        if (!websites)
            QCOMPARE(boxes.boxes()[0].parent, hub.m_pHeaderBar);
    }

    // The overview's Update button and the main window's event 1002 run the selected
    // website, and the page shows the new ranks.
    void overviewButtonAndEvent1002()
    {
        {
            SqlDb store;
            QVERIFY(addWebsite(store, "a.example", kTwoEngines, "shoes"));
            QVERIFY(
                addWebsite(store, "b.example", "www.google.com?English?United States", "boots"));
        }
        StandInRuns runs;
        runs.script(G, "shoes", 17);
        runs.script(B, "shoes", 23);
        runs.script(G, "boots", 31);
        RMainWindow window;
        s_wndRMainWindow = &window;
        RankMain* hub = window.Hub();
        QVERIFY(hub && hub->m_pWebsiteView);
        WebsiteView* overview = hub->m_pWebsiteView;
        auto* button = overview->findChild<QPushButton*>("btnUpdate");
        auto* table = overview->findChild<QTableWidget*>("tableWidget");
        auto* toolBox = overview->findChild<LimitToolBox*>("toolBoxWebsite");
        QVERIFY(button && table && toolBox);
        MessageBoxWatcher boxes;

        button->click();
        QCOMPARE(runs.queued,
                 (QStringList{"a.example|www.google.com|shoes", "a.example|www.bing.com|shoes"}));
        QCOMPARE(storedRows(hub->m_Sqldb), (QStringList{"1 a.example www.google.com shoes 17",
                                                        "2 a.example www.bing.com shoes 23"}));
        QStringList cells;
        for (int row = 0; row < table->rowCount(); ++row) {
            for (int column = 0; column < table->columnCount(); ++column) {
                if (QTableWidgetItem* item = table->item(row, column))
                    cells << item->text();
            }
        }
        QVERIFY2(cells.contains("17") && cells.contains("23"), qPrintable(cells.join('|')));

        // Select the second website, then ask the window.
        const int page = toolBox->count() - 1;
        toolBox->setCurrentIndex(page);
        QCOMPARE(toolBox->GetWebsiteIndex(page), 1);
        QCoreApplication::postEvent(&window, new QEvent(QEvent::Type(1002)));
        QTRY_COMPARE(storedRows(hub->m_Sqldb).size(), 3);
        QCOMPARE(runs.queued.last(), QStringLiteral("b.example|www.google.com|boots"));

        // Everything is done today: the button tells so.
        button->click();
        QCOMPARE(texts(boxes), QStringList{"All keywords have been updated today."});
        QCOMPARE(boxes.boxes()[0].parent, overview);
        s_wndRMainWindow = nullptr;
    }

    void updateAllFullLabel()
    {
        QVERIFY(StoreFixture::storeWebsite("a.example", kTwoEngines, "shoes"));
        StandInRuns runs;
        RankMain hub;
        QWidget bar;
        DialogSeen seen;
        watchDialog(runs, hub, seen);
        UpdateRun::UpdateAll(hub, &bar, 1, {});
        QCOMPARE(seen.labels, QStringList(2, "Updating..."));
    }

    // Cancel: what ended before it is merged like a whole run; the rest is dropped.
    void cancel_data()
    {
        QTest::addColumn<bool>("oneEnds");
        QTest::newRow("after one check ended") << true;
        QTest::newRow("before any check ended") << false;
    }

    void cancel()
    {
        QFETCH(bool, oneEnds);
        QVERIFY(StoreFixture::storeWebsite("example.com", kTwoEngines, "shoes\nboots"));
        StandInRuns runs;
        runs.script(G, "shoes", oneEnds ? 4 : StandInCheck::kNever);
        runs.script(B, "shoes", StandInCheck::kNever);
        runs.script(G, "boots", StandInCheck::kNever);
        runs.script(B, "boots", StandInCheck::kNever);
        RankMain hub;
        QWidget page;
        MessageBoxWatcher boxes;
        int refreshed = 0;
        clickCancelSoon();
        UpdateRun::Overview(hub, &page, 0, [&] { ++refreshed; });
        QCOMPARE(refreshed, 1);
        QVERIFY(!hub.m_bUpdateRunning);
        QCOMPARE(boxes.boxes().size(), 0);
        QCOMPARE(storedRows(hub.m_Sqldb),
                 oneEnds ? QStringList{"1 example.com www.google.com shoes 4"} : QStringList());
        // Nothing of the dropped checks arrives later.
        QTest::qWait(50);
        QCOMPARE(storedRows(hub.m_Sqldb).size(), oneEnds ? 1 : 0);
        QSqlQuery query(hub.m_Sqldb.m_DB);
        QVERIFY(query.exec("begin"));
        QVERIFY(query.exec("rollback"));
    }

    // A stored proxy of unknown type: the run cannot be built; the flag stays clear.
    void unknownProxyType()
    {
        {
            SqlDb store;
            QVERIFY(addWebsite(store, "example.com", kTwoEngines, "shoes"));
            QVERIFY(store.appendProxy("10.0.0.1", 8080, "United States", "socks4", "", "", true));
        }
        RankMain hub;
        QWidget page;
        FlagAtBox boxes(hub);
        int refreshed = 0;
        auto refresh = [&] { ++refreshed; };
        UpdateRun::Overview(hub, &page, 0, refresh);
        UpdateRun::Keyword(hub, &page, &hub.m_vWebsites[0], QString("shoes"), refresh);
        UpdateRun::UpdateAll(hub, &page, 1, refresh);
        QCOMPARE(boxLines(boxes),
                 QStringList(3, "Warning|Lumatrove|Can not start update process: unsupported "
                                "proxy type."));
        for (const MessageBoxHook::Request& box : boxes.boxes())
            QCOMPARE(box.parent, &page);
        QCOMPARE(boxes.flagAtBox, QList<bool>(3, false));
        QVERIFY(!hub.m_bUpdateRunning);
        QCOMPARE(refreshed, 0);
    }

    // A schedule whose website has both engines: engines outer, keywords inner, and the
    // full label when nothing was skipped.
    void scheduleOrderAndLabel()
    {
        QVERIFY(StoreFixture::storeWebsite("example.com", kTwoEngines, "shoes\nboots"));
        StandInRuns runs;
        RankMain hub;
        DialogSeen seen;
        watchDialog(runs, hub, seen);
        int refreshed = 0;
        SCHEDUAL schedual;
        schedual.Website = "example.com";
        QVERIFY(UpdateRun::Schedule(hub, schedual, [&] { ++refreshed; }));
        QCOMPARE(
            runs.queued,
            (QStringList{"example.com|www.google.com|shoes", "example.com|www.google.com|boots",
                         "example.com|www.bing.com|shoes", "example.com|www.bing.com|boots"}));
        QCOMPARE(seen.labels, QStringList(4, "example.com scheduled updating..."));
        QCOMPARE(seen.parents, QList<QWidget*>(4, &hub));
        QCOMPARE(refreshed, 1);
        QCOMPARE(storedRows(hub.m_Sqldb).size(), 4);
    }
};

LT_TEST_MAIN(TestUpdateRun)
#include "tst_updaterun.moc"
