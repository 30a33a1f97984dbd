#include "DialogAddProxy.h"
#include "FileDialogHook.h"
#include "MessageBoxWatcher.h"
#include "RMainWindow.h"
#include "RankMain.h"
#include "SettingsView.h"
#include "StoreFixture.h"
#include "TestMain.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTimer>

namespace {

// Answers the file dialogs with prepared paths and records what was asked.
class FileDialogAnswers : public FileDialogHook
{
public:
    FileDialogAnswers() : m_previous(FileDialogHook::install(this)) {}
    ~FileDialogAnswers() override { FileDialogHook::install(m_previous); }

    QString answer;
    QStringList asked; // kind|caption|dir|filter

    QString getOpenFileName(QWidget*, const QString& caption, const QString& dir,
                            const QString& filter) override
    {
        asked.append("open|" + caption + "|" + dir + "|" + filter);
        return answer;
    }
    QString getSaveFileName(QWidget*, const QString& caption, const QString& dir,
                            const QString& filter) override
    {
        asked.append("save|" + caption + "|" + dir + "|" + filter);
        return answer;
    }
    QString getExistingDirectory(QWidget*, const QString& caption, const QString& dir) override
    {
        asked.append("folder|" + caption + "|" + dir);
        return answer;
    }

private:
    FileDialogHook* m_previous;
};

struct ProxyRow {
    QString address;
    int port;
    QString type;
    QString country;
    QString username;
    QString password;
    bool enable;
};

QList<QStringList> storedProxies(SqlDb& store)
{
    QList<PROXY> proxies;
    store.loadProxies(proxies);
    QList<QStringList> rows;
    for (const PROXY& proxy : proxies)
        rows.append({proxy.address, QString::number(proxy.port), proxy.type, proxy.country,
                     proxy.username, proxy.password, proxy.enable ? "on" : "off"});
    return rows;
}

QList<QStringList> listRows(SettingsView& page)
{
    QList<QStringList> rows;
    QTreeWidget* list = page.ui.treeWidgetProxiesList;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = list->topLevelItem(i);
        QStringList row;
        for (int column = 0; column < 6; ++column)
            row.append(item->text(column));
        row.append(item->checkState(0) == Qt::Checked ? "on" : "off");
        rows.append(row);
    }
    return rows;
}

// The list row of an address (the list sorts its rows).
QTreeWidgetItem* itemOf(SettingsView& page, const QString& address, int port = -1)
{
    QTreeWidget* list = page.ui.treeWidgetProxiesList;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = list->topLevelItem(i);
        if (item->text(0) == address && (port < 0 || item->text(1).toInt() == port))
            return item;
    }
    return nullptr;
}

QList<QStringList> sorted(QList<QStringList> rows)
{
    std::sort(rows.begin(), rows.end());
    return rows;
}

// Fills the add-proxy dialog once it runs, then presses one of its buttons.
void answerAddProxy(const QString& address, int port, const QString& type, const QString& country,
                    bool add)
{
    QTimer::singleShot(0, [=] {
        auto* dialog = qobject_cast<DialogAddProxy*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        dialog->findChild<QLineEdit*>("lineEditAddress")->setText(address);
        dialog->findChild<QSpinBox*>("spinBoxPort")->setValue(port);
        dialog->findChild<QComboBox*>("comboBoxType")->setCurrentText(type);
        dialog->findChild<QComboBox*>("comboBoxCountry")->setCurrentText(country);
        dialog->findChild<QPushButton*>(add ? "pushButtonAdd" : "pushButtonCancel")->click();
        // A refused Add leaves the dialog open: end it so that the test goes on.
        if (dialog->isVisible())
            dialog->reject();
    });
}

} // namespace

class TestSettingsView : public QObject
{
    Q_OBJECT

    RMainWindow* m_window = nullptr;
    RankMain* hub() const { return m_window->Hub(); }

    void openWindow(const QList<ProxyRow>& proxies = {})
    {
        {
            SqlDb store;
            for (const ProxyRow& row : proxies)
                QVERIFY(store.appendProxy(row.address, row.port, row.country, row.type,
                                          row.username, row.password, row.enable));
        }
        m_window = new RMainWindow;
        s_wndRMainWindow = m_window;
    }

private slots:
    void init() { StoreFixture::freshHome(); }

    void cleanup()
    {
        delete m_window;
        m_window = nullptr;
    }

