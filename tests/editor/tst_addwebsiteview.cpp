#include "AddWebsiteModel.h"
#include "AddWebsiteView.h"
#include "HeaderBarState.h"
#include "MessageBoxWatcher.h"
#include "ParamEvent.h"
#include "RMainWindow.h"
#include "RankMain.h"
#include "SelectedebsiteModel.h"
#include "SettingsView.h"
#include "SqlValue.h"
#include "StoreFixture.h"
#include "TestMain.h"
#include "WebsiteView.h"

#include <QPointer>
#include <QTabWidget>

namespace {

const QString k35Blanks = QString(35, QLatin1Char(' '));

// Keeps the main window's 1001 and 1002 (so no rebuild happens) and records them.
class MainWindowEvents : public QObject
{
public:
    explicit MainWindowEvents(QObject* window) { window->installEventFilter(this); }
    QList<QPair<int, LTInt64>> events;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Type(1001)) {
            const auto* param = dynamic_cast<ParamEvent*>(event);
            events.append({1001, param ? param->m_nParam : LTInt64(-99)});
            return true;
        }
        if (event->type() == QEvent::Type(1002)) {
            events.append({1002, 0});
            return true;
        }
        return false;
    }
};

// Stands in for the edit dialog: counts the close events it gets.
class DialogStandIn : public QWidget
{
public:
    int closes = 0;

protected:
    void closeEvent(QCloseEvent* event) override
    {
        ++closes;
        event->accept();
    }
};

SqlDb& store()
{
    return s_wndRMainWindow->Hub()->m_Sqldb;
}
QVariantList values(const QString& sql, const QVariantList& binds = {})
{
    return StoreFixture::values(store(), sql, binds);
}
bool run(const QString& sql, const QVariantList& binds = {})
{
    return StoreFixture::exec(store(), sql, binds);
}

// One measurement of a website's keyword "a".
bool addFlow(int number, const QString& website)
{
    return run("INSERT INTO UpdateFlow VALUES(?,?,?,?,?,?,?,?)",
               {number, website, "www.google.com", "a", "2026-01-03T00:00:00", 5,
                "https://x.example/", "English"});
}

// A statement that makes every write of this kind to the table fail.
QString refuse(const QString& what, const QString& table, const QString& text)
{
    return QString("CREATE TRIGGER refuse_%1 BEFORE %1 ON %2 BEGIN SELECT RAISE(ABORT, '%3'); END")
        .arg(what, table, text);
}

struct StoredSite {
    QString url;
    QVariant createTime;
    QString engines;
    QString keywords;
};
const StoredSite kExample{"example.com", "2026-01-02T03:04:05", StoreFixture::kGoogleUs, "a"};

int rowOf(AddWebsiteModel* model, const QString& country, const QString& language)
{
    for (int row = 0; row < model->rowCount(); ++row) {
        if (model->Country(row) == country && model->Language(row) == language)
            return row;
    }
    return -1;
}

void choose(AddWebsiteView& page, EnuSearchEngineType kind, const QString& country,
            const QString& language)
{
    AddWebsiteModel* model = page.pickModel(kind);
    model->setData(model->index(rowOf(model, country, language), 0), int(Qt::Checked),
                   Qt::CheckStateRole);
}

using StoreFixture::boxLines;
using StoreFixture::texts;

} // namespace

class TestAddWebsiteView : public QObject
{
    Q_OBJECT

    RMainWindow* m_window = nullptr;
    MainWindowEvents* m_events = nullptr;

    // A main window over a database that holds these websites and schedules.
    void openWindow(const QList<StoredSite>& sites, const std::vector<SCHEDUAL>& scheduals = {})
    {
        for (const StoredSite& site : sites)
            QVERIFY(
                StoreFixture::storeWebsite(site.url, site.engines, site.keywords, site.createTime));
        SqlDb store;
        for (const SCHEDUAL& schedual : scheduals)
            QVERIFY(store.addSchedual(schedual));
        m_window = new RMainWindow;
        s_wndRMainWindow = m_window;
        m_events = new MainWindowEvents(m_window);
        QCOMPARE(hub()->m_vWebsites.size(), std::size_t(sites.size()));
    }

