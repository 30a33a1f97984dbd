#pragma once

#include "Records.h"
#include "ui_KeywordsView.h"

#include <QDate>
#include <QImage>
#include <QPair>
#include <QWidget>

#include <vector>

class PtChartScene;
class PtChartView;
class QListWidgetItem;
class QTableWidgetItem;
class PageHub;

// The keyword page: the keywords of one website on the left; for the selected keyword its
// best, current, previous and first rank per engine variant with the ranking URL, and the
// trend chart of its ranks over the chosen date range, for one engine or all.
class KeywordsView : public QWidget
{
    Q_OBJECT

public:
    // The histories are the hub's; the page only reads them.
    KeywordsView(QWidget* parent, std::vector<RANK_DATA*>& rankDatas, PageHub* hub);
    ~KeywordsView() override;

    // Shows the keywords of the website (nothing happens when its URL is the current one's).
    void changeWebsite(const WEBSITE& website);
    // Makes the keyword current when the list holds it.
    void SelectSpecicalKeyword(QString keyword);

    void InitTableWidget();
    void InsertLineKeyword(const QString& engine, const QString& country, const QString& lang,
                           LTInt64 best, LTInt64 current, LTInt64 last, LTInt64 first, QString url);
    // The histories of the current keyword for the chart, by the engine filter's index
    // (0 Google, 1 Bing, 2 Yahoo, 3 all).
    void GetRankDatasAndSelect(RANK_DATA*& google, RANK_DATA*& bing, RANK_DATA*& yahoo,
                               int engineIndex);
    PtChartScene* Build_PtCharScence(int dateRangeIndex, int engineIndex);
    // (from, to) of a date-range index, ending today.
    QPair<QDate, QDate> GetDateRange(int dateRangeIndex);
    static QPair<QDate, QDate> GetDateRange(int dateRangeIndex, QDate today);
    QListWidgetItem* FindKeywordListItem(QString keyword, int& row);

    // The report pictures: the chart as it is shown and the keyword table.
    QImage ReportDrawTable();
    QImage ReportDrawChart();

    // The website shown; null until the first changeWebsite.
    const WEBSITE* CurrentWebsite() const { return m_pWebsite; }
    PtChartView* ChartView() const { return m_pChartView; }
    PtChartScene* ChartScene() const;

public slots:
    void on_listWidget_currentRowChanged(int currentRow);
    void on_btnEdit_clicked();
    void on_btnUpdate_clicked();
    void PopluateRankData(const std::vector<RANK_DATA*>& rankDatas);
    void on_cmbEngine_currentIndexChanged(int index);
    void on_cmbDateRange_currentIndexChanged(int index);
    void setVisible(bool visible) override;
    void on_cmbReport_activated(int index);
    void on_tableWidget_itemClicked(QTableWidgetItem* item);

public:
    Ui_KeywordsView ui;

private:
    // The keyword at the list's current row; false when there is none.
    bool CurrentKeyword(QString& keyword) const;
    // Gives the view a new chart and releases the one it replaces.
    void SetChartScene(PtChartScene* scene);
    PageHub* m_pHub;

    const WEBSITE* m_pWebsite = nullptr;
    std::vector<RANK_DATA*>* m_pRankDatas;
    PtChartView* m_pChartView = nullptr;
};
