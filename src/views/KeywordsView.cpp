#include "KeywordsView.h"

#include "KeywordExportPDF.h"
#include "PageHub.h"
#include "PopEditDlg.h"
#include "PromptAfterFinishTheReport.h"
#include "PtChartScene.h"
#include "PtChartView.h"
#include "PtTableWidgetItem.h"
#include "RankDisplayString.h"
#include "RankHistory.h"
#include "RankReport.h"
#include "SidePanel.h"
#include "UrlOpenHook.h"

#include <QHeaderView>
#include <QPainter>
#include <QSignalBlocker>
#include <QUrl>

#include <optional>
#include <utility>

namespace {

const QStringList ColumnTitles = {QStringLiteral("Search Engine"), QStringLiteral("Country"),
                                  QStringLiteral("Lang"),          QStringLiteral("Best"),
                                  QStringLiteral("Current"),       QStringLiteral("Last"),
                                  QStringLiteral("CHG"),           QStringLiteral("Created"),
                                  QStringLiteral("Total\nCHG"),    QStringLiteral("URL")};

const int UrlColumn = 9;

} // namespace

KeywordsView::KeywordsView(QWidget* parent, std::vector<RANK_DATA*>& rankDatas, PageHub* hub)
    : QWidget(parent), m_pHub(hub), m_pRankDatas(&rankDatas)
{
    ui.setupUi(this);
    m_pWebsite = nullptr;
    m_pChartView = new PtChartView;
    ui.listWidget->clear();
    InitTableWidget();
    ui.pushButton_4->hide();
    {
        const QSignalBlocker blocker(ui.cmbEngine);
        ui.cmbEngine->addItems({QStringLiteral("Google"), QStringLiteral("Bing"),
                                QStringLiteral("Yahoo"), QStringLiteral("All")});
    }
    {
        const QSignalBlocker blocker(ui.cmbDateRange);
        ui.cmbDateRange->addItems({QStringLiteral("7 days"), QStringLiteral("1 month"),
                                   QStringLiteral("3 months"), QStringLiteral("1 year")});
        ui.cmbDateRange->setCurrentIndex(2);
    }
    ui.verticalLayout->insertWidget(2, m_pChartView, 0);
    ui.tableWidget->sortByColumn(0, Qt::DescendingOrder);
}

KeywordsView::~KeywordsView()
{
    // The view does not own its scene.
    QGraphicsScene* scene = m_pChartView->scene();
    m_pChartView->setScene(nullptr);
    delete scene;
}

