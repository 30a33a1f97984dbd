#pragma once

#include "PageHub.h"
#include "SidePanel.h"

#include <QMap>
#include <QPointer>
#include <QStringList>

// The hub of a page test: a real store under the test's HOME, the embedded result-page
// patterns, settings kept in memory (with the program's defaults), the model lists and a side
// panel. Current while it lives.
class TestPageHub : public PageHub
{
public:
    TestPageHub();
    ~TestPageHub() override;

    QVariant GetSettingValue(SETTINGS index) override;
    QString GetRegexp(REGEXP_INDEX index) override;
    SqlDb& GetSqlDb() override { return m_store; }
    bool& UpdateRunningFlag() override { return m_bUpdateRunning; }

    std::vector<WEBSITE>& Websites() override { return m_websites; }
    std::vector<RANK_DATA*>& RankDatas() override { return m_rankData; }
    std::vector<SCHEDUAL>& Schedules() override { return m_schedules; }
    void SetSettingValue(SETTINGS index, QVariant value) override { m_settings[index] = value; }
    QWidget* MainWidget() override { return nullptr; }
    SidePanel* GetSidePanel() override;
    void TakeBackSidePanel() override;
    // Page switching and update runs are the application's; a page test has none.
    void OnSwitchView(HeaderBarState, void*) override {}
    void ReturnPreviousPage() override {}
    HeaderBarState PreviousView() const override { return HBS_None; }
    int SelectedWebsiteIndex() const override { return -1; }
    void SwitchToSpecicalKeywordView(QString) override {}
    void RefreshPages() override {}
    void UpdateWebsite(QWidget*, int) override {}
    void UpdateKeyword(QWidget*, WEBSITE*, const std::optional<QString>&) override {}

private:
    SqlDb m_store;
    QStringList m_patterns;
    QMap<int, QVariant> m_settings;
    bool m_bUpdateRunning = false;
    std::vector<WEBSITE> m_websites;
    std::vector<RANK_DATA*> m_rankData;
    std::vector<SCHEDUAL> m_schedules;
    // The pages take the panel into their layouts; it dies with the page that holds it.
    QPointer<SidePanel> m_panel;
};
