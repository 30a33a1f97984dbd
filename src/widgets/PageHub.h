#pragma once

#include "HeaderBarState.h"
#include "RankHub.h"
#include "Records.h"
#include "SqlDb.h"

#include <QString>
#include <QVariant>

#include <optional>
#include <vector>

class QWidget;
class SidePanel;

// What the pages, dialogs and reports need of the application's hub, beyond what the
// rank checker needs: the websites with their rank histories and schedules, the settings,
// the main window, page switching, the side panel and the update runs. The hub implements
// it and hands itself to every page it builds; nothing below the application reaches the
// main window's hub any other way.
class PageHub : public RankHub
{
public:
    ~PageHub() override;

    virtual std::vector<WEBSITE>& Websites() = 0;
    virtual std::vector<RANK_DATA*>& RankDatas() = 0;
    virtual std::vector<SCHEDUAL>& Schedules() = 0;
    virtual void SetSettingValue(SETTINGS index, QVariant value) = 0;

    // The main window: parent of the edit dialog and target of the rebuild (1001) and
    // update (1002) events.
    virtual QWidget* MainWidget() = 0;
    // The one side panel, lent to the page that is shown. A page that goes while it still
    // holds the panel hands it back first.
    virtual SidePanel* GetSidePanel() = 0;
    virtual void TakeBackSidePanel() = 0;

    virtual void OnSwitchView(HeaderBarState state, void* parameter) = 0;
    virtual void ReturnPreviousPage() = 0;
    virtual HeaderBarState PreviousView() const = 0;
    // The index of the website selected in the header bar; -1 when none is.
    virtual int SelectedWebsiteIndex() const = 0;
    virtual void SwitchToSpecicalKeywordView(QString keyword) = 0;
    // Shows the histories again on the overview page, then on the keyword page.
    virtual void RefreshPages() = 0;

    // Update runs started from a page, which parents the progress dialog and the boxes.
    // The overview's: the website of a list index (-1 when the list has none).
    virtual void UpdateWebsite(QWidget* page, int websiteIndex) = 0;
    // The keyword page's: its website and the keyword of its list's current row, if any.
    virtual void UpdateKeyword(QWidget* page, WEBSITE* website,
                               const std::optional<QString>& keyword) = 0;
};