void KeywordsView::InitTableWidget()
{
    HotTableWidget* table = ui.tableWidget;
    table->setRowCount(0);
    table->setColumnCount(0);
    table->SetRankTableLook();
    QHeaderView* header = table->horizontalHeader();
    for (int i = 0; i < ColumnTitles.size(); ++i) {
        table->insertColumn(i);
        table->setHorizontalHeaderItem(i, new PtTableWidgetItem(ColumnTitles[i]));
        header->resizeSection(i, 50);
        header->setSectionResizeMode(i, QHeaderView::Fixed);
    }
    header->resizeSection(0, 150);
    header->resizeSection(1, 70);
    header->resizeSection(2, 70);
    const int last = ColumnTitles.size() - 1;
    header->resizeSection(last, 250);
    header->setSectionResizeMode(last, QHeaderView::Stretch);
    table->horizontalHeaderItem(last)->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

void KeywordsView::changeWebsite(const WEBSITE& website)
{
    if (m_pWebsite && m_pWebsite->Website == website.Website)
        return;
    m_pWebsite = &website;
    ui.listWidget->clear();
    ui.listWidget->addItems(website.Keywords);
    ui.listWidget->setCurrentRow(0);
    // A website without keywords selects no row; the previous website's ranks must go.
    if (ui.listWidget->currentRow() == -1)
        PopluateRankData(*m_pRankDatas);
}

void KeywordsView::SelectSpecicalKeyword(QString keyword)
{
    int row = -1;
    if (FindKeywordListItem(keyword, row))
        ui.listWidget->setCurrentRow(row);
}

QListWidgetItem* KeywordsView::FindKeywordListItem(QString keyword, int& row)
{
    for (int i = 0; i < ui.listWidget->count(); ++i) {
        QListWidgetItem* item = ui.listWidget->item(i);
        if (item->text() == keyword) {
            row = i;
            return item;
        }
    }
    return nullptr;
}

bool KeywordsView::CurrentKeyword(QString& keyword) const
{
    const int row = ui.listWidget->currentRow();
    // The list mirrors the website's keywords; a row outside them has no keyword.
    if (!m_pWebsite || row < 0 || row >= m_pWebsite->Keywords.size())
        return false;
    keyword = m_pWebsite->Keywords[row];
    return true;
}

void KeywordsView::PopluateRankData(const std::vector<RANK_DATA*>& rankDatas)
{
    ui.tableWidget->setRowCount(0);
    QString keyword;
    if (CurrentKeyword(keyword)) {
        ui.lblWebsite->setText(keyword);
        ui.tableWidget->setSortingEnabled(false);
        for (const SEARCH_ENGINE& engine : m_pWebsite->SearchEngines) {
            const RANK_DATA* history =
                Find_RankData(rankDatas, m_pWebsite->Website, engine.SearchEngine, keyword);
            LTInt64 best = 0;
            LTInt64 current = 0;
            LTInt64 last = 0;
            LTInt64 first = 0;
            QString url;
            if (history && !history->FlowItems.empty()) {
                best = FindBestRank(history);
                current = history->FlowItems.back().Rank;
                last = GetRankPrevious(history);
                first = history->FlowItems.front().Rank;
                url = history->FlowItems.back().RankURL;
            }
            InsertLineKeyword(engine.SearchEngine, engine.Country, engine.Lang, best, current, last,
                              first, url);
        }
        ui.tableWidget->setSortingEnabled(true);
    } else if (m_pWebsite) {
        ui.lblWebsite->setText(m_pWebsite->Website);
    }
    SetChartScene(
        Build_PtCharScence(ui.cmbDateRange->currentIndex(), ui.cmbEngine->currentIndex()));
}

void KeywordsView::InsertLineKeyword(const QString& engine, const QString& country,
                                     const QString& lang, LTInt64 best, LTInt64 current,
                                     LTInt64 last, LTInt64 first, QString url)
{
    QTableWidget* table = ui.tableWidget;
    const int row = table->rowCount();
    table->insertRow(row);
    auto put = [&](int column, const QString& text) {
        auto* item = new PtTableWidgetItem(text);
        item->setTextAlignment(Qt::AlignCenter);
        table->setItem(row, column, item);
        return item;
    };
    put(0, engine)->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    put(1, country);
    put(2, lang);
    put(3, RankDisplayString(best));
    put(4, RankDisplayString(current));
    put(5, RankDisplayString(last));
    QColor color;
    PtTableWidgetItem* change = put(6, RankChangeDisplayString(current, last, color));
    if (color.isValid())
        change->setForeground(color);
    put(7, RankDisplayString(first));
    color = QColor();
    PtTableWidgetItem* total = put(8, RankChangeDisplayString(current, first, color));
    if (color.isValid())
        total->setForeground(color);
    PtTableWidgetItem* link = put(UrlColumn, url);
    link->setForeground(QColor(0, 0, 255));
    QFont font = link->font();
    font.setUnderline(true);
    link->setFont(font);
    link->setToolTip(url);
}

void KeywordsView::GetRankDatasAndSelect(RANK_DATA*& google, RANK_DATA*& bing, RANK_DATA*& yahoo,
                                         int engineIndex)
{
    QString keyword;
    if (!CurrentKeyword(keyword))
        return;
    for (const SEARCH_ENGINE& engine : m_pWebsite->SearchEngines) {
        RANK_DATA* history =
            Find_RankData(*m_pRankDatas, m_pWebsite->Website, engine.SearchEngine, keyword);
        switch (FindSearchEngineType(engine.SearchEngine)) {
        case SE_Google:
            if (engineIndex == 0 || engineIndex == 3)
                google = history;
            break;
        case SE_Bing:
            if (engineIndex == 1 || engineIndex == 3)
                bing = history;
            break;
        case SE_Yahoo:
            if (engineIndex == 2 || engineIndex == 3)
                yahoo = history;
            break;
        default:
            break;
        }
    }
}

QPair<QDate, QDate> KeywordsView::GetDateRange(int dateRangeIndex)
{
    return GetDateRange(dateRangeIndex, QDate::currentDate());
}

QPair<QDate, QDate> KeywordsView::GetDateRange(int dateRangeIndex, QDate today)
{
    QDate from;
    switch (dateRangeIndex) {
    case 0:
        from = today.addDays(-7);
        break;
    case 1:
        from = today.addMonths(-1);
        break;
    case 3:
        from = today.addYears(-1);
        break;
    case 2:
    default:
        from = today.addMonths(-3);
        break;
    }
    return {from.addDays(1), today};
}

PtChartScene* KeywordsView::Build_PtCharScence(int dateRangeIndex, int engineIndex)
{
    const QPair<QDate, QDate> range = GetDateRange(dateRangeIndex);
    RANK_DATA* google = nullptr;
    RANK_DATA* bing = nullptr;
    RANK_DATA* yahoo = nullptr;
    GetRankDatasAndSelect(google, bing, yahoo, engineIndex);
    const QRect geometry = m_pChartView->geometry();
    return new PtChartScene(google, bing, yahoo, range.first, range.second,
                            QRectF(0, 0, geometry.width(), geometry.height()));
}

PtChartScene* KeywordsView::ChartScene() const
{
    return qobject_cast<PtChartScene*>(m_pChartView->scene());
}

void KeywordsView::SetChartScene(PtChartScene* scene)
{
    QGraphicsScene* previous = m_pChartView->scene();
    m_pChartView->setScene(scene);
    delete previous;
}

void KeywordsView::on_listWidget_currentRowChanged(int currentRow)
{
    if (currentRow == -1)
        return;
    PopluateRankData(*m_pRankDatas);
}

void KeywordsView::on_cmbEngine_currentIndexChanged(int index)
{
    SetChartScene(Build_PtCharScence(ui.cmbDateRange->currentIndex(), index));
}

void KeywordsView::on_cmbDateRange_currentIndexChanged(int index)
{
    SetChartScene(Build_PtCharScence(index, ui.cmbEngine->currentIndex()));
}

void KeywordsView::on_tableWidget_itemClicked(QTableWidgetItem* item)
{
    if (!item || item->tableWidget() != ui.tableWidget || item->row() < 0 ||
        item->column() != UrlColumn)
        return;
    const QString url = item->text();
    if (url.isEmpty())
        return;
    UrlOpenHook::openUrl(QUrl::fromEncoded(url.toLocal8Bit(), QUrl::StrictMode));
}

void KeywordsView::on_btnEdit_clicked()
{
    if (!m_pWebsite)
        return;
    PopEditDlg(this, m_pWebsite, m_pHub);
}

void KeywordsView::on_btnUpdate_clicked()
{
    if (!m_pHub)
        return;
    QString keyword;
    std::optional<QString> current;
    if (CurrentKeyword(keyword))
        current = keyword;
    // The page's website is an element of the hub's own list.
    m_pHub->UpdateKeyword(this, const_cast<WEBSITE*>(m_pWebsite), current);
}

void KeywordsView::setVisible(bool visible)
{
    if (visible) {
        // The one side panel follows the page that is shown.
        if (SidePanel* panel = m_pHub ? m_pHub->GetSidePanel() : nullptr)
            ui.verticalLayout_2->addWidget(panel, 0);
    }
    QWidget::setVisible(visible);
}

void KeywordsView::on_cmbReport_activated(int index)
{
    QString keyword;
    if (!CurrentKeyword(keyword))
        return;
    if (!ChartScene())
        SetChartScene(
            Build_PtCharScence(ui.cmbDateRange->currentIndex(), ui.cmbEngine->currentIndex()));
    const PtChartScene* scene = ChartScene();

    RankReport report;
    const QDate updated = QueryWebsitesLastUpdateTime(m_pWebsite->Website, *m_pRankDatas).date();
    QString path;
    bool ok = false;
    if (index == 0) {
        KeywordExportPDF data;
        data.Keyword = keyword;
        data.Website = m_pWebsite->Website;
        data.From = scene->From();
        data.To = scene->To();
        data.CreateDate = m_pWebsite->CreateTime.date();
        data.UpdateDate = updated;
        data.SearchEngine = ui.cmbEngine->currentText();
        data.ChartImage = ReportDrawChart();
        data.TableImage = ReportDrawTable();
        path = report.MakeReportFilePath(m_pWebsite->Website, keyword, QStringLiteral(".pdf"));
        // Done only when the page was drawn and its links put in place.
        ok = report.PrintToPDF(1, nullptr, &data, path) && report.WriteLinkToPdf(path);
    } else if (index == 1) {
        path = report.MakeReportFilePath(m_pWebsite->Website, keyword, QStringLiteral(".csv"));
        std::vector<const RANK_DATA*> histories;
        std::vector<std::pair<LTInt64, LTInt64>> indexPairs;
        for (const SEARCH_ENGINE& engine : m_pWebsite->SearchEngines) {
            const RANK_DATA* history =
                Find_RankData(*m_pRankDatas, m_pWebsite->Website, engine.SearchEngine, keyword);
            if (!history)
                continue;
            int start = -1;
            int end = -1;
            FindStartAndEndIndex(history, scene->From(), scene->To(), start, end);
            histories.push_back(history);
            indexPairs.emplace_back(start, end);
        }
        ok = report.PrintKeywordCsv(updated, path, *m_pWebsite, histories, indexPairs,
                                    ui.tableWidget->model());
    } else {
        return;
    }
    PromptAfterFinishTheReport(path, ok, this);
}

QImage KeywordsView::ReportDrawChart()
{
    PtChartScene* scene = ChartScene();
    if (!scene)
        return QImage();
    const QRectF rect = scene->sceneRect();
    QImage image(int(rect.width()), int(rect.height()), QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return image; // a view never shown has no size to paint into
    image.fill(Qt::white);
    QPainter painter(&image);
    scene->render(&painter, rect, rect, Qt::KeepAspectRatio);
    painter.end();
    return image;
}

QImage KeywordsView::ReportDrawTable()
{
    const QRect geometry = ui.tableWidget->geometry();
    const int w = geometry.width();
    const int h = geometry.height();
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return image;
    image.fill(Qt::white);
    QPainter painter(&image);
    ui.tableWidget->render(&painter, QPoint(0, 0), QRegion(0, 0, w, h),
                           QWidget::DrawWindowBackground | QWidget::DrawChildren);
    painter.end();
    return image;
}