    void construction()
    {
        QTemporaryDir dir;
        const QString logo = dir.filePath("logo.png");
        QImage(30, 10, QImage::Format_RGB32).save(logo);
        {
            QSettings settings;
            settings.setValue("OnlyProxy", true);
            settings.setValue("REPORT_CompanyName", "Shop Ltd");
            settings.setValue("REPORT_LinkedIn", "https://social.example/shop");
            settings.setValue("REPORT_LogoFile", logo);
            settings.setValue("REPORT_OutputPath", "/tmp/reports");
        }
        openWindow({{"10.0.0.2", 3128, "socks5", "Japan", "u", "p", false},
                    {"10.0.0.1", 8080, "http", "Germany", "", "", true}});
        SettingsView page(nullptr, hub());
        QCOMPARE(sorted(listRows(page)),
                 (QList<QStringList>{{"10.0.0.1", "8080", "http", "Germany", "", "", "on"},
                                     {"10.0.0.2", "3128", "socks5", "Japan", "u", "p", "off"}}));
        QVERIFY(page.ui.treeWidgetProxiesList->topLevelItem(0)->flags() & Qt::ItemIsUserCheckable);
        QCOMPARE(page.ui.chkIsEnableOnlyProxy->checkState(), Qt::Checked);
        QCOMPARE(page.ui.editCompanyName->text(), QStringLiteral("Shop Ltd"));
        QCOMPARE(page.ui.editLinkedInUrl->text(), QStringLiteral("https://social.example/shop"));
        QCOMPARE(page.ui.editTel->text(), hub()->GetSettingValue(SETTING_ReportTel).toString());
        QCOMPARE(page.ui.editOutputPath->text(), QStringLiteral("/tmp/reports"));
        QCOMPARE(page.logoPath(), logo);
        QCOMPARE(page.ui.labelPngLogo->pixmap().size(), QSize(30, 10));

        // The toolbox picks the tab; the tab bar itself is not reachable.
        page.ui.toolBoxSetting->setCurrentIndex(1);
        QCOMPARE(page.ui.tabWidget->currentWidget(), page.ui.tabReport);
        page.ui.toolBoxSetting->setCurrentIndex(0);
        QCOMPARE(page.ui.tabWidget->currentWidget(), page.ui.tabProxy);
    }

    void defaultsWithoutSettings()
    {
        openWindow();
        SettingsView page(nullptr, hub());
        QCOMPARE(page.ui.chkIsEnableOnlyProxy->checkState(), Qt::Unchecked);
        QCOMPARE(page.ui.treeWidgetProxiesList->topLevelItemCount(), 0);
        QCOMPARE(page.logoPath(), QStringLiteral("./logo.png"));
        QVERIFY(page.ui.labelPngLogo->pixmap().isNull());
        // The default "./" is shown as the folder reports go to, the data folder; applied
        // unchanged it stays "./".
        const QString data = QDir::homePath() + "/Documents/lumatrove";
        QCOMPARE(page.ui.editOutputPath->text(), data);
        page.ui.btnApply->click();
        QCOMPARE(QSettings().value("REPORT_OutputPath").toString(), QStringLiteral("./"));
    }

    // Added rows wait for Apply; the same proxy twice is inserted once.
    void addedProxiesWaitForApply()
    {
        openWindow();
        MessageBoxWatcher boxes;
        SettingsView page(nullptr, hub());
        answerAddProxy("proxy.example", 3130, "socks5", "France", true);
        page.ui.pushButtonAddProxy->click();
        answerAddProxy("other.example", 3130, "http", "France", false);
        page.ui.pushButtonAddProxy->click();
        answerAddProxy("proxy.example", 3130, "http", "Japan", true);
        page.ui.pushButtonAddProxy->click();
        QCOMPARE(sorted(listRows(page)),
                 (QList<QStringList>{{"proxy.example", "3130", "http", "Japan", "", "", "on"},
                                     {"proxy.example", "3130", "socks5", "France", "", "", "on"}}));
        page.ui.btnProxyCancel->click();
        QVERIFY(storedProxies(hub()->m_Sqldb).isEmpty());
        QCOMPARE(listRows(page).size(), 2);

        // The second row of the same proxy only sets the enabled flag of the first.
        QTreeWidget* list = page.ui.treeWidgetProxiesList;
        const QString firstType = list->topLevelItem(0)->text(2);
        list->topLevelItem(1)->setCheckState(0, Qt::Unchecked);
        page.ui.btnProxyApply->click();
        QCOMPARE(storedProxies(hub()->m_Sqldb),
                 (QList<QStringList>{{"proxy.example", "3130", firstType,
                                      firstType == "http" ? "Japan" : "France", "", "", "off"}}));
        QVERIFY(boxes.boxes().isEmpty());
    }

