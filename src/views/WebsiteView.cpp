#include "WebsiteView.h"

#include "LTException.h"
#include "LimitToolBox.h"
#include "MessageBoxHook.h"
#include "PageHub.h"
#include "PopEditDlg.h"
#include "PromptAfterFinishTheReport.h"
#include "PtTableWidgetItem.h"
#include "RankDisplayString.h"
#include "RankHistory.h"
#include "RankReport.h"
#include "SidePanel.h"
#include "ui_WebsiteView.h"

#include <QHash>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QVBoxLayout>

#include <cmath>
#include <utility>

namespace {

const char* const kDateFormat = "MM/dd/yyyy";

const QColor kBandColors[4] = {QColor(102, 201, 72), QColor(92, 221, 231), QColor(239, 117, 70),
                               QColor(26, 153, 208)};
const QColor kChangeColors[3] = {QColor(102, 201, 72), QColor(239, 117, 70), QColor(26, 153, 208)};

QString BackgroundStyle(const QColor& color)
{
    return QStringLiteral("background-color:rgb(%1,%2,%3);")
        .arg(color.red())
        .arg(color.green())
        .arg(color.blue());
}

// First column of an engine's group of three; -1 for a kind the table has no columns for.
int GroupColumn(EnuSearchEngineType kind)
{
    switch (kind) {
    case SE_Google:
        return 1;
    case SE_Bing:
        return 4;
    case SE_Yahoo:
        return 7;
    default:
        return -1;
    }
}

} // namespace

WebsiteView::WebsiteView(QWidget* parent, const std::vector<WEBSITE>& websites,
                         std::vector<RANK_DATA*>& rankData, PageHub* hub)
    : QWidget(parent), ui(new Ui::WebsiteView), m_pWebsites(nullptr), m_pRankData(nullptr),
      m_pHub(hub)
{
    ui->setupUi(this);
    InitTableInfo();
    ui->pushButton_4->hide();

    m_pWebsites = &websites;
    m_pRankData = &rankData;

    // The form's placeholder page goes; the websites' pages follow. The first one becomes
    // current and fills the table and the charts through on_toolBoxWebsite_currentChanged.
    QWidget* placeholder = ui->toolBoxWebsite->widget(0);
    ui->toolBoxWebsite->removeItem(0);
    delete placeholder;
    for (const WEBSITE& website : websites) {
        auto* page = new QWidget;
        AddWebsiteInfo(website, page, QueryWebsitesLastUpdateTime(website.Website, rankData));
        ui->toolBoxWebsite->addItemLit(page, website.Website);
    }

    // The side panel starts here, showing the news.
    if (SidePanel* panel = m_pHub ? m_pHub->GetSidePanel() : nullptr) {
        panel->SetTotals(qint64(websites.size()), StatTotalKeywords(websites));
        panel->setCurrentIndex(1);
        TakeSidePanel();
    }
}

WebsiteView::~WebsiteView()
{
    delete ui;
}

void WebsiteView::TakeSidePanel()
{
    if (SidePanel* panel = m_pHub ? m_pHub->GetSidePanel() : nullptr)
        ui->verticalLayout_2->addWidget(panel, 0);
}

void WebsiteView::setVisible(bool visible)
{
    if (visible)
        TakeSidePanel();
    QWidget::setVisible(visible);
}

const WEBSITE* WebsiteView::CurrentWebsite()
{
    const int index = ui->toolBoxWebsite->GetWebsiteIndex(ui->toolBoxWebsite->currentIndex());
    if (index < 0 || !m_pWebsites || index >= int(m_pWebsites->size()))
        return nullptr;
    return &(*m_pWebsites)[size_t(index)];
}

void WebsiteView::on_toolBoxWebsite_currentChanged(int index)
{
    if (index == -1)
        return;
    PopluateRankData(*m_pRankData);
}

