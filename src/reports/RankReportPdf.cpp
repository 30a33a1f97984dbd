#include "RankReport.h"

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
#include <QTemporaryFile>
#include <QtMath>

namespace {

// Layout of the page, in device pixels at 96 dpi.
constexpr int kLeft = 40;
constexpr int kBlockLeft = 550;
constexpr int kBlockTop = 35;
constexpr int kLineGap = 5;
constexpr int kGap = 25;
constexpr int kTableSplit = 420;
constexpr int kContinuationTop = 40;
constexpr int kIcon = 48;
constexpr int kIconPitch = 78;
constexpr int kIconGroup = 234;

const QString kDateFormat = QStringLiteral("MM/dd/yyyy");

// The scale that fits a picture of this width between the margins; a picture without
// width is drawn at its own size.
double FitScale(double available, int width)
{
    return width > 0 ? available / width : 1.0;
}

} // namespace

bool RankReport::PrintToPDF(int type, const WebsiteExportPDF* website, KeywordExportPDF* keyword,
                            QString path)
{
    // Type and record must agree; anything else paints nothing and leaves no file.
    if ((type == 0 && !website) || (type == 1 && !keyword) || (type != 0 && type != 1))
        return false;

    // A file the user made read-only stays as it is (root could write it all the same), and
    // so does anything of that name that is not a file.
    const QFileInfo target(path);
    if (target.exists() && (!target.isFile() || !target.isWritable() ||
                            !target.permissions().testFlag(QFileDevice::WriteOwner)))
        return false;
    // The page is drawn into a draft in the same folder, so a report that fails half way
    // leaves no partial file and the link step can put it in place with one rename.
    delete m_pDraft;
    m_pDraft = nullptr;
    m_strDraftTarget.clear();
    auto* draft = new QTemporaryFile(
        QDir(target.absolutePath()).filePath(QStringLiteral(".report-XXXXXX.pdf")), this);
    if (!draft->open()) {
        delete draft;
        return false;
    }
    draft->close();

    QPrinter printer(QPrinter::ScreenResolution);
    printer.setResolution(96);
    printer.setFullPage(true);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(draft->fileName());
    printer.setPageSize(QPageSize(QSizeF(794.0 / 96.0, 1123.0 / 96.0), QPageSize::Inch, QString(),
                                  QPageSize::ExactMatch));
    printer.setPageMargins(QMarginsF(0, 0, 0, 0));

    const QMap<int, QVector<Url_Dat>> linksBefore = m_mapLinks;
    QPainter painter;
    if (!painter.begin(&printer)) {
        delete draft;
        return false;
    }
    // Qt 6 has no separate high-quality antialiasing: plain antialiasing is that.
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);

    QFont baseFont(QStringLiteral("Segoe UI"), 10, QFont::Normal, false);
    painter.setFont(baseFont);
    const int h = painter.fontMetrics().height();
    const double W = printer.width();
    const double H = printer.height();
    const double k = W / printer.paperRect(QPrinter::Point).width();

    QPen basePen(QBrush(QColor(48, 48, 48), Qt::SolidPattern), 2, Qt::SolidLine);
    painter.setPen(basePen);

    QFont creditFont(baseFont);
    creditFont.setPointSize(10);
    creditFont.setUnderline(true);
    const QPen creditPen(QColor(110, 164, 204));
    const QString credit = CreditText();

    // Header: logo, the branding block, rules and the credit line between them.
    int t = 0;
    const QString logo = ReportSetting(SETTING_ReportLogoFile);
    if (!logo.isEmpty()) {
        QImage image;
        if (image.load(logo))
            painter.drawImage(QPoint(kLeft, 15), image);
        t = 15;
    }

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

    painter.drawLine(QPointF(0, t + 110), QPointF(W, t + 110));

    const int b = t + 127;
    {
        painter.save();
        painter.setFont(creditFont);
        painter.setPen(creditPen);
        const QFontMetrics fm = painter.fontMetrics();
        const int w = fm.horizontalAdvance(credit);
        const int hc = fm.height();
        painter.drawText(QPointF(int((W - w) * 0.5), b), credit);
        InsertLinkToPdf(
            1,
            QRectF(((W - w) * 0.5) / k, (H - b) / k - 4, ((W - w) * 0.5 + w) / k, (H - b + hc) / k),
            CreditUrl());
        painter.setFont(baseFont);
        painter.restore();
    }

    painter.drawLine(QPointF(0, b + 11), QPointF(W, b + 11));

    // Body.
    int bodyBottom = 0;
    double s = 1.0;
    QImage continuation;
    if (type == 0) {
        painter.save();
        QFont titleFont(baseFont);
        titleFont.setPixelSize(22);
        painter.setFont(titleFont);
        const int hT = painter.fontMetrics().height();
        painter.drawText(QPointF(kLeft, b + 36), website->Website);
        const QString date = website->ReportDate.toString(kDateFormat);
        painter.drawText(
            QPointF(int(W - kLeft - painter.fontMetrics().horizontalAdvance(date)), b + 36), date);
        painter.setFont(baseFont);
        painter.restore();

        const int y1 = b + 36 + hT + kGap;
        painter.drawText(QPointF(kLeft, y1), QStringLiteral("Created on: ") +
                                                 website->CreateDate.toString(kDateFormat));
        painter.drawText(QPointF(kLeft, y1 + h + kLineGap),
                         QStringLiteral("updated on: ") +
                             website->UpdateDate.toString(kDateFormat));
        const int last = y1 + 2 * (h + kLineGap);
        painter.drawText(QPointF(kLeft, last), QStringLiteral("Total keywords: ") +
                                                   QString::number(website->KeywordCount));

        const QImage& chart = website->ChartImage;
        const QImage& table = website->TableImage;
        s = FitScale(W - 2 * kLeft, chart.width());
        const int Y = last + kGap;
        painter.drawImage(QRectF(kLeft, Y, chart.width() * s, chart.height() * s), chart);
        const int Y2 = int(Y + chart.height() * s) + kGap;
        if (table.height() <= kTableSplit) {
            painter.drawImage(QRectF(kLeft, Y2, table.width() * s, table.height() * s), table);
            bodyBottom = int(Y2 + table.height() * s);
        } else {
            painter.drawImage(QRectF(kLeft, Y2, table.width() * s, kTableSplit * s), table,
                              QRectF(0, 0, table.width(), kTableSplit));
            bodyBottom = int(Y2 + kTableSplit * s);
            continuation = table;
        }
    } else {
        painter.save();
        QFont titleFont(baseFont);
        titleFont.setPixelSize(24);
        painter.setFont(titleFont);
        const int hT = painter.fontMetrics().height();
        painter.drawText(QPointF(kLeft, b + 66), keyword->Keyword);
        const QString range = keyword->From.toString(kDateFormat) + QStringLiteral(" - ") +
                              keyword->To.toString(kDateFormat);
        painter.drawText(
            QPointF(int(W - kLeft - painter.fontMetrics().horizontalAdvance(range)), b + 66),
            range);
        painter.setFont(baseFont);
        painter.restore();

        const int y1 = b + 66 + hT + kGap;
        painter.drawText(QPointF(kLeft, y1), QStringLiteral("Created on: ") +
                                                 keyword->CreateDate.toString(kDateFormat));
        painter.drawText(QPointF(kLeft, y1 + h + kLineGap),
                         QStringLiteral("updated on: ") +
                             keyword->UpdateDate.toString(kDateFormat));
        painter.drawText(QPointF(kLeft, y1 + 2 * (h + kLineGap)),
                         QStringLiteral("Website: ") + keyword->Website);
        const int last = y1 + 3 * (h + kLineGap);
        painter.drawText(QPointF(kLeft, last),
                         QStringLiteral("Search engine: ") + keyword->SearchEngine);

        const QImage& chart = keyword->ChartImage;
        const QImage& table = keyword->TableImage;
        s = FitScale(W - 2 * kLeft, table.width());
        const int Y = last + kGap;
        painter.drawImage(QRectF(kLeft, Y, chart.width() * s, chart.height() * s), chart);
        const int tableTop = int(Y + chart.height() * s) + kGap;
        painter.drawImage(QRectF(kLeft, tableTop, table.width() * s, table.height() * s), table);
        bodyBottom = int(tableTop + table.height() * s);
    }

    // Social icons, each a link to the profile the settings name (empty ones too).
    const int x0 = int((W - kIconGroup) * 0.5);
    const int iconY = bodyBottom + 20;
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
        InsertLinkToPdf(1, QRectF(x / k, (H - iconY) / k, (x + kIcon) / k, (H - iconY - kIcon) / k),
                        ReportSetting(icons[i].setting));
    }

    painter.drawLine(QPointF(0, int(H - 25)), QPointF(W, int(H - 25)));

    int footerWidth = 0;
    int footerHeight = 0;
    {
        painter.save();
        painter.setFont(creditFont);
        painter.setPen(creditPen);
        const QFontMetrics fm = painter.fontMetrics();
        footerWidth = fm.horizontalAdvance(credit);
        footerHeight = fm.height();
        painter.drawText(QPointF(int((W - footerWidth) * 0.5), int(H - 10)), credit);
        painter.setFont(baseFont);
        painter.restore();
    }

    // The rest of a tall website table goes onto pages of its own, slice by slice.
    if (!continuation.isNull()) {
        const int rest = continuation.height() - kTableSplit;
        // A slice is as many rows as fit below the top margin at this scale: up to a scale of
        // about 0.96 that is the page height plus six rows, as ever; above it fewer, so that
        // no row falls off the bottom of the page.
        const int slice = qMax(1, qMin(int(H + 6), int((H - kContinuationTop) / s)));
        for (int i = 0; i * slice < rest; ++i) {
            printer.newPage();
            const QImage part =
                continuation.copy(0, kTableSplit + i * slice, continuation.width(), slice);
            painter.drawImage(QRectF(kLeft, kContinuationTop, part.width() * s, slice * s), part);
        }
    }

    InsertLinkToPdf(1,
                    QRectF(((W - footerWidth) * 0.5) / k, (footerHeight + 10) / k,
                           ((W - footerWidth) * 0.5 + footerWidth) / k, 10 / k - 3),
                    CreditUrl());

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
