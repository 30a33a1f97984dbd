#include "AddWebsiteView.h"
#include "HeaderBar.h"
#include "KeywordsView.h"
#include "LimitToolBox.h"
#include "MessageBoxWatcher.h"
#include "ParamEvent.h"
#include "RMainWindow.h"
#include "RankMain.h"
#include "SettingsView.h"
#include "StoreFixture.h"
#include "TestMain.h"
#include "WebsiteView.h"
#include "ui_HeaderBar.h"

#include <QLayout>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QToolButton>

namespace {

QAbstractButton* pageButton(RankMain* hub, int state)
{
    QAbstractButton* buttons[4] = {
        hub->m_pHeaderBar->ui->toolButton_2, hub->m_pHeaderBar->ui->toolButton,
        hub->m_pHeaderBar->ui->pushAddWebsite, hub->m_pHeaderBar->ui->pushButton_2};
    return buttons[state];
}

int checkedButton(RankMain* hub)
{
    int found = -1;
    for (int state = 0; state < 4; ++state) {
        if (pageButton(hub, state)->isChecked()) {
            if (found != -1)
                return -2; // more than one
            found = state;
        }
    }
    return found;
}

} // namespace

using StoreFixture::storeWebsites;

class TestPageSwitching : public QObject
{
    Q_OBJECT

    MessageBoxWatcher m_boxes;
    RankMain* m_hub = nullptr;

    // A shown hub over `websites` stored websites.
    bool showHub(int websites)
    {
        storeWebsites(websites);
        m_hub = new RankMain;
        m_hub->resize(1000, 580);
        m_hub->show();
        return QTest::qWaitForWindowExposed(m_hub);
    }

private slots:
    void initTestCase()
    {
        QCoreApplication::setOrganizationName(QStringLiteral("Brindlecor"));
        QCoreApplication::setApplicationName(QStringLiteral("Lumatrove"));
    }

    void init()
    {
        StoreFixture::freshHome();
        m_boxes.clear();
    }

    void cleanup()
    {
        delete m_hub;
        m_hub = nullptr;
    }

    // Header buttons pressed in turn: the page states afterwards and the pages built.
    void buttons_data()
    {
        QTest::addColumn<QList<int>>("presses");
        QTest::addColumn<int>("current");
        QTest::addColumn<int>("previous");
        QTest::addColumn<bool>("addPage");
        QTest::addColumn<bool>("settingsPage");

        QTest::newRow("settings") << QList<int>{3} << 3 << 0 << false << true;
        QTest::newRow("add website") << QList<int>{2} << 2 << 0 << true << false;
        QTest::newRow("overview again changes nothing")
            << QList<int>{0} << 0 << 5 << false << false;
        QTest::newRow("settings twice") << QList<int>{3, 3} << 3 << 0 << false << true;
        QTest::newRow("settings, add, overview") << QList<int>{3, 2, 0} << 0 << 2 << true << true;
        QTest::newRow("keywords") << QList<int>{1} << 1 << 0 << false << false;
    }

    void buttons()
    {
        QFETCH(QList<int>, presses);
        QFETCH(int, current);
        QFETCH(int, previous);
        QFETCH(bool, addPage);
        QFETCH(bool, settingsPage);

        QVERIFY(showHub(2));
        RankMain& hub = *m_hub;
        for (int state : presses)
            pageButton(&hub, state)->click();
        QCOMPARE(hub.m_nCurrentView, current);
        QCOMPARE(hub.m_nPreviousView, previous);
        QCOMPARE(checkedButton(&hub), current);
        QCOMPARE(hub.m_pAddWebsiteView != nullptr, addPage);
        QCOMPARE(hub.m_pSettingsView != nullptr, settingsPage);

        // Built pages sit below the header bar in the hub's layout; only the current one
        // shows.
        const QList<QWidget*> built = {hub.m_pWebsiteView, hub.m_pAddWebsiteView,
                                       hub.m_pSettingsView};
        const QList<int> states = {0, 2, 3};
        for (int i = 0; i < built.size(); ++i) {
            if (!built[i])
                continue;
            QCOMPARE(built[i]->parentWidget(), &hub);
            QVERIFY(hub.layout()->indexOf(built[i]) > 0);
            QCOMPARE(built[i]->isVisible(), states[i] == current);
        }
        QVERIFY(m_boxes.boxes().isEmpty());
    }