void WebsiteView::PopluateRankData(std::vector<RANK_DATA*>& rankData)
{
    const WEBSITE* website = CurrentWebsite();
    if (!website)
        return;

    ClearTableWidget();
    ClearPieAndRectChart();
    ui->lblWebsite->setText(website->Website);
    AddTabDat(*website, rankData);

    for (const SEARCH_ENGINE& engine : website->SearchEngines) {
        const EnuSearchEngineType kind = FindSearchEngineType(engine.SearchEngine);
        RankChangeKeywordCount changes;
        StatRankChangeKeywordCount(rankData, website->Website, engine.SearchEngine, changes);
        try {
            ShowRect(changes, kind);
        } catch (const LTException&) {
            // An engine host of no known engine (only a database edited by hand holds
            // one): its table cells already warned; it has no charts, and the refresh
            // must not end here with the exception escaping into the event loop.
            continue;
        }
        RankDistribution bands;
        StatKeywordRankDistribution(rankData, website->Website, engine.SearchEngine, bands);
        ShowPie(bands, kind);
    }

    if (QLabel* updated = GetWebsiteInfo_UpdateOn()) {
        updated->setText(
            QStringLiteral("Updated on : ") +
            QueryWebsitesLastUpdateTime(website->Website, rankData).toString(kDateFormat));
    }
}

void WebsiteView::InitTableInfo()
{
    HotTableWidget* table = ui->tableWidget;
    table->SetRankTableLook();

    while (table->columnCount() > 0)
        table->removeColumn(0);

    static const char* const headers[10] = {"Keyword", "Google",     "CHG",         " Total\nCHG",
                                            "Bing",    "CHG",        " Total\nCHG", "Yahoo",
                                            "CHG",     " Total\nCHG"};
    QHeaderView* header = table->horizontalHeader();
    for (int column = 0; column < 10; ++column) {
        table->insertColumn(column);
        auto* item = new PtTableWidgetItem(QString::fromLatin1(headers[column]));
        item->setData(Qt::DisplayRole, QString::fromLatin1(headers[column]));
        table->setHorizontalHeaderItem(column, item);
        header->resizeSection(column, (column - 1) % 3 == 0 ? 56 : 70);
        header->setSectionResizeMode(column, QHeaderView::Fixed);
    }
    header->setSectionResizeMode(0, QHeaderView::Stretch);
}

int WebsiteView::AddTabDat(const WEBSITE& website, const std::vector<RANK_DATA*>& rankData)
{
    // One pass over the series instead of a search of the whole list per cell: the list
    // holds every website's series. The first series of a key wins, as a search would.
    QHash<std::pair<QString, QString>, const RANK_DATA*> seriesOf;
    for (const RANK_DATA* series : rankData) {
        if (!series || series->Website != website.Website)
            continue;
        const auto key = std::make_pair(series->SearchEngine, series->Keyword);
        if (!seriesOf.contains(key))
            seriesOf.insert(key, series);
    }

    QTableWidget* table = ui->tableWidget;
    for (const QString& keyword : website.Keywords) {
        const int row = table->rowCount();
        table->insertRow(row);
        auto* keywordItem = new PtTableWidgetItem(keyword);
        keywordItem->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        table->setItem(row, 0, keywordItem);
        for (const SEARCH_ENGINE& engine : website.SearchEngines) {
            const RANK_DATA* series =
                seriesOf.value(std::make_pair(engine.SearchEngine, keyword), nullptr);
            LoadSingleInfo(GetLastRank(series), GetRankPrevious(series), GetRankFirst(series),
                           FindSearchEngineType(engine.SearchEngine), keywordItem);
        }
    }

    for (int row = 0; row < table->rowCount(); ++row) {
        for (int column = 0; column < table->columnCount(); ++column) {
            if (QTableWidgetItem* item = table->item(row, column))
                item->setBackground(GetColor(row, column));
        }
    }
    return table->rowCount();
}