    RankMain* hub() const { return m_window->Hub(); }
    QList<QPair<int, LTInt64>> postedEvents()
    {
        QCoreApplication::sendPostedEvents(m_window);
        return m_events->events;
    }

private slots:
    void init() { StoreFixture::freshHome(); }

    void cleanup()
    {
        delete m_events;
        m_events = nullptr;
        delete m_window;
        m_window = nullptr;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // What the URL tab makes of a typed address, adding (edit -1) or editing website 0 or 1.
    void urlCheck_data()
    {
        QTest::addColumn<int>("edit");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("box"); // empty: it passes
        const QString invalid = "Warning|Lumatrove|Invalid URL.";
        const QString taken = "Warning|Lumatrove|This website already exists.";
        QTest::newRow("scheme, www and slash go") << -1 << "  HTTPS://www.Shop.example/ "
                                                  << "Shop.example"
                                                  << "";
        QTest::newRow("path kept") << -1 << "http://www.shop.example/en/"
                                   << "shop.example/en"
                                   << "";
        QTest::newRow("www of a stored website") << -1 << "www.example.com"
                                                 << "example.com" << taken;
        QTest::newRow("other letter case is another website") << -1 << "EXAMPLE.com"
                                                              << "EXAMPLE.com"
                                                              << "";
        QTest::newRow("empty") << -1 << ""
                               << "" << invalid;
        QTest::newRow("blanks") << -1 << "   "
                                << "   " << invalid;
        QTest::newRow("unparseable") << -1 << "http://[shop"
                                     << "http://[shop" << invalid;
        // Nothing is left once the prefix goes.
        QTest::newRow("scheme alone") << -1 << "http://"
                                      << "http://" << invalid;
        QTest::newRow("www alone") << -1 << "www."
                                   << "www." << invalid;
        QTest::newRow("scheme, www and slash alone") << -1 << "HTTPS://www./"
                                                     << "HTTPS://www./" << invalid;
        QTest::newRow("edit keeps its own URL") << 0 << "example.com"
                                                << "example.com"
                                                << "";
        QTest::newRow("edit to another's URL") << 0 << "www.other.example"
                                               << "other.example" << taken;
    }

    void urlCheck()
    {
        QFETCH(int, edit);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(QString, box);
        openWindow({{"example.com", QVariant(), StoreFixture::kGoogleUs, "a"},
                    {"other.example", QVariant(), StoreFixture::kGoogleUs, "b"}});
        MessageBoxWatcher boxes;
        AddWebsiteView page(nullptr, hub(), edit < 0 ? nullptr : &hub()->m_vWebsites[edit]);
        page.ui.lineUrl->setText(typed);
        QCOMPARE(page.validateTabPage_0(), box.isEmpty());
        QCOMPARE(page.ui.lineUrl->text(), shown);
        QCOMPARE(boxLines(boxes), box.isEmpty() ? QStringList() : QStringList{box});
        if (!box.isEmpty())
            QCOMPARE(boxes.boxes().at(0).parent, &page);
    }

    void keywordCheck_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("passes");
        QTest::addColumn<QString>("after");
        QTest::addColumn<QStringList>("messages");
        const QString question = "The Keyword is repeated. Do you remove duplicated keywords?";
        QTest::newRow("repeat, yes") << "seo\n seo\nrank" << int(MessageBoxHook::Yes) << true
                                     << "seo\nrank" << QStringList{question};
        QTest::newRow("repeat, no") << "seo\n seo\nrank" << int(MessageBoxHook::No) << false
                                    << "seo\n seo\nrank" << QStringList{question};
        QTest::newRow("two blank lines repeat") << "a\n  \n \nb" << int(MessageBoxHook::Yes) << true
                                                << "a\n\nb" << QStringList{question};
        QTest::newRow("only line breaks") << "\n\n\n"
                                          << 0 << false << "\n\n\n"
                                          << QStringList{"Please add a keyword."};
        QTest::newRow("empty") << "" << 0 << false << "" << QStringList{"Please add a keyword."};
        QTest::newRow("no repeat keeps the text")
            << " seo \n\nrank" << 0 << true << " seo \n\nrank" << QStringList{};
    }

