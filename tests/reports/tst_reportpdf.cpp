// The PDF reports as written files, read back with the PDF tools a user would have: qpdf
// checks the structure and lists the link annotations, poppler gives the page count, size,
// text and rendered pixels.

#include "PeakMemory.h"
#include "PlantedLink.h"
#include "RankReport.h"
#include "TestMain.h"
#include "TestRankHub.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>

#include <atomic>
#include <chrono>
#include <memory>
#include <optional>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct Run {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

Run RunTool(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    Run run;
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return run;
    run.exitCode = process.exitCode();
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

QImage Picture(int width, int height, QColor colour)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(colour);
    return image;
}

int PageCount(const QString& path)
{
    const Run info = RunTool(QStringLiteral("pdfinfo"), {path});
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(QString::fromLatin1(info.out));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

// One link annotation as qpdf reads it.
struct Link {
    QString url;
    QVector<double> rect;
};

// The link annotations of page 1 in the order of its /Annots array, through qpdf's JSON.
QVector<Link> LinksOfFirstPage(const QString& path)
{
    const Run run = RunTool(QStringLiteral("qpdf"), {QStringLiteral("--json=2"), path});
    const QJsonObject root = QJsonDocument::fromJson(run.out).object();
    const QJsonArray qpdf = root.value(QStringLiteral("qpdf")).toArray();
    const QJsonObject objects = qpdf.at(1).toObject();
    auto object = [&](const QString& ref) {
        return objects.value(QStringLiteral("obj:") + ref)
            .toObject()
            .value(QStringLiteral("value"));
    };
    const QString page = root.value(QStringLiteral("pages"))
                             .toArray()
                             .at(0)
                             .toObject()
                             .value(QStringLiteral("object"))
                             .toString();
    QJsonValue annots = object(page).toObject().value(QStringLiteral("/Annots"));
    if (annots.isString())
        annots = object(annots.toString());
    QVector<Link> links;
    for (const QJsonValue ref : annots.toArray()) {
        const QJsonObject annot = object(ref.toString()).toObject();
        Link link;
        for (const QJsonValue v : annot.value(QStringLiteral("/Rect")).toArray())
            link.rect << v.toDouble();
        QJsonValue action = annot.value(QStringLiteral("/A"));
        if (action.isString())
            action = object(action.toString());
        QString uri = action.toObject().value(QStringLiteral("/URI")).toString();
        if (uri.startsWith(QLatin1String("u:")))
            uri = uri.mid(2);
        link.url = uri;
        links << link;
    }
    return links;
}

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Renders a page at 96 dpi, so one pixel of the picture is one device pixel of the page.
QImage RenderPage(const QString& path, int page, const QString& stem)
{
    const QString number = QString::number(page);
    const Run run = RunTool(QStringLiteral("pdftoppm"),
                            {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("96"),
                             QStringLiteral("-f"), number, QStringLiteral("-l"), number,
                             QStringLiteral("-singlefile"), path, stem});
    if (run.exitCode != 0)
        return QImage();
    return QImage(stem + QStringLiteral(".png"));
}

// The text of the report as pdftotext gives it; `layout` keeps the columns apart.
QString Text(const QString& path, bool layout = true)
{
    QStringList arguments{path, QStringLiteral("-")};
    if (layout)
        arguments.prepend(QStringLiteral("-layout"));
    return QString::fromUtf8(RunTool(QStringLiteral("pdftotext"), arguments).out);
}

// One word of pdftotext -bbox, in points from the top left.
struct Word {
    QString text;
    QRectF box;
};

QVector<Word> WordsOfFirstPage(const QString& path)
{
    const Run run = RunTool(QStringLiteral("pdftotext"),
                            {QStringLiteral("-bbox"), QStringLiteral("-f"), QStringLiteral("1"),
                             QStringLiteral("-l"), QStringLiteral("1"), path, QStringLiteral("-")});
    QVector<Word> words;
    const QRegularExpression word(
        QStringLiteral("<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" "
                       "yMax=\"([\\d.]+)\">([^<]*)</word>"));
    for (auto it = word.globalMatch(QString::fromUtf8(run.out)); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        words.append(
            {m.captured(5), QRectF(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                                   QPointF(m.captured(3).toDouble(), m.captured(4).toDouble()))});
    }
    return words;
}

// A table picture whose rows come in bands of kBand rows, each band a colour of its own,
// so that a rendered page tells which rows it shows.
constexpr int kBand = 12;

QColor BandColour(int band)
{
    return QColor(40 + 20 * (band % 10), 40 + 20 * (band / 10 % 10), 250 - 30 * (band / 100 % 10));
}

// The band a pixel shows, -1 for none.
int BandOf(QRgb pixel)
{
    auto step = [](int value, int base, int pitch, int count) {
        const int i = qRound(double(value - base) / pitch);
        return (i >= 0 && i < count && qAbs(value - base - i * pitch) <= 6) ? i : -1;
    };
    const int ones = step(qRed(pixel), 40, 20, 10);
    const int tens = step(qGreen(pixel), 40, 20, 10);
    const int hundreds = step(250 - qBlue(pixel), 0, 30, 3);
    if (ones < 0 || tens < 0 || hundreds < 0)
        return -1;
    return hundreds * 100 + tens * 10 + ones;
}

QImage BandedPicture(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < height; ++y) {
        const QRgb colour = BandColour(y / kBand).rgb();
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, colour);
    }
    return image;
}

