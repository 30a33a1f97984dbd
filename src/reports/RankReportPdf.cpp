#include "RankReport.h"

#include "ReportFile.h"
#include "ReportSettings.h"

#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPen>
#include <QPrinter>
#include <QStringList>
#include <QTemporaryDir>
#include <QtMath>

// The report is one page (and, for a tall website table, continuation pages) drawn in
// device pixels at 96 dpi. Each step below draws one part of it and keeps its geometry
// beside it; the steps run in the order the page is built from top to bottom.

namespace {

// Page: A4 in pixels at 96 dpi, drawn edge to edge; everything sits inside the left and
// right margins.
constexpr int kDpi = 96;
constexpr double kPageWidth = 794;
constexpr double kPageHeight = 1123;
constexpr int kLeft = 40;
// Between the title and the first text line, and between the blocks of the body.
constexpr int kGap = 25;
// Between two text lines, added to the font's height.
constexpr int kLineGap = 5;

const QString kDateFormat = QStringLiteral("MM/dd/yyyy");

// The scale that fits a picture of this width between the margins; a picture without
// width is drawn at its own size.
double FitScale(double available, int width)
{
    return width > 0 ? available / width : 1.0;
}

// What the steps share while one report is drawn.
class ReportPage
{
public:
    ReportPage(QPrinter& printer, QPainter& painter, RankReport& report);

    int DrawHeader();
    int DrawTitle(const QString& title, const QString& right, int baseline, int titlePixels,
                  const QStringList& lines);
    int DrawWebsiteTitle(const WebsiteExportPDF& website, int creditBaseline);
    int DrawKeywordTitle(const KeywordExportPDF& keyword, int creditBaseline);
    // The scale that fits this picture between the margins.
    double Scale(const QImage& picture) const { return FitScale(W - 2 * kLeft, picture.width()); }
    int DrawChart(const QImage& chart, double s, int lastLine);
    int DrawWebsiteTable(const QImage& table, double s, int top);
    int DrawKeywordTable(const QImage& table, double s, int top);
    void DrawCredits(int bodyBottom);
    void DrawContinuationPages(const QImage& table, double s);

private:
    void DrawBrandingBlock();