    void keywordCheck()
    {
        QFETCH(QString, typed);
        QFETCH(int, answer);
        QFETCH(bool, passes);
        QFETCH(QString, after);
        QFETCH(QStringList, messages);
        openWindow({});
        MessageBoxWatcher boxes;
        if (answer)
            boxes.queueAnswer(answer);
        AddWebsiteView page(nullptr, hub(), nullptr);
        page.ui.edtKeywords->setPlainText(typed);
        QCOMPARE(page.validateTabPage_1(), passes);
        QCOMPARE(page.ui.edtKeywords->toPlainText(), after);
        QCOMPARE(texts(boxes), messages);
        if (!messages.isEmpty() && messages.first().startsWith("The Keyword")) {
            QCOMPARE(boxes.boxes().at(0).buttons, int(MessageBoxHook::Yes | MessageBoxHook::No));
            QCOMPARE(boxes.boxes().at(0).defaultButton, int(MessageBoxHook::Yes));
        }
    }

    // Clicking the Done tab title runs all checks; the first failure sends the tab back.
    void doneTabRunsTheChecks()
    {
        openWindow({});
        MessageBoxWatcher boxes;
        AddWebsiteView page(nullptr, hub(), nullptr);
        page.ui.tabWidget->setCurrentIndex(4);
        QCOMPARE(page.ui.tabWidget->currentIndex(), 0);
        QCOMPARE(texts(boxes), QStringList{"Invalid URL."});

        page.ui.lineUrl->setText("shop.example");
        page.ui.tabWidget->setCurrentIndex(3);
        QCOMPARE(page.ui.btnAddNext->text(), QStringLiteral("Done"));
        page.ui.tabWidget->setCurrentIndex(4);
        QCOMPARE(page.ui.tabWidget->currentIndex(), 3);
        QCOMPARE(texts(boxes).last(), QStringLiteral("Please add a keyword."));
        QCOMPARE(page.ui.btnAddNext->text(), QStringLiteral("Done"));
        page.ui.tabWidget->setCurrentIndex(1);
        QCOMPARE(page.ui.btnAddNext->text(), QStringLiteral("Next"));

        QCOMPARE(values("SELECT count(*) FROM Website"), QVariantList{0});
        QVERIFY(postedEvents().isEmpty());
    }

    void nextWalksTheTabsAndStores_data()
    {
        QTest::addColumn<bool>("schedule");
        QTest::newRow("with schedule") << true;
        QTest::newRow("without schedule") << false;
    }