void WebsiteView::LoadSingleInfo(LTInt64 current, LTInt64 previous, LTInt64 first,
                                 EnuSearchEngineType kind, PtTableWidgetItem* keywordItem)
{
    const int column = GroupColumn(kind);
    if (column < 0) {
        MessageBoxHook::warning(nullptr, QStringLiteral("error"),
                                QStringLiteral("Do not support user define"));
        return;
    }

    QTableWidget* table = ui->tableWidget;
    const Qt::Alignment centred = Qt::AlignHCenter | Qt::AlignVCenter;

    // Sorting stays on while the table fills, so every cell set may move the keyword's
    // row: it is looked up again before each cell.
    auto* rank = new PtTableWidgetItem(RankDisplayString(current));
    rank->setTextAlignment(centred);
    table->setItem(keywordItem->row(), column, rank);

    const std::pair<LTInt64, int> changes[2] = {{previous, column + 1}, {first, column + 2}};
    for (const auto& [reference, changeColumn] : changes) {
        QColor color;
        auto* change = new PtTableWidgetItem(RankChangeDisplayString(current, reference, color));
        change->setTextAlignment(centred);
        if (color.isValid())
            change->setForeground(color);
        table->setItem(keywordItem->row(), changeColumn, change);
    }
}

int WebsiteView::ClearTableWidget()
{
    while (ui->tableWidget->rowCount() > 0)
        ui->tableWidget->removeRow(0);
    return 0;
}

QLabel* WebsiteView::GetWebsiteInfo_UpdateOn()
{
    QWidget* page = ui->toolBoxWebsite->currentWidget();
    if (!page)
        return nullptr;
    // The page's layout is its first child, then come its labels in order.
    const QObjectList& children = page->children();
    return children.size() > 2 ? qobject_cast<QLabel*>(children.at(2)) : nullptr;
}

QColor WebsiteView::GetColor(int row, int column)
{
    if (row % 2 == 0)
        return column % 2 == 0 ? QColor(221, 221, 221) : QColor(235, 235, 235);
    return column % 2 == 0 ? QColor(246, 246, 246) : QColor(250, 250, 250);
}

void WebsiteView::ShowPie(const RankDistribution& distribution, EnuSearchEngineType kind)
{
    const QString prefix = GetFindStringPie(kind);

    QPixmap picture(100, 100);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);

    const LTInt64 counts[4] = {distribution.Rank1To10, distribution.Rank11To30,
                               distribution.Rank31To100, distribution.RankOver100};
    const double total = double(counts[0] + counts[1] + counts[2] + counts[3]);
    const QString texts[4] = {QStringLiteral("1-10: %1"), QStringLiteral("11-30: %1"),
                              QStringLiteral("31-100: %1"), QStringLiteral(">100: %1")};
    const QRect pieRect(2, 2, 98, 98);

    // Without any counted keyword there is no share to draw: an even grey disc says so.
    if (total <= 0) {
        painter.setBrush(QColor(221, 221, 221));
        painter.drawEllipse(pieRect);
    }

    QList<int> boundaries;
    int start = 0;
    for (int band = 0; band < 4; ++band) {
        const double share = total > 0 ? double(counts[band]) / total : 0.0;
        const int span = int(std::trunc(360.0 * share)) * 16;
        painter.setBrush(kBandColors[band]);
        if (span > 0)
            painter.drawPie(pieRect, start, span);
        if (!boundaries.contains(start))
            boundaries.append(start);
        if (!boundaries.contains(start + span))
            boundaries.append(start + span);

        if (auto* swatch = findChild<QLabel*>(prefix + QString::number(band + 1)))
            swatch->setStyleSheet(BackgroundStyle(kBandColors[band]));
        if (auto* text =
                findChild<QLabel*>(prefix + QString::number(band + 1) + QString::number(band + 1)))
            text->setText(texts[band].arg(counts[band]));
        start += span;
    }
    boundaries.removeAll(5760);

    QPen separator(Qt::white, 0.5, Qt::SolidLine);
    painter.setPen(separator);
    painter.setBrush(Qt::NoBrush);
    for (int angle : boundaries) {
        // A pie of no span is a single radius.
        const double radians = angle / 16.0 * M_PI / 180.0;
        const QPointF centre = QRectF(pieRect).center();
        const QPointF rim(centre.x() + pieRect.width() / 2.0 * std::cos(radians),
                          centre.y() - pieRect.height() / 2.0 * std::sin(radians));
        painter.drawLine(centre, rim);
    }
    painter.end();

    if (auto* pie = findChild<QLabel*>(prefix + QStringLiteral("0")))
        pie->setPixmap(picture);
}