    // Cancel or Apply on the settings or add page goes back to the page shown before it.
    void settingsReturnsToThePreviousPage_data()
    {
        QTest::addColumn<QList<int>>("presses");
        QTest::addColumn<QString>("button"); // on the last page pressed
        QTest::newRow("overview, Cancel") << QList<int>{3} << "btnCancel";
        QTest::newRow("overview, Apply") << QList<int>{3} << "btnApply";
        QTest::newRow("add website, Cancel") << QList<int>{2, 3} << "btnCancel";
        QTest::newRow("keywords, proxy Cancel") << QList<int>{1, 3} << "btnProxyCancel";
        QTest::newRow("settings, add page Cancel") << QList<int>{3, 2} << "btnCancel";
    }

    void settingsReturnsToThePreviousPage()
    {
        QFETCH(QList<int>, presses);
        QFETCH(QString, button);
        storeWebsites(1);
        RMainWindow window;
        s_wndRMainWindow = &window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        RankMain* hub = window.Hub();

        for (int state : presses)
            pageButton(hub, state)->click();
        const int last = presses.last(), before = presses.size() > 1 ? presses.first() : 0;
        QWidget* page = last == 3 ? static_cast<QWidget*>(hub->m_pSettingsView)
                                  : static_cast<QWidget*>(hub->m_pAddWebsiteView);
        QCOMPARE(hub->m_nCurrentView, last);
        page->findChild<QPushButton*>(button)->click();

        QCOMPARE(hub->m_nCurrentView, before);
        QCOMPARE(hub->m_nPreviousView, last);
        QCOMPARE(checkedButton(hub), before);
        QVERIFY(!page->isVisible());
        if (before == 2)
            QVERIFY(hub->m_pAddWebsiteView->isVisible());
        if (before == 3)
            QVERIFY(hub->m_pSettingsView->isVisible());
        s_wndRMainWindow = nullptr;
    }

    void addPageKeepsItsFirstParameter()
    {
        QVERIFY(showHub(2));
        RankMain& hub = *m_hub;

        hub.OnSwitchView(HBS_AddWebsite, nullptr);
        QPointer<AddWebsiteView> page = hub.m_pAddWebsiteView;
        QVERIFY(page);
        QVERIFY(!page->isEditMode());
        // Asked again with a website to edit while shown: nothing at all happens.
        hub.OnSwitchView(HBS_AddWebsite, &hub.m_vWebsites[1]);
        QCOMPARE(hub.m_nPreviousView, 0);
        // And after another page: the same page, still adding.
        hub.OnSwitchView(HBS_Settings, nullptr);
        hub.OnSwitchView(HBS_AddWebsite, &hub.m_vWebsites[1]);
        QCOMPARE(hub.m_pAddWebsiteView, page.data());
        QVERIFY(!page->isEditMode());
        QVERIFY(page->isVisible());
        QCOMPARE(hub.findChildren<AddWebsiteView*>().size(), 1);
    }

    void stateOutsideThePages()
    {
        QVERIFY(showHub(1));
        RankMain& hub = *m_hub;
        hub.OnSwitchView(HBS_Settings, nullptr);
        hub.OnSwitchView(HeaderBarState(7), nullptr);
        QCOMPARE(hub.m_nCurrentView, 7);
        QCOMPARE(hub.m_nPreviousView, 3);
        QVERIFY(!hub.m_pSettingsView->isVisible());
        // Back from there: the settings page again.
        hub.ReturnPreviousPage();
        QCOMPARE(hub.m_nCurrentView, 3);
        QVERIFY(hub.m_pSettingsView->isVisible());
        QCOMPARE(checkedButton(&hub), 3);
    }