    void nextWalksTheTabsAndStores()
    {
        QFETCH(bool, schedule);
        const QString engines = StoreFixture::kGoogleUs;
        openWindow({{"a.example", QVariant(), engines, "x"},
                    {"b.example", QVariant(), engines, "x"},
                    {"c.example", QVariant(), engines, "x"}});
        MessageBoxWatcher boxes;
        AddWebsiteView page(nullptr, hub(), nullptr);

        page.ui.lineUrl->setText("HTTP://www.Shop.example/");
        page.ui.btnAddNext->click();
        QCOMPARE(page.ui.tabWidget->currentIndex(), 1);
        page.ui.btnAddNext->click(); // no keyword yet
        QCOMPARE(page.ui.tabWidget->currentIndex(), 1);
        page.ui.edtKeywords->setPlainText("  seo\nrank  \n");
        page.ui.btnAddNext->click();
        QCOMPARE(page.ui.tabWidget->currentIndex(), 2);
        page.ui.btnAddNext->click(); // no engine yet
        QCOMPARE(page.ui.tabWidget->currentIndex(), 2);
        choose(page, SE_Google, "United States", "English");
        choose(page, SE_Bing, "United Kingdom", "English");
        SelectedebsiteModel* chosen = page.selectedModel();
        chosen->setData(chosen->index(0, 3), 30, Qt::EditRole);
        page.ui.btnAddNext->click();
        QCOMPARE(page.ui.tabWidget->currentIndex(), 3);
        QCOMPARE(page.ui.btnAddNext->text(), QStringLiteral("Done"));
        QCOMPARE(texts(boxes),
                 (QStringList{"Please add a keyword.", "No search engine selected!"}));

        if (schedule) {
            page.ui.checkEnableSchedual->setChecked(true);
            page.ui.radioDayOfWeek->setChecked(true);
            page.ui.btnW6->setChecked(true);
            page.ui.btnW7->setChecked(true);
            page.ui.radioStartOnRun->setChecked(true);
            page.ui.timeStart->setTime(QTime(7, 30));
        }
        const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
        page.ui.btnAddNext->click();
        QCOMPARE(page.ui.tabWidget->currentIndex(), 3);

        const QVariantList row = values("SELECT * FROM Website WHERE Website=?", {"Shop.example"});
        QCOMPARE(row.size(), 4);
        QVERIFY(SqlValue::toDateTime(row.at(1)) >= before.addMSecs(-before.time().msec()));
        QVERIFY(SqlValue::toDateTime(row.at(1)) <= QDateTime::currentDateTime());
        QCOMPARE(row.at(2).toString(), QStringLiteral("www.google.com?English?United States?30\n"
                                                      "uk.bing.com?English?United Kingdom"));
        QCOMPARE(row.at(3).toString(), QStringLiteral("seo\nrank"));

        const QVariantList stored = values("SELECT Type, Days, StartTime, StartMode, LastRunDay "
                                           "FROM Schedual WHERE Website=?",
                                           {"Shop.example"});
        if (schedule) {
            QCOMPARE(stored.mid(0, 4), (QVariantList{1, 96, "07:30:00", 1}));
            QVERIFY(stored.at(4).isNull());
            QCOMPARE(hub()->m_vSchedual.size(), std::size_t(1));
            QCOMPARE(hub()->m_vSchedual[0].Days, quint64(96));
        } else {
            QVERIFY(stored.isEmpty());
            QVERIFY(hub()->m_vSchedual.empty());
        }
        // The fourth website gets index 3 after the rebuild.
        QCOMPARE(postedEvents(), (QList<QPair<int, LTInt64>>{{1001, 3}, {1002, 0}}));
    }

    // A failed add or Apply warns with the driver's text, stores and posts nothing and keeps
    // the page (and the edit dialog) with what was typed.
    void failedWriteChangesNothing_data()
    {
        QTest::addColumn<bool>("edit");
        QTest::addColumn<QString>("sabotage");
        QTest::addColumn<QString>("message"); // part of the warning
        QTest::addColumn<QVariantList>("websites");
        const QVariantList example{"example.com", "a"};
        QTest::newRow("add: website insert fails") << false << "DROP TABLE Website"
                                                   << "no such table" << QVariantList();
        QTest::newRow("add: schedule insert fails")
            << false << refuse("INSERT", "Schedual", "refused") << "save to database failed."
            << QVariantList();
        QTest::newRow("apply: website update fails") << true << "DROP TABLE Website"
                                                     << "no such table" << QVariantList();
        QTest::newRow("apply: schedule fails") << true << refuse("INSERT", "Schedual", "refused")
                                               << "save to database failed." << example;
        QTest::newRow("apply: transaction left open") << true << "BEGIN"
                                                      << "within a transaction" << example;
        QTest::newRow("apply: history fails")
            << true << refuse("UPDATE", "UpdateFlow", "history refused") << "history refused"
            << example;
        QTest::newRow("apply: website gone")
            << true << "DELETE FROM Website"
            << "This website is no longer in the database." << QVariantList{};
    }

