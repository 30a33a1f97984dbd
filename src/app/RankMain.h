#pragma once

#include "HeaderBarState.h"
#include "PageHub.h"
#include "Records.h"
#include "SidePanel.h"
#include "SqlDb.h"

#include <QDateTime>
#include <QList>
#include <QMetaObject>
#include <QPointer>
#include <QSettings>
#include <QString>
#include <QUrl>
#include <QVariant>
#include <QWidget>

#include <list>
#include <vector>

class HeaderBar;
class LimitToolBox;
class WebsiteView;
class KeywordsView;
class AddWebsiteView;
class SettingsView;
class QNetworkReply;

// The central widget of the main window and the hub of the program: it owns the websites,
// their rank histories, the schedules, the store, the settings and the result-page
// patterns, and lays out the header bar above the page that is shown. A rebuild replaces
// it by a new one that reloads everything from the database.
class RankMain : public QWidget, public PageHub
{
    Q_OBJECT

public:
    // Custom event: open the add-website page (posted to itself when there is no website).
    static constexpr int EVENT_AddFirstWebsite = 1021;

    explicit RankMain(QWidget* parent = nullptr, Qt::WindowFlags flags = Qt::WindowFlags());
    ~RankMain() override;

    // RankHub
    QVariant GetSettingValue(SETTINGS index) override;
    QString GetRegexp(REGEXP_INDEX index) override;
    SqlDb& GetSqlDb() override { return m_Sqldb; }
    bool& UpdateRunningFlag() override { return m_bUpdateRunning; }

    // PageHub
    std::vector<WEBSITE>& Websites() override { return m_vWebsites; }
    std::vector<RANK_DATA*>& RankDatas() override { return m_vRankData; }
    std::vector<SCHEDUAL>& Schedules() override { return m_vSchedual; }
    void SetSettingValue(SETTINGS index, QVariant value) override;
    SidePanel* GetSidePanel() override { return m_pSidePanel; }
    void TakeBackSidePanel() override;
    HeaderBarState PreviousView() const override { return HeaderBarState(m_nPreviousView); }
    int SelectedWebsiteIndex() const override;
    void UpdateWebsite(QWidget* page, int websiteIndex) override;
    void UpdateKeyword(QWidget* page, WEBSITE* website,
                       const std::optional<QString>& keyword) override;

    QList<QString> LoadRegexps();

    // The first website whose URL equals the text exactly; LTException code 5 when none.
    WEBSITE* FindWebsite(QString website);
    // The highest update number in use, stored or in memory.
    LTInt64 GetLastUpdateNo();
    // The main window.
    QWidget* MainWidget() override;

    static QString GetProductVersion();
    static QString GetWindowTitle();

    // The news and version check: one request per hub, sent by the constructor.
    void RequestNews(QUrl url);
    // Most bytes of a news reply taken in. A news page is a few kilobytes of HTML for a
    // label; a longer reply is no news page, and the label would stall the window laying
    // it out. Past this it is dropped like a failed request, so memory stays bounded.
    static constexpr qint64 kMaxNewsBytes = 1024 * 1024;
    // The address of the maker's news page; tests point it where no network is needed.
    static QUrl NewsPage();
    static void SetNewsPage(const QUrl& url);
    // Is `remote` a newer version than `own`? Three decimal parts, missing or
    // non-numeric parts counting as 0, further parts ignored.
    static bool IsNewerVersion(const QString& remote, const QString& own);
    // The version a news page names ("meta lt_ver=" and a double-quoted value); false
    // when it names none.
    static bool FindNewsVersion(const QString& page, QString& version);

    // The schedule clock: one tick at the current time, and at a given time.
    void CheckSchedual();
    void CheckSchedualAt(const QDateTime& now);
    // The schedule's update run; true when it counts as run today.
    bool ProceeSchedual(const SCHEDUAL& schedual);
    // Shows the histories again on the overview page, then on the keyword page.
    void RefreshPages() override;

    // Called by the main window when a newer hub replaces this one: from here on this hub
    // runs no schedule, serves no event and reacts to none of its widgets' signals, even if
    // a dialog of one of its pages is still open.
    void Stop();
    bool IsStopped() const { return m_bStopped; }

    // Opens the keyword page on a keyword (a keyword cell of the overview was clicked).
    void SwitchToSpecicalKeywordView(QString keyword) override;

public slots:
    // Shows the page of the state, building it on first use; the parameter reaches only an
    // add-website page built here (the website to edit, null to add one).
    void OnSwitchView(HeaderBarState state, void* parameter) override;
    // Back to the page shown before the current one.
    void ReturnPreviousPage() override;
    // Keep the selected website the same in the header combo, the overview's website list
    // and the keyword page.
    void OnToolboxWebsiteChange(int position);
    void OnHeadBarWebsiteChanged(int index);

public:
    // The time of the schedule clock's previous tick; shared by every generation of hub.
    static QDateTime m_dtPreviousDateTime;

public slots:
    void OnNewsRequestFinished(QNetworkReply* reply);

protected:
    void timerEvent(QTimerEvent* event) override;
    void customEvent(QEvent* event) override;

public:
    HeaderBar* m_pHeaderBar = nullptr;
    // Lent to the page that is shown; it goes with the page that holds it at the end.
    QPointer<SidePanel> m_pSidePanel;
    WebsiteView* m_pWebsiteView = nullptr;
    KeywordsView* m_pKeywordsView = nullptr;
    AddWebsiteView* m_pAddWebsiteView = nullptr;
    SettingsView* m_pSettingsView = nullptr;
    int m_nCurrentView = 0;
    int m_nPreviousView = 5;
    std::vector<WEBSITE> m_vWebsites;
    std::vector<RANK_DATA*> m_vRankData;
    std::vector<SCHEDUAL> m_vSchedual;
    QSettings m_Settings;
    QList<QString> m_lstRegexps;
    LTInt64 m_nLastUpdateNo = 0;
    bool m_bUpdateRunning = false;
    SqlDb m_Sqldb;
    std::list<SCHEDUAL> m_lstDueSchedual;

private:
    // The page of a state as a widget, null when it is not built.
    QWidget* Page(int state) const;
    // The overview's website list.
    LimitToolBox* WebsiteList() const;
    // Points the keyword page, when built, at the website of a list index.
    void PointKeywordPage(int index);

    int m_nTimerId = 0;
    bool m_bStopped = false;
    // Connections from the hub's widgets to its slots, cut when the hub is stopped.
    QList<QMetaObject::Connection> m_connections;
};