// The page as the printer reports it: 596 x 842 pt, 795 x 1123 device pixels.
constexpr double kW = 795;
constexpr double kH = 1123;
constexpr double kK = kW / 596.0;

bool IsDark(QRgb pixel)
{
    return qRed(pixel) < 120 && qGreen(pixel) < 120 && qBlue(pixel) < 120;
}

// Opens the writing end of a FIFO once a report has had time to open its reading end, so a
// report that waits there for a writer is let go (and the test fails) instead of hanging.
class FifoGuard
{
public:
    explicit FifoGuard(const QString& path)
        : m_path(QFile::encodeName(path)), m_thread([this] { Run(); })
    {}
    ~FifoGuard()
    {
        m_done = true;
        m_thread.join();
    }
    bool Released() const { return m_released; }

private:
    void Run()
    {
        const QDeadlineTimer grace(3000);
        while (!m_done) {
            // Without a reader the open fails at once; with one it succeeds.
            const int fd = grace.hasExpired()
                               ? ::open(m_path.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC)
                               : -1;
            if (fd >= 0) {
                m_released = true;
                ::close(fd);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    }

    const QByteArray m_path;
    std::atomic<bool> m_done{false};
    std::atomic<bool> m_released{false};
    std::thread m_thread;
};

} // namespace

class tst_ReportPdf : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestRankHub> m_hub;
    std::unique_ptr<QTemporaryDir> m_dir;

    QString Path(const QString& name) const { return m_dir->filePath(name); }

    void SetBranding()
    {
        m_hub->setSetting(SETTING_ReportCompanyName, QStringLiteral("Harbour Analytics"));
        m_hub->setSetting(SETTING_ReportWebsite, QStringLiteral("http://harbour.example"));
        m_hub->setSetting(SETTING_ReportEmail, QStringLiteral("desk@harbour.example"));
        m_hub->setSetting(SETTING_ReportTel, QStringLiteral("+44 1 2345"));
        m_hub->setSetting(SETTING_ReportFacebook,
                          QStringLiteral("http://facebook.example/harbour"));
        m_hub->setSetting(SETTING_ReportTwitter, QStringLiteral("http://twitter.example/harbour"));
        m_hub->setSetting(SETTING_ReportLinkedIn,
                          QStringLiteral("http://linkedin.example/harbour"));
        m_hub->setSetting(SETTING_ReportLogoFile, QString());
    }

    // Pictures of width 714, the width between the margins, are drawn at about their own
    // size; a wider chart shrinks both.
    WebsiteExportPDF WebsiteRecord(int tableRows, int width = 714) const
    {
        WebsiteExportPDF record;
        record.ReportDate = QDate(2026, 12, 6);
        record.CreateDate = QDate(2026, 1, 2);
        record.UpdateDate = QDate(2026, 11, 30);
        record.KeywordCount = 3;
        record.Website = QStringLiteral("http://www.tidewater.example");
        record.ChartImage = Picture(width, 300, QColor(200, 230, 255));
        record.TableImage = Picture(width, tableRows, QColor(220, 255, 220));
        return record;
    }

private slots:
    void init()
    {
        m_hub = std::make_unique<TestRankHub>();
        m_dir = std::make_unique<QTemporaryDir>();
        m_dir->setAutoRemove(!qEnvironmentVariableIsSet("LUMATROVE_KEEP_TEST_HOME"));
        SetBranding();
    }
    void cleanup()
    {
        m_hub.reset();
        m_dir.reset();
    }