    void failedWriteChangesNothing()
    {
        QFETCH(bool, edit);
        QFETCH(QString, sabotage);
        QFETCH(QString, message);
        QFETCH(QVariantList, websites);
        openWindow(edit ? QList<StoredSite>{kExample} : QList<StoredSite>{});
        if (edit)
            QVERIFY(addFlow(1, "example.com"));
        MessageBoxWatcher boxes;
        DialogStandIn dialog;
        auto* page = new AddWebsiteView(&dialog, hub(), edit ? &hub()->m_vWebsites[0] : nullptr);
        if (edit) {
            page->ui.edtKeywords->clear();
            page->ui.btnApply->click();
            QCOMPARE(texts(boxes), QStringList{"Please add a keyword."});
            boxes.clear();
        } else {
            choose(*page, SE_Yahoo, "Japan", "English");
            page->ui.tabWidget->setCurrentIndex(2);
        }
        page->ui.lineUrl->setText("renamed.example");
        page->ui.edtKeywords->setPlainText("seo");
        page->ui.checkEnableSchedual->setChecked(true);
        QVERIFY(run(sabotage));
        if (edit)
            page->ui.btnApply->click();
        else
            page->ui.tabWidget->setCurrentIndex(4);

        QCOMPARE(boxes.boxes().size(), 1);
        QVERIFY2(boxLines(boxes).at(0).startsWith("Warning|Lumatrove|") &&
                     texts(boxes).at(0).contains(message),
                 qPrintable(boxLines(boxes).at(0)));
        QCOMPARE(boxes.boxes().at(0).parent, page);
        if (!edit)
            QCOMPARE(page->ui.tabWidget->currentIndex(), 2);
        QCOMPARE(page->ui.lineUrl->text(), QStringLiteral("renamed.example"));
        QCOMPARE(page->ui.edtKeywords->toPlainText(), QStringLiteral("seo"));
        QCOMPARE(page->selectedModel()->rowCount(), 1);
        QVERIFY(page->ui.checkEnableSchedual->isChecked());
        if (!sabotage.startsWith("DROP"))
            QCOMPARE(values("SELECT Website, Keywords FROM Website"), websites);
        QCOMPARE(values("SELECT count(*) FROM Schedual"), QVariantList{0});
        QVERIFY(hub()->m_vSchedual.empty());
        QCOMPARE(values("SELECT Website FROM UpdateFlow"),
                 edit ? QVariantList{"example.com"} : QVariantList{});
        QCOMPARE(dialog.closes, 0);
        QVERIFY(postedEvents().isEmpty());
    }

    void editShowsTheStoredWebsite()
    {
        SCHEDUAL schedual;
        schedual.Website = "example.com";
        schedual.Type = 2;
        schedual.Days = 28;
        schedual.StartTime = QTime(21, 15);
        schedual.StartMode = 1;
        openWindow({{"example.com", "2026-01-02T03:04:05",
                     "www.google.com.mx?English" + k35Blanks +
                         "?Mexico?20\n"
                         "www.example-engine.test?English?Nowhere\n"
                         "uk.search.yahoo.com?English?Ireland?4",
                     "seo\nrank"}},
                   {schedual});
        AddWebsiteView page(nullptr, hub(), &hub()->m_vWebsites[0]);
        QVERIFY(page.isEditMode());
        QVERIFY(page.ui.btnAddNext->isHidden());
        QVERIFY(!page.ui.btnApply->isHidden());
        QCOMPARE(page.ui.tabWidget->tabText(4), QStringLiteral("Delete Website"));
        QCOMPARE(page.ui.edtKeywords->toPlainText(), QStringLiteral("seo\nrank"));
        SelectedebsiteModel* chosen = page.selectedModel();
        QCOMPARE(chosen->rowCount(), 2);
        QCOMPARE(chosen->index(0, 1).data().toString(), QStringLiteral("Mexico"));
        QCOMPARE(chosen->index(0, 2).data().toString(), "English" + k35Blanks);
        // Ireland shares its Yahoo host and language with the United Kingdom.
        QCOMPARE(chosen->index(1, 1).data().toString(), QStringLiteral("Ireland"));
        // An engine the lists do not know takes no row, and the delays stay with their rows.
        QCOMPARE(chosen->m_vecUserSEInterval, (std::vector<long>{20, 4, 0}));
        QCOMPARE(page.CombineWebsiteString(),
                 SES2String(hub()->m_vWebsites[0].SearchEngines)
                     .remove("\nwww.example-engine.test?English?Nowhere"));

        QVERIFY(page.ui.checkEnableSchedual->isChecked());
        QVERIFY(page.ui.radioDayOfMonth->isChecked());
        QCOMPARE(page.ui.cbDayOfMonth->currentText(), QStringLiteral("28"));
        QVERIFY(page.ui.radioStartOnRun->isChecked());
        QCOMPARE(page.ui.timeStart->time(), QTime(21, 15));
    }

