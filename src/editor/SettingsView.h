#pragma once

#include "ui_SettingsView.h"

#include <QString>
#include <QWidget>

class PageHub;
class QTreeWidgetItem;

// The settings page: the proxy list with the only-proxy switch, and the report details
// (business data, logo, output folder). Changes take effect through each page's Apply,
// except removing a proxy, which deletes its row at once.
class SettingsView : public QWidget
{
    Q_OBJECT

public:
    SettingsView(QWidget* parent, PageHub* hub);
    ~SettingsView() override;

    void setVisible(bool visible) override;

    static QWidget* newToolboxDescription(QString text);
    void loadProxies();
    void updateCommon(bool) {}
    void updateData(bool) {}

    QString logoPath() const { return m_strLogoPath; }

    Ui_SettingsView ui;

protected slots:
    void on_toolBoxSetting_currentChanged(int index);
    void on_pushButtonAddProxy_clicked();
    void on_pushButtonRemoveProxy_clicked();
    void on_btnSelectAll_clicked();
    void on_btnDeselectAll_clicked();
    void on_btnProxyApply_clicked();
    void on_btnProxyCancel_clicked();
    void on_pushButton_clicked();
    void on_pushButton_4_clicked();
    void on_btnApply_clicked();
    void on_btnCancel_clicked();
    void on_chkIsEnableOnlyProxy_stateChanged(int) {}
    void on_treeWidgetProxiesList_itemChanged(QTreeWidgetItem*, int) {}

private:
    void setAllChecked(Qt::CheckState state);
    void appendRow(const QString& address, int port, const QString& type, const QString& country,
                   const QString& username, const QString& password, bool enabled);
    void returnToPreviousPage();
    PageHub* Hub() const;

    PageHub* m_pHub;
    QString m_strLogoPath;
};
