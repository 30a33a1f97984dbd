#include "LTException.h"
#include "MessageBoxWatcher.h"
#include "PromptAfterFinishTheReport.h"
#include "PtTableWidgetItem.h"
#include "RMainWindow.h"
#include "RankDisplayString.h"
#include "RankHistory.h"
#include "RankMain.h"
#include "SqlDb.h"
#include "TestMain.h"
#include "TestPageHub.h"
#include "UrlOpenHook.h"
#include "WebsiteView.h"

#include <QDesktopServices>
#include <QDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QToolBox>
#include <QUrl>

namespace {

SEARCH_ENGINE engine(const QString& host)
{
    SEARCH_ENGINE e;
    e.SearchEngine = host;
    e.Lang = QStringLiteral("English");
    e.Country = QStringLiteral("United States");
    return e;
}

WEBSITE website(const QString& url, const QStringList& hosts, const QStringList& keywords)
{
    WEBSITE w;
    w.Website = url;
    w.CreateTime = QDateTime(QDate(2026, 3, 4), QTime(8, 0));
    for (const QString& host : hosts)
        w.SearchEngines.push_back(engine(host));
    w.Keywords = keywords;
    return w;
}

// A series whose points are the ranks given, oldest first, one day apart, the newest on
// the day given.
RANK_DATA* series(const QString& url, const QString& host, const QString& keyword,
                  const QList<int>& ranks, const QDate& newest = QDate(2026, 5, 10))
{
    auto* data = new RANK_DATA;
    data->Website = url;
    data->SearchEngine = host;
    data->Keyword = keyword;
    for (int i = 0; i < ranks.size(); ++i) {
        FLOW_ITEM item;
        item.UpdateNo = i + 1;
        item.Rank = qint16(ranks[i]);
        item.SearchTime = QDateTime(newest.addDays(i - ranks.size() + 1), QTime(12, 0));
        data->FlowItems.push_back(item);
    }
    return data;
}

struct Model {
    std::vector<WEBSITE> websites;
    std::vector<RANK_DATA*> rankData;
    ~Model()
    {
        for (RANK_DATA* data : rankData)
            delete data;
    }
};

QTableWidget* table(WebsiteView& view)
{
    return view.findChild<QTableWidget*>(QStringLiteral("tableWidget"));
}

QToolBox* toolBox(WebsiteView& view)
{
    return view.findChild<QToolBox*>(QStringLiteral("toolBoxWebsite"));
}

QString labelText(QWidget& view, const QString& name)
{
    auto* label = view.findChild<QLabel*>(name);
    return label ? label->text() : QStringLiteral("<missing %1>").arg(name);
}

QString styleOf(QWidget& view, const QString& name)
{
    auto* label = view.findChild<QLabel*>(name);
    return label ? label->styleSheet() : QStringLiteral("<missing %1>").arg(name);
}

// The texts of one table row, column by column; "<none>" where the cell holds no item.
QStringList rowTexts(QTableWidget* t, int row)
{
    QStringList texts;
    for (int c = 0; c < t->columnCount(); ++c)
        texts << (t->item(row, c) ? t->item(row, c)->text() : QStringLiteral("<none>"));
    return texts;
}

QColor pixelAt(const QPixmap& pixmap, double degrees, double radius = 30)
{
    const QImage image = pixmap.toImage();
    const double radians = degrees * M_PI / 180.0;
    const int x = int(51 + radius * std::cos(radians));
    const int y = int(51 - radius * std::sin(radians));
    return image.pixelColor(x, y);
}

class UrlRecorder : public UrlOpenHook
{
public:
    UrlRecorder() { m_previous = install(this); }
    ~UrlRecorder() override { install(m_previous); }
    bool open(const QUrl& url) override
    {
        urls << url;
        return true;
    }
    QList<QUrl> urls;

private:
    UrlOpenHook* m_previous;
};

const QColor kGreen(102, 201, 72), kCyan(92, 221, 231), kOrange(239, 117, 70), kBlue(26, 153, 208),
    kGrey(72, 72, 72);

} // namespace

// Stands in for the desktop's own URL handlers: whatever reaches QDesktopServices without
// going through the program's hook lands here.
class DesktopUrls : public QObject
{
    Q_OBJECT

public:
    DesktopUrls()
    {
        for (const QString& scheme : schemes())
            QDesktopServices::setUrlHandler(scheme, this, "open");
    }
    ~DesktopUrls() override
    {
        for (const QString& scheme : schemes())
            QDesktopServices::unsetUrlHandler(scheme);
    }
    Q_INVOKABLE void open(const QUrl& url) { urls << url; }
    QList<QUrl> urls;

private:
    static QStringList schemes()
    {
        return {"http", "https", "javascript", "file", "data", "mailto"};
    }
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