void WebsiteView::ShowRect(const RankChangeKeywordCount& count, EnuSearchEngineType kind)
{
    const QString prefix = GetFindStringRect(kind);

    const LTInt64 counts[3] = {count.RankUp, count.RankDown, count.RankUnchange};
    const double total = double(counts[0] + counts[1] + counts[2]);
    const QString texts[3] = {QStringLiteral("Rank up: %1"), QStringLiteral("Rank down: %1"),
                              QStringLiteral("Rank unchange: %1")};

    for (int i = 0; i < 3; ++i) {
        // Without keywords counted every bar is empty rather than "nan" pixels wide.
        const double percentage = total > 0 ? double(counts[i]) / total * 100.0 : 0.0;
        const QString width = QString::number(percentage, 'g', 6);
        const QColor& color = kChangeColors[i];
        if (auto* bar = findChild<QLabel*>(prefix + QString::number(i + 1))) {
            bar->setStyleSheet(
                QStringLiteral("background-color:rgb(%1,%2,%3);min-width:%4;max-width:%4;")
                    .arg(color.red())
                    .arg(color.green())
                    .arg(color.blue())
                    .arg(width));
        }
        if (auto* swatch = findChild<QLabel*>(prefix + QString::number(i + 4)))
            swatch->setStyleSheet(BackgroundStyle(color));
        if (auto* text =
                findChild<QLabel*>(prefix + QString::number(i + 4) + QString::number(i + 4)))
            text->setText(texts[i].arg(counts[i]));
    }
}

void WebsiteView::ClearPieAndRectChart()
{
    for (EnuSearchEngineType kind : {SE_Google, SE_Bing, SE_Yahoo}) {
        ShowRect(RankChangeKeywordCount(), kind);
        ShowPie(RankDistribution(), kind);
    }
}

void WebsiteView::on_tableWidget_itemClicked(QTableWidgetItem* item)
{
    if (!item || item->column() != 0)
        return;
    if (m_pHub)
        m_pHub->SwitchToSpecicalKeywordView(item->data(Qt::DisplayRole).toString());
}

void WebsiteView::on_btnUpdate_clicked()
{
    // The hub this page belongs to (it may no longer be the main window's after a rebuild).
    if (!m_pHub)
        return;
    const int page = ui->toolBoxWebsite->currentIndex();
    const int index = page < 0 ? -1 : ui->toolBoxWebsite->GetWebsiteIndex(page);
    m_pHub->UpdateWebsite(this, index);
}

void WebsiteView::on_btnEditWebsite_clicked()
{
    const WEBSITE* website = CurrentWebsite();
    if (!website)
        return;
    PopEditDlg(this, website, m_pHub);
}

