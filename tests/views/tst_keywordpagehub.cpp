#include "KeywordsView.h"
#include "MessageBoxWatcher.h"
#include "PtChartScene.h"
#include "RankHistory.h"
#include "RankMain.h"
#include "SqlDb.h"
#include "StandInOperation.h"
#include "TestMain.h"
#include "WebsiteView.h"

#include <QSettings>
#include <QSqlQuery>
#include <QTabWidget>

namespace {

const QString G = QStringLiteral("www.google.com");
const QString B = QStringLiteral("www.bing.com");

bool exec(SqlDb& store, const QString& statement, const QVariantList& values = {})
{
    QSqlQuery query(store.m_DB);
    query.prepare(statement);
    for (const QVariant& value : values)
        query.addBindValue(value);
    return query.exec();
}

bool addRow(SqlDb& store, LTInt64 number, const QString& engine, const QString& keyword,
            const QDateTime& when, int rank)
{
    return exec(store, "INSERT INTO UpdateFlow VALUES(?,?,?,?,?,?,?,?)",
                {number, "example.com", engine, keyword,
                 when.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")), rank,
                 QStringLiteral("http://example.com/%1").arg(rank), "English"});
}

QString cell(KeywordsView* page, const QString& host, int column)
{
    QTableWidget* table = page->ui.tableWidget;
    for (int row = 0; row < table->rowCount(); ++row)
        if (table->item(row, 0)->text() == host)
            return table->item(row, column)->text();
    return QStringLiteral("<no row>");
}

} // namespace

// The keyword page inside the hub: built by the first switch to it, carrying the side
// panel, and running its own update of the selected keyword.
class TestKeywordPageHub : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        const QString home = TestEnvironment::freshHome();
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, home + "/.config");
        const QDateTime earlier(QDate::currentDate().addDays(-3), QTime(10, 0));
        SqlDb store;
        QVERIFY(exec(store, "INSERT INTO Website VALUES(?,?,?,?)",
                     {"example.com", "2024-01-15T09:00:00",
                      "www.google.com?English?United States\nwww.bing.com?English?United States",
                      "shoes\nboots"}));
        QVERIFY(addRow(store, 1, G, "shoes", earlier, 7));
        QVERIFY(addRow(store, 2, G, "boots", earlier, 12));
        QVERIFY(addRow(store, 3, B, "boots", earlier, 40));
    }

    void builtOnFirstSwitch()
    {
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
    }

    void updateButton()
    {
        StandInRuns runs;
        runs.script(G, QStringLiteral("boots"), 3);
        runs.script(B, QStringLiteral("boots"), 101);
        MessageBoxWatcher boxes;
        RankMain hub;
        hub.resize(1000, 580);
        hub.show();
        QVERIFY(QTest::qWaitForWindowExposed(&hub));
        hub.SwitchToSpecicalKeywordView(QStringLiteral("boots"));
        KeywordsView* page = hub.m_pKeywordsView;
        QVERIFY(page);
        page->ui.cmbEngine->setCurrentIndex(3);

        QTest::mouseClick(page->ui.btnUpdate, Qt::LeftButton);
        QCOMPARE(runs.operations, 1);
        // Only the current keyword, on every engine variant in stored order.
        QCOMPARE(runs.queued, (QStringList{"example.com|www.google.com|boots",
                                           "example.com|www.bing.com|boots"}));
        QVERIFY(boxes.boxes().isEmpty());
        QVERIFY(!hub.m_bUpdateRunning);

        // The page shows the merged ranks at once.
        QCOMPARE(cell(page, G, 4), QStringLiteral("3"));
        QCOMPARE(cell(page, G, 5), QStringLiteral("12"));
        QCOMPARE(cell(page, G, 6), QStringLiteral("+9"));
        QCOMPARE(cell(page, B, 4), QStringLiteral(">100"));
        QCOMPARE(cell(page, B, 6), QStringLiteral("-61"));
        QCOMPARE(cell(page, B, 5), QStringLiteral("40"));
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
};

LT_TEST_MAIN(TestKeywordPageHub)
#include "tst_keywordpagehub.moc"