        QTest::newRow("no rank before rank 1") << "-"
                                               << "1" << 1 << true;
        QTest::newRow("100 before >100") << "100"
                                         << ">100" << 1 << true;
        QTest::newRow(">100 not before 100") << ">100"
                                             << "100" << 1 << false;
        QTest::newRow("9 before 10 (not by text)") << "9"
                                                   << "10" << 1 << true;
        QTest::newRow("change -3 before +2") << "-3"
                                             << "+2" << 2 << true;
        QTest::newRow("change +3 after +2") << "+3"
                                            << "+2" << 3 << false;
        QTest::newRow("change - counts as 0, before +1") << "-"
                                                         << "+1" << 2 << true;
        QTest::newRow("change - counts as 0, after -1") << "-"
                                                        << "-1" << 2 << false;
        QTest::newRow("100+ is 101, after 100") << "100"
                                                << "100+" << 4 << true;
        QTest::newRow("100+ equals >100") << "100+"
                                          << ">100" << 4 << false;
        QTest::newRow("no number is 0") << "abc"
                                        << "1" << 5 << true;
        QTest::newRow("keyword column by text") << "b10"
                                                << "b9" << 0 << true;
        QTest::newRow("keyword column by text, reversed") << "9"
                                                          << "10" << 0 << false;
    }

    void sortOrder()
    {
        QFETCH(QString, left);
        QFETCH(QString, right);
        QFETCH(int, column);
        QFETCH(bool, less);

        QTableWidget t(1, 6);
        auto* a = new PtTableWidgetItem(left);
        auto* b = new PtTableWidgetItem(right);
        t.setItem(0, column, b);
        QCOMPARE(*a < *b, less);
        delete a;
    }

    void sortingARankColumn()
    {
        QTableWidget t(0, 2);
        const QStringList ranks = {"5", ">100", "-", "100", "1", "37"};
        for (const QString& rank : ranks) {
            const int row = t.rowCount();
            t.insertRow(row);
            t.setItem(row, 0, new PtTableWidgetItem(QStringLiteral("k") + rank));
            t.setItem(row, 1, new PtTableWidgetItem(rank));
        }
        t.sortItems(1, Qt::AscendingOrder);
        QStringList order;
        for (int row = 0; row < t.rowCount(); ++row)
            order << t.item(row, 1)->text();
        QCOMPARE(order, (QStringList{"-", "1", "5", "37", "100", ">100"}));
    }

    void headerAndColumns()
    {
        Model model;
        TestPageHub pageHub;
        WebsiteView view(nullptr, model.websites, model.rankData, &pageHub);
        QTableWidget* t = table(view);
        QVERIFY(t);
        const QStringList headers = {"Keyword",     "Google", "CHG", " Total\nCHG", "Bing", "CHG",
                                     " Total\nCHG", "Yahoo",  "CHG", " Total\nCHG"};
        QCOMPARE(t->columnCount(), 10);
        for (int c = 0; c < 10; ++c) {
            QTableWidgetItem* header = t->horizontalHeaderItem(c);
            QVERIFY(dynamic_cast<PtTableWidgetItem*>(header));
            QCOMPARE(header->text(), headers[c]);
            if (c > 0) {
                QCOMPARE(t->horizontalHeader()->sectionSize(c),
                         (c == 1 || c == 4 || c == 7) ? 56 : 70);
                QCOMPARE(t->horizontalHeader()->sectionResizeMode(c), QHeaderView::Fixed);
            }
        }
        QCOMPARE(t->horizontalHeader()->sectionResizeMode(0), QHeaderView::Stretch);
        QVERIFY(t->isSortingEnabled());
        QVERIFY(!t->verticalHeader()->isVisible() || t->verticalHeader()->isHidden());
        QCOMPARE(t->editTriggers(), QAbstractItemView::NoEditTriggers);
        QCOMPARE(t->selectionMode(), QAbstractItemView::NoSelection);
    }

    void withoutWebsites()
    {
        Model model;
        TestPageHub pageHub;
        WebsiteView view(nullptr, model.websites, model.rankData, &pageHub);
        QCOMPARE(toolBox(view)->count(), 0);
        QCOMPARE(table(view)->rowCount(), 0);
        QCOMPARE(labelText(view, "lblWebsiteCount"), QStringLiteral("0"));
        QCOMPARE(labelText(view, "lbl_keywordsCount"), QStringLiteral("0"));
        QCOMPARE(view.CurrentWebsite(), nullptr);
        QVERIFY(view.findChild<QWidget*>("pushButton_4")->isHidden());
        QCOMPARE(view.findChild<QTabWidget*>("tabWidget")->currentIndex(), 1);
    }

    void totalsAndPages()
    {
        Model model;
        for (int i = 0; i < 12; ++i)
            model.websites.push_back(
                website(QStringLiteral("site%1.example").arg(i), {"www.google.com"},
                        i % 2 ? QStringList{"a", "b", "c"} : QStringList{"x"}));
        TestPageHub pageHub;
        WebsiteView view(nullptr, model.websites, model.rankData, &pageHub);
        // The list shows 10 websites, the totals count all 12: 6 x 3 + 6 x 1 keywords.
        QCOMPARE(toolBox(view)->count(), 10);
        QCOMPARE(labelText(view, "lblWebsiteCount"), QStringLiteral("12"));
        QCOMPARE(labelText(view, "lbl_keywordsCount"), QStringLiteral("24"));
        QCOMPARE(StatTotalKeywords(model.websites), LTInt64(24));
        QCOMPARE(toolBox(view)->itemText(3), QStringLiteral("site3.example"));
        // The first website is shown.
        QCOMPARE(labelText(view, "lblWebsite"), QStringLiteral("site0.example"));
        QCOMPARE(table(view)->rowCount(), 1);
    }

    void websitePageLabels()
    {
        Model model;
        model.websites.push_back(website("a.example", {"www.google.com"}, {"one", "two"}));
        model.websites.push_back(website("b.example", {"www.google.com"}, {"three"}));
        model.rankData.push_back(
            series("b.example", "www.google.com", "three", {4, 0}, QDate(2026, 11, 30)));
        TestPageHub pageHub;
        WebsiteView view(nullptr, model.websites, model.rankData, &pageHub);

        auto texts = [&](int page) {
            QStringList result;
            for (QLabel* label : toolBox(view)->widget(page)->findChildren<QLabel*>())
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
        model.rankData.push_back(
            series("b.example", "www.google.com", "one", {7}, QDate(2026, 12, 2)));
        view.PopluateRankData(model.rankData);
        QCOMPARE(view.GetWebsiteInfo_UpdateOn(),
                 toolBox(view)->widget(1)->findChildren<QLabel*>().at(1));
        QCOMPARE(view.GetWebsiteInfo_UpdateOn()->text(), QStringLiteral("Updated on : 12/02/2026"));
        QCOMPARE(labelText(view, "lblWebsite"), QStringLiteral("b.example"));
    }

    void tableCells()
    {
        Model model;
        model.websites.push_back(website("w.example", {"www.google.com", "search.yahoo.com"},
                                         {"never", "single", "up", "down", "lost", "failed"}));
        const QString g = "www.google.com", y = "search.yahoo.com";
        model.rankData.push_back(series("w.example", g, "single", {7}));
        model.rankData.push_back(series("w.example", g, "up", {30, 12, 5}));
        model.rankData.push_back(series("w.example", g, "down", {3, 4, 101}));
        model.rankData.push_back(series("w.example", y, "lost", {101, 101}));
        model.rankData.push_back(series("w.example", y, "failed", {9, 0}));
        // Another website's series of the same keyword must not show.
        model.rankData.push_back(series("other.example", g, "never", {1}));
        TestPageHub pageHub;
        WebsiteView view(nullptr, model.websites, model.rankData, &pageHub);
        QTableWidget* t = table(view);
        QCOMPARE(t->rowCount(), 6);

        QHash<QString, int> rowOf;
        for (int row = 0; row < t->rowCount(); ++row)
            rowOf[t->item(row, 0)->text()] = row;

        const QString none = "<none>";
        // Keyword, Google rank/CHG/Total, Bing (not used: no items), Yahoo rank/CHG/Total.
        QCOMPARE(rowTexts(t, rowOf["never"]),
                 (QStringList{"never", "-", "-", "-", none, none, none, "-", "-", "-"}));
        QCOMPARE(rowTexts(t, rowOf["single"]),
                 (QStringList{"single", "7", "-", "0", none, none, none, "-", "-", "-"}));
        QCOMPARE(rowTexts(t, rowOf["up"]),
                 (QStringList{"up", "5", "+7", "+25", none, none, none, "-", "-", "-"}));
        QCOMPARE(rowTexts(t, rowOf["down"]),
                 (QStringList{"down", ">100", "-97", "-98", none, none, none, "-", "-", "-"}));
        QCOMPARE(rowTexts(t, rowOf["lost"]),
                 (QStringList{"lost", "-", "-", "-", none, none, none, ">100", "0", "0"}));
        QCOMPARE(rowTexts(t, rowOf["failed"]),
                 (QStringList{"failed", "-", "-", "-", none, none, none, "-", "-", "-"}));

        // Change colours; "-" keeps the table's own text colour.
        QCOMPARE(t->item(rowOf["up"], 2)->foreground().color(), kGreen);
        QCOMPARE(t->item(rowOf["down"], 3)->foreground().color(), kOrange);
        QCOMPARE(t->item(rowOf["single"], 3)->foreground().color(), kGrey);
        QCOMPARE(t->item(rowOf["never"], 2)->foreground().style(), Qt::NoBrush);
        QCOMPARE(t->item(rowOf["up"], 1)->textAlignment(),
                 int(Qt::AlignHCenter | Qt::AlignVCenter));

        // Cell backgrounds by row and column parity, taken after the rows were in.
        for (int row = 0; row < t->rowCount(); ++row) {
            for (int column : {0, 1, 2, 3, 7, 8, 9}) {
                const QColor expected =
                    row % 2 == 0
                        ? (column % 2 == 0 ? QColor(221, 221, 221) : QColor(235, 235, 235))
                        : (column % 2 == 0 ? QColor(246, 246, 246) : QColor(250, 250, 250));
                QCOMPARE(t->item(row, column)->background().color(), expected);
            }
        }
    }

    // Each cell shows what a search of the whole series list for the website, engine
    // host and keyword finds (its first match), whatever the list's order, the other
    // websites' series of the same keywords, repeated keys, null entries and gaps.
    void tableMatchesTheSeriesSearch_data()
    {
        QTest::addColumn<quint32>("seed");
        for (quint32 seed : {1u, 2u, 3u})
            QTest::newRow(qPrintable(QStringLiteral("seed %1").arg(seed))) << seed;
    }

    void tableMatchesTheSeriesSearch()
    {
        QFETCH(quint32, seed);
        QRandomGenerator random(seed);
        const QStringList hosts{"www.google.com", "www.bing.com", "search.yahoo.com"};
        const auto url = [](int w) { return QStringLiteral("w%1.example").arg(w); };
        Model model;
        QStringList keywords;
        for (int k = 0; k < 40; ++k)
            keywords << QStringLiteral("kw %1").arg(k);
        for (int w = 0; w < 3; ++w)
            model.websites.push_back(website(url(w), hosts, keywords));
        // 500 series over 3 x 3 x 45 keys: many keys repeat, many have none.
        for (int i = 0; i < 500; ++i) {
            if (random.bounded(50) == 0) {
                model.rankData.push_back(nullptr);
                continue;
            }
            QList<int> ranks;
            for (int p = int(random.bounded(4)); p > 0; --p)
                ranks << int(random.bounded(102));
            model.rankData.push_back(
                series(url(int(random.bounded(3))), hosts[int(random.bounded(3))],
                       QStringLiteral("kw %1").arg(random.bounded(45)), ranks));
        }
        TestPageHub pageHub;
        WebsiteView view(nullptr, model.websites, model.rankData, &pageHub);
        toolBox(view)->setCurrentIndex(1);
        QTableWidget* t = table(view);
        QCOMPARE(t->rowCount(), keywords.size());

        QStringList seen;
        for (int row = 0; row < t->rowCount(); ++row) {
            const QString keyword = t->item(row, 0)->text();
            seen << keyword;
            for (int e = 0; e < 3; ++e) {
                const RANK_DATA* found = Find_RankData(model.rankData, url(1), hosts[e], keyword);
                const LTInt64 current = GetLastRank(found);
                QColor previousColour, firstColour;
                const QStringList expected{
                    RankDisplayString(current),
                    RankChangeDisplayString(current, GetRankPrevious(found), previousColour),
                    RankChangeDisplayString(current, GetRankFirst(found), firstColour)};
                const int column = 1 + 3 * e;
                QCOMPARE(rowTexts(t, row).mid(column, 3), expected);
                QCOMPARE(t->item(row, column + 1)->foreground().color(),
                         previousColour.isValid() ? previousColour : QColor(Qt::black));
                QCOMPARE(t->item(row, column + 2)->foreground().color(),
                         firstColour.isValid() ? firstColour : QColor(Qt::black));
            }
        }
        seen.sort();
        keywords.sort();
        QCOMPARE(seen, keywords);
    }

    void unknownEngineWarnsPerKeyword()
    {
        MessageBoxWatcher boxes;
        Model model;
        model.websites.push_back(
            website("w.example", {"www.google.com", "www.ask.com"}, {"one", "two"}));
        model.rankData.push_back(series("w.example", "www.ask.com", "one", {3}));
        model.rankData.push_back(series("w.example", "www.google.com", "two", {150}));
        TestPageHub pageHub;
        WebsiteView view(nullptr, model.websites, model.rankData, &pageHub);
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

    void prefixes()
    {
        QCOMPARE(GetFindStringPie(SE_Google), QStringLiteral("lbl_g_"));
        QCOMPARE(GetFindStringPie(SE_Bing), QStringLiteral("lbl_b_"));
        QCOMPARE(GetFindStringPie(SE_Yahoo), QStringLiteral("lbl_y_"));
        QCOMPARE(GetFindStringPie(SE_Other), QString());
        QCOMPARE(GetFindStringRect(SE_Google), QStringLiteral("lbl_g_r"));
        QCOMPARE(GetFindStringRect(SE_Bing), QStringLiteral("lbl_b_r"));
        QCOMPARE(GetFindStringRect(SE_Yahoo), QStringLiteral("lbl_y_r"));
        QCOMPARE(GetFindStringRect(EnuSearchEngineType(3)), QString());
        for (int kind : {0, 8}) {
            try {
                GetFindStringRect(EnuSearchEngineType(kind));
                QFAIL("no exception");
            } catch (const LTException& e) {
                QCOMPARE(e.code(), 0);
            }
        }
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

        Model model;
        TestPageHub pageHub;
        WebsiteView view(nullptr, model.websites, model.rankData, &pageHub);
        RankDistribution d;
        d.Rank1To10 = counts[0];
        d.Rank11To30 = counts[1];
        d.Rank31To100 = counts[2];
        d.RankOver100 = counts[3];
        view.ShowPie(d, SE_Bing);

        QCOMPARE(labelText(view, "lbl_b_11"), QStringLiteral("1-10: %1").arg(counts[0]));
        QCOMPARE(labelText(view, "lbl_b_22"), QStringLiteral("11-30: %1").arg(counts[1]));
        QCOMPARE(labelText(view, "lbl_b_33"), QStringLiteral("31-100: %1").arg(counts[2]));
        QCOMPARE(labelText(view, "lbl_b_44"), QStringLiteral(">100: %1").arg(counts[3]));
        QCOMPARE(styleOf(view, "lbl_b_1"), QStringLiteral("background-color:rgb(102,201,72);"));
        QCOMPARE(styleOf(view, "lbl_b_2"), QStringLiteral("background-color:rgb(92,221,231);"));
        QCOMPARE(styleOf(view, "lbl_b_3"), QStringLiteral("background-color:rgb(239,117,70);"));
        QCOMPARE(styleOf(view, "lbl_b_4"), QStringLiteral("background-color:rgb(26,153,208);"));
        // Other engines keep their cleared legends.
        QCOMPARE(labelText(view, "lbl_g_11"), QStringLiteral("1-10: 0"));

        const QPixmap picture = view.findChild<QLabel*>("lbl_b_0")->pixmap();
        QCOMPARE(picture.size(), QSize(100, 100));
        for (int i = 0; i < angles.size(); ++i) {
            const QColor actual = pixelAt(picture, angles[i], 47);
            if (!colours[i].isValid()) {
                QVERIFY2(actual.alpha() < 64, qPrintable(QString::number(actual.alpha())));
            } else {
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
    }

    void pieSeparators()
    {
        Model model;
        TestPageHub pageHub;
        WebsiteView view(nullptr, model.websites, model.rankData, &pageHub);
        RankDistribution d;
        d.Rank1To10 = 1;
        d.Rank11To30 = 2;
        view.ShowPie(d, SE_Yahoo);
        const QPixmap picture = view.findChild<QLabel*>("lbl_y_0")->pixmap();
        // Separators at 0 and 120 degrees, none at 240 or elsewhere. The thin white line
        // lightens the slice colour where it passes: the lowest channel of the lightest
        // pixel around the spot rises well above that of the slice colours (72 and 92).
        const QImage image = picture.toImage();
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
        QVERIFY2(lightest(120) > 130, qPrintable(QString::number(lightest(120))));
        QVERIFY2(lightest(0) > 130, qPrintable(QString::number(lightest(0))));
        QVERIFY2(lightest(240) < 110, qPrintable(QString::number(lightest(240))));
        QVERIFY2(lightest(60) < 110, qPrintable(QString::number(lightest(60))));
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

        Model model;
        TestPageHub pageHub;
        WebsiteView view(nullptr, model.websites, model.rankData, &pageHub);
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
        Model model;
        const QString g = "www.google.com", b = "www.bing.com";
        model.websites.push_back(website("a.example", {g, b}, {"k1", "k2", "k3"}));
        model.websites.push_back(website("b.example", {b}, {"k1"}));
        model.rankData.push_back(series("a.example", g, "k1", {10, 3}));
        model.rankData.push_back(series("a.example", g, "k2", {20, 25}));
        model.rankData.push_back(series("a.example", g, "k3", {150}));
        model.rankData.push_back(series("a.example", b, "k1", {50, 50}));
        model.rankData.push_back(series("b.example", b, "k1", {4, 12}));
        TestPageHub pageHub;
        WebsiteView view(nullptr, model.websites, model.rankData, &pageHub);

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
        Model model;
        TestPageHub pageHub;
        WebsiteView view(nullptr, model.websites, model.rankData, &pageHub);
        auto* panel = view.findChild<QTabWidget*>("tabWidget");
        QWidget other;
        auto* otherLayout = new QVBoxLayout(&other);
        otherLayout->addWidget(panel);
        QCOMPARE(panel->parentWidget(), &other);

        view.show();
        QCOMPARE(panel->parentWidget(), &view);
        auto* leftColumn = view.findChild<QVBoxLayout*>("verticalLayout_2");
        QCOMPARE(leftColumn->indexOf(panel), leftColumn->count() - 1);
        QCOMPARE(leftColumn->indexOf(view.findChild<QWidget*>("toolBoxWebsite")), 0);
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
        UrlRecorder urls;
        Model model;
        TestPageHub pageHub;
        WebsiteView view(nullptr, model.websites, model.rankData, &pageHub);
        view.resize(1000, 700);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        auto* label = view.findChild<QLabel*>("labelNews");
        QVERIFY(label->isVisible());
        label->setText(QStringLiteral("<a href=\"%1\">Read the news</a>").arg(link));
        QTest::mouseClick(label, Qt::LeftButton, {}, label->rect().center());
        QCOMPARE(urls.urls, opened ? QList<QUrl>{QUrl(link)} : QList<QUrl>{});
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
        Model model;
        QStringList names;
        for (int i = 0; i < keywords; ++i)
            names << QStringLiteral("keyword %1").arg(i);
        model.websites.push_back(
            website("w.example", {"www.google.com", "www.bing.com", "search.yahoo.com"}, names));
        TestPageHub pageHub;
        WebsiteView view(nullptr, model.websites, model.rankData, &pageHub);
        view.resize(1000, 640);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
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

        const QRgb line = qRgb(167, 167, 167), band = qRgb(0, 170, 169),
                   white = qRgb(255, 255, 255);
        auto at = [&](int x, int y) { return picture.pixel(x, y) & 0xFFFFFF; };
        auto rgb = [](QRgb c) { return c & 0xFFFFFF; };
        // The frame runs along the picture's edges (the band covers the bottom edge when
        // there is no row).
        QCOMPARE(at(0, H / 2), rgb(line));
        QCOMPARE(at(W / 2, 0), rgb(line));
        QCOMPARE(at(W - 1, H / 2), rgb(line));
        if (keywords > 0)
            QCOMPARE(at(W / 2, H - 1), rgb(line));
        // Header band (a corner spot where no text is drawn).
        QCOMPARE(at(2, 2), rgb(band));
        QCOMPARE(at(W - 3, h - 1), rgb(band));
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
        for (int y = h + 1; y < H - 2; ++y) {
            if (at(3, y) == rgb(line))
                ++rowLines;
        }
        QCOMPARE(rowLines, qMax(0, keywords - 1));
        for (int i = 1; i < keywords; ++i)
            QCOMPARE(at(3, h + i * r + 1), rgb(line));
        // Column lines below the band at the report's widths from the right.
        if (keywords > 0) {
            int x = W;
            for (int step : {60, 55, 60, 60, 55, 60, 60, 55, 60}) {
                x -= step;
                QCOMPARE(at(x, H - 4), rgb(line));
                QCOMPARE(at(x + 3, H - 4), rgb(white));
            }
        }
    }

    void chartPicture()
    {
        Model model;
        model.websites.push_back(website("w.example", {"www.google.com"}, {"k"}));
        model.rankData.push_back(series("w.example", "www.google.com", "k", {3}));
        TestPageHub pageHub;
        WebsiteView view(nullptr, model.websites, model.rankData, &pageHub);
        view.resize(1000, 640);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
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

    void hubShowsTheStoredWebsites()
    {
        TestEnvironment::freshHome();
        {
            SqlDb store;
            QSqlQuery query(store.m_DB);
            QVERIFY(query.prepare("INSERT INTO Website VALUES(?,?,?,?)"));
            query.addBindValue("www.example.com");
            query.addBindValue("2026-10-03T09:00:00");
            query.addBindValue(
                "www.google.com?English?United States\nwww.bing.com?English?United States");
            query.addBindValue("garden tools\nrake");
            QVERIFY(query.exec());
            QVERIFY(query.prepare("INSERT INTO UpdateFlow VALUES(?,?,?,?,?,?,?,?)"));
            const QVariantList rows[] = {
                {1, "www.example.com", "www.google.com", "garden tools", "2026-12-01T10:00:00", 8,
                 "u", "English"},
                {2, "www.example.com", "www.google.com", "garden tools", "2026-12-02T10:00:00", 3,
                 "u", "English"},
                {3, "www.example.com", "www.bing.com", "rake", "2026-12-03T10:00:00", 101, "u",
                 "English"},
            };
            for (const QVariantList& row : rows) {
                for (const QVariant& value : row)
                    query.addBindValue(value);
                QVERIFY(query.exec());
            }
        }

        RankMain hub;
        WebsiteView* view = hub.m_pWebsiteView;
        QVERIFY(view);
        QCOMPARE(view->parentWidget(), &hub);
        QVERIFY(hub.layout()->indexOf(view) >= 0);
        QCOMPARE(labelText(*view, "lblWebsite"), QStringLiteral("www.example.com"));
        QCOMPARE(labelText(*view, "lblWebsiteCount"), QStringLiteral("1"));
        QCOMPARE(labelText(*view, "lbl_keywordsCount"), QStringLiteral("2"));
        QTableWidget* t = table(*view);
        QCOMPARE(t->rowCount(), 2);
        const int garden = t->item(0, 0)->text() == "garden tools" ? 0 : 1;
        QCOMPARE(rowTexts(t, garden).mid(0, 7),
                 (QStringList{"garden tools", "3", "+5", "+5", "-", "-", "-"}));
        QCOMPARE(rowTexts(t, 1 - garden).mid(0, 7),
                 (QStringList{"rake", "-", "-", "-", ">100", "-", "0"}));
        QCOMPARE(view->GetWebsiteInfo_UpdateOn()->text(),
                 QStringLiteral("Updated on : 12/03/2026"));
        QCOMPARE(labelText(*view, "lbl_b_44"), QStringLiteral(">100: 1"));
    }

    void editDialogCoversThePage()
    {
        TestEnvironment::freshHome();
        {
            SqlDb store;
            QSqlQuery query(store.m_DB);
            QVERIFY(query.prepare("INSERT INTO Website VALUES(?,?,?,?)"));
            for (const QVariant& value :
                 QVariantList{"www.example.com", "2026-10-03T09:00:00",
                              "www.google.com?English?United States", "garden tools"})
                query.addBindValue(value);
            QVERIFY(query.exec());
        }
        RMainWindow window;
        s_wndRMainWindow = &window;
        window.resize(1000, 580);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        WebsiteView* view = window.Hub()->m_pWebsiteView;
        auto* panel = view->findChild<QTabWidget*>("tabWidget");

        struct Seen {
            bool dialog = false;
            Qt::WindowFlags flags;
            QSize size;
            QPoint topLeft;
            QString title, subtitle;
        } seen;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            seen.dialog = true;
            seen.flags = dialog->windowFlags();
            seen.size = dialog->size();
            seen.topLeft = dialog->pos();
            seen.title = labelText(*dialog, "label");
            seen.subtitle = labelText(*dialog, "label_14");
            // Wherever the wizard keeps the side panel meanwhile, it leaves the page.
            dialog->layout()->addWidget(panel);
            dialog->findChild<QPushButton*>("btnCancel")->click();
        });
        view->findChild<QPushButton*>("btnEditWebsite")->click();

        QVERIFY(seen.dialog);
        QVERIFY(seen.flags & Qt::FramelessWindowHint);
        QCOMPARE(seen.size, view->size());
        QCOMPARE(seen.topLeft, view->mapToGlobal(QPoint(0, 0)));
        QCOMPARE(seen.title, QStringLiteral("Edit Website"));
        QCOMPARE(seen.subtitle, QStringLiteral("Edit a website and correlative keywords and "
                                               "continue monitoring its SERPs"));
        QCOMPARE(panel->parentWidget(), view);
        QVERIFY(view->findChildren<QDialog*>().isEmpty());
        s_wndRMainWindow = nullptr;
    }

    void keywordCellOpensTheKeywordPage_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("page");
        QTest::newRow("keyword") << 0 << 1;
        QTest::newRow("rank") << 1 << 0;
        QTest::newRow("total change") << 3 << 0;
    }

    void keywordCellOpensTheKeywordPage()
    {
        QFETCH(int, column);
        QFETCH(int, page);
        TestEnvironment::freshHome();
        {
            SqlDb store;
            QSqlQuery query(store.m_DB);
            QVERIFY(query.prepare("INSERT INTO Website VALUES(?,?,?,?)"));
            for (const QVariant& value :
                 QVariantList{"www.example.com", "2026-10-03T09:00:00",
                              "www.google.com?English?United States", "garden tools"})
                query.addBindValue(value);
            QVERIFY(query.exec());
        }
        RMainWindow window;
        s_wndRMainWindow = &window;
        RankMain* hub = window.Hub();
        QTableWidget* t = table(*hub->m_pWebsiteView);
        QCOMPARE(hub->m_nCurrentView, 0);
        emit t->itemClicked(t->item(0, column));
        QCOMPARE(hub->m_nCurrentView, page);
        s_wndRMainWindow = nullptr;
    }

    void editWithoutWebsite()
    {
        Model model;
        TestPageHub pageHub;
        WebsiteView view(nullptr, model.websites, model.rankData, &pageHub);
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

    void keywordsUpdatedToday()
    {
        const QString home = TestEnvironment::freshHome();
        Q_UNUSED(home);
        RMainWindow window;
        s_wndRMainWindow = &window;
        RankMain* hub = window.Hub();
        const QDate today = QDate::currentDate();
        const QString g = "www.google.com", b = "www.bing.com";
        hub->m_vRankData.push_back(series("w.example", g, "one", {4}, today));
        hub->m_vRankData.push_back(series("w.example", b, "one", {0}, today)); // failed today
        hub->m_vRankData.push_back(series("w.example", g, "two", {101}, today));
        hub->m_vRankData.push_back(series("w.example", b, "two", {8}, today.addDays(-1)));
        hub->m_vRankData.push_back(series("x.example", b, "two", {8}, today)); // other site

        QCOMPARE(StatKeywordsHasUpdated(website("w.example", {g, b}, {"one", "two", "three"}),
                                        hub->m_vRankData),
                 LTInt64(2));
        QCOMPARE(StatKeywordsHasUpdated(website("w.example", {g, b}, {}), hub->m_vRankData),
                 LTInt64(0));
        QCOMPARE(StatKeywordsHasUpdated(website("w.example", {}, {"one"}), hub->m_vRankData),
                 LTInt64(0));
        s_wndRMainWindow = nullptr;
    }

    void reportMessage()
    {
        MessageBoxWatcher boxes;
        UrlRecorder urls;
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
        QCOMPARE(urls.urls, (QList<QUrl>{QUrl("file:///home/u/reports")}));
        QCOMPARE(urls.urls.at(0).toLocalFile(), QStringLiteral("/home/u/reports"));

        // OK: nothing opens. A name with "%2" in it is shown as it is.
        boxes.clear();
        boxes.queueAnswer(MessageBoxHook::Ok);
        PromptAfterFinishTheReport("/tmp/a%2b@@@.csv", true, &parent);
        QVERIFY(boxes.boxes().at(0).text.startsWith(
            "Report <b>a%2b@@@.csv</b> was saved in folder <b>/tmp</b>"));
        QCOMPARE(urls.urls.size(), 1);

        boxes.clear();
        PromptAfterFinishTheReport("/tmp/x.pdf", false, &parent);
        QCOMPARE(boxes.boxes().size(), 1);
        QCOMPARE(boxes.boxes().at(0).icon, MessageBoxHook::Warning);
        QCOMPARE(boxes.boxes().at(0).title, QStringLiteral("Lumatrove"));
        QCOMPARE(boxes.boxes().at(0).text, QStringLiteral("print report failed."));
        QCOMPARE(boxes.boxes().at(0).buttons, int(MessageBoxHook::Ok));
        QCOMPARE(urls.urls.size(), 1);
    }
};

LT_TEST_MAIN(TestWebsiteView)
#include "tst_websiteview.moc"
