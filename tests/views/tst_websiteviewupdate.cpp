#include "MessageBoxWatcher.h"
#include "RMainWindow.h"
#include "RankMain.h"
#include "SqlDb.h"
#include "StandInOperation.h"
#include "TestMain.h"
#include "WebsiteView.h"

#include <QLabel>
#include <QPushButton>
#include <QSqlQuery>
#include <QTableWidget>
#include <QToolBox>

namespace {

bool addWebsite(SqlDb& store, const QString& url, const QString& keywords)
{
    QSqlQuery query(store.m_DB);
    query.prepare("INSERT INTO Website VALUES(?,?,?,?)");
    query.addBindValue(url);
    query.addBindValue("2026-10-03T09:00:00");
    // No pause between two queries, so a run of several checks ends at once.
    query.addBindValue("www.google.com?English?United States?0");
    query.addBindValue(keywords);
    return query.exec();
}

} // namespace

class TestWebsiteViewUpdate : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { s_wndRMainWindow = nullptr; }

    // The button runs the update of the website of the current list page and shows the
    // new ranks on the page.
    void updatesTheSelectedWebsite()
    {
        TestEnvironment::freshHome();
        {
            SqlDb store;
            QVERIFY(addWebsite(store, "a.example", "k1"));
            QVERIFY(addWebsite(store, "b.example", "k2\nk3"));
        }
        RMainWindow window;
        s_wndRMainWindow = &window;
        WebsiteView* view = window.Hub()->m_pWebsiteView;
        view->findChild<QToolBox*>("toolBoxWebsite")->setCurrentIndex(1);

        StandInRuns runs;
        runs.script("www.google.com", "k2", 7);
        runs.script("www.google.com", "k3", 101);
        MessageBoxWatcher boxes;
        view->findChild<QPushButton*>("btnUpdate")->click();

        QCOMPARE(boxes.boxes().size(), 0);
        QCOMPARE(runs.queued,
                 (QStringList{"b.example|www.google.com|k2", "b.example|www.google.com|k3"}));
        auto* table = view->findChild<QTableWidget*>("tableWidget");
        QCOMPARE(table->rowCount(), 2);
        QStringList ranks;
        for (int row = 0; row < 2; ++row)
            ranks << table->item(row, 0)->text() + "=" + table->item(row, 1)->text();
        ranks.sort();
        QCOMPARE(ranks, (QStringList{"k2=7", "k3=>100"}));
        QCOMPARE(view->GetWebsiteInfo_UpdateOn()->text(),
                 "Updated on : " + QDate::currentDate().toString("MM/dd/yyyy"));
        QCOMPARE(view->findChild<QLabel*>("lbl_g_11")->text(), QStringLiteral("1-10: 1"));

        // The same again: everything is done for today.
        view->on_btnUpdate_clicked();
        QCOMPARE(boxes.boxes().size(), 1);
        QCOMPARE(boxes.boxes().at(0).text, QStringLiteral("All keywords have been updated today."));
        QCOMPARE(boxes.boxes().at(0).parent, view);
        QCOMPARE(runs.operations, 1);
    }

    void withoutWebsite()
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
};

LT_TEST_MAIN(TestWebsiteViewUpdate)
#include "tst_websiteviewupdate.moc"