    void withoutWebsites()
    {
        RankMain hub;
        // Event 1021 opens the add-website page once the event loop runs.
        QCOMPARE(hub.m_nCurrentView, 0);
        hub.show();
        QVERIFY(QTest::qWaitForWindowExposed(&hub));
        QTRY_COMPARE(hub.m_nCurrentView, 2);
        QVERIFY(hub.m_pAddWebsiteView && hub.m_pAddWebsiteView->isVisible());
        QCOMPARE(checkedButton(&hub), 2);

        // Every other page is refused.
        for (int state : {0, 1, 3}) {
            pageButton(&hub, state)->click();
            QCOMPARE(hub.m_nCurrentView, 2);
            QCOMPARE(checkedButton(&hub), 2);
        }
        QVERIFY(!hub.m_pSettingsView);
        // The add page's Cancel stays where it is while there is no website.
        hub.m_pAddWebsiteView->findChild<QPushButton*>(QStringLiteral("btnCancel"))->click();
        QCOMPARE(hub.m_nCurrentView, 2);
        // Opening a keyword is refused the same way.
        hub.SwitchToSpecicalKeywordView(QStringLiteral("shoes"));
        QCOMPARE(hub.m_nCurrentView, 2);
    }

    // The index of the rebuild event selects the website in the new hub's combo, but only
    // when the combo has it.
    void rebuildSelects_data()
    {
        QTest::addColumn<LTInt64>("select");
        QTest::addColumn<int>("selected");
        QTest::newRow("second") << LTInt64(1) << 1;
        QTest::newRow("last") << LTInt64(2) << 2;
        QTest::newRow("after a delete") << LTInt64(-1) << 0;
        QTest::newRow("beyond the list") << LTInt64(3) << 0;
        QTest::newRow("far beyond") << LTInt64(100) << 0;
        QTest::newRow("does not fit an int") << (LTInt64(1) << 32) + 1 << 0;
    }

    void rebuildSelects()
    {
        QFETCH(LTInt64, select);
        QFETCH(int, selected);
        storeWebsites(3);
        RMainWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QPointer<RankMain> old = window.Hub();
        QCoreApplication::postEvent(&window, new ParamEvent(select));
        QTRY_VERIFY(old.isNull());
        RankMain* hub = window.Hub();
        QCOMPARE(hub->m_pHeaderBar->ui->comboBoxWebsite->currentIndex(), selected);
        QCOMPARE(hub->m_nCurrentView, 0);
        QCOMPARE(checkedButton(hub), 0);
    }

