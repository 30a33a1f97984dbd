#include "KeywordsView.h"
#include "MessageBoxWatcher.h"
#include "PageFixture.h"
#include "PtChartScene.h"
#include "RMainWindow.h"
#include "RankHistory.h"
#include "RankMain.h"
#include "RankPointItem.h"
#include "SqlDb.h"
#include "StandInOperation.h"
#include "TestMain.h"
#include "WebsiteView.h"

#include <QDialog>
#include <QGraphicsView>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QSettings>
#include <QSqlQuery>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QToolBox>

#include <utility>

using namespace PageFixture;

namespace {

const QString G = QStringLiteral("www.google.com");
const QString B = QStringLiteral("www.bing.com");
const QString GoogleUs = QStringLiteral("www.google.com?English?United States");
const QString BingUs = QStringLiteral("www.bing.com?English?United States");

QTableWidget* table(QWidget* page)
{
    return page->findChild<QTableWidget*>(QStringLiteral("tableWidget"));
}

// A store in a fresh HOME holding one website and the update-flow rows given as (engine,
// keyword, "yyyy-MM-ddTHH:mm:ss", rank).
bool store(const QVariantList& site, const QList<QVariantList>& rows = {}, bool freshHome = true)
{
    if (freshHome)
        TestEnvironment::freshHome();
    SqlDb db;
    bool ok = insert(db, "Website", site);
    LTInt64 number = 0;
    for (const QVariantList& row : rows)
        ok = ok && insert(db, "UpdateFlow",
                          {++number, site[0], row[0], row[1], row[2], row[3],
                           QStringLiteral("http://example.com/%1").arg(row[3].toInt()), "English"});
    return ok;
}

// example.com on Google and Bing with "shoes" and "boots", checked three days ago.
bool shoesAndBoots()
{
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       TestEnvironment::freshHome() + "/.config");
    const QString earlier = QDateTime(QDate::currentDate().addDays(-3), QTime(10, 0))
                                .toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
    return store({"example.com", "2024-01-15T09:00:00", GoogleUs + "\n" + BingUs, "shoes\nboots"},
                 {{G, "shoes", earlier, 7}, {G, "boots", earlier, 12}, {B, "boots", earlier, 40}},
                 false);
}

QString cell(KeywordsView* page, const QString& host, int column)
{
    const QStringList row = rowOf(page->ui.tableWidget, host);
    return row.isEmpty() ? QStringLiteral("<no row>") : row.value(column);
}

// Like a real box, lets the chart behind it repaint once while it is open.
class RepaintingBoxes : public MessageBoxWatcher
{
public:
    QWidget* chart = nullptr;
    QImage seen;
    int show(const Request& request) override
    {
        const int answer = MessageBoxWatcher::show(request);
        if (QWidget* view = std::exchange(chart, nullptr))
            seen = view->grab().toImage();
        return answer;
    }
};

// The chart's points as the last pass placed them: "<engine host>|<update number>|x,y".
QStringList chartPoints(const PtChartScene* scene)
{
    QStringList points;
    for (QGraphicsItem* item : scene->items()) {
        const auto* point = static_cast<RankPointItem*>(item);
        points << QStringLiteral("%1|%2|%3,%4")
                      .arg(point->Series()->SearchEngine)
                      .arg(point->Point()->UpdateNo)
                      .arg(point->pos().x())
                      .arg(point->pos().y());
    }
    points.sort();
    return points;
}

} // namespace

