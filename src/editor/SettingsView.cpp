#include "SettingsView.h"

#include "DialogAddProxy.h"
#include "FileDialogHook.h"
#include "MessageBoxHook.h"
#include "PageHub.h"
#include "ReportSettings.h"
#include "SidePanel.h"

#include <QLabel>
#include <QPixmap>
#include <QVBoxLayout>

SettingsView::SettingsView(QWidget* parent, PageHub* hub) : QWidget(parent), m_pHub(hub)
{
    ui.setupUi(this);

    QWidget* placeholder = ui.toolBoxSetting->widget(0);
    ui.toolBoxSetting->removeItem(0);
    delete placeholder;
    ui.toolBoxSetting->addItem(
        newToolboxDescription(QStringLiteral(
            "Adding high quality proxies enables Lumatrove to check local results in different "
            "countries and greatly speeds up the update process.")),
        ui.tabWidget->tabText(0));
    ui.toolBoxSetting->addItem(
        newToolboxDescription(QStringLiteral("Edit your business details and generate white "
                                             "label ranking report for your customers.")),
        ui.tabWidget->tabText(3));

    loadProxies();

    if (!hub)
        return;
    ui.chkIsEnableOnlyProxy->setCheckState(
        hub->GetSettingValue(SETTINGS(0)).toBool() ? Qt::Checked : Qt::Unchecked);
    QLineEdit* const edits[] = {ui.editCompanyName, ui.editAdress,     ui.editTel,
                                ui.editEmail,       ui.editWebsite,    ui.editFacebookUrl,
                                ui.editTwitterUrl,  ui.editLinkedInUrl};
    for (int key = 1; key <= 8; ++key)
        edits[key - 1]->setText(hub->GetSettingValue(SETTINGS(key)).toString());
    // The folder reports really go to, also when the setting is relative.
    ui.editOutputPath->setText(ReportOutputFolder(hub->GetSettingValue(SETTINGS(10)).toString()));
    m_strLogoPath = hub->GetSettingValue(SETTINGS(9)).toString();
    ui.labelPngLogo->setPixmap(QPixmap(m_strLogoPath));
}

SettingsView::~SettingsView() = default;

PageHub* SettingsView::Hub() const
{
    return m_pHub;
}

void SettingsView::setVisible(bool visible)
{
    if (visible) {
        if (SidePanel* panel = m_pHub ? m_pHub->GetSidePanel() : nullptr)
            ui.verticalLayout->addWidget(panel, 0);
    }
    QWidget::setVisible(visible);
}

QWidget* SettingsView::newToolboxDescription(QString text)
{
    auto* widget = new QWidget;
    auto* layout = new QVBoxLayout(widget);
    auto* label = new QLabel(text, widget);
    label->setFont(QFont(QStringLiteral("Tahoma"), 10));
    label->setStyleSheet(QStringLiteral("QLabel{color:#484848;}"));
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignTop);
    layout->addWidget(label);
    return widget;
}

void SettingsView::loadProxies()
{
    PageHub* hub = Hub();
    if (!hub)
        return;
    QList<PROXY> proxies;
    hub->GetSqlDb().loadProxies(proxies);
    const QSignalBlocker blocker(ui.treeWidgetProxiesList);
    ui.treeWidgetProxiesList->setColumnWidth(0, 150);
    for (const PROXY& proxy : proxies)
        appendRow(proxy.address, int(proxy.port), proxy.type, proxy.country, proxy.username,
                  proxy.password, proxy.enable);
}

void SettingsView::appendRow(const QString& address, int port, const QString& type,
                             const QString& country, const QString& username,
                             const QString& password, bool enabled)
{
    auto* item = new QTreeWidgetItem(ui.treeWidgetProxiesList);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(0, enabled ? Qt::Checked : Qt::Unchecked);
    item->setText(0, address);
    item->setText(1, QString::number(port));
    item->setText(2, type);
    item->setText(3, country);
    item->setText(4, username);
    item->setText(5, password);
}

void SettingsView::on_toolBoxSetting_currentChanged(int index)
{
    if (index == 0)
        ui.tabWidget->setCurrentIndex(0);
    else if (index == 1)
        ui.tabWidget->setCurrentIndex(3);
}

void SettingsView::on_pushButtonAddProxy_clicked()
{
    DialogAddProxy dialog(this, m_pHub);
    if (dialog.exec() != QDialog::Accepted)
        return;
    appendRow(dialog.address(), dialog.port(), dialog.type(), dialog.country(), dialog.username(),
              dialog.password(), true);
}