    void websiteReportIsAValidOnePageA4WithItsTexts()
    {
        const QString path = Path(QStringLiteral("site.pdf"));
        RankReport report;
        const WebsiteExportPDF record = WebsiteRecord(200);
        QVERIFY(report.PrintToPDF(0, &record, nullptr, path));
        QVERIFY(report.WriteLinkToPdf(path));

        const Run check = RunTool(QStringLiteral("qpdf"), {QStringLiteral("--check"), path});
        QCOMPARE(check.exitCode, 0);
        QVERIFY2(!check.out.contains("WARNING") && !check.err.contains("WARNING"),
                 check.out + check.err);

        const QString info = QString::fromLatin1(RunTool(QStringLiteral("pdfinfo"), {path}).out);
        QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n"))),
                 qPrintable(info));
        // 794 x 1123 pixels at 96 dpi, in the whole points Qt 6 keeps page sizes in.
        QVERIFY2(info.contains(QStringLiteral("Page size:       596 x 842 pts")), qPrintable(info));

        const QString text = Text(path);
        for (const char* expected :
             {"Company: Harbour Analytics", "Website: http://harbour.example",
              "Email: desk@harbour.example", "Tel: +44 1 2345", "http://www.tidewater.example",
              "12/06/2026", "Created on: 01/02/2026", "updated on: 11/30/2026",
              "Total keywords: 3"})
            QVERIFY2(text.contains(QLatin1String(expected)), expected);
        QCOMPARE(text.count(QStringLiteral("Report generated with www.brindlecor.example")), 2);
    }

    void keywordReportTexts()
    {
        const QString path = Path(QStringLiteral("keyword.pdf"));
        KeywordExportPDF record;
        record.Keyword = QStringLiteral("harbour tours");
        record.Website = QStringLiteral("http://www.tidewater.example");
        record.From = QDate(2026, 11, 1);
        record.To = QDate(2026, 11, 30);
        record.CreateDate = QDate(2026, 1, 2);
        record.SearchEngine = QStringLiteral("Google");
        record.ChartImage = Picture(714, 280, QColor(255, 240, 200));
        record.TableImage = Picture(714, 120, QColor(220, 255, 220));
        RankReport report;
        QVERIFY(report.PrintToPDF(1, nullptr, &record, path));
        QVERIFY(report.WriteLinkToPdf(path));
        QCOMPARE(RunTool(QStringLiteral("qpdf"), {QStringLiteral("--check"), path}).exitCode, 0);
        QCOMPARE(PageCount(path), 1);
        const QString text = Text(path);
        for (const char* expected :
             {"harbour tours", "11/01/2026 - 11/30/2026", "Created on: 01/02/2026",
              "Website: http://www.tidewater.example", "Search engine: Google"})
            QVERIFY2(text.contains(QLatin1String(expected)), expected);
        // A website without measurements has no update day: the label stands alone.
        QVERIFY(text.contains(QRegularExpression(QStringLiteral("updated on:\\s*\\n"))));
        QCOMPARE(LinksOfFirstPage(path).size(), 5);
    }

    void linksAreClickableAnnotations()
    {
        const QString path = Path(QStringLiteral("links.pdf"));
        RankReport report;
        const WebsiteExportPDF record = WebsiteRecord(100);
        report.PrintToPDF(0, &record, nullptr, path);
        QCOMPARE(report.PendingLinks().keys(), QList<int>{1});
        QCOMPARE(report.PendingLinks().value(1).size(), 5);
        QVERIFY(report.WriteLinkToPdf(path));
        QVERIFY(report.PendingLinks().isEmpty());

        const QVector<Link> links = LinksOfFirstPage(path);
        QCOMPARE(links.size(), 5);
        const QString credit = QStringLiteral("http://www.brindlecor.example/?ref=report");
        QStringList urls;
        for (const Link& link : links)
            urls << link.url;
        QCOMPARE(urls, (QStringList{credit, "http://facebook.example/harbour",
                                    "http://twitter.example/harbour",
                                    "http://linkedin.example/harbour", credit}));

        // Rectangles are written with six significant digits.
        auto near = [](double actual, double expected) { return qAbs(actual - expected) < 0.001; };
        // Header credit: baseline 127 px without a logo, 4 pt of slack below it.
        QCOMPARE(links[0].rect.size(), 4);
        QVERIFY(near(links[0].rect[1], (kH - 127) / kK - 4));
        // Icons: 48 px squares from x = int((795 - 234) / 2) = 280, 78 px apart.
        const double iconX[] = {280 / kK, 358 / kK, 436 / kK};
        for (int i = 0; i < 3; ++i) {
            const QVector<double>& r = links[1 + i].rect;
            QCOMPARE(r.size(), 4);
            QVERIFY(near(r[0], iconX[i]));
            QVERIFY(near(r[2], iconX[i] + 48 / kK));
            QVERIFY(near(r[1] - r[3], 48 / kK));
            QCOMPARE(r[1], links[1].rect[1]);
        }
        // Footer credit: 10 px above the bottom edge, less 3 pt.
        QVERIFY(near(links[4].rect[3], 10 / kK - 3));

        // poppler sees the same five targets.
        const QString listed = QString::fromLatin1(
            RunTool(QStringLiteral("pdfinfo"), {QStringLiteral("-url"), path}).out);
        QCOMPARE(listed.count(credit), 2);
        QVERIFY(listed.contains(QStringLiteral("http://linkedin.example/harbour")));
    }

    void tableRowsBeyondTheSplitGoToContinuationPages_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("pages");
        // Scale 715 / 794 = 0.90: slices of 1129 rows fit the page below its top margin.
        QTest::newRow("420 rows, whole") << 794 << 420 << 1;
        QTest::newRow("421 rows") << 794 << 421 << 2;
        QTest::newRow("one full slice") << 794 << 420 + 1129 << 2;
        QTest::newRow("one row more") << 794 << 420 + 1130 << 3;
        // Scale 1: 1123 - 40 = 1083 rows fit.
        QTest::newRow("scale 1, one full slice") << 715 << 420 + 1083 << 2;
        QTest::newRow("scale 1, one row more") << 715 << 420 + 1084 << 3;
    }
    void tableRowsBeyondTheSplitGoToContinuationPages()
    {
        QFETCH(int, width);
        QFETCH(int, rows);
        QFETCH(int, pages);
        const QString path = Path(QStringLiteral("tall.pdf"));
        RankReport report;
        const WebsiteExportPDF record = WebsiteRecord(rows, width);
        report.PrintToPDF(0, &record, nullptr, path);
        QVERIFY(report.WriteLinkToPdf(path));
        QCOMPARE(RunTool(QStringLiteral("qpdf"), {QStringLiteral("--check"), path}).exitCode, 0);
        QCOMPARE(PageCount(path), pages);
        // Continuation pages carry neither credit nor links.
        const QString text = Text(path, false);
        QCOMPARE(text.count(QStringLiteral("Report generated with")), 2);
        QCOMPARE(LinksOfFirstPage(path).size(), 5);
    }

    // Every row of a tall table shows on some page, whatever the scale: the pages are
    // rendered and the bands of rows counted.
    void continuationPagesShowEveryRow_data()
    {
        QTest::addColumn<int>("width");
        QTest::newRow("scale 0.90") << 794;
        QTest::newRow("scale 0.97") << 737;
        QTest::newRow("scale 1.00") << 715;
        QTest::newRow("scale 1.10") << 650;
    }
    void continuationPagesShowEveryRow()
    {
        QFETCH(int, width);
        const int rows = 420 + 2600;
        const int bands = (rows + kBand - 1) / kBand;
        const QString path = Path(QStringLiteral("bands.pdf"));
        RankReport report;
        WebsiteExportPDF record = WebsiteRecord(rows, width);
        record.TableImage = BandedPicture(width, rows);
        QVERIFY(report.PrintToPDF(0, &record, nullptr, path));
        QVERIFY(report.WriteLinkToPdf(path));
        // 2600 rows need three pages at every one of these scales.
        QCOMPARE(PageCount(path), 4);

        QSet<int> seen;
        int last = -1;
        for (int page = 1; page <= 4; ++page) {
            const QImage image = RenderPage(path, page, Path(QStringLiteral("bands-%1").arg(page)));
            QCOMPARE(image.size(), QSize(int(kW), int(kH)));
            // A band counts where two columns show it for at least three rows on end.
            int run = 0;
            int band = -1;
            for (int y = 0; y < image.height(); ++y) {
                const int here = BandOf(image.pixel(60, y));
                if (here >= 0 && here == BandOf(image.pixel(300, y))) {
                    run = here == band ? run + 1 : 1;
                    band = here;
                    if (run == 3) {
                        QVERIFY2(here >= last,
                                 qPrintable(QStringLiteral("band %1 after %2 on page %3")
                                                .arg(here)
                                                .arg(last)
                                                .arg(page)));
                        last = here;
                        seen.insert(here);
                    }
                } else {
                    run = 0;
                    band = -1;
                }
            }
        }
        QStringList missing;
        for (int b = 0; b < bands; ++b) {
            if (!seen.contains(b))
                missing << QString::number(b);
        }
        QVERIFY2(missing.isEmpty(),
                 qPrintable(QStringLiteral("bands not shown: ") + missing.join(' ')));
        QCOMPARE(seen.size(), bands);
    }

    // The branding block ends inside the page: where it fits it keeps its place at x 550,
    // otherwise it moves left, and a line too long even then is cut short.
    void brandingBlockEndsInsideThePage_data()
    {
        QTest::addColumn<QStringList>("values"); // company, website, e-mail, telephone
        QTest::addColumn<QString>("whole");      // a line that shows whole
        QTest::addColumn<bool>("atItsPlace");
        QTest::newRow("program's defaults")
            << QStringList{"Brindlecor", "http://www.brindlecor.example",
                           "support@brindlecor.example", "+44 23 9200 0000"}
            << "Website: http://www.brindlecor.example" << false;
        QTest::newRow("short lines") << QStringList{"Acme", "http://a.example", "", "12"}
                                     << "Website: http://a.example" << true;
        QTest::newRow("company name longer than half the page")
            << QStringList{"Harbour Analytics and Search Consulting Services of Greater "
                           "Portsmouth and the Isle of Wight",
                           "http://h.example", "", ""}
            << "Website: http://h.example" << false;
    }
    void brandingBlockEndsInsideThePage()
    {
        QFETCH(QStringList, values);
        QFETCH(QString, whole);
        QFETCH(bool, atItsPlace);
        m_hub->setSetting(SETTING_ReportCompanyName, values[0]);
        m_hub->setSetting(SETTING_ReportWebsite, values[1]);
        m_hub->setSetting(SETTING_ReportEmail, values[2]);
        m_hub->setSetting(SETTING_ReportTel, values[3]);
        const QString path = Path(QStringLiteral("brand.pdf"));
        RankReport report;
        const WebsiteExportPDF record = WebsiteRecord(50);
        QVERIFY(report.PrintToPDF(0, &record, nullptr, path));
        QVERIFY(report.WriteLinkToPdf(path));

        const QString text = Text(path);
        QVERIFY2(text.contains(whole), qPrintable(text));
        // Above the first rule (110 px) there is nothing but the block.
        double left = kW;
        int count = 0;
        for (const Word& word : WordsOfFirstPage(path)) {
            if (word.box.bottom() * kK >= 110)
                continue;
            ++count;
            left = qMin(left, word.box.left() * kK);
            QVERIFY2(word.box.right() * kK <= kW - 40 + 1, qPrintable(word.text));
        }
        QVERIFY(count > 0);
        if (atItsPlace)
            QVERIFY2(qAbs(left - 550) < 1.5, qPrintable(QString::number(left)));
        else
            QVERIFY2(left < 550 && left >= kW / 2 - 1, qPrintable(QString::number(left)));

        // Nothing is drawn in the right margin next to the block either.
        const QImage page = RenderPage(path, 1, Path(QStringLiteral("brand")));
        QCOMPARE(page.size(), QSize(int(kW), int(kH)));
        for (int y = 30; y < 108; ++y) {
            for (int x = int(kW) - 39; x < int(kW); ++x)
                QVERIFY2(qGray(page.pixel(x, y)) > 200,
                         qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
        }
    }

    void logoMovesTheHeaderDown_data()
    {
        QTest::addColumn<bool>("logo");
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("rule");
        QTest::newRow("no logo") << false << QString() << 110;
        QTest::newRow("logo") << true << QStringLiteral("logo.png") << 125;
        QTest::newRow("logo setting, no such file") << true << QStringLiteral("missing.png") << 125;
    }
    void logoMovesTheHeaderDown()
    {
        QFETCH(bool, logo);
        QFETCH(QString, file);
        QFETCH(int, rule);
        if (logo) {
            const QString logoPath = Path(file);
            if (file == QLatin1String("logo.png"))
                QVERIFY(Picture(60, 60, QColor(200, 0, 0)).save(logoPath));
            m_hub->setSetting(SETTING_ReportLogoFile, logoPath);
        }
        const QString path = Path(QStringLiteral("logo.pdf"));
        RankReport report;
        const WebsiteExportPDF record = WebsiteRecord(50);
        report.PrintToPDF(0, &record, nullptr, path);
        QVERIFY(report.WriteLinkToPdf(path));
        const QImage page = RenderPage(path, 1, Path(QStringLiteral("logo")));
        QCOMPARE(page.size(), QSize(int(kW), int(kH)));
        // The first rule runs across the page; 15 px above it there is nothing at the edge.
        QVERIFY(IsDark(page.pixel(5, rule)));
        QVERIFY(IsDark(page.pixel(790, rule)));
        QVERIFY(!IsDark(page.pixel(5, rule - 15 == 110 ? 100 : rule - 15)));
        // The logo is drawn at (40, 15) at its own size.
        const QRgb logoPixel = page.pixel(70, 45);
        QCOMPARE(qRed(logoPixel) > 150 && qGreen(logoPixel) < 60,
                 file == QLatin1String("logo.png"));
        // The footer rule is 25 px above the bottom edge.
        QVERIFY(IsDark(page.pixel(5, 1123 - 25)));
    }

    void logoThatIsNotAFileIsNoLogo_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("FIFO") << QStringLiteral("fifo");
        QTest::newRow("folder") << QStringLiteral("folder");
        QTest::newRow("far larger than a picture") << QStringLiteral("large");
    }
    // Only a regular file of a picture's size is read as the logo: anything else draws
    // nothing (the setting still moves the header down), and the report completes without
    // waiting on it or taking it into memory.
    void logoThatIsNotAFileIsNoLogo()
    {
        QFETCH(QString, kind);
        const QString logo = Path(QStringLiteral("logo"));
        if (kind == QLatin1String("fifo")) {
            QCOMPARE(::mkfifo(QFile::encodeName(logo).constData(), 0600), 0);
        } else if (kind == QLatin1String("folder")) {
            QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("logo")));
        } else {
            QFile sparse(logo); // takes no room on the disk
            QVERIFY(sparse.open(QIODevice::WriteOnly) && sparse.resize(qint64(1) << 30));
        }
        m_hub->setSetting(SETTING_ReportLogoFile, logo);
        const QString path = Path(QStringLiteral("site.pdf"));
        RankReport report;
        const WebsiteExportPDF record = WebsiteRecord(50);
        bool released = false;
        const qint64 baseKb = FreshPeakKb();
        {
            std::optional<FifoGuard> guard;
            if (kind == QLatin1String("fifo"))
                guard.emplace(logo);
            QVERIFY(report.PrintToPDF(0, &record, nullptr, path));
            released = guard && guard->Released();
        }
        QVERIFY2(!released, "the report waited on the logo");
        const qint64 growthKb = PeakKb() - baseKb;
        QVERIFY2(growthKb < 256 * 1024, qPrintable(QString::number(growthKb)));
        QVERIFY(report.WriteLinkToPdf(path));
        QCOMPARE(RunTool(QStringLiteral("qpdf"), {QStringLiteral("--check"), path}).exitCode, 0);
        // No draft is left beside the report.
        QCOMPARE(
            QDir(m_dir->path())
                .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
            (QStringList{"logo", "site.pdf"}));
        const QImage page = RenderPage(path, 1, Path(QStringLiteral("page")));
        QVERIFY(IsDark(page.pixel(5, 125)));
    }

    void linkAtTheReportName_data()
    {
        QTest::addColumn<QString>("plant");
        QTest::newRow("link to a file outside") << QStringLiteral("file");
        QTest::newRow("link to no file yet") << QStringLiteral("dangling");
        QTest::newRow("report folder is a link") << QStringLiteral("folder");
    }
    // A link at the report's name is replaced by the report, drawn and with its links; the
    // file it points to outside the folder stays as it was, or absent. A report folder that
    // is itself a link still takes reports.
    void linkAtTheReportName()
    {
        QFETCH(QString, plant);
        const PlantedLink link(plant, m_dir->path(), QStringLiteral("site.pdf"));
        QVERIFY(link.planted());

        RankReport report;
        const WebsiteExportPDF record = WebsiteRecord(50);
        QVERIFY(report.PrintToPDF(0, &record, nullptr, link.path()));
        QVERIFY(report.WriteLinkToPdf(link.path()));
        QCOMPARE(link.outsideChange(), QString());
        QVERIFY(!QFileInfo(link.path()).isSymLink());
        QCOMPARE(LinksOfFirstPage(link.path()).size(), 5);
        // No draft is left in the report folder.
        QCOMPARE(link.folderEntries(),
                 QStringList{plant == QLatin1String("folder") ? "linked" : "site.pdf"});
    }

    void writingLinksTwiceChangesNothing()
    {
        const QString path = Path(QStringLiteral("twice.pdf"));
        RankReport report;
        const WebsiteExportPDF record = WebsiteRecord(80);
        report.PrintToPDF(0, &record, nullptr, path);
        QVERIFY(report.WriteLinkToPdf(path));
        const QByteArray once = ReadFile(path);
        QVERIFY(report.WriteLinkToPdf(path));
        QCOMPARE(ReadFile(path), once);
    }

    // A report that cannot be written says so at once and leaves the folder as it was: no
    // partial file, no draft, an older file of that name byte for byte unchanged.
    void failedReportChangesNothing_data()
    {
        QTest::addColumn<QString>("setUp");
        QTest::addColumn<QString>("name");
        auto row = [](const char* name, const char* setUp, const char* file) {
            QTest::newRow(name) << QString::fromLatin1(setUp) << QString::fromLatin1(file);
        };
        row("missing folder", "", "no/such/folder/site.pdf");
        row("folder is a file", "file", "plain.txt/site.pdf");
        row("read-only file of that name", "read-only", "site.pdf");
        row("folder of that name", "folder", "site.pdf");
    }
    void failedReportChangesNothing()
    {
        QFETCH(QString, setUp);
        QFETCH(QString, name);
        const QByteArray older = "%PDF-1.4 an older report\n";
        if (setUp == QLatin1String("file")) {
            QFile plain(Path(QStringLiteral("plain.txt")));
            QVERIFY(plain.open(QIODevice::WriteOnly) && plain.write(older) == older.size());
        } else if (setUp == QLatin1String("read-only")) {
            QFile file(Path(name));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(older) == older.size());
            file.close();
            QVERIFY(file.setPermissions(QFileDevice::ReadOwner | QFileDevice::ReadGroup |
                                        QFileDevice::ReadOther));
        } else if (setUp == QLatin1String("folder")) {
            QVERIFY(QDir(m_dir->path()).mkdir(name));
        }
        auto entries = [&] {
            QStringList names =
                QDir(m_dir->path())
                    .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
            names.sort();
            return names;
        };
        const QStringList before = entries();
        const QString path = Path(name);
        const QByteArray content = ReadFile(path);

        RankReport report;
        const WebsiteExportPDF record = WebsiteRecord(80);
        QVERIFY(!report.PrintToPDF(0, &record, nullptr, path));
        // The link step that a page runs next has no older file to patch either.
        report.WriteLinkToPdf(path);
        QCOMPARE(ReadFile(path), content);
        QCOMPARE(entries(), before);

        // The same report where it can be written leaves the report and nothing else.
        const QString good = Path(QStringLiteral("good.pdf"));
        QVERIFY(report.PrintToPDF(0, &record, nullptr, good));
        QVERIFY(report.WriteLinkToPdf(good));
        QStringList after = before + QStringList{"good.pdf"};
        after.sort();
        QCOMPARE(entries(), after);
        QCOMPARE(LinksOfFirstPage(good).size(), 5);
    }
};

LT_TEST_MAIN(tst_ReportPdf)
#include "tst_reportpdf.moc"