void WebsiteView::on_cmbReport_activated(int index)
{
    const WEBSITE* website = CurrentWebsite();
    if (!website) {
        MessageBoxHook::warning(this, QStringLiteral("Lumatrove"),
                                QStringLiteral("Please add a website."));
        return;
    }
    if (index != 0 && index != 1)
        return; // the menu has no other entry

    RankReport report(nullptr);
    const QDate updated = QueryWebsitesLastUpdateTime(website->Website, *m_pRankData).date();
    QString path;
    bool ok = false;
    if (index == 0) {
        WebsiteExportPDF record;
        record.ReportDate = QDate::currentDate();
        record.CreateDate = website->CreateTime.date();
        record.UpdateDate = updated;
        record.KeywordCount = int(website->Keywords.size());
        record.Website = website->Website;
        record.ChartImage = ReportDrawPie();
        record.TableImage = ReportDrawTable();
        path = report.MakeReportFilePath(website->Website, QString(), QStringLiteral(".pdf"));
        // Done only when the page was drawn and its links put in place.
        ok = report.PrintToPDF(0, &record, nullptr, path) && report.WriteLinkToPdf(path);
    } else {
        std::vector<RankDistribution> bands;
        std::vector<RankChangeKeywordCount> changes;
        for (const SEARCH_ENGINE& engine : website->SearchEngines) {
            RankChangeKeywordCount change;
            StatRankChangeKeywordCount(*m_pRankData, website->Website, engine.SearchEngine, change);
            RankDistribution band;
            StatKeywordRankDistribution(*m_pRankData, website->Website, engine.SearchEngine, band);
            bands.push_back(band);
            changes.push_back(change);
        }
        path = report.MakeReportFilePath(website->Website, QString(), QStringLiteral(".csv"));
        ok = report.PrintWebsiteCsv(updated, path, *website, bands, changes,
                                    ui->tableWidget->model());
    }
    PromptAfterFinishTheReport(path, ok, this);
}

QImage WebsiteView::ReportDrawPie()
{
    QWidget* charts = ui->toHideImage;
    QImage picture(charts->width(), charts->height(), QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::white);
    charts->render(&picture, QPoint(0, 0), QRegion(),
                   QWidget::DrawWindowBackground | QWidget::DrawChildren);
    return picture;
}

QImage WebsiteView::ReportDrawTable()
{
    QTableWidget* table = ui->tableWidget;
    const int width = table->width();
    const int headerHeight = table->horizontalHeader()->height();
    const int rows = table->rowCount();
    const int rowHeight = rows > 0 ? table->rowHeight(0) : 0;
    const int height = headerHeight + rows * rowHeight;

    QImage picture(width, height, QImage::Format_ARGB32_Premultiplied);
    if (picture.isNull())
        return picture; // a table never laid out has no size to draw
    picture.fill(Qt::white);
    QPainter painter(&picture);

    const QColor lineColor(167, 167, 167);
    const QColor headerColor(0, 170, 169);
    painter.setPen(QPen(lineColor, 1));
    painter.drawRect(QRect(QPoint(0, 0), QPoint(width - 2, height - 2)));

    painter.setPen(headerColor);
    painter.fillRect(QRect(QPoint(1, 1), QPoint(width - 2, headerHeight - 1)), headerColor);

    // The row pitch as the header and row count give it; a table without rows has none.
    const int pitch = rows > 0 ? 1 + (height - 1 - headerHeight) / rows : 0;
    painter.setPen(lineColor);
    for (int i = 1; i < rows; ++i) {
        const int y = headerHeight + i * pitch + 1;
        painter.drawLine(0, y, width, y);
    }

    // Columns 9 down to 1 with the report's widths; "Keyword" takes the rest on the left.
    static const int columnWidths[10] = {0, 60, 55, 60, 60, 55, 60, 60, 55, 60};
    int columnLeft[10] = {};
    int x = width;
    for (int column = 9; column >= 1; --column) {
        x -= columnWidths[column];
        columnLeft[column] = x;
        painter.drawLine(x, headerHeight, x, height);
    }
    const int keywordRight = width - 525;

    const QFont font(QStringLiteral("Segoe UI"), 12);
    painter.setPen(Qt::white);
    // A header text keeps the table's font where it fits the band; the two-line ones do not
    // with every font the system may put in its place, and are drawn smaller rather than cut.
    auto drawHeader = [&](const QRect& cell, int column) {
        QTableWidgetItem* item = table->horizontalHeaderItem(column);
        const QString text = item ? item->text() : QString();
        const QRect band(QPoint(cell.left(), 1), QPoint(cell.right(), headerHeight - 1));
        auto fits = [&](const QFont& f) {
            return band.contains(
                QFontMetrics(f, &picture).boundingRect(cell, Qt::AlignCenter, text));
        };
        QFont fitted(font);
        for (int pixels = qRound(font.pointSizeF() * picture.logicalDpiY() / 72.0);
             !fits(fitted) && pixels > 6; --pixels)
            fitted.setPixelSize(pixels);
        painter.setFont(fitted);
        painter.drawText(cell, Qt::AlignCenter, text);
    };
    for (int column = 9; column >= 1; --column) {
        drawHeader(QRect(QPoint(columnLeft[column], 1),
                         QPoint(columnLeft[column] + columnWidths[column] - 1, headerHeight + 1)),
                   column);
    }
    drawHeader(QRect(QPoint(1, 1), QPoint(keywordRight, headerHeight + 1)), 0);
    painter.setFont(font);

    painter.setPen(QColor(72, 72, 72));
    for (int row = 0; row < rows; ++row) {
        const int top = int(row * pitch + headerHeight - 4);
        const int bottom = top + headerHeight;
        auto cellText = [table, row](int column) {
            QTableWidgetItem* item = table->item(row, column);
            return item ? item->text() : QString();
        };
        for (int column = 9; column >= 1; --column) {
            painter.drawText(QRect(QPoint(columnLeft[column], top),
                                   QPoint(columnLeft[column] + columnWidths[column] - 1, bottom)),
                             Qt::AlignCenter, cellText(column));
        }
        painter.drawText(QRect(QPoint(1, top), QPoint(keywordRight, bottom)), Qt::AlignCenter,
                         cellText(0));
    }
    painter.end();
    return picture;
}

