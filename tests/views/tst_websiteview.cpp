#include "MessageBoxWatcher.h"
#include "PageFixture.h"
#include "PromptAfterFinishTheReport.h"
#include "PtTableWidgetItem.h"
#include "RankHistory.h"
#include "TestMain.h"
#include "TestPageHub.h"
#include "TestRows.h"
#include "UrlOpenWatcher.h"
#include "WebsiteView.h"

#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QToolBox>
#include <QUrl>
#include <QVBoxLayout>

using namespace PageFixture;

namespace {

const QString G = QStringLiteral("www.google.com"), B = QStringLiteral("www.bing.com"),
              Y = QStringLiteral("search.yahoo.com");
const QDate Newest(2026, 5, 10);

QTableWidget* table(WebsiteView& view)
{
    return view.findChild<QTableWidget*>(QStringLiteral("tableWidget"));
}

QToolBox* toolBox(WebsiteView& view)
{
    return view.findChild<QToolBox*>(QStringLiteral("toolBoxWebsite"));
}

QString styleOf(QWidget& view, const QString& name)
{
    auto* label = view.findChild<QLabel*>(name);
    return label ? label->styleSheet() : QStringLiteral("<missing %1>").arg(name);
}

// The overview of the websites and histories given, with a page hub of its own.
struct Page {
    std::vector<WEBSITE> websites;
    Histories histories;
    TestPageHub hub;
    std::unique_ptr<WebsiteView> view;
    WebsiteView& build()
    {
        view.reset(new WebsiteView(nullptr, websites, histories.list, &hub));
        return *view;
    }
    WebsiteView& shown(int height = 640)
    {
        build().resize(1000, height);
        view->show();
        [[maybe_unused]] const bool exposed = QTest::qWaitForWindowExposed(view.get());
        return *view;
    }
};

const QColor kGreen(102, 201, 72), kCyan(92, 221, 231), kOrange(239, 117, 70), kBlue(26, 153, 208),
    kGrey(72, 72, 72);

// A shop on Google and Bing: Google alpha 9 -> 4 (1-10, up), beta 12 -> 40 (31-100, down),
// gamma >100 (unchanged); Bing alpha 20 -> 20 (11-30, unchanged).
void shop(Page& page)
{
    const QString url = QStringLiteral("http://shop.example");
    page.websites.push_back(website(url, {G, B}, {"alpha", "beta", "gamma"}));
    page.histories.daily(url, G, "alpha", {9, 4}, Newest);
    page.histories.daily(url, G, "beta", {12, 40}, Newest);
    page.histories.daily(url, G, "gamma", {101}, Newest);
    page.histories.daily(url, B, "alpha", {20, 20}, Newest);
}

// The fields of the CSV line `skip` lines after the line starting with `heading`.
QStringList lineAfter(const QStringList& lines, const QString& heading, int skip = 1)
{
    for (int i = 0; i + skip < lines.size(); ++i)
        if (lines[i].startsWith(heading))
            return lines[i + skip].split(QLatin1Char(','));
    return {};
}

} // namespace

// Stands in for the desktop's own URL handlers: whatever reaches QDesktopServices without
// going through the program's hook lands here.
class DesktopUrls : public QObject
{
    Q_OBJECT

public:
    DesktopUrls()
    {
        for (const char* scheme : {"http", "https", "javascript", "file", "data", "mailto"})
            QDesktopServices::setUrlHandler(scheme, this, "open");
    }
    ~DesktopUrls() override
    {
        for (const char* scheme : {"http", "https", "javascript", "file", "data", "mailto"})
            QDesktopServices::unsetUrlHandler(scheme);
    }
    Q_INVOKABLE void open(const QUrl& url) { urls << url; }
    QList<QUrl> urls;
};

class TestWebsiteView : public QObject
{
    Q_OBJECT

private slots:
    void sortOrder_data()
    {
        QTest::addColumn<QString>("left");
        QTest::addColumn<QString>("right");
        QTest::addColumn<int>("column");
        QTest::addColumn<bool>("less");
        testRow("no rank before rank 1", "-", "1", 1, true);
        testRow("100 before >100", "100", ">100", 1, true);
        testRow(">100 not before 100", ">100", "100", 1, false);
        testRow("9 before 10 (not by text)", "9", "10", 1, true);
        testRow("change -3 before +2", "-3", "+2", 2, true);
        testRow("change +3 after +2", "+3", "+2", 3, false);
        testRow("change - counts as 0, before +1", "-", "+1", 2, true);
        testRow("change - counts as 0, after -1", "-", "-1", 2, false);
        testRow("100+ is 101, after 100", "100", "100+", 4, true);
        testRow("100+ equals >100", "100+", ">100", 4, false);
        testRow("no number is 0", "abc", "1", 5, true);
        testRow("keyword column by text", "b10", "b9", 0, true);
        testRow("keyword column by text, reversed", "9", "10", 0, false);
    }