    QPrinter& printer;
    QPainter& painter;
    RankReport& report;
    QFont baseFont;
    QFont creditFont;
    QPen creditPen;
    QString credit;
    int h = 0; // height of the base font
    double W = 0;
    double H = 0;
    double k = 1; // device pixels per PDF point
};

// Set-up: fonts, pens and the page's size in pixels and points.
ReportPage::ReportPage(QPrinter& printer, QPainter& painter, RankReport& report)
    : printer(printer), painter(painter), report(report),
      baseFont(QStringLiteral("Segoe UI"), 10, QFont::Normal, false),
      creditPen(QColor(110, 164, 204)), credit(RankReport::CreditText())
{
    // Qt 6 has no separate high-quality antialiasing: plain antialiasing is that.
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    painter.setFont(baseFont);
    h = painter.fontMetrics().height();
    W = printer.width();
    H = printer.height();
    k = W / printer.paperRect(QPrinter::Point).width();

    const QPen basePen(QBrush(QColor(48, 48, 48), Qt::SolidPattern), 2, Qt::SolidLine);
    painter.setPen(basePen);

    creditFont = baseFont;
    creditFont.setPointSize(10);
    creditFont.setUnderline(true);
}

// Header: the logo, the branding block, two rules and the credit line between them.
// Returns the credit line's baseline, from which the body is laid out.
constexpr int kLogoTop = 15;
// A logo setting moves everything below the branding block down by this much.
constexpr int kLogoShift = 15;
// Larger files are no logo: a picture the size of the whole page, uncompressed, is some
// 3.5 MiB, and the file is read whole before it is looked at.
constexpr qint64 kMaxLogoBytes = 16 * 1024 * 1024;
constexpr int kFirstRule = 110;
constexpr int kCreditBaseline = 127;
constexpr int kSecondRuleBelowCredit = 11;
// Points the credit link reaches below the baseline.
constexpr int kCreditLinkBelow = 4;

int ReportPage::DrawHeader()
{
    int t = 0;
    const QString logo = ReportSetting(SETTING_ReportLogoFile);
    if (!logo.isEmpty()) {
        // Only a regular file is read: a FIFO or device named there would stall the report,
        // and anything but a picture draws nothing. The content names the format; the
        // suffix serves formats that carry no signature, as when a picture is loaded by name.
        const QByteArray bytes = ReadRegularFile(logo, kMaxLogoBytes);
        const QByteArray suffix = QFileInfo(logo).suffix().toLatin1();
        QImage image;
        if (image.loadFromData(bytes) ||
            (!suffix.isEmpty() && image.loadFromData(bytes, suffix.constData())))
            painter.drawImage(QPoint(kLeft, kLogoTop), image);
        t = kLogoShift;
    }

    DrawBrandingBlock();

    painter.drawLine(QPointF(0, t + kFirstRule), QPointF(W, t + kFirstRule));

    const int b = t + kCreditBaseline;
    {
        painter.save();
        painter.setFont(creditFont);
        painter.setPen(creditPen);
        const QFontMetrics fm = painter.fontMetrics();
        const int w = fm.horizontalAdvance(credit);
        const int hc = fm.height();
        painter.drawText(QPointF(int((W - w) * 0.5), b), credit);
        report.InsertLinkToPdf(1,
                               QRectF(((W - w) * 0.5) / k, (H - b) / k - kCreditLinkBelow,
                                      ((W - w) * 0.5 + w) / k, (H - b + hc) / k),
                               RankReport::CreditUrl());
        painter.setFont(baseFont);
        painter.restore();
    }

    painter.drawLine(QPointF(0, b + kSecondRuleBelowCredit),
                     QPointF(W, b + kSecondRuleBelowCredit));
    return b;
}

// Branding block: company, website, e-mail and telephone, one line each that is set, at
// the top right; it does not move the header down.
constexpr int kBlockLeft = 550;
constexpr int kBlockTop = 35;

void ReportPage::DrawBrandingBlock()
{
    const struct {
        SETTINGS setting;
        const char* label;
    } block[] = {{SETTING_ReportCompanyName, "Company: "},
                 {SETTING_ReportWebsite, "Website: "},
                 {SETTING_ReportEmail, "Email: "},
                 {SETTING_ReportTel, "Tel: "}};
    QStringList lines;
    for (const auto& line : block) {
        const QString value = ReportSetting(line.setting);
        if (!value.isEmpty())
            lines << QLatin1String(line.label) + value;
    }
    // The block stays at its place while its widest line ends before the right margin;
    // otherwise it moves left, at most to the middle of the page, and a line still too long
    // is cut short there, so no line runs off the page.
    // Measured unrounded: a line that fits exactly must not be cut by a rounded width.
    const QFontMetricsF blockMetrics(painter.fontMetrics());
    int widest = 0;
    for (const QString& text : lines)
        widest = qMax(widest, qCeil(blockMetrics.horizontalAdvance(text)));
    const int blockRight = int(W) - kLeft;
    const int blockLeft = qMin(kBlockLeft, qMax(int(W * 0.5), blockRight - widest));
    for (int n = 0; n < lines.size(); ++n) {
        const QString text =
            blockMetrics.elidedText(lines[n], Qt::ElideRight, blockRight - blockLeft);
        const int width = painter.fontMetrics().horizontalAdvance(text);
        painter.drawText(QRect(blockLeft, kBlockTop + n * (h + kLineGap), width, h), Qt::AlignLeft,
                         text);
    }
}

// Title: the website or keyword in a large font on the left and its date or date range
// on the right, then the text lines below it. Returns the last line's baseline.
constexpr int kWebsiteTitleBelowCredit = 36;
constexpr int kWebsiteTitlePixels = 22;
constexpr int kKeywordTitleBelowCredit = 66;
constexpr int kKeywordTitlePixels = 24;

int ReportPage::DrawTitle(const QString& title, const QString& right, int baseline, int titlePixels,
                          const QStringList& lines)
{
    painter.save();
    QFont titleFont(baseFont);
    titleFont.setPixelSize(titlePixels);
    painter.setFont(titleFont);
    const int hT = painter.fontMetrics().height();
    painter.drawText(QPointF(kLeft, baseline), title);
    painter.drawText(
        QPointF(int(W - kLeft - painter.fontMetrics().horizontalAdvance(right)), baseline), right);
    painter.setFont(baseFont);
    painter.restore();

    int y = baseline + hT + kGap;
    for (int i = 0; i < lines.size(); ++i) {
        if (i > 0)
            y += h + kLineGap;
        painter.drawText(QPointF(kLeft, y), lines[i]);
    }
    return y;
}

int ReportPage::DrawWebsiteTitle(const WebsiteExportPDF& website, int creditBaseline)
{
    return DrawTitle(website.Website, website.ReportDate.toString(kDateFormat),
                     creditBaseline + kWebsiteTitleBelowCredit, kWebsiteTitlePixels,
                     {QStringLiteral("Created on: ") + website.CreateDate.toString(kDateFormat),
                      QStringLiteral("updated on: ") + website.UpdateDate.toString(kDateFormat),
                      QStringLiteral("Total keywords: ") + QString::number(website.KeywordCount)});
}

int ReportPage::DrawKeywordTitle(const KeywordExportPDF& keyword, int creditBaseline)
{
    return DrawTitle(keyword.Keyword,
                     keyword.From.toString(kDateFormat) + QStringLiteral(" - ") +
                         keyword.To.toString(kDateFormat),
                     creditBaseline + kKeywordTitleBelowCredit, kKeywordTitlePixels,
                     {QStringLiteral("Created on: ") + keyword.CreateDate.toString(kDateFormat),
                      QStringLiteral("updated on: ") + keyword.UpdateDate.toString(kDateFormat),
                      QStringLiteral("Website: ") + keyword.Website,
                      QStringLiteral("Search engine: ") + keyword.SearchEngine});
}

// Charts: the chart picture at the left margin, scaled by s, a gap below the last text
// line. Returns the top of the table below it.
int ReportPage::DrawChart(const QImage& chart, double s, int lastLine)
{
    const int top = lastLine + kGap;
    painter.drawImage(QRectF(kLeft, top, chart.width() * s, chart.height() * s), chart);
    return int(top + chart.height() * s) + kGap;
}

// Table: the table picture, scaled by s. A website table keeps its first rows on this
// page and continues on pages of its own; a keyword table is drawn whole, however tall.
// Returns the bottom of the body.
constexpr int kTableSplit = 420;

int ReportPage::DrawWebsiteTable(const QImage& table, double s, int top)
{
    if (table.height() <= kTableSplit) {
        painter.drawImage(QRectF(kLeft, top, table.width() * s, table.height() * s), table);
        return int(top + table.height() * s);
    }
    painter.drawImage(QRectF(kLeft, top, table.width() * s, kTableSplit * s), table,
                      QRectF(0, 0, table.width(), kTableSplit));
    return int(top + kTableSplit * s);
}

int ReportPage::DrawKeywordTable(const QImage& table, double s, int top)
{
    painter.drawImage(QRectF(kLeft, top, table.width() * s, table.height() * s), table);
    return int(top + table.height() * s);
}

// Credits: the social icons centred below the body, each a link to the profile the
// settings name (empty ones too), then the footer rule and the credit line at the bottom.
constexpr int kIconsBelowBody = 20;
constexpr int kIcon = 48;
constexpr int kIconPitch = 78;
constexpr int kIconGroup = 234;
constexpr int kFooterRuleAboveBottom = 25;
constexpr int kFooterBaselineAboveBottom = 10;
// Points the footer credit link stops short of its baseline.
constexpr int kFooterLinkShort = 3;

void ReportPage::DrawCredits(int bodyBottom)
{
    const int x0 = int((W - kIconGroup) * 0.5);
    const int iconY = bodyBottom + kIconsBelowBody;
    const struct {
        const char* resource;
        SETTINGS setting;
    } icons[] = {{":/Resources/facebook_48.png", SETTING_ReportFacebook},
                 {":/Resources/twitter_48.png", SETTING_ReportTwitter},
                 {":/Resources/linkedin_48.png", SETTING_ReportLinkedIn}};
    for (int i = 0; i < 3; ++i) {
        const int x = x0 + i * kIconPitch;
        QImage icon(kIcon, kIcon, QImage::Format_ARGB32_Premultiplied);
        // A missing icon leaves a blank square, not whatever the memory held.
        icon.fill(Qt::transparent);
        icon.load(QString::fromLatin1(icons[i].resource));
        painter.drawImage(QPoint(x, iconY), icon);
        report.InsertLinkToPdf(
            1, QRectF(x / k, (H - iconY) / k, (x + kIcon) / k, (H - iconY - kIcon) / k),
            ReportSetting(icons[i].setting));
    }

    painter.drawLine(QPointF(0, int(H - kFooterRuleAboveBottom)),
                     QPointF(W, int(H - kFooterRuleAboveBottom)));

    painter.save();
    painter.setFont(creditFont);
    painter.setPen(creditPen);
    const QFontMetrics fm = painter.fontMetrics();
    const int w = fm.horizontalAdvance(credit);
    const int hc = fm.height();
    painter.drawText(QPointF(int((W - w) * 0.5), int(H - kFooterBaselineAboveBottom)), credit);
    painter.setFont(baseFont);
    painter.restore();
    report.InsertLinkToPdf(1,
                           QRectF(((W - w) * 0.5) / k, (hc + kFooterBaselineAboveBottom) / k,
                                  ((W - w) * 0.5 + w) / k,
                                  kFooterBaselineAboveBottom / k - kFooterLinkShort),
                           RankReport::CreditUrl());
}

// Continuation pages: the rows of a website table below the split, slice by slice, each
// on a page of its own without header or footer.
constexpr int kContinuationTop = 40;
// A slice is the page height and these rows more, where that fits at the scale.
constexpr int kSliceExtra = 6;

void ReportPage::DrawContinuationPages(const QImage& table, double s)
{
    if (table.height() <= kTableSplit)
        return;
    const int rest = table.height() - kTableSplit;
    // A slice is as many rows as fit below the top margin at this scale: up to a scale of
    // about 0.96 that is the page height plus six rows, as ever; above it fewer, so that
    // no row falls off the bottom of the page.
    const int slice = qMax(1, qMin(int(H + kSliceExtra), int((H - kContinuationTop) / s)));
    for (int i = 0; i * slice < rest; ++i) {
        printer.newPage();
        const QImage part = table.copy(0, kTableSplit + i * slice, table.width(), slice);
        painter.drawImage(QRectF(kLeft, kContinuationTop, part.width() * s, slice * s), part);
    }
}

// The draft's name inside its folder.
const QString kDraftName = QStringLiteral("report.pdf");

} // namespace