void AddWebsiteInfo(const WEBSITE& website, QWidget* page, const QDateTime& lastUpdate)
{
    auto* layout = new QVBoxLayout(page);
    const QString texts[3] = {
        QStringLiteral("Created on : ") + website.CreateTime.toString(kDateFormat),
        QStringLiteral("Updated on : ") + lastUpdate.toString(kDateFormat),
        QStringLiteral("Total keywords : ") + QString::number(qint64(website.Keywords.size())),
    };
    QFont font(QStringLiteral("Tahoma"), 10);
    for (const QString& text : texts) {
        auto* label = new QLabel(text, page);
        label->setWordWrap(true);
        label->setFont(font);
        label->setStyleSheet(QStringLiteral("QLabel{color:#484848;}"));
        layout->addWidget(label);
    }
    auto* filler = new QWidget(page);
    filler->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    layout->addWidget(filler);
}

LTInt64 StatTotalKeywords(const std::vector<WEBSITE>& websites)
{
    LTInt64 total = 0;
    for (const WEBSITE& website : websites)
        total += website.Keywords.size();
    return total;
}

LTInt64 StatKeywordsHasUpdated(const WEBSITE& website, const std::vector<RANK_DATA*>& rankData)
{
    LTInt64 updated = 0;
    for (const QString& keyword : website.Keywords) {
        for (const SEARCH_ENGINE& engine : website.SearchEngines) {
            if (HasUpdateSuccessThisDay(rankData, website.Website, engine.SearchEngine, keyword))
                ++updated;
        }
    }
    return updated;
}

QString GetFindStringPie(EnuSearchEngineType kind)
{
    switch (int(kind)) {
    case SE_Google:
        return QStringLiteral("lbl_g_");
    case SE_Bing:
        return QStringLiteral("lbl_b_");
    case SE_Yahoo:
        return QStringLiteral("lbl_y_");
    default:
        return QString();
    }
}

QString GetFindStringRect(EnuSearchEngineType kind)
{
    switch (int(kind)) {
    case SE_Google:
        return QStringLiteral("lbl_g_r");
    case SE_Bing:
        return QStringLiteral("lbl_b_r");
    case SE_Yahoo:
        return QStringLiteral("lbl_y_r");
    case 0:
    case SE_Other:
        throw LTException(0, "no bar chart for this search engine");
    default:
        return QString();
    }
}