void SettingsView::on_pushButtonRemoveProxy_clicked()
{
    const QList<QTreeWidgetItem*> selected = ui.treeWidgetProxiesList->selectedItems();
    if (selected.isEmpty()) {
        MessageBoxHook::information(this, QStringLiteral("No Proxy Selected"),
                                    QStringLiteral("Please select some proxy items first!"));
        return;
    }
    const int answer =
        MessageBoxHook::warning(this, QStringLiteral("Remove Proxy"),
                                QStringLiteral("Do you want to remove selected proxy items?"),
                                MessageBoxHook::Yes | MessageBoxHook::No, MessageBoxHook::NoButton);
    if (answer != MessageBoxHook::Yes)
        return;
    PageHub* hub = Hub();
    for (QTreeWidgetItem* item : selected) {
        // A row whose proxy is still stored stays listed, or it would come back unseen at
        // the next start.
        if (hub && !hub->GetSqlDb().removeProxy(item->text(0), item->text(1).toInt())) {
            MessageBoxHook::warning(this, QStringLiteral("Lumatrove"),
                                    QStringLiteral("save to database failed."));
            return;
        }
        delete item;
    }
}

void SettingsView::setAllChecked(Qt::CheckState state)
{
    QAbstractItemModel* model = ui.treeWidgetProxiesList->model();
    for (int row = 0; row < model->rowCount(); ++row)
        model->setData(model->index(row, 0), int(state), Qt::CheckStateRole);
}

void SettingsView::on_btnSelectAll_clicked()
{
    setAllChecked(Qt::Checked);
}

void SettingsView::on_btnDeselectAll_clicked()
{
    setAllChecked(Qt::Unchecked);
}

void SettingsView::on_btnProxyApply_clicked()
{
    PageHub* hub = Hub();
    if (hub) {
        hub->SetSettingValue(SETTINGS(0), ui.chkIsEnableOnlyProxy->checkState() == Qt::Checked);
        QTreeWidget* list = ui.treeWidgetProxiesList;
        for (int row = 0; row < list->topLevelItemCount(); ++row) {
            const QTreeWidgetItem* item = list->topLevelItem(row);
            const bool enabled = item->checkState(0) == Qt::Checked;
            const QString address = item->text(0);
            // Not a number from 0 to 65535: 0.
            const int port = item->text(1).toUShort(nullptr, 10);
            bool written;
            if (hub->GetSqlDb().isProxyExist(address, port))
                written = hub->GetSqlDb().enableProxy(address, port, enabled);
            else
                written = hub->GetSqlDb().appendProxy(address, port, item->text(3), item->text(2),
                                                   item->text(4), item->text(5), enabled);
            if (!written) {
                MessageBoxHook::warning(this, QStringLiteral("Lumatrove"),
                                        QStringLiteral("save to database failed."));
                break;
            }
        }
    }
    returnToPreviousPage();
}

void SettingsView::on_btnProxyCancel_clicked()
{
    returnToPreviousPage();
}

void SettingsView::on_pushButton_clicked()
{
    const QString path =
        FileDialogHook::openFileName(this, QStringLiteral("Select Image"), QStringLiteral("."),
                                     QStringLiteral("Image Files (*.png)"));
    if (path.isEmpty())
        return;
    ui.labelPngLogo->setPixmap(QPixmap(path));
    m_strLogoPath = path;
}

void SettingsView::on_pushButton_4_clicked()
{
    const QString folder = FileDialogHook::existingDirectory(this, QStringLiteral(" Select Path"),
                                                             QStringLiteral("."));
    if (!folder.isEmpty())
        ui.editOutputPath->setText(folder);
}

void SettingsView::on_btnApply_clicked()
{
    if (PageHub* hub = Hub()) {
        const QLineEdit* const edits[] = {ui.editCompanyName, ui.editAdress,     ui.editTel,
                                          ui.editEmail,       ui.editWebsite,    ui.editFacebookUrl,
                                          ui.editTwitterUrl,  ui.editLinkedInUrl};
        for (int key = 1; key <= 8; ++key)
            hub->SetSettingValue(SETTINGS(key), edits[key - 1]->text());
        hub->SetSettingValue(SETTINGS(9), m_strLogoPath);
        // A folder left as shown keeps the form it was stored in (such as the default "./").
        const QString stored = hub->GetSettingValue(SETTINGS(10)).toString();
        const QString folder = ui.editOutputPath->text();
        hub->SetSettingValue(SETTINGS(10), folder == ReportOutputFolder(stored) ? stored : folder);
    }
    returnToPreviousPage();
}

void SettingsView::on_btnCancel_clicked()
{
    returnToPreviousPage();
}

void SettingsView::returnToPreviousPage()
{
    if (PageHub* hub = Hub())
        hub->ReturnPreviousPage();
}