QString RankReport::DraftFile() const
{
    return m_pDraft ? m_pDraft->filePath(kDraftName) : QString();
}

bool RankReport::PrintToPDF(int type, const WebsiteExportPDF* website, KeywordExportPDF* keyword,
                            QString path)
{
    // Type and record must agree; anything else paints nothing and leaves no file.
    if ((type == 0 && !website) || (type == 1 && !keyword) || (type != 0 && type != 1))
        return false;

    // A file the user made read-only stays as it is (root could write it all the same), and
    // so does anything of that name that is not a file. A link there is not followed: the
    // report replaces it.
    const QFileInfo target(path);
    if (!target.isSymLink() && target.exists() &&
        (!target.isFile() || !target.isWritable() ||
         !target.permissions().testFlag(QFileDevice::WriteOwner)))
        return false;
    // The page is drawn into a draft in the same folder, so a report that fails half way
    // leaves no partial file and the link step can put it in place. The printer opens the
    // draft by name, so it lives in a folder of its own that no one else can plant a link
    // in.
    delete m_pDraft;
    m_pDraft = nullptr;
    m_strDraftTarget.clear();
    auto* draft =
        new QTemporaryDir(QDir(target.absolutePath()).filePath(QStringLiteral(".report-XXXXXX")));
    if (!draft->isValid()) {
        delete draft;
        return false;
    }

    QPrinter printer(QPrinter::ScreenResolution);
    printer.setResolution(kDpi);
    printer.setFullPage(true);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(draft->filePath(kDraftName));
    printer.setPageSize(QPageSize(QSizeF(kPageWidth / kDpi, kPageHeight / kDpi), QPageSize::Inch,
                                  QString(), QPageSize::ExactMatch));
    printer.setPageMargins(QMarginsF(0, 0, 0, 0));

    const QMap<int, QVector<Url_Dat>> linksBefore = m_mapLinks;
    QPainter painter;
    if (!painter.begin(&printer)) {
        delete draft;
        return false;
    }

    ReportPage page(printer, painter, *this);
    const int credit = page.DrawHeader();
    if (type == 0) {
        const int last = page.DrawWebsiteTitle(*website, credit);
        // The website report scales by its chart.
        const double s = page.Scale(website->ChartImage);
        const int tableTop = page.DrawChart(website->ChartImage, s, last);
        page.DrawCredits(page.DrawWebsiteTable(website->TableImage, s, tableTop));
        page.DrawContinuationPages(website->TableImage, s);
    } else {
        const int last = page.DrawKeywordTitle(*keyword, credit);
        // The keyword report scales by its table.
        const double s = page.Scale(keyword->TableImage);
        const int tableTop = page.DrawChart(keyword->ChartImage, s, last);
        page.DrawCredits(page.DrawKeywordTable(keyword->TableImage, s, tableTop));
    }

    if (!painter.end()) {
        // The links of a page that was never written must not reach an older file.
        m_mapLinks = linksBefore;
        delete draft;
        return false;
    }
    m_pDraft = draft;
    m_strDraftTarget = path;
    return true;
}