    // Apply changes only the enabled flag of a stored proxy, and saves "Only proxy".
    void applyEnablesAndDisables()
    {
        openWindow({{"10.0.0.1", 8080, "http", "Germany", "user", "secret", true},
                    {"10.0.0.2", 3128, "socks5", "Japan", "", "", false}});
        SettingsView page(nullptr, hub());
        itemOf(page, "10.0.0.1")->setText(2, "socks5");
        page.ui.btnSelectAll->click();
        QCOMPARE(itemOf(page, "10.0.0.2")->checkState(0), Qt::Checked);
        QCOMPARE(storedProxies(hub()->m_Sqldb).at(1).last(), QStringLiteral("off"));
        page.ui.btnDeselectAll->click();
        QCOMPARE(itemOf(page, "10.0.0.1")->checkState(0), Qt::Unchecked);
        itemOf(page, "10.0.0.2")->setCheckState(0, Qt::Checked);
        page.ui.chkIsEnableOnlyProxy->setChecked(true);

        page.ui.btnApply->click(); // the report Apply does not save the switch
        QCOMPARE(QSettings().value("OnlyProxy").toBool(), false);
        page.ui.btnProxyApply->click();
        QCOMPARE(QSettings().value("OnlyProxy").toBool(), true);
        QCOMPARE(hub()->GetSettingValue(SETTING_OnlyProxy).toBool(), true);
        QCOMPARE(
            storedProxies(hub()->m_Sqldb),
            (QList<QStringList>{{"10.0.0.1", "8080", "http", "Germany", "user", "secret", "off"},
                                {"10.0.0.2", "3128", "socks5", "Japan", "", "", "on"}}));
    }

    void removeDeletesAtOnce_data()
    {
        QTest::addColumn<bool>("select");
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("left");
        QTest::addColumn<bool>("storeFails");
        QTest::newRow("nothing selected") << false << 0 << 3 << false;
        QTest::newRow("answer no") << true << int(MessageBoxHook::No) << 3 << false;
        QTest::newRow("answer yes") << true << int(MessageBoxHook::Yes) << 1 << false;
        // The rows stay listed as long as their proxies stay stored.
        QTest::newRow("store refuses") << true << int(MessageBoxHook::Yes) << 3 << true;
    }

    void removeDeletesAtOnce()
    {
        QFETCH(bool, select);
        QFETCH(int, answer);
        QFETCH(int, left);
        QFETCH(bool, storeFails);
        openWindow({{"10.0.0.1", 8080, "http", "Germany", "", "", true},
                    {"10.0.0.2", 3128, "socks5", "Japan", "", "", true},
                    {"10.0.0.3", 80, "http", "France", "", "", true}});
        if (storeFails)
            QVERIFY(QSqlQuery(hub()->m_Sqldb.m_DB)
                        .exec("CREATE TRIGGER keep BEFORE DELETE ON proxy "
                              "BEGIN SELECT RAISE(ABORT, 'kept'); END"));
        MessageBoxWatcher boxes;
        if (answer)
            boxes.queueAnswer(answer);
        SettingsView page(nullptr, hub());
        if (select) {
            itemOf(page, "10.0.0.1")->setSelected(true);
            itemOf(page, "10.0.0.3")->setSelected(true);
        }
        page.ui.pushButtonRemoveProxy->click();
        QStringList shown{
            select ? "Warning|Remove Proxy|Do you want to remove selected proxy items?"
                   : "Information|No Proxy Selected|Please select some proxy items first!"};
        if (storeFails)
            shown << "Warning|Lumatrove|save to database failed.";
        QCOMPARE(StoreFixture::boxLines(boxes), shown);
        if (select)
            QCOMPARE(boxes.boxes().at(0).buttons, int(MessageBoxHook::Yes | MessageBoxHook::No));
        // Written at once: Cancel does not bring the rows back.
        page.ui.btnProxyCancel->click();
        QCOMPARE(storedProxies(hub()->m_Sqldb).size(), left);
        QCOMPARE(listRows(page).size(), left);
        if (left == 1)
            QCOMPARE(listRows(page).at(0).at(0), QStringLiteral("10.0.0.2"));
    }