    // The header combo and the overview's website list keep one website selected, also one
    // that the list had left out.
    void comboAndListInStep_data()
    {
        QTest::addColumn<QString>("steps"); // "c<i>": combo index i, "l<k>": list page k
        QTest::addColumn<int>("selected");
        QTest::addColumn<QList<int>>("listOrder");

        const QList<int> first10 = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
        QTest::newRow("combo, website in the list") << "c4" << 4 << first10;
        QTest::newRow("list page") << "l6" << 6 << first10;
        QTest::newRow("combo, left-out website")
            << "c11" << 11 << QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 11};
        QTest::newRow("then the list's first page")
            << "c11 l0" << 1 << QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 11};
        QTest::newRow("swapped-out website back through the combo")
            << "c11 c0" << 0 << QList<int>{2, 3, 4, 5, 6, 7, 8, 9, 11, 0};
    }

    void comboAndListInStep()
    {
        QFETCH(QString, steps);
        QFETCH(int, selected);
        QFETCH(QList<int>, listOrder);

        QVERIFY(showHub(12));
        RankMain& hub = *m_hub;
        QComboBox* combo = hub.m_pHeaderBar->ui->comboBoxWebsite;
        auto* list = hub.m_pWebsiteView->findChild<LimitToolBox*>(QStringLiteral("toolBoxWebsite"));
        QVERIFY(list);

        for (const QString& step : steps.split(' ')) {
            const int value = step.mid(1).toInt();
            if (step.startsWith('c'))
                combo->setCurrentIndex(value);
            else
                list->setCurrentIndex(value);
        }
        QCOMPARE(combo->currentIndex(), selected);
        QCOMPARE(list->GetWebsiteIndex(list->currentIndex()), selected);
        QList<int> order;
        for (int k = 0; k < list->count(); ++k)
            order << list->GetWebsiteIndex(k);
        QCOMPARE(order, listOrder);
    }

    // The keyword page shows the website of the header combo when it is first built, and
    // is told about every later selection.
    void keywordPageFollowsTheSelection()
    {
        QVERIFY(showHub(3));
        RankMain& hub = *m_hub;
        QComboBox* combo = hub.m_pHeaderBar->ui->comboBoxWebsite;

        combo->setCurrentIndex(2);
        QVERIFY(!hub.m_pKeywordsView);
        pageButton(&hub, 1)->click();
        QPointer<KeywordsView> page = hub.m_pKeywordsView;
        QVERIFY(page);
        QVERIFY(page->isVisible());
        QCOMPARE(page->CurrentWebsite()->Website, QStringLiteral("site2.example"));

        pageButton(&hub, 0)->click();
        combo->setCurrentIndex(1);
        QCOMPARE(page->CurrentWebsite()->Website, QStringLiteral("site1.example"));
        pageButton(&hub, 1)->click();
        QCOMPARE(hub.m_pKeywordsView, page.data());
        QCOMPARE(page->CurrentWebsite()->Website, QStringLiteral("site1.example"));
        QCOMPARE(hub.findChildren<KeywordsView*>().size(), 1);
    }

    void keywordOpenedFromTheOverview()
    {
        QVERIFY(showHub(2));
        RankMain& hub = *m_hub;

        hub.SwitchToSpecicalKeywordView(QStringLiteral("boots"));
        QVERIFY(hub.m_pKeywordsView);
        QCOMPARE(hub.m_nCurrentView, 1);
        QCOMPARE(checkedButton(&hub), 1);
        QCOMPARE(hub.m_pKeywordsView->CurrentWebsite()->Website, QStringLiteral("site0.example"));
        auto* list = hub.m_pKeywordsView->findChild<QListWidget*>(QStringLiteral("listWidget"));
        QVERIFY(list && list->currentItem());
        QCOMPARE(list->currentItem()->text(), QStringLiteral("boots"));
    }

    // A replaced hub reacts to none of its header bar's controls.
    void stoppedHubIgnoresTheHeaderBar()
    {
        QVERIFY(showHub(2));
        RankMain& hub = *m_hub;
        hub.Stop();
        hub.m_pHeaderBar->SwitchViewToolButton(HBS_Settings);
        emit hub.m_pHeaderBar->DoSwitchView(HBS_Settings, nullptr);
        QCOMPARE(hub.m_nCurrentView, 0);
        QVERIFY(!hub.m_pSettingsView);
    }

    void headComboMinusOneChangesNothing()
    {
        storeWebsites(2);
        RankMain hub;
        hub.OnHeadBarWebsiteChanged(-1);
        QCOMPARE(hub.m_pHeaderBar->ui->comboBoxWebsite->currentIndex(), 0);
        hub.m_pHeaderBar->ui->comboBoxWebsite->setCurrentIndex(1);
        QCOMPARE(hub.m_pHeaderBar->ui->comboBoxWebsite->currentIndex(), 1);
    }
};

LT_TEST_MAIN(TestPageSwitching)
#include "tst_pageswitching.moc"
