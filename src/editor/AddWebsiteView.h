#pragma once

#include "Records.h"
#include "ui_AddWebsiteView.h"

#include <QMap>
#include <QPair>
#include <QString>
#include <QVector>
#include <QWidget>

#include <functional>
#include <vector>

class AddWebsiteModel;
class PageHub;
class SelectedebsiteModel;

// The SearchEngines column text of stored engine variants; the same text that
// CombineSearchEnginesString gives, so that a condition built from a loaded website
// matches the row that the editor wrote.
QString SES2String(const std::vector<SEARCH_ENGINE>& engines);

// The website wizard: adds a website (URL, keywords, engine variants, schedule) in five
// tabs, or, given a website, edits or deletes it. It writes the Website and Schedual rows
// itself and then asks the main window to rebuild the hub from the database.
class AddWebsiteView : public QWidget
{
    Q_OBJECT

public:
    // `hub` is the hub whose website list, schedules and store the wizard writes; `edit`
    // the website to edit, null to add one.
    AddWebsiteView(QWidget* parent, PageHub* hub, const WEBSITE* edit);
    ~AddWebsiteView() override;

    bool isEditMode() const { return m_pEditWebsite != nullptr; }

    bool validateTabPage_0();
    bool validateTabPage_1();
    bool validateTabPage_2();
    bool validateTabPage();

    void initEditView(const WEBSITE& site);
    QString CombineWebsiteString();
    // On failure the driver's error text goes to error, when given.
    bool insertWebsiteToDB(QString* error = nullptr);

    // The schedule tab.
    LTInt64 GetWeekMutliSel();
    void SetWeekMutliSel(unsigned long mask);
    void UpdateSchedualEnable();
    bool GainSchedual(SCHEDUAL& schedual);
    // Both report whether the store took the change (no schedule to delete is success).
    bool UpdateOrAddSchedualToDBAndMem(const SCHEDUAL& schedual);
    bool DeleteSchedualInDBAndMem(QString website);

    // The embedded locale tables. A resource that cannot be opened raises LTException
    // code 1 with the path as its message.
    static void Load(QString path, QMap<QString, QString>& map);
    static void ReadCtyLan(QVector<QPair<QString, QString>>& list, QString path);
    void InitIconInfo();
    QString GetIConUseArea(const QString& country);

    void setVisible(bool visible) override;

    SelectedebsiteModel* selectedModel() const { return m_pSelectedModel; }
    AddWebsiteModel* pickModel(EnuSearchEngineType kind) const;

protected slots:
    void on_btnAddNext_clicked();
    void on_tabWidget_currentChanged(int index);
    void on_btnApply_clicked();
    void on_btnCancel_clicked();
    void on_checkEnableSchedual_stateChanged(int state);
    void on_radioEveryDay_toggled(bool checked);
    void on_radioDayOfWeek_toggled(bool checked);
    void on_radioDayOfMonth_toggled(bool checked);
    void on_radioStartOnTime_toggled(bool checked);
    void on_radioStartOnRun_toggled(bool checked);

private:
    void addWebsite();
    void deleteWebsite();
    void returnToTab(int index);
    // Runs the writes of one add, edit or delete in one transaction. On failure
    // everything is rolled back, the schedule list is put back as it was and the text to
    // show is handed back.
    bool storeInTransaction(const std::function<bool(QString& error)>& writes, QString& error);
    void warn(const QString& text);
    // The page's parent (the edit dialog) closes at once.
    void closeParentDialog();
    void postToMainWindow(LTInt64 select, bool update);
    PageHub* Hub() const;
    // The hub's side panel; null without a hub.
    QWidget* Panel() const;

    QMap<QString, QString> m_mapGoogleAreaDomain;
    QMap<QString, QString> m_mapGoogleAreaHl;
    QMap<QString, QString> m_mapBingAreaHl;
    QMap<QString, QString> m_mapBingAreaDomain;
    QMap<QString, QString> m_mapYahooAreaDomain;
    QVector<QPair<QString, QString>> m_vecGoogleCtyLan;
    QVector<QPair<QString, QString>> m_vecBingCtyLan;
    QVector<QPair<QString, QString>> m_vecYahooCtyLan;
    QMap<QString, QString> m_mapIconInfo;

public:
    Ui_AddWebsiteView ui;

private:
    int m_nLastTab = 0;
    PageHub* m_pHub;
    const WEBSITE* m_pEditWebsite;

    SelectedebsiteModel* m_pSelectedModel = nullptr;
    AddWebsiteModel* m_pGoogleModel = nullptr;
    AddWebsiteModel* m_pBingModel = nullptr;
    AddWebsiteModel* m_pYahooModel = nullptr;
};