    void failedWriteStopsTheApply()
    {
        openWindow();
        MessageBoxWatcher boxes;
        SettingsView page(nullptr, hub());
        answerAddProxy("a.example", 8000, "http", "France", true);
        page.ui.pushButtonAddProxy->click();
        answerAddProxy("b.example", 8000, "http", "France", true);
        page.ui.pushButtonAddProxy->click();
        // A port text that is no port number is read as 0.
        itemOf(page, "b.example")->setText(1, "70000");
        page.ui.btnProxyApply->click();
        QCOMPARE(sorted(storedProxies(hub()->m_Sqldb)),
                 (QList<QStringList>{{"a.example", "8000", "http", "France", "", "", "on"},
                                     {"b.example", "0", "http", "France", "", "", "on"}}));

        QVERIFY(QSqlQuery(hub()->m_Sqldb.m_DB).exec("DROP TABLE proxy"));
        answerAddProxy("c.example", 8000, "http", "France", true);
        page.ui.pushButtonAddProxy->click();
        page.ui.btnProxyApply->click();
        QCOMPARE(StoreFixture::boxLines(boxes),
                 QStringList{"Warning|Lumatrove|save to database failed."});
    }

    void reportDetails()
    {
        openWindow();
        FileDialogAnswers dialogs;
        QTemporaryDir dir;
        const QString logo = dir.filePath("brand.png");
        QImage(300, 100, QImage::Format_RGB32).save(logo);
        SettingsView page(nullptr, hub());
        const QList<QLineEdit*> edits{page.ui.editCompanyName, page.ui.editAdress,
                                      page.ui.editTel,         page.ui.editEmail,
                                      page.ui.editWebsite,     page.ui.editFacebookUrl,
                                      page.ui.editTwitterUrl,  page.ui.editLinkedInUrl};
        for (int i = 0; i < edits.size(); ++i)
            edits[i]->setText(i == 2 ? QString() : QStringLiteral("value %1").arg(i + 1));

        dialogs.answer = logo;
        page.ui.pushButton->click();
        QCOMPARE(page.logoPath(), logo);
        QCOMPARE(page.ui.labelPngLogo->pixmap().size(), QSize(300, 100));
        dialogs.answer.clear(); // a cancelled dialog changes nothing
        page.ui.pushButton->click();
        QCOMPARE(page.logoPath(), logo);

        page.ui.editOutputPath->setText("/kept");
        page.ui.pushButton_4->click();
        QCOMPARE(page.ui.editOutputPath->text(), QStringLiteral("/kept"));
        dialogs.answer = dir.path();
        page.ui.pushButton_4->click();
        QCOMPARE(page.ui.editOutputPath->text(), dir.path());
        QCOMPARE(dialogs.asked, (QStringList{"open|Select Image|.|Image Files (*.png)",
                                             "open|Select Image|.|Image Files (*.png)",
                                             "folder| Select Path|.", "folder| Select Path|."}));

        // Nothing is saved before Apply.
        QCOMPARE(QSettings().contains("REPORT_CompanyName"), false);
        page.ui.btnApply->click();
        const QStringList keys{"REPORT_CompanyName", "REPORT_Adress",  "REPORT_Tel",
                               "REPORT_Email",       "REPORT_Website", "REPORT_Facebook",
                               "REPORT_Twitter",     "REPORT_LinkedIn"};
        QSettings settings;
        for (int i = 0; i < keys.size(); ++i)
            QCOMPARE(settings.value(keys[i]).toString(),
                     i == 2 ? QString() : QStringLiteral("value %1").arg(i + 1));
        QCOMPARE(settings.value("REPORT_LogoFile").toString(), logo);
        QCOMPARE(settings.value("REPORT_OutputPath").toString(), dir.path());
        QVERIFY(!settings.contains("OnlyProxy"));
    }

    void unloadableLogoKeepsItsPath()
    {
        openWindow();
        FileDialogAnswers dialogs;
        dialogs.answer = "/nonexistent/logo.png";
        SettingsView page(nullptr, hub());
        page.ui.pushButton->click();
        QVERIFY(page.ui.labelPngLogo->pixmap().isNull());
        page.ui.btnApply->click();
        QCOMPARE(QSettings().value("REPORT_LogoFile").toString(),
                 QStringLiteral("/nonexistent/logo.png"));
    }
};

LT_TEST_MAIN(TestSettingsView)
#include "tst_settingsview.moc"