    void sortOrder()
    {
        QFETCH(QString, left);
        QFETCH(QString, right);
        QFETCH(int, column);
        QFETCH(bool, less);
        QTableWidget t(1, 6);
        PtTableWidgetItem a(left);
        auto* b = new PtTableWidgetItem(right);
        t.setItem(0, column, b);
        QCOMPARE(a < *b, less);
    }

    void sortingARankColumn()
    {
        QTableWidget t(0, 2);
        for (const QString rank : {"5", ">100", "-", "100", "1", "37"}) {
            t.insertRow(t.rowCount());
            t.setItem(t.rowCount() - 1, 1, new PtTableWidgetItem(rank));
        }
        t.sortItems(1, Qt::AscendingOrder);
        QStringList order;
        for (int row = 0; row < t.rowCount(); ++row)
            order << t.item(row, 1)->text();
        QCOMPARE(order, (QStringList{"-", "1", "5", "37", "100", ">100"}));
    }

    void withoutWebsites()
    {
        Page page;
        WebsiteView& view = page.build();
        QTableWidget* t = table(view);
        const QStringList headers = {"Keyword",     "Google", "CHG", " Total\nCHG", "Bing", "CHG",
                                     " Total\nCHG", "Yahoo",  "CHG", " Total\nCHG"};
        QCOMPARE(t->columnCount(), 10);
        for (int c = 0; c < 10; ++c)
            QCOMPARE(t->horizontalHeaderItem(c)->text(), headers[c]);
        QCOMPARE(toolBox(view)->count(), 0);
        QCOMPARE(t->rowCount(), 0);
        QCOMPARE(labelText(view, "lblWebsiteCount"), QStringLiteral("0"));
        QCOMPARE(labelText(view, "lbl_keywordsCount"), QStringLiteral("0"));
        QCOMPARE(view.CurrentWebsite(), nullptr);
        QVERIFY(view.findChild<QWidget*>("pushButton_4")->isHidden());
        QCOMPARE(view.findChild<QTabWidget*>("tabWidget")->currentIndex(), 1);

        // Edit without a website opens nothing.
        bool dialog = false;
        QTimer::singleShot(0, [&] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                dialog = true;
                modal->close();
            }
        });
        view.on_btnEditWebsite_clicked();
        QCoreApplication::processEvents();
        QVERIFY(!dialog);
    }

    void totalsAndPages()
    {
        Page page;
        for (int i = 0; i < 12; ++i)
            page.websites.push_back(website(QStringLiteral("site%1.example").arg(i), {G},
                                            i % 2 ? QStringList{"a", "b", "c"} : QStringList{"x"}));
        WebsiteView& view = page.build();
        // The list shows 10 websites, the totals count all 12: 6 x 3 + 6 x 1 keywords.
        QCOMPARE(toolBox(view)->count(), 10);
        QCOMPARE(labelText(view, "lblWebsiteCount"), QStringLiteral("12"));
        QCOMPARE(labelText(view, "lbl_keywordsCount"), QStringLiteral("24"));
        QCOMPARE(StatTotalKeywords(page.websites), LTInt64(24));
        QCOMPARE(toolBox(view)->itemText(3), QStringLiteral("site3.example"));
        // The first website is shown.
        QCOMPARE(labelText(view, "lblWebsite"), QStringLiteral("site0.example"));
        QCOMPARE(table(view)->rowCount(), 1);
    }

    void websitePageLabels()
    {
        Page page;
        page.websites.push_back(website("a.example", {G}, {"one", "two"}));
        page.websites.push_back(website("b.example", {G}, {"three"}));
        page.histories.daily("b.example", G, "three", {4, 0}, QDate(2026, 11, 30));
        WebsiteView& view = page.build();

        auto texts = [&](int index) {
            QStringList result;
            for (QLabel* label : toolBox(view)->widget(index)->findChildren<QLabel*>())
                result << label->text();
            return result;
        };
        QCOMPARE(texts(0),
                 (QStringList{"Created on : 03/04/2026", "Updated on : ", "Total keywords : 2"}));
        QCOMPARE(texts(1), (QStringList{"Created on : 03/04/2026", "Updated on : 11/30/2026",
                                        "Total keywords : 1"}));
        QCOMPARE(view.GetWebsiteInfo_UpdateOn()->text(), QStringLiteral("Updated on : "));

        // A check made meanwhile shows on the next refresh.
        toolBox(view)->setCurrentIndex(1);
        page.histories.daily("b.example", G, "one", {7}, QDate(2026, 12, 2));
        view.PopluateRankData(page.histories.list);
        QCOMPARE(view.GetWebsiteInfo_UpdateOn(),
                 toolBox(view)->widget(1)->findChildren<QLabel*>().at(1));
        QCOMPARE(view.GetWebsiteInfo_UpdateOn()->text(), QStringLiteral("Updated on : 12/02/2026"));
        QCOMPARE(labelText(view, "lblWebsite"), QStringLiteral("b.example"));
    }

    void tableCells()
    {
        Page page;
        page.websites.push_back(
            website("w.example", {G, Y}, {"never", "single", "up", "down", "lost", "failed"}));
        page.histories.daily("w.example", G, "single", {7}, Newest);
        page.histories.daily("w.example", G, "up", {30, 12, 5}, Newest);
        page.histories.daily("w.example", G, "down", {3, 4, 101}, Newest);
        page.histories.daily("w.example", Y, "lost", {101, 101}, Newest);
        page.histories.daily("w.example", Y, "failed", {9, 0}, Newest);
        // Another website's series of the same keyword must not show, nor a later series of
        // the same key; gaps in the list are passed over.
        page.histories.daily("other.example", G, "never", {1}, Newest);
        page.histories.daily("w.example", G, "up", {60, 1}, Newest);
        page.histories.list.insert(page.histories.list.begin(), nullptr);
        page.histories.list.push_back(nullptr);
        WebsiteView& view = page.build();
        QTableWidget* t = table(view);
        QCOMPARE(t->rowCount(), 6);

        const QString none = "<none>";
        // Keyword, Google rank/CHG/Total, Bing (not used: no items), Yahoo rank/CHG/Total.
        QCOMPARE(rowOf(t, "never"),
                 (QStringList{"never", "-", "-", "-", none, none, none, "-", "-", "-"}));
        QCOMPARE(rowOf(t, "single"),
                 (QStringList{"single", "7", "-", "0", none, none, none, "-", "-", "-"}));
        QCOMPARE(rowOf(t, "up"),
                 (QStringList{"up", "5", "+7", "+25", none, none, none, "-", "-", "-"}));
        QCOMPARE(rowOf(t, "down"),
                 (QStringList{"down", ">100", "-97", "-98", none, none, none, "-", "-", "-"}));
        QCOMPARE(rowOf(t, "lost"),
                 (QStringList{"lost", "-", "-", "-", none, none, none, ">100", "0", "0"}));
        QCOMPARE(rowOf(t, "failed"),
                 (QStringList{"failed", "-", "-", "-", none, none, none, "-", "-", "-"}));

        QHash<QString, int> rowAt;
        for (int row = 0; row < t->rowCount(); ++row)
            rowAt[t->item(row, 0)->text()] = row;
        // Change colours; "-" keeps the table's own text colour.
        QCOMPARE(t->item(rowAt["up"], 2)->foreground().color(), kGreen);
        QCOMPARE(t->item(rowAt["down"], 3)->foreground().color(), kOrange);
        QCOMPARE(t->item(rowAt["single"], 3)->foreground().color(), kGrey);
        QCOMPARE(t->item(rowAt["never"], 2)->foreground().style(), Qt::NoBrush);
        QCOMPARE(t->item(rowAt["up"], 1)->textAlignment(),
                 int(Qt::AlignHCenter | Qt::AlignVCenter));

        // Cell backgrounds by row and column parity, taken after the rows were in.
        const QColor shades[2][2] = {{QColor(221, 221, 221), QColor(235, 235, 235)},
                                     {QColor(246, 246, 246), QColor(250, 250, 250)}};
        for (int row = 0; row < t->rowCount(); ++row)
            for (int column : {0, 1, 2, 3, 7, 8, 9})
                QCOMPARE(t->item(row, column)->background().color(), shades[row % 2][column % 2]);
    }

    void unknownEngineWarnsPerKeyword()
    {
        MessageBoxWatcher boxes;
        Page page;
        page.websites.push_back(website("w.example", {G, "www.ask.com"}, {"one", "two"}));
        page.histories.daily("w.example", "www.ask.com", "one", {3}, Newest);
        page.histories.daily("w.example", G, "two", {150}, Newest);
        WebsiteView& view = page.build();
        QTableWidget* t = table(view);
        QCOMPARE(t->rowCount(), 2);
        QCOMPARE(boxes.boxes().size(), 2);
        for (const MessageBoxHook::Request& box : boxes.boxes()) {
            QCOMPARE(box.title, QStringLiteral("error"));
            QCOMPARE(box.text, QStringLiteral("Do not support user define"));
            QCOMPARE(box.icon, MessageBoxHook::Warning);
        }
        // The Google cells are there, the unknown engine sets none, the charts of Google
        // were drawn and the refresh went on after the unknown engine.
        for (int row = 0; row < 2; ++row) {
            QCOMPARE(t->item(row, 1)->text(), t->item(row, 0)->text() == "two"
                                                  ? QStringLiteral(">100")
                                                  : QStringLiteral("-"));
            for (int column = 4; column < 10; ++column)
                QVERIFY(!t->item(row, column));
        }
        QCOMPARE(labelText(view, "lbl_g_11"), QStringLiteral("1-10: 0"));
        QCOMPARE(labelText(view, "lbl_g_44"), QStringLiteral(">100: 1"));
    }

    void pie_data()
    {
        QTest::addColumn<QList<int>>("counts");
        // (degrees, expected colour) samples inside the slices; an invalid colour means
        // the spot stays transparent.
        QTest::addColumn<QList<double>>("angles");
        QTest::addColumn<QList<QColor>>("colours");

        QTest::newRow("quarters") << QList<int>{1, 1, 1, 1} << QList<double>{45, 135, 225, 315}
                                  << QList<QColor>{kGreen, kCyan, kOrange, kBlue};
        QTest::newRow("third and two thirds")
            << QList<int>{1, 2, 0, 0} << QList<double>{60, 240} << QList<QColor>{kGreen, kCyan};
        QTest::newRow("full circle") << QList<int>{1, 0, 0, 0} << QList<double>{45, 180, 300}
                                     << QList<QColor>{kGreen, kGreen, kGreen};
        // 2/7 of 360 degrees is 102.86, truncated to 102: the last band starts at 306
        // (not 308.57) and ends at 357, the last 3 degrees stay transparent.
        QTest::newRow("truncated sevenths")
            << QList<int>{2, 2, 2, 1} << QList<double>{50, 150, 250, 307.3, 330, 358.6}
            << QList<QColor>{kGreen, kCyan, kOrange, kBlue, kBlue, QColor()};
    }

    void pie()
    {
        QFETCH(QList<int>, counts);
        QFETCH(QList<double>, angles);
        QFETCH(QList<QColor>, colours);

        Page page;
        WebsiteView& view = page.build();
        RankDistribution d;
        d.Rank1To10 = counts[0];
        d.Rank11To30 = counts[1];
        d.Rank31To100 = counts[2];
        d.RankOver100 = counts[3];
        view.ShowPie(d, SE_Bing);

        const QStringList legends = {"1-10: %1", "11-30: %1", "31-100: %1", ">100: %1"};
        const QStringList swatches = {"102,201,72", "92,221,231", "239,117,70", "26,153,208"};
        for (int band = 0; band < 4; ++band) {
            QCOMPARE(labelText(view, QStringLiteral("lbl_b_%1%1").arg(band + 1)),
                     legends[band].arg(counts[band]));
            QCOMPARE(styleOf(view, QStringLiteral("lbl_b_%1").arg(band + 1)),
                     QStringLiteral("background-color:rgb(%1);").arg(swatches[band]));
        }
        // Other engines keep their cleared legends.
        QCOMPARE(labelText(view, "lbl_g_11"), QStringLiteral("1-10: 0"));

        const QImage image = view.findChild<QLabel*>("lbl_b_0")->pixmap().toImage();
        QCOMPARE(image.size(), QSize(100, 100));
        for (int i = 0; i < angles.size(); ++i) {
            const double radians = angles[i] * M_PI / 180.0;
            const QColor actual = image.pixelColor(int(51 + 47 * std::cos(radians)),
                                                   int(51 - 47 * std::sin(radians)));
            if (!colours[i].isValid()) {
                QVERIFY2(actual.alpha() < 64, qPrintable(QString::number(actual.alpha())));
                continue;
            }
            // Close to the slice colour; edges and separators blend a little in.
            QCOMPARE(actual.alpha(), 255);
            const int distance = qAbs(actual.red() - colours[i].red()) +
                                 qAbs(actual.green() - colours[i].green()) +
                                 qAbs(actual.blue() - colours[i].blue());
            QVERIFY2(
                distance < 40,
                qPrintable(QStringLiteral("%1 degrees: %2").arg(angles[i]).arg(actual.name())));
        }
    }

    void pieSeparators()
    {
        Page page;
        WebsiteView& view = page.build();
        RankDistribution d;
        d.Rank1To10 = 1;
        d.Rank11To30 = 2;
        view.ShowPie(d, SE_Yahoo);
        // Separators at 0 and 120 degrees, none at 240 or elsewhere. The thin white line
        // lightens the slice colour where it passes: the lowest channel of the lightest
        // pixel around the spot rises well above that of the slice colours (72 and 92).
        const QImage image = view.findChild<QLabel*>("lbl_y_0")->pixmap().toImage();
        auto lightest = [&](double degrees) {
            const double radians = degrees * M_PI / 180.0;
            const int x = int(51 + 40 * std::cos(radians)), y = int(51 - 40 * std::sin(radians));
            int best = 0;
            for (int dx = -1; dx <= 1; ++dx)
                for (int dy = -1; dy <= 1; ++dy) {
                    const QColor c = image.pixelColor(x + dx, y + dy);
                    best = qMax(best, qMin(c.red(), qMin(c.green(), c.blue())));
                }
            return best;
        };
        for (double degrees : {120, 0})
            QVERIFY2(lightest(degrees) > 130, qPrintable(QString::number(lightest(degrees))));
        for (double degrees : {240, 60})
            QVERIFY2(lightest(degrees) < 110, qPrintable(QString::number(lightest(degrees))));
    }

    void bars_data()
    {
        QTest::addColumn<QList<int>>("counts");
        QTest::addColumn<QStringList>("widths");
        QTest::newRow("quarter quarter half")
            << QList<int>{1, 1, 2} << QStringList{"25", "25", "50"};
        QTest::newRow("thirds") << QList<int>{1, 2, 0} << QStringList{"33.3333", "66.6667", "0"};
        QTest::newRow("nothing counted") << QList<int>{0, 0, 0} << QStringList{"0", "0", "0"};
    }

    void bars()
    {
        QFETCH(QList<int>, counts);
        QFETCH(QStringList, widths);

        Page page;
        WebsiteView& view = page.build();
        RankChangeKeywordCount c;
        c.RankUp = counts[0];
        c.RankDown = counts[1];
        c.RankUnchange = counts[2];
        view.ShowRect(c, SE_Google);

        const QStringList colours = {"rgb(102,201,72)", "rgb(239,117,70)", "rgb(26,153,208)"};
        const QStringList texts = {"Rank up: %1", "Rank down: %1", "Rank unchange: %1"};
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(styleOf(view, QStringLiteral("lbl_g_r%1").arg(i + 1)),
                     QStringLiteral("background-color:%1;min-width:%2;max-width:%2;")
                         .arg(colours[i], widths[i]));
            QCOMPARE(styleOf(view, QStringLiteral("lbl_g_r%1").arg(i + 4)),
                     QStringLiteral("background-color:%1;").arg(colours[i]));
            QCOMPARE(labelText(view, QStringLiteral("lbl_g_r%1%1").arg(i + 4)),
                     texts[i].arg(counts[i]));
        }
    }

    void chartsFollowTheSelectedWebsite()
    {
        Page page;
        page.websites.push_back(website("a.example", {G, B}, {"k1", "k2", "k3"}));
        page.websites.push_back(website("b.example", {B}, {"k1"}));
        page.histories.daily("a.example", G, "k1", {10, 3}, Newest);
        page.histories.daily("a.example", G, "k2", {20, 25}, Newest);
        page.histories.daily("a.example", G, "k3", {150}, Newest);
        page.histories.daily("a.example", B, "k1", {50, 50}, Newest);
        page.histories.daily("b.example", B, "k1", {4, 12}, Newest);
        WebsiteView& view = page.build();

        QCOMPARE(labelText(view, "lbl_g_11"), QStringLiteral("1-10: 1"));
        QCOMPARE(labelText(view, "lbl_g_22"), QStringLiteral("11-30: 1"));
        QCOMPARE(labelText(view, "lbl_g_44"), QStringLiteral(">100: 1"));
        QCOMPARE(labelText(view, "lbl_g_r44"), QStringLiteral("Rank up: 1"));
        QCOMPARE(labelText(view, "lbl_g_r55"), QStringLiteral("Rank down: 1"));
        QCOMPARE(labelText(view, "lbl_g_r66"), QStringLiteral("Rank unchange: 1"));
        QCOMPARE(labelText(view, "lbl_b_33"), QStringLiteral("31-100: 1"));
        // Keywords without a series count nowhere.
        QCOMPARE(labelText(view, "lbl_b_44"), QStringLiteral(">100: 0"));
        QCOMPARE(labelText(view, "lbl_b_r66"), QStringLiteral("Rank unchange: 1"));

        toolBox(view)->setCurrentIndex(1);
        QCOMPARE(labelText(view, "lblWebsite"), QStringLiteral("b.example"));
        QCOMPARE(table(view)->rowCount(), 1);
        // Google is not used by b.example: its charts are cleared.
        QCOMPARE(labelText(view, "lbl_g_11"), QStringLiteral("1-10: 0"));
        QCOMPARE(labelText(view, "lbl_g_r44"), QStringLiteral("Rank up: 0"));
        QCOMPARE(labelText(view, "lbl_b_22"), QStringLiteral("11-30: 1"));
        QCOMPARE(labelText(view, "lbl_b_r55"), QStringLiteral("Rank down: 1"));
    }

    void sidePanelFollowsTheShownPage()
    {
        Page page;
        WebsiteView& view = page.build();
        auto* panel = view.findChild<QTabWidget*>("tabWidget");
        QWidget other;
        (new QVBoxLayout(&other))->addWidget(panel);
        QCOMPARE(panel->parentWidget(), &other);

        view.show();
        QCOMPARE(panel->parentWidget(), &view);
        auto* leftColumn = view.findChild<QVBoxLayout*>("verticalLayout_2");
        QCOMPARE(leftColumn->indexOf(panel), leftColumn->count() - 1);
        QCOMPARE(leftColumn->indexOf(toolBox(view)), 0);
        // Hiding leaves the panel where it is.
        view.hide();
        QCOMPARE(panel->parentWidget(), &view);
    }

    // A link of the news panel opens through the hook, web addresses only; the label does
    // not hand links to the desktop by itself.
    void newsLinks_data()
    {
        QTest::addColumn<QString>("link");
        QTest::addColumn<bool>("opened");
        QTest::newRow("http") << "http://news.example.com/a" << true;
        QTest::newRow("https") << "https://news.example.com/b?x=1" << true;
        QTest::newRow("javascript") << "javascript:alert(1)" << false;
        QTest::newRow("local file") << "file:///etc/passwd" << false;
        QTest::newRow("data") << "data:text/html,hello" << false;
        QTest::newRow("mail") << "mailto:someone@example.com" << false;
    }

    void newsLinks()
    {
        QFETCH(QString, link);
        QFETCH(bool, opened);
        DesktopUrls desktop;
        UrlOpenWatcher urls;
        Page page;
        WebsiteView& view = page.shown(700);
        auto* label = view.findChild<QLabel*>("labelNews");
        QVERIFY(label->isVisible());
        label->setText(QStringLiteral("<a href=\"%1\">Read the news</a>").arg(link));
        QTest::mouseClick(label, Qt::LeftButton, {}, label->rect().center());
        QCOMPARE(urls.urls(), opened ? QList<QUrl>{QUrl(link)} : QList<QUrl>{});
        QCOMPARE(desktop.urls, QList<QUrl>{});
    }

    void tablePicture_data()
    {
        QTest::addColumn<int>("keywords");
        QTest::newRow("three keywords") << 3;
        QTest::newRow("one keyword") << 1;
        QTest::newRow("no keyword") << 0;
    }

    void tablePicture()
    {
        QFETCH(int, keywords);
        Page page;
        QStringList names;
        for (int i = 0; i < keywords; ++i)
            names << QStringLiteral("keyword %1").arg(i);
        page.websites.push_back(website("w.example", {G, B, Y}, names));
        WebsiteView& view = page.shown();
        QTableWidget* t = table(view);
        const int W = t->width();
        const int h = t->horizontalHeader()->height();
        QCOMPARE(h, 32);
        const int r = 24;
        if (keywords > 0)
            QCOMPARE(t->rowHeight(0), r);

        const QImage picture = view.ReportDrawTable();
        const int H = h + keywords * r;
        QCOMPARE(picture.size(), QSize(W, H));

        const QRgb line = qRgb(167, 167, 167) & 0xFFFFFF, band = qRgb(0, 170, 169) & 0xFFFFFF,
                   white = 0xFFFFFF;
        auto at = [&](int x, int y) { return picture.pixel(x, y) & 0xFFFFFF; };
        // The frame runs along the picture's edges (the band covers the bottom edge when
        // there is no row).
        QCOMPARE(at(0, H / 2), line);
        QCOMPARE(at(W / 2, 0), line);
        QCOMPARE(at(W - 1, H / 2), line);
        if (keywords > 0)
            QCOMPARE(at(W / 2, H - 1), line);
        // Header band (a corner spot where no text is drawn).
        QCOMPARE(at(2, 2), band);
        QCOMPARE(at(W - 3, h - 1), band);
        // The two-line " Total\nCHG" headers (60 px at 60, 235 and 410 px from the right)
        // fit their band whatever font stands in for the table's: both lines show, and
        // neither reaches the band's first or last row.
        for (int right : {0, 175, 350}) {
            int lines = 0;
            bool inText = false;
            for (int y = 1; y <= h - 1; ++y) {
                bool text = false;
                for (int x = W - right - 58; x < W - right - 2; ++x)
                    text = text || qGray(at(x, y)) > 200;
                if ((y == 1 || y == h - 1) && text)
                    QFAIL(qPrintable(
                        QStringLiteral("header text at the band's edge, row %1").arg(y)));
                if (text && !inText)
                    ++lines;
                inText = text;
            }
            QCOMPARE(lines, 2);
        }
        // Row lines: one between each two rows, none after the last.
        int rowLines = 0;
        for (int y = h + 1; y < H - 2; ++y)
            rowLines += at(3, y) == line ? 1 : 0;
        QCOMPARE(rowLines, qMax(0, keywords - 1));
        for (int i = 1; i < keywords; ++i)
            QCOMPARE(at(3, h + i * r + 1), line);
        // Column lines below the band at the report's widths from the right.
        int x = W;
        for (int step : {60, 55, 60, 60, 55, 60, 60, 55, 60}) {
            x -= step;
            if (keywords > 0) {
                QCOMPARE(at(x, H - 4), line);
                QCOMPARE(at(x + 3, H - 4), white);
            }
        }
    }

    void chartPicture()
    {
        Page page;
        page.websites.push_back(website("w.example", {G}, {"k"}));
        page.histories.daily("w.example", G, "k", {3}, Newest);
        WebsiteView& view = page.shown();
        QWidget* frame = view.findChild<QWidget*>("toHideImage");
        const QImage picture = view.ReportDrawPie();
        QCOMPARE(picture.size(), frame->size());
        QCOMPARE(picture.format(), QImage::Format_ARGB32_Premultiplied);
        // White shows through the transparent frame; the Google pie is all 1-10 green.
        QCOMPARE(picture.pixel(0, 0) & 0xFFFFFF, 0xFFFFFFu);
        QLabel* pie = view.findChild<QLabel*>("lbl_g_0");
        const QPoint centre = pie->mapTo(frame, QPoint(51, 30));
        QCOMPARE(QColor(picture.pixel(centre)).rgb(), kGreen.rgb());
    }

    void reportMessage()
    {
        MessageBoxWatcher boxes;
        UrlOpenWatcher urls;
        QWidget parent;

        boxes.queueAnswer(MessageBoxHook::Open);
        PromptAfterFinishTheReport("/home/u/reports/www.example.com20261206101500.pdf", true,
                                   &parent);
        QCOMPARE(boxes.boxes().size(), 1);
        const MessageBoxHook::Request box = boxes.boxes().at(0);
        QCOMPARE(box.icon, MessageBoxHook::Information);
        QCOMPARE(box.parent, &parent);
        QCOMPARE(box.title, QStringLiteral("Lumatrove"));
        QCOMPARE(box.text,
                 QStringLiteral("Report <b>www.example.com20261206101500.pdf</b> was saved "
                                "in folder <b>/home/u/reports</b>!<br><p>Click <b>open</b> "
                                "to view the folder!</p>"));
        QCOMPARE(box.buttons, int(MessageBoxHook::Open | MessageBoxHook::Ok));
        QCOMPARE(box.defaultButton, int(MessageBoxHook::Open));
        QCOMPARE(urls.urls(), (QList<QUrl>{QUrl("file:///home/u/reports")}));
        QCOMPARE(urls.urls().at(0).toLocalFile(), QStringLiteral("/home/u/reports"));

        // OK: nothing opens. A name with "%2" in it is shown as it is.
        boxes.clear();
        boxes.queueAnswer(MessageBoxHook::Ok);
        PromptAfterFinishTheReport("/tmp/a%2b@@@.csv", true, &parent);
        QVERIFY(boxes.boxes().at(0).text.startsWith(
            "Report <b>a%2b@@@.csv</b> was saved in folder <b>/tmp</b>"));
        QCOMPARE(urls.urls().size(), 1);

        boxes.clear();
        PromptAfterFinishTheReport("/tmp/x.pdf", false, &parent);
        QCOMPARE(boxes.boxes().size(), 1);
        QCOMPARE(boxes.boxes().at(0).icon, MessageBoxHook::Warning);
        QCOMPARE(boxes.boxes().at(0).title, QStringLiteral("Lumatrove"));
        QCOMPARE(boxes.boxes().at(0).text, QStringLiteral("print report failed."));
        QCOMPARE(boxes.boxes().at(0).buttons, int(MessageBoxHook::Ok));
        QCOMPARE(urls.urls().size(), 1);
    }
    void reportWithoutWebsite()
    {
        ReportRun run;
        Page page;
        WebsiteView& view = page.build();
        view.on_cmbReport_activated(0);
        view.on_cmbReport_activated(1);
        QCOMPARE(run.boxes.boxes().size(), 2);
        for (const MessageBoxHook::Request& box : run.boxes.boxes()) {
            QCOMPARE(box.icon, MessageBoxHook::Warning);
            QCOMPARE(box.parent, &view);
            QCOMPARE(box.title, QStringLiteral("Lumatrove"));
            QCOMPARE(box.text, QStringLiteral("Please add a website."));
        }
        QVERIFY(run.files().isEmpty());
    }

    void reportCsvFollowsTheScreen()
    {
        ReportRun run;
        run.boxes.queueAnswer(MessageBoxHook::Ok);
        Page page;
        shop(page);
        page.hub.SetSettingValue(SETTING_ReportOutputPath, run.folder.path());
        WebsiteView& view = page.build();
        // Sorted by the Google rank, best first: alpha 4, beta 40, gamma >100; then
        // descending, which must reach the file in that order.
        table(view)->sortItems(1, Qt::DescendingOrder);
        // Through the menu's own signal, as a user's choice arrives.
        emit view.findChild<QComboBox*>("cmbReport")->activated(1);

        QCOMPARE(run.boxes.boxes().size(), 1);
        const MessageBoxHook::Request box = run.boxes.boxes().at(0);
        QCOMPARE(box.icon, MessageBoxHook::Information);
        const QRegularExpressionMatch match =
            QRegularExpression("^Report <b>(http@@@shop\\.example\\d{14}\\.csv)</b> was saved in "
                               "folder <b>(.*)</b>!")
                .match(box.text);
        QVERIFY2(match.hasMatch(), qPrintable(box.text));
        QCOMPARE(match.captured(2), QDir(run.folder.path()).absolutePath());
        QFile file(QDir(run.folder.path()).filePath(match.captured(1)));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));

        // Bands per engine in the website's order: Google 1/0/1/1, Bing 0/1/0/0.
        QCOMPARE(lineAfter(lines, "Search Engine,Top 10").mid(1, 5),
                 (QStringList{"1", "0", "1", "1", "3"}));
        QCOMPARE(lineAfter(lines, "Search Engine,Top 10", 2).mid(1, 5),
                 (QStringList{"0", "1", "0", "0", "1"}));
        // Changes: Google up 1, down 1, unchanged 1; Bing unchanged 1.
        QCOMPARE(lineAfter(lines, "Search Engine,Rank up").mid(1, 4),
                 (QStringList{"1", "1", "1", "3"}));
        QCOMPARE(lineAfter(lines, "Search Engine,Rank up", 2).mid(1, 4),
                 (QStringList{"0", "0", "1", "1"}));
        // Details in the screen's order.
        QStringList keywords;
        for (int skip = 1; skip <= 3; ++skip)
            keywords << lineAfter(lines, "Keywords,Google", skip).value(0);
        QCOMPARE(keywords, (QStringList{"gamma", "beta", "alpha"}));
        QCOMPARE(lineAfter(lines, "Keywords,Google", 3).mid(1, 6),
                 (QStringList{"4", "+5", "+5", "20", "0", "0"}));
    }

    // The default "./" means the data folder, wherever the program was started from; the
    // message names it and Open shows it.
    void reportDefaultFolder()
    {
        ReportRun run;
        run.boxes.queueAnswer(MessageBoxHook::Open);
        const QString data = QDir::homePath() + "/Documents/lumatrove";
        Page page;
        shop(page);
        page.hub.SetSettingValue(SETTING_ReportOutputPath, QStringLiteral("./"));
        WebsiteView& view = page.build();
        const QString saved = QDir::currentPath();
        QVERIFY(QDir::setCurrent(run.folder.path()));
        view.on_cmbReport_activated(1);
        QDir::setCurrent(saved);

        QCOMPARE(run.boxes.boxes().size(), 1);
        QVERIFY2(run.boxes.boxes().at(0).text.contains("was saved in folder <b>" + data + "</b>!"),
                 qPrintable(run.boxes.boxes().at(0).text));
        QCOMPARE(run.browser.urls(), QList<QUrl>{QUrl::fromLocalFile(data)});
        QCOMPARE(QDir(data).entryList({"http@@@shop.example*.csv"}, QDir::Files).size(), 1);
        QVERIFY(run.files().isEmpty());
    }

    void reportPdf()
    {
        ReportRun run;
        run.boxes.queueAnswer(MessageBoxHook::Ok);
        Page page;
        shop(page);
        page.hub.SetSettingValue(SETTING_ReportOutputPath, run.folder.path());
        page.shown().on_cmbReport_activated(0);
        QCOMPARE(run.boxes.boxes().size(), 1);
        QCOMPARE(run.boxes.boxes().at(0).icon, MessageBoxHook::Information);
        const QStringList files = run.files();
        QCOMPARE(files.size(), 1);
        QVERIFY(
            QRegularExpression("^http@@@shop\\.example\\d{14}\\.pdf$").match(files[0]).hasMatch());
        QVERIFY(run.boxes.boxes().at(0).text.contains(files[0]));
        QFile file(QDir(run.folder.path()).filePath(files[0]));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.read(5), QByteArray("%PDF-"));
    }

    void reportUnwritableFolder_data()
    {
        QTest::addColumn<int>("index");
        QTest::newRow("pdf") << 0;
        QTest::newRow("csv") << 1;
    }

    void reportUnwritableFolder()
    {
        QFETCH(int, index);
        ReportRun run;
        Page page;
        shop(page);
        page.hub.SetSettingValue(SETTING_ReportOutputPath, run.folder.filePath("missing/folder"));
        page.shown().on_cmbReport_activated(index);
        QCOMPARE(run.boxes.boxes().size(), 1);
        QCOMPARE(run.boxes.boxes().at(0).icon, MessageBoxHook::Warning);
        QCOMPARE(run.boxes.boxes().at(0).text, QStringLiteral("print report failed."));
    }
};

LT_TEST_MAIN(TestWebsiteView)
#include "tst_websiteview.moc"