// The pages inside the hub: built from the store, switched between, carrying the side
// panel, and running their own updates.
class TestPagesInHub : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { s_wndRMainWindow = nullptr; }

    void overviewShowsTheStoredWebsites()
    {
        QVERIFY(store({"www.example.com", "2026-10-03T09:00:00", GoogleUs + "\n" + BingUs,
                       "garden tools\nrake"},
                      {{G, "garden tools", "2026-12-01T10:00:00", 8},
                       {G, "garden tools", "2026-12-02T10:00:00", 3},
                       {B, "rake", "2026-12-03T10:00:00", 101}}));
        RankMain hub;
        WebsiteView* view = hub.m_pWebsiteView;
        QVERIFY(view);
        QCOMPARE(view->parentWidget(), &hub);
        QVERIFY(hub.layout()->indexOf(view) >= 0);
        QCOMPARE(labelText(*view, "lblWebsite"), QStringLiteral("www.example.com"));
        QCOMPARE(labelText(*view, "lblWebsiteCount"), QStringLiteral("1"));
        QCOMPARE(labelText(*view, "lbl_keywordsCount"), QStringLiteral("2"));
        QTableWidget* t = table(view);
        QCOMPARE(t->rowCount(), 2);
        QCOMPARE(rowOf(t, "garden tools").mid(0, 7),
                 (QStringList{"garden tools", "3", "+5", "+5", "-", "-", "-"}));
        QCOMPARE(rowOf(t, "rake").mid(0, 7),
                 (QStringList{"rake", "-", "-", "-", ">100", "-", "0"}));
        QCOMPARE(view->GetWebsiteInfo_UpdateOn()->text(),
                 QStringLiteral("Updated on : 12/03/2026"));
        QCOMPARE(labelText(*view, "lbl_b_44"), QStringLiteral(">100: 1"));
    }

    void editDialogCoversThePage()
    {
        QVERIFY(store({"www.example.com", "2026-10-03T09:00:00", GoogleUs, "garden tools"}));
        RMainWindow window;
        s_wndRMainWindow = &window;
        window.resize(1000, 580);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        WebsiteView* view = window.Hub()->m_pWebsiteView;
        auto* panel = view->findChild<QTabWidget*>("tabWidget");

        struct Seen {
            bool dialog = false;
            Qt::WindowFlags flags;
            QSize size;
            QPoint topLeft;
            QString title, subtitle;
        } seen;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            seen = {true,          dialog->windowFlags(),       dialog->size(),
                    dialog->pos(), labelText(*dialog, "label"), labelText(*dialog, "label_14")};
            // Wherever the wizard keeps the side panel meanwhile, it leaves the page.
            dialog->layout()->addWidget(panel);
            dialog->findChild<QPushButton*>("btnCancel")->click();
        });
        view->findChild<QPushButton*>("btnEditWebsite")->click();

        QVERIFY(seen.dialog);
        QVERIFY(seen.flags & Qt::FramelessWindowHint);
        QCOMPARE(seen.size, view->size());
        QCOMPARE(seen.topLeft, view->mapToGlobal(QPoint(0, 0)));
        QCOMPARE(seen.title, QStringLiteral("Edit Website"));
        QCOMPARE(seen.subtitle, QStringLiteral("Edit a website and correlative keywords and "
                                               "continue monitoring its SERPs"));
        QCOMPARE(panel->parentWidget(), view);
        QVERIFY(view->findChildren<QDialog*>().isEmpty());
    }

    void keywordCellOpensTheKeywordPage_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("page");
        QTest::newRow("keyword") << 0 << 1;
        QTest::newRow("rank") << 1 << 0;
        QTest::newRow("total change") << 3 << 0;
    }

    void keywordCellOpensTheKeywordPage()
    {
        QFETCH(int, column);
        QFETCH(int, page);
        QVERIFY(store({"www.example.com", "2026-10-03T09:00:00", GoogleUs, "garden tools"}));
        RMainWindow window;
        s_wndRMainWindow = &window;
        RankMain* hub = window.Hub();
        QTableWidget* t = table(hub->m_pWebsiteView);
        QCOMPARE(hub->m_nCurrentView, 0);
        emit t->itemClicked(t->item(0, column));
        QCOMPARE(hub->m_nCurrentView, page);
    }

    // The button runs the update of the website of the current list page and shows the
    // new ranks on the page.
    void overviewUpdatesTheSelectedWebsite()
    {
        // No pause between two queries, so a run of several checks ends at once.
        TestEnvironment::freshHome();
        {
            SqlDb db;
            QVERIFY(
                insert(db, "Website", {"a.example", "2026-10-03T09:00:00", GoogleUs + "?0", "k1"}));
            QVERIFY(insert(db, "Website",
                           {"b.example", "2026-10-03T09:00:00", GoogleUs + "?0", "k2\nk3"}));
        }
        RMainWindow window;
        s_wndRMainWindow = &window;
        WebsiteView* view = window.Hub()->m_pWebsiteView;
        view->findChild<QToolBox*>("toolBoxWebsite")->setCurrentIndex(1);

        StandInRuns runs;
        runs.script(G, "k2", 7);
        runs.script(G, "k3", 101);
        MessageBoxWatcher boxes;
        view->findChild<QPushButton*>("btnUpdate")->click();

        QCOMPARE(boxes.boxes().size(), 0);
        QCOMPARE(runs.queued,
                 (QStringList{"b.example|www.google.com|k2", "b.example|www.google.com|k3"}));
        QTableWidget* t = table(view);
        QCOMPARE(t->rowCount(), 2);
        QCOMPARE(rowOf(t, "k2").value(1), QStringLiteral("7"));
        QCOMPARE(rowOf(t, "k3").value(1), QStringLiteral(">100"));
        QCOMPARE(view->GetWebsiteInfo_UpdateOn()->text(),
                 "Updated on : " + QDate::currentDate().toString("MM/dd/yyyy"));
        QCOMPARE(labelText(*view, "lbl_g_11"), QStringLiteral("1-10: 1"));

        // The same again: everything is done for today.
        view->on_btnUpdate_clicked();
        QCOMPARE(boxes.boxes().size(), 1);
        QCOMPARE(boxes.boxes().at(0).text, QStringLiteral("All keywords have been updated today."));
        QCOMPARE(boxes.boxes().at(0).parent, view);
        QCOMPARE(runs.operations, 1);
    }

    void overviewUpdateWithoutWebsite()
    {
        TestEnvironment::freshHome();
        RMainWindow window;
        s_wndRMainWindow = &window;
        StandInRuns runs;
        MessageBoxWatcher boxes;
        WebsiteView* view = window.Hub()->m_pWebsiteView;
        view->on_btnUpdate_clicked();
        QCOMPARE(boxes.boxes().size(), 1);
        QCOMPARE(boxes.boxes().at(0).icon, MessageBoxHook::Warning);
        QCOMPARE(boxes.boxes().at(0).text, QStringLiteral("Please add a website."));
        QCOMPARE(boxes.boxes().at(0).parent, view);
        QCOMPARE(runs.operations, 0);
    }

    void keywordPage()
    {
        QVERIFY(shoesAndBoots());
        StandInRuns runs;
        runs.script(G, QStringLiteral("boots"), 3);
        runs.script(B, QStringLiteral("boots"), 101);
        MessageBoxWatcher boxes;
        RankMain hub;
        hub.resize(1000, 580);
        hub.show();
        QVERIFY(QTest::qWaitForWindowExposed(&hub));
        QCOMPARE(hub.m_pKeywordsView, nullptr);
        auto* panel = hub.m_pWebsiteView->findChild<QTabWidget*>(QStringLiteral("tabWidget"));
        QVERIFY(panel);

        hub.OnSwitchView(HBS_KeywordsView, nullptr);
        KeywordsView* page = hub.m_pKeywordsView;
        QVERIFY(page);
        QVERIFY(page->isVisible());
        QCOMPARE(page->CurrentWebsite(), &hub.m_vWebsites[0]);
        QCOMPARE(page->ui.lblWebsite->text(), QStringLiteral("shoes"));
        QCOMPARE(cell(page, G, 4), QStringLiteral("7"));
        // The side panel moved below the keyword list.
        QCOMPARE(page->ui.verticalLayout_2->indexOf(panel), 1);
        QVERIFY(panel->isVisible());

        // Back on the overview, the panel goes back with it.
        hub.OnSwitchView(HBS_WebsiteView, nullptr);
        QCOMPARE(page->ui.verticalLayout_2->indexOf(panel), -1);
        QVERIFY(panel->isVisible());

        // A keyword clicked on the overview opens the page on it.
        hub.SwitchToSpecicalKeywordView(QStringLiteral("boots"));
        QVERIFY(page->isVisible());
        QCOMPARE(page->ui.lblWebsite->text(), QStringLiteral("boots"));
        QCOMPARE(cell(page, B, 4), QStringLiteral("40"));

        // Its own update runs the current keyword.
        page->ui.cmbEngine->setCurrentIndex(3);

        QTest::mouseClick(page->ui.btnUpdate, Qt::LeftButton);
        QCOMPARE(runs.operations, 1);
        // Only the current keyword, on every engine variant in stored order.
        QCOMPARE(runs.queued, (QStringList{"example.com|www.google.com|boots",
                                           "example.com|www.bing.com|boots"}));
        QVERIFY(boxes.boxes().isEmpty());
        QVERIFY(!hub.m_bUpdateRunning);

        // The page shows the merged ranks at once: Current, Last and CHG.
        QCOMPARE(rowOf(page->ui.tableWidget, G).mid(4, 3), (QStringList{"3", "12", "+9"}));
        QCOMPARE(rowOf(page->ui.tableWidget, B).mid(4, 3), (QStringList{">100", "40", "-61"}));
        const RANK_DATA* google = Find_RankData(hub.m_vRankData, QStringLiteral("example.com"), G,
                                                QStringLiteral("boots"));
        QVERIFY(google);
        QCOMPARE(google->FlowItems.size(), std::size_t(2));
        QCOMPARE(page->ChartScene()->Series(0), google);
        QVERIFY(page->ChartScene()->FindGraphicItem(&google->FlowItems.back()));

        // While a run is going on, the button does nothing.
        hub.m_bUpdateRunning = true;
        QTest::mouseClick(page->ui.btnUpdate, Qt::LeftButton);
        QCOMPARE(runs.operations, 1);
        hub.m_bUpdateRunning = false;
    }

    // The store refuses the keyword run's merge: its warning is the only box, and the chart
    // keeps showing the points it showed before, also while that box is open.
    void refusedMergeKeepsTheChart()
    {
        QVERIFY(shoesAndBoots());
        StandInRuns runs;
        RankMain hub;
        QVERIFY(QSqlQuery(hub.m_Sqldb.m_DB)
                    .exec("CREATE TRIGGER refuse BEFORE INSERT ON UpdateFlow "
                          "BEGIN SELECT RAISE(ABORT, 'refused here'); END"));
        hub.resize(1000, 580);
        hub.show();
        QVERIFY(QTest::qWaitForWindowExposed(&hub));
        hub.SwitchToSpecicalKeywordView(QStringLiteral("boots"));
        KeywordsView* page = hub.m_pKeywordsView;
        page->ui.cmbEngine->setCurrentIndex(3); // every engine
        QWidget* view = page->ChartScene()->views().value(0);
        QVERIFY(view);
        const QImage before = view->grab().toImage();
        const QStringList points = chartPoints(page->ChartScene());
        QCOMPARE(points.size(), 2);

        RepaintingBoxes boxes;
        boxes.chart = view;
        page->on_btnUpdate_clicked();
        QCOMPARE(runs.operations, 1);
        QCOMPARE(boxes.boxes().size(), 1);
        QVERIFY(boxes.boxes()[0].text.contains(QStringLiteral("refused here")));
        QVERIFY(boxes.seen == before);
        QVERIFY(view->grab().toImage() == before);
        QCOMPARE(chartPoints(page->ChartScene()), points);
    }
};

LT_TEST_MAIN(TestPagesInHub)
#include "tst_pagesinhub.moc"
