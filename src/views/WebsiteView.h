#pragma once

#include "Records.h"

#include <QColor>
#include <QDateTime>
#include <QImage>
#include <QWidget>

#include <vector>

class QLabel;
class QTableWidgetItem;
class PageHub;
class PtTableWidgetItem;

namespace Ui {
class WebsiteView;
}

// The website overview: the website list on the left, and for the selected website its
// keyword table with rank, change and total change per engine, the pies of rank bands
// and the bars of ranked up/down/unchanged keywords. Its left column also holds the
// program's one side panel whenever this page is shown.
class WebsiteView : public QWidget
{
    Q_OBJECT

public:
    // The hub (may be null in tests) lends the side panel and serves the keyword link, the
    // update and the edit dialog.
    WebsiteView(QWidget* parent, const std::vector<WEBSITE>& websites,
                std::vector<RANK_DATA*>& rankData, PageHub* hub);
    ~WebsiteView() override;

    // Takes the side panel into this page's left column before showing it.
    void setVisible(bool visible) override;
    void TakeSidePanel();

    // Refills the table, the charts, the URL and the "Updated on" line of the selected
    // website.
    void PopluateRankData(std::vector<RANK_DATA*>& rankData);

    void InitTableInfo();
    int AddTabDat(const WEBSITE& website, const std::vector<RANK_DATA*>& rankData);
    void LoadSingleInfo(LTInt64 current, LTInt64 previous, LTInt64 first, EnuSearchEngineType kind,
                        PtTableWidgetItem* keywordItem);
    int ClearTableWidget();
    QLabel* GetWebsiteInfo_UpdateOn();

    // Charts of one engine, found by label names; see GetFindStringPie/Rect.
    void ShowPie(const RankDistribution& distribution, EnuSearchEngineType kind);
    void ShowRect(const RankChangeKeywordCount& count, EnuSearchEngineType kind);
    void ClearPieAndRectChart();
    QColor GetColor(int row, int column);

    // The pictures of the website PDF report: the chart area and the keyword table (the
    // table with the report's own column widths, in the screen's row order).
    QImage ReportDrawPie();
    QImage ReportDrawTable();

    // The website of the current list page; null when the list has no page.
    const WEBSITE* CurrentWebsite();

public slots:
    void on_toolBoxWebsite_currentChanged(int index);
    // Update run of the selected website (also the main window's event 1002).
    void on_btnUpdate_clicked();
    // A keyword cell opens the keyword page on that keyword.
    void on_tableWidget_itemClicked(QTableWidgetItem* item);
    // Edits the selected website in the wizard laid over this page.
    void on_btnEditWebsite_clicked();
    // Writes the selected website's report: 0 PDF, 1 CSV.
    void on_cmbReport_activated(int index);

public:
    Ui::WebsiteView* ui;
    const std::vector<WEBSITE>* m_pWebsites;
    std::vector<RANK_DATA*>* m_pRankData;

private:
    PageHub* m_pHub;
};

// Fills a website list page: creation date, last update date and keyword count.
void AddWebsiteInfo(const WEBSITE& website, QWidget* page, const QDateTime& lastUpdate);
// Keywords of all websites together.
LTInt64 StatTotalKeywords(const std::vector<WEBSITE>& websites);
// (keyword, engine variant) pairs of the website with a successful check today.
LTInt64 StatKeywordsHasUpdated(const WEBSITE& website, const std::vector<RANK_DATA*>& rankData);

// Name prefixes of the chart labels of an engine kind. GetFindStringRect throws
// LTException (code 0) for the kinds 0 and 8.
QString GetFindStringPie(EnuSearchEngineType kind);
QString GetFindStringRect(EnuSearchEngineType kind);