    void applyStoresTheEdit_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("url");
        QTest::addColumn<bool>("keepSchedule");
        QTest::newRow("renamed, schedule changed") << "www.example.org"
                                                   << "example.org" << true;
        QTest::newRow("renamed, schedule removed") << "www.example.org"
                                                   << "example.org" << false;
        QTest::newRow("same URL, schedule changed") << "example.com"
                                                    << "example.com" << true;
    }

    // The history and the schedule follow a renamed website.
    void applyStoresTheEdit()
    {
        QFETCH(QString, typed);
        QFETCH(QString, url);
        QFETCH(bool, keepSchedule);
        SCHEDUAL schedual;
        schedual.Website = "example.com";
        schedual.StartTime = QTime(6, 0);
        openWindow({{"first.example", "2026-01-01T00:00:00", "search.yahoo.com?English?Japan", "q"},
                    {"example.com", "2026-01-02T03:04:05", "www.google.com?English?United States",
                     "a\nb"}},
                   {schedual});
        QVERIFY(addFlow(1, "example.com"));
        QVERIFY(addFlow(2, "first.example"));
        QVERIFY(addFlow(3, "example.com"));
        hub()->m_vSchedual[0].LastRunDay = QDate(2026, 3, 1);
        MessageBoxWatcher boxes;
        DialogStandIn dialog;
        auto* page = new AddWebsiteView(&dialog, hub(), &hub()->m_vWebsites[1]);
        page->ui.lineUrl->setText(typed);
        page->ui.edtKeywords->setPlainText("a\nc\n");
        choose(*page, SE_Bing, "France", "English");
        if (keepSchedule) {
            page->ui.radioDayOfWeek->setChecked(true);
            page->ui.btnW1->setChecked(true);
        } else {
            page->ui.checkEnableSchedual->setChecked(false);
        }
        page->ui.btnApply->click();

        QCOMPARE(values("SELECT * FROM Website WHERE Website=?", {url}),
                 (QVariantList{url, "2026-01-02T03:04:05",
                               "www.google.com?English?United States\nfr.bing.com?English?France",
                               "a\nc"}));
        QCOMPARE(values("SELECT count(*) FROM Website"), QVariantList{2});
        QCOMPARE(values("SELECT UpdateNo, Website FROM UpdateFlow ORDER BY UpdateNo"),
                 (QVariantList{1, url, 2, "first.example", 3, url}));
        if (keepSchedule) {
            QCOMPARE(values("SELECT Website, Type, Days FROM Schedual"), (QVariantList{url, 1, 1}));
            QCOMPARE(hub()->m_vSchedual.size(), std::size_t(1));
            QCOMPARE(hub()->m_vSchedual[0].Website, url);
            QCOMPARE(hub()->m_vSchedual[0].Type, 1);
            // The run day in memory stays.
            QCOMPARE(hub()->m_vSchedual[0].LastRunDay, QDate(2026, 3, 1));
        } else {
            QCOMPARE(values("SELECT count(*) FROM Schedual"), QVariantList{0});
            QVERIFY(hub()->m_vSchedual.empty());
        }
        QCOMPARE(dialog.closes, 1);
        QCOMPARE(postedEvents(), (QList<QPair<int, LTInt64>>{{1001, 1}, {1002, 0}}));
        QVERIFY(boxes.boxes().isEmpty());
    }

    // The URL keys the history and the schedule: a URL that another website has is
    // refused, whether the list in memory or only the database knows it.
    void applyRefusesATakenUrl_data()
    {
        QTest::addColumn<bool>("onlyInDatabase");
        QTest::newRow("website in the list") << false;
        QTest::newRow("row only in the database") << true;
    }

    void applyRefusesATakenUrl()
    {
        QFETCH(bool, onlyInDatabase);
        SCHEDUAL schedual;
        schedual.Website = "example.com";
        schedual.StartTime = QTime(6, 0);
        const QString engines = StoreFixture::kGoogleUs;
        QList<StoredSite> sites{{"example.com", "2026-01-02T03:04:05", engines, "a"}};
        if (!onlyInDatabase)
            sites.append({"taken.example", "2026-01-03T00:00:00", engines, "b"});
        openWindow(sites, {schedual});
        if (onlyInDatabase)
            QVERIFY(run("INSERT INTO Website VALUES(?,?,?,?)",
                        {"taken.example", "2026-01-03T00:00:00", engines, "b"}));
        QVERIFY(addFlow(1, "example.com"));
        MessageBoxWatcher boxes;
        DialogStandIn dialog;
        auto* page = new AddWebsiteView(&dialog, hub(), &hub()->m_vWebsites[0]);
        page->ui.lineUrl->setText("taken.example");
        page->ui.edtKeywords->setPlainText("changed");
        page->ui.btnApply->click();

        QCOMPARE(texts(boxes), QStringList{"This website already exists."});
        QCOMPARE(values("SELECT Website, Keywords FROM Website ORDER BY rowid"),
                 (QVariantList{"example.com", "a", "taken.example", "b"}));
        QCOMPARE(values("SELECT Website FROM UpdateFlow"), QVariantList{"example.com"});
        QCOMPARE(values("SELECT Website FROM Schedual"), QVariantList{"example.com"});
        QCOMPARE(hub()->m_vSchedual.at(0).Website, QStringLiteral("example.com"));
        QCOMPARE(dialog.closes, 0);
        QVERIFY(postedEvents().isEmpty());
    }

    void deleteAsksFirst_data()
    {
        QTest::addColumn<QVariant>("createTime");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("meanwhile"); // a change to the row after it was loaded
        QTest::addColumn<bool>("deleted");
        const QVariant time("2026-01-02T03:04:05");
        QTest::newRow("yes") << time << int(MessageBoxHook::Yes) << "" << true;
        QTest::newRow("no") << time << int(MessageBoxHook::No) << "" << false;
        QTest::newRow("row without creation time")
            << QVariant() << int(MessageBoxHook::Yes) << "" << true;
        // The URL identifies the website, whatever its other columns now hold.
        QTest::newRow("row changed since loading")
            << time << int(MessageBoxHook::Yes)
            << "UPDATE Website SET Keywords='other' WHERE Website='example.com'" << true;
        QTest::newRow("row gone") << time << int(MessageBoxHook::Yes)
                                  << "DELETE FROM Website WHERE Website='example.com'" << false;
    }

    void deleteAsksFirst()
    {
        QFETCH(QVariant, createTime);
        QFETCH(int, answer);
        QFETCH(QString, meanwhile);
        QFETCH(bool, deleted);
        SCHEDUAL schedual;
        schedual.Website = "example.com";
        schedual.StartTime = QTime(6, 0);
        SCHEDUAL other = schedual;
        other.Website = "other.example";
        const QString engines =
            "www.google.com.mx?English" + k35Blanks + "?Mexico\nsearch.yahoo.com?French?Canada ?3";
        openWindow({{"example.com", createTime, engines, "seo\n\nrank"},
                    {"other.example", "2025-05-05T05:05:05", engines, "seo\n\nrank"}},
                   {schedual, other});
        QVERIFY(addFlow(1, "example.com"));
        if (!meanwhile.isEmpty())
            QVERIFY(run(meanwhile));
        MessageBoxWatcher boxes;
        boxes.queueAnswer(answer);
        DialogStandIn dialog;
        auto* page = new AddWebsiteView(&dialog, hub(), &hub()->m_vWebsites[0]);
        page->ui.tabWidget->setCurrentIndex(2);
        page->ui.tabWidget->setCurrentIndex(4);

        const QString question = "Are you sure you want to delete this website and its keywords?";
        QCOMPARE(texts(boxes).value(0), question);
        QCOMPARE(boxes.boxes().at(0).buttons, int(MessageBoxHook::Yes | MessageBoxHook::No));
        QCOMPARE(boxes.boxes().at(0).defaultButton, int(MessageBoxHook::NoButton));
        // Measurements stay in every case.
        QCOMPARE(values("SELECT Website FROM UpdateFlow"), QVariantList{"example.com"});
        if (!deleted) {
            QCOMPARE(texts(boxes), answer == MessageBoxHook::No
                                       ? QStringList{question}
                                       : (QStringList{question, "This website is no longer in "
                                                                "the database."}));
            QCOMPARE(page->ui.tabWidget->currentIndex(), 2);
            QCOMPARE(values("SELECT Website FROM Schedual ORDER BY Website"),
                     (QVariantList{"example.com", "other.example"}));
            QCOMPARE(dialog.closes, 0);
            QVERIFY(postedEvents().isEmpty());
            return;
        }
        QCOMPARE(texts(boxes), QStringList{question});
        QCOMPARE(values("SELECT Website FROM Website"), QVariantList{"other.example"});
        QCOMPARE(values("SELECT Website FROM Schedual"), QVariantList{"other.example"});
        QCOMPARE(dialog.closes, 1);
        QCOMPARE(postedEvents(), (QList<QPair<int, LTInt64>>{{1001, -1}}));
    }

    // Cancel closes the edit dialog unsaved; with no website at all the page stays.
    void cancel_data()
    {
        QTest::addColumn<bool>("haveWebsite");
        QTest::newRow("edit") << true;
        QTest::newRow("no website") << false;
    }

    void cancel()
    {
        QFETCH(bool, haveWebsite);
        openWindow(haveWebsite ? QList<StoredSite>{kExample} : QList<StoredSite>{});
        DialogStandIn dialog;
        auto* page =
            new AddWebsiteView(&dialog, hub(), haveWebsite ? &hub()->m_vWebsites[0] : nullptr);
        page->ui.lineUrl->setText("changed.example");
        page->ui.btnCancel->click();
        QCOMPARE(dialog.closes, haveWebsite ? 1 : 0);
        QCOMPARE(page->ui.lineUrl->text(), QStringLiteral("changed.example"));
        QCOMPARE(values("SELECT Website FROM Website"),
                 haveWebsite ? QVariantList{"example.com"} : QVariantList{});
        QVERIFY(postedEvents().isEmpty());
    }

    // The hub's add page goes back to the page shown before it, keeping what was typed.
    void cancelGoesBack()
    {
        openWindow({kExample});
        hub()->OnSwitchView(HBS_AddWebsite, nullptr);
        AddWebsiteView* page = hub()->m_pAddWebsiteView;
        QVERIFY(page);
        QCOMPARE(hub()->m_nCurrentView, int(HBS_AddWebsite));
        page->ui.lineUrl->setText("typed.example");
        page->ui.btnCancel->click();
        QCOMPARE(hub()->m_nCurrentView, int(HBS_WebsiteView));
        QCOMPARE(hub()->m_nPreviousView, int(HBS_AddWebsite));
        QVERIFY(page->isHidden());
        hub()->OnSwitchView(HBS_AddWebsite, nullptr);
        QCOMPARE(hub()->m_pAddWebsiteView, page);
        QCOMPARE(page->ui.lineUrl->text(), QStringLiteral("typed.example"));
        QVERIFY(postedEvents().isEmpty());
    }

    // The overview's side panel follows the page that is shown, and survives an edit page
    // that dies while it holds the panel.
    void sidePanelFollowsThePage()
    {
        openWindow({kExample});
        QWidget* panel = hub()->m_pWebsiteView->findChild<QTabWidget*>("tabWidget");
        QVERIFY(panel);
        QPointer<QWidget> alive(panel);
        hub()->OnSwitchView(HBS_AddWebsite, nullptr);
        QVERIFY(hub()->m_pAddWebsiteView->isAncestorOf(panel));
        hub()->OnSwitchView(HBS_Settings, nullptr);
        QVERIFY(hub()->m_pSettingsView->isAncestorOf(panel));
        hub()->OnSwitchView(HBS_WebsiteView, nullptr);
        QVERIFY(hub()->m_pWebsiteView->isAncestorOf(panel));

        {
            DialogStandIn dialog;
            auto* page = new AddWebsiteView(&dialog, hub(), &hub()->m_vWebsites[0]);
            page->setVisible(true);
            QVERIFY(page->isAncestorOf(panel));
        }
        QVERIFY(alive);
        QVERIFY(hub()->m_pWebsiteView->isAncestorOf(panel));
    }
};

LT_TEST_MAIN(TestAddWebsiteView)
#include "tst_addwebsiteview.moc"
