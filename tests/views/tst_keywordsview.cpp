#include "AddWebsiteView.h"
#include "KeywordsView.h"
#include "MessageBoxWatcher.h"
#include "PageFixture.h"
#include "PtChartScene.h"
#include "PtChartView.h"
#include "RankPointItem.h"
#include "TestMain.h"
#include "TestRankHub.h"
#include "UrlOpenWatcher.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTimer>

using namespace PageFixture;

namespace {

const QString Site = QStringLiteral("http://www.example.com");
const QString Google = QStringLiteral("www.google.com");
const QString Bing = QStringLiteral("www.bing.com");
const QString Yahoo = QStringLiteral("search.yahoo.com");

WEBSITE makeWebsite(const QString& url, const QStringList& keywords,
                    const QStringList& hosts = {Google, Yahoo, Bing})
{
    return website(url, hosts, keywords, QStringLiteral("France"), QStringLiteral("French"));
}

// A history of the website; points are (days before today, rank), oldest first.
RANK_DATA* add(Histories& histories, const QString& host, const QString& keyword,
               const QList<QPair<int, int>>& points, const QString& url = Site)
{
    QList<QPair<QDate, int>> days;
    for (const auto& [daysAgo, rank] : points)
        days.append({QDate::currentDate().addDays(-daysAgo), rank});
    return histories.add(url, host, keyword, days);
}

QTableWidgetItem* cellOf(QTableWidget* table, const QString& host, int column)
{
    for (int row = 0; row < table->rowCount(); ++row)
        if (table->item(row, 0)->text() == host)
            return table->item(row, column);
    return nullptr;
}

QStringList firstColumn(QTableWidget* table)
{
    QStringList texts;
    for (int row = 0; row < table->rowCount(); ++row)
        texts << table->item(row, 0)->text();
    return texts;
}

QStringList entries(QComboBox* box)
{
    QStringList texts;
    for (int i = 0; i < box->count(); ++i)
        texts << box->itemText(i);
    return texts;
}

// The colour a cell's text is given; invalid when it keeps the table's normal colour.
QColor textColor(QTableWidgetItem* item)
{
    const QVariant value = item->data(Qt::ForegroundRole);
    return value.isValid() ? value.value<QBrush>().color() : QColor();
}

// A report run with a hub whose report folder is the run's.
struct KeywordReport : ReportRun {
    TestRankHub hub;
    KeywordReport() { hub.setSetting(SETTING_ReportOutputPath, folder.path()); }
};

const QColor Better(102, 201, 72);
const QColor Worse(239, 117, 70);
const QColor Same(72, 72, 72);

} // namespace

class TestKeywordsView : public QObject
{
    Q_OBJECT

private slots:
    void construction()
    {
        Histories histories;
        KeywordsView page(nullptr, histories.list, nullptr);
        QCOMPARE(page.CurrentWebsite(), nullptr);
        QCOMPARE(page.ui.listWidget->count(), 0);
        QVERIFY(page.ui.pushButton_4->isHidden());
        QCOMPARE(entries(page.ui.cmbEngine), (QStringList{"Google", "Bing", "Yahoo", "All"}));
        QCOMPARE(page.ui.cmbEngine->currentIndex(), 0);
        QCOMPARE(entries(page.ui.cmbDateRange),
                 (QStringList{"7 days", "1 month", "3 months", "1 year"}));
        QCOMPARE(page.ui.cmbDateRange->currentText(), QStringLiteral("3 months"));

        // The chart sits between the filter row and the table, without a scene yet.
        QCOMPARE(page.ui.verticalLayout->indexOf(page.ChartView()), 2);
        QCOMPARE(page.ui.verticalLayout->indexOf(page.ui.tableWidget), 3);
        QCOMPARE(page.ChartView()->scene(), nullptr);

        QTableWidget* table = page.ui.tableWidget;
        QCOMPARE(table->rowCount(), 0);
        const QStringList titles = {"Search Engine", "Country", "Lang",    "Best",       "Current",
                                    "Last",          "CHG",     "Created", "Total\nCHG", "URL"};
        QCOMPARE(table->columnCount(), 10);
        for (int i = 0; i < 10; ++i)
            QCOMPARE(table->horizontalHeaderItem(i)->text(), titles[i]);
    }

    void rows_data()
    {
        QTest::addColumn<QList<int>>("ranks");  // oldest first
        QTest::addColumn<QStringList>("cells"); // Best .. Total CHG
        QTest::addColumn<QColor>("change");
        QTest::addColumn<QColor>("total");

        QTest::newRow("one point")
            << QList<int>{7} << QStringList{"7", "7", "-", "-", "7", "0"} << QColor() << Same;
        QTest::newRow("5, 12, 8") << QList<int>{5, 12, 8}
                                  << QStringList{"5", "8", "12", "+4", "5", "-3"} << Better
                                  << Worse;
        QTest::newRow("newest not in the first 100")
            << QList<int>{20, 9, 101} << QStringList{"9", ">100", "9", "-92", "20", "-81"} << Worse
            << Worse;
        QTest::newRow("up from beyond 100")
            << QList<int>{101, 101, 5} << QStringList{"5", "5", ">100", "+96", ">100", "+96"}
            << Better << Better;
        QTest::newRow("best ignores failed checks")
            << QList<int>{0, 30, 0} << QStringList{"30", "-", "30", "-", "-", "-"} << QColor()
            << QColor();
        QTest::newRow("only failed checks")
            << QList<int>{0, 0} << QStringList{"-", "-", "-", "-", "-", "-"} << QColor()
            << QColor();
        QTest::newRow("unchanged")
            << QList<int>{3, 3} << QStringList{"3", "3", "3", "0", "3", "0"} << Same << Same;
    }

    void rows()
    {
        QFETCH(QList<int>, ranks);
        QFETCH(QStringList, cells);
        QFETCH(QColor, change);
        QFETCH(QColor, total);

        const WEBSITE site = makeWebsite(Site, {QStringLiteral("blue widgets")}, {Google});
        Histories histories;
        QList<QPair<int, int>> points;
        for (int i = 0; i < ranks.size(); ++i)
            points.append({ranks.size() - i, ranks[i]});
        add(histories, Google, QStringLiteral("blue widgets"), points);
        // Another keyword's and another website's histories of the same engine stay out.
        add(histories, Google, QStringLiteral("red widgets"), {{1, 1}});
        add(histories, Google, QStringLiteral("blue widgets"), {{1, 2}},
            QStringLiteral("http://other.example.com"));

        KeywordsView page(nullptr, histories.list, nullptr);
        page.changeWebsite(site);
        QTableWidget* table = page.ui.tableWidget;
        QCOMPARE(table->rowCount(), 1);
        const QString url = QStringLiteral("%1/%2/%3").arg(Site, Google).arg(ranks.last());
        QCOMPARE(rowOf(table, Google),
                 QStringList({Google, "United States", "English"}) + cells + QStringList{url});
        QCOMPARE(textColor(cellOf(table, Google, 6)), change);
        QCOMPARE(textColor(cellOf(table, Google, 8)), total);

        QTableWidgetItem* link = cellOf(table, Google, 9);
        QCOMPARE(textColor(link), QColor(0, 0, 255));
        QVERIFY(link->font().underline());
        QCOMPARE(link->toolTip(), url);
        QCOMPARE(page.ui.lblWebsite->text(), QStringLiteral("blue widgets"));
    }

    void missingHistories()
    {
        // Google has no history, Yahoo one without points, Bing one point.
        const WEBSITE site = makeWebsite(Site, {QStringLiteral("kw")});
        Histories histories;
        add(histories, Yahoo, QStringLiteral("kw"), {});
        add(histories, Bing, QStringLiteral("kw"), {{0, 4}});
        KeywordsView page(nullptr, histories.list, nullptr);
        page.changeWebsite(site);
        QTableWidget* table = page.ui.tableWidget;
        QCOMPARE(table->rowCount(), 3);
        const QStringList dashes = {"-", "-", "-", "-", "-", "-", ""};
        QCOMPARE(rowOf(table, Google).mid(1), QStringList({"United States", "English"}) + dashes);
        QCOMPARE(rowOf(table, Yahoo).mid(1), QStringList({"France", "French"}) + dashes);
        QCOMPARE(rowOf(table, Bing).mid(3, 6), (QStringList{"4", "4", "-", "-", "4", "0"}));
        QCOMPARE(textColor(cellOf(table, Google, 6)), QColor());
    }

    void rowsOrderedByHost()
    {
        const WEBSITE site = makeWebsite(Site, {QStringLiteral("kw")}, {Yahoo, Google, Bing});
        Histories histories;
        add(histories, Google, QStringLiteral("kw"), {{1, 90}});
        add(histories, Yahoo, QStringLiteral("kw"), {{1, 2}});
        add(histories, Bing, QStringLiteral("kw"), {{1, 40}});
        KeywordsView page(nullptr, histories.list, nullptr);
        page.changeWebsite(site);
        QCOMPARE(firstColumn(page.ui.tableWidget), (QStringList{Google, Bing, Yahoo}));

        // A click on the Current header orders by rank; a refresh keeps that order.
        page.ui.tableWidget->sortByColumn(4, Qt::AscendingOrder);
        page.PopluateRankData(histories.list);
        QCOMPARE(firstColumn(page.ui.tableWidget), (QStringList{Yahoo, Bing, Google}));
    }

    void changeWebsite()
    {
        const WEBSITE first = makeWebsite(Site, {"alpha", "beta", "gamma"});
        const WEBSITE sameUrl = makeWebsite(Site, {"other"});
        const WEBSITE second =
            makeWebsite(QStringLiteral("http://second.example.org"), {"delta", "epsilon"});
        Histories histories;
        add(histories, Google, QStringLiteral("beta"), {{2, 11}});
        KeywordsView page(nullptr, histories.list, nullptr);
        QSignalSpy rowChanges(page.ui.listWidget, &QListWidget::currentRowChanged);

        page.changeWebsite(first);
        QCOMPARE(page.CurrentWebsite(), &first);
        QCOMPARE(page.ui.listWidget->count(), 3);
        QCOMPARE(page.ui.listWidget->currentRow(), 0);
        QCOMPARE(page.ui.lblWebsite->text(), QStringLiteral("alpha"));
        QVERIFY(page.ChartScene());

        page.ui.listWidget->setCurrentRow(1);
        QCOMPARE(page.ui.lblWebsite->text(), QStringLiteral("beta"));
        QCOMPARE(rowOf(page.ui.tableWidget, Google)[4], QStringLiteral("11"));
        const int changes = rowChanges.count();
        PtChartScene* scene = page.ChartScene();

        // The same URL again (as the hub tells the page twice per change): nothing moves.
        page.changeWebsite(sameUrl);
        QCOMPARE(page.CurrentWebsite(), &first);
        QCOMPARE(page.ui.listWidget->count(), 3);
        QCOMPARE(page.ui.listWidget->currentRow(), 1);
        QCOMPARE(rowChanges.count(), changes);
        QCOMPARE(page.ChartScene(), scene);

        page.changeWebsite(second);
        QCOMPARE(page.CurrentWebsite(), &second);
        QCOMPARE(page.ui.listWidget->item(0)->text(), QStringLiteral("delta"));
        QCOMPARE(page.ui.listWidget->item(1)->text(), QStringLiteral("epsilon"));
        QCOMPARE(page.ui.listWidget->currentRow(), 0);
        QCOMPARE(page.ui.lblWebsite->text(), QStringLiteral("delta"));
        QCOMPARE(rowOf(page.ui.tableWidget, Google)[4], QStringLiteral("-"));
    }

    void keywordSelection()
    {
        const WEBSITE site = makeWebsite(Site, {"alpha", "Beta", "beta"});
        Histories histories;
        KeywordsView page(nullptr, histories.list, nullptr);
        page.changeWebsite(site);

        // Keywords are told apart by case.
        page.SelectSpecicalKeyword(QStringLiteral("beta"));
        QCOMPARE(page.ui.listWidget->currentRow(), 2);
        page.SelectSpecicalKeyword(QStringLiteral("Beta"));
        QCOMPARE(page.ui.listWidget->currentRow(), 1);
        QCOMPARE(page.ui.lblWebsite->text(), QStringLiteral("Beta"));
        PtChartScene* scene = page.ChartScene();
        QTableWidgetItem* cell = page.ui.tableWidget->item(0, 0);

        for (const char* other : {"missing", "BETA"})
            page.SelectSpecicalKeyword(QString::fromLatin1(other));
        QCOMPARE(page.ui.listWidget->currentRow(), 1);
        QCOMPARE(page.ChartScene(), scene);
        QCOMPARE(page.ui.tableWidget->item(0, 0), cell);
    }

    void engineFilter_data()
    {
        QTest::addColumn<QStringList>("hosts");
        QTest::addColumn<int>("filter");
        QTest::addColumn<QList<bool>>("charted"); // Google, Bing, Yahoo slots

        const QStringList all = {Google, Yahoo, Bing};
        QTest::newRow("Google") << all << 0 << QList<bool>{true, false, false};
        QTest::newRow("Bing") << all << 1 << QList<bool>{false, true, false};
        QTest::newRow("Yahoo") << all << 2 << QList<bool>{false, false, true};
        QTest::newRow("All") << all << 3 << QList<bool>{true, true, true};
        QTest::newRow("Bing without a Bing variant")
            << QStringList{Google, Yahoo} << 1 << QList<bool>{false, false, false};
        QTest::newRow("All, no Yahoo variant")
            << QStringList{Bing, Google} << 3 << QList<bool>{true, true, false};
        QTest::newRow("another engine is never charted")
            << QStringList{QStringLiteral("www.ask.com"), Google} << 3
            << QList<bool>{true, false, false};
    }

    void engineFilter()
    {
        QFETCH(QStringList, hosts);
        QFETCH(int, filter);
        QFETCH(QList<bool>, charted);

        const WEBSITE site = makeWebsite(Site, {QStringLiteral("kw")}, hosts);
        Histories histories;
        const RANK_DATA* expected[3] = {
            add(histories, Google, QStringLiteral("kw"), {{3, 10}, {1, 8}}),
            add(histories, Bing, QStringLiteral("kw"), {{3, 20}}),
            add(histories, Yahoo, QStringLiteral("kw"), {{2, 30}})};
        add(histories, QStringLiteral("www.ask.com"), QStringLiteral("kw"), {{2, 3}});

        KeywordsView page(nullptr, histories.list, nullptr);
        page.changeWebsite(site);
        QTableWidget* table = page.ui.tableWidget;
        QList<QTableWidgetItem*> before;
        for (int row = 0; row < table->rowCount(); ++row)
            before << table->item(row, 4);
        PtChartScene* previous = page.ChartScene();

        page.ui.cmbEngine->setCurrentIndex(filter);
        if (filter != 0)
            QVERIFY(page.ChartScene() != previous);
        for (int slot = 0; slot < 3; ++slot)
            QCOMPARE(page.ChartScene()->Series(slot), charted[slot] ? expected[slot] : nullptr);
        // The table does not depend on the filters.
        QCOMPARE(table->rowCount(), before.size());
        for (int row = 0; row < table->rowCount(); ++row)
            QCOMPARE(table->item(row, 4), before[row]);
    }

    void dateRanges_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QDate>("today");
        QTest::addColumn<QDate>("from");

        QTest::newRow("7 days") << 0 << QDate(2024, 3, 10) << QDate(2024, 3, 4);
        QTest::newRow("7 days over a year end") << 0 << QDate(2025, 1, 2) << QDate(2024, 12, 27);
        QTest::newRow("1 month") << 1 << QDate(2024, 4, 15) << QDate(2024, 3, 16);
        QTest::newRow("1 month from a 31st") << 1 << QDate(2024, 3, 31) << QDate(2024, 3, 1);
        QTest::newRow("3 months") << 2 << QDate(2024, 6, 10) << QDate(2024, 3, 11);
        QTest::newRow("3 months from May 31") << 2 << QDate(2023, 5, 31) << QDate(2023, 3, 1);
        QTest::newRow("1 year") << 3 << QDate(2024, 3, 10) << QDate(2023, 3, 11);
        QTest::newRow("1 year from a leap day") << 3 << QDate(2024, 2, 29) << QDate(2023, 3, 1);
    }

    void dateRanges()
    {
        QFETCH(int, index);
        QFETCH(QDate, today);
        QFETCH(QDate, from);
        QCOMPARE(KeywordsView::GetDateRange(index, today), qMakePair(from, today));
    }

    void dateRangeFilter()
    {
        const WEBSITE site = makeWebsite(Site, {QStringLiteral("kw")});
        Histories histories;
        add(histories, Google, QStringLiteral("kw"), {{40, 60}, {6, 12}, {0, 9}});
        KeywordsView page(nullptr, histories.list, nullptr);
        page.changeWebsite(site);
        const QDate today = QDate::currentDate();
        QCOMPARE(page.ChartScene()->From(), today.addMonths(-3).addDays(1));
        QCOMPARE(page.ChartScene()->To(), today);
        QCOMPARE(page.ChartScene()->AxisMaximum(), LTInt64(60));

        page.ui.cmbDateRange->setCurrentIndex(0);
        QCOMPARE(page.ChartScene()->From(), today.addDays(-6));
        QCOMPARE(page.ChartScene()->To(), today);
        // Only 12 and 9 lie in the last seven days.
        QCOMPARE(page.ChartScene()->AxisMaximum(), LTInt64(12));
        QCOMPARE(page.ChartScene()->PointItems().size(), 2);
        QCOMPARE(page.ChartScene()->Series(0), histories.list[0]);

        page.ui.cmbDateRange->setCurrentIndex(3);
        QCOMPARE(page.ChartScene()->From(), today.addYears(-1).addDays(1));
        QCOMPARE(page.ChartScene()->PointItems().size(), 3);
    }

    // Ranking URLs come from fetched pages: only web addresses reach the browser.
    void urlSchemes_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<bool>("opened");
        QTest::newRow("http") << "http://www.example.com/p?q=1" << true;
        QTest::newRow("escaped blank") << "http://www.example.com/a%20b?q=1" << true;
        QTest::newRow("https, upper-case scheme") << "HTTPS://www.example.com/p" << true;
        QTest::newRow("javascript") << "javascript:alert(document.cookie)" << false;
        QTest::newRow("local file") << "file:///etc/passwd" << false;
        QTest::newRow("data") << "data:text/html;base64,PHNjcmlwdD4=" << false;
        QTest::newRow("ftp") << "ftp://files.example.com/x" << false;
        QTest::newRow("no scheme") << "www.example.com/page" << false;
        QTest::newRow("no host") << "http:/etc/passwd" << false;
    }

    void urlSchemes()
    {
        QFETCH(QString, url);
        QFETCH(bool, opened);
        UrlOpenWatcher browser;
        const WEBSITE site = makeWebsite(Site, {QStringLiteral("kw")}, {Google, Bing});
        Histories histories;
        add(histories, Google, QStringLiteral("kw"), {{1, 3}})->FlowItems.back().RankURL = url;
        KeywordsView page(nullptr, histories.list, nullptr);
        page.resize(1000, 700);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        page.changeWebsite(site);
        QTableWidget* table = page.ui.tableWidget;
        QCOMPARE(cellOf(table, Google, 9)->text(), url);

        // Only a click on the URL cell opens, and only a web address.
        auto click = [&](QTableWidgetItem* item) {
            const QRect rect = table->visualItemRect(item);
            QVERIFY(rect.isValid());
            QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, rect.center());
        };
        click(cellOf(table, Google, 4));
        click(cellOf(table, Google, 0));
        click(cellOf(table, Bing, 9)); // no ranking URL
        QVERIFY(browser.urls().isEmpty());
        click(cellOf(table, Google, 9));
        QCOMPARE(browser.urls(),
                 opened ? QList<QUrl>{QUrl::fromEncoded(url.toLatin1())} : QList<QUrl>{});

        // An item of another table does not count.
        QTableWidgetItem stray(QStringLiteral("http://stray.example.com"));
        page.on_tableWidget_itemClicked(&stray);
        page.on_tableWidget_itemClicked(nullptr);
        QCOMPARE(browser.urls().size(), opened ? 1 : 0);
    }

    void websiteWithoutKeywords()
    {
        KeywordReport run;
        const WEBSITE before = makeWebsite(QStringLiteral("http://before.example.com"), {"kw"});
        const WEBSITE site = makeWebsite(Site, {});
        Histories histories;
        KeywordsView page(nullptr, histories.list, nullptr);
        page.changeWebsite(before);
        QCOMPARE(page.ui.tableWidget->rowCount(), 3);
        // The previous website's keyword, ranks and chart do not stay on show.
        page.changeWebsite(site);
        QCOMPARE(page.ui.listWidget->count(), 0);
        QCOMPARE(page.ui.listWidget->currentRow(), -1);
        QCOMPARE(page.ui.tableWidget->rowCount(), 0);
        QCOMPARE(page.ui.lblWebsite->text(), Site);
        for (int slot = 0; slot < 3; ++slot)
            QCOMPARE(page.ChartScene()->Series(slot), nullptr);

        // Refreshes and filters still work; the chart has no series.
        page.PopluateRankData(histories.list);
        page.ui.cmbEngine->setCurrentIndex(3);
        QVERIFY(page.ChartScene());
        for (int slot = 0; slot < 3; ++slot)
            QCOMPARE(page.ChartScene()->Series(slot), nullptr);
        page.on_cmbReport_activated(0);
        page.on_cmbReport_activated(1);
        QVERIFY(run.boxes.boxes().isEmpty());
        QVERIFY(run.files().isEmpty());

        // Without any website, Edit does nothing either.
        KeywordsView empty(nullptr, histories.list, nullptr);
        empty.on_btnEdit_clicked();
        empty.on_cmbReport_activated(0);
        QVERIFY(run.boxes.boxes().isEmpty());
    }

    void editDialog()
    {
        const WEBSITE site = makeWebsite(Site, {QStringLiteral("kw")});
        Histories histories;
        KeywordsView page(nullptr, histories.list, nullptr);
        page.resize(900, 600);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        page.changeWebsite(site);

        // The wizard opens in a modal dialog over the page; closing it returns to the page.
        bool wizard = false;
        QSize size;
        QTimer::singleShot(0, &page, [&] {
            QWidget* dialog = QApplication::activeModalWidget();
            if (!dialog)
                return;
            wizard = dialog->findChild<AddWebsiteView*>() != nullptr;
            size = dialog->size();
            dialog->close();
        });
        QTest::mouseClick(page.ui.btnEdit, Qt::LeftButton);
        QVERIFY(wizard);
        QCOMPARE(size, page.size());
        QVERIFY(page.isVisible());
    }

    void reportPictures()
    {
        const WEBSITE site = makeWebsite(Site, {QStringLiteral("kw")});
        Histories histories;
        add(histories, Google, QStringLiteral("kw"), {{5, 20}, {2, 10}});
        KeywordsView page(nullptr, histories.list, nullptr);
        page.resize(1000, 700);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        page.changeWebsite(site);

        const QSize viewSize = page.ChartView()->size();
        QVERIFY(viewSize.width() > 200 && viewSize.height() > 50);
        QCOMPARE(page.ChartScene()->sceneRect(), QRectF(QPointF(0, 0), QSizeF(viewSize)));
        const QImage chart = page.ReportDrawChart();
        QCOMPARE(chart.size(), viewSize);
        QCOMPARE(chart.format(), QImage::Format_ARGB32_Premultiplied);
        // The newest point (rank 10 of an axis up to 20, on the range's last day) is drawn in
        // Google's colour.
        const QPointF dot =
            page.ChartScene()->FindGraphicItem(&histories.list[0]->FlowItems[1])->pos();
        QCOMPARE(chart.pixelColor(dot.toPoint()), QColor(26, 153, 208));
        QCOMPARE(chart.pixelColor(2, 2), QColor(Qt::white));

        const QImage table = page.ReportDrawTable();
        QCOMPARE(table.size(), page.ui.tableWidget->size());
        // The header row is in the header colour.
        QCOMPARE(table.pixelColor(20, 4), QColor(0x00, 0xAA, 0xA9));
    }

    void reportPdf()
    {
        KeywordReport run;
        const WEBSITE site = makeWebsite(Site, {QStringLiteral("red shoes")});
        Histories histories;
        add(histories, Google, QStringLiteral("red shoes"), {{3, 14}});
        add(histories, Bing, QStringLiteral("red shoes"), {{2, 7}});
        KeywordsView page(nullptr, histories.list, nullptr);
        page.resize(1000, 700);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        page.changeWebsite(site);
        page.ui.cmbEngine->setCurrentIndex(1);

        page.on_cmbReport_activated(0);
        const QStringList files = run.files();
        QCOMPARE(files.size(), 1);
        QVERIFY2(QRegularExpression(
                     QStringLiteral("^red shoes-http@@@www\\.example\\.com\\d{14}\\.pdf$"))
                     .match(files[0])
                     .hasMatch(),
                 qPrintable(files[0]));
        QCOMPARE(run.boxes.boxes().size(), 1);
        QCOMPARE(run.boxes.boxes()[0].icon, MessageBoxHook::Information);
        QVERIFY(run.boxes.boxes()[0].text.contains(files[0]));
        QCOMPARE(run.boxes.boxes()[0].parent, &page);
        // The box's Open shows the folder.
        QCOMPARE(run.browser.urls(), QList<QUrl>{QUrl::fromLocalFile(run.folder.path())});

        QProcess text;
        text.start(QStringLiteral("pdftotext"),
                   {QDir(run.folder.path()).filePath(files[0]), QStringLiteral("-")});
        QVERIFY(text.waitForFinished(30000));
        const QString content = QString::fromUtf8(text.readAllStandardOutput());
        QVERIFY2(content.contains(QStringLiteral("Search engine: Bing")), qPrintable(content));
        QVERIFY(content.contains(QStringLiteral("red shoes")));
    }

    void reportCsv()
    {
        KeywordReport run;
        // Stored order Google, Yahoo, Bing; Yahoo has no history and is left out of the details.
        const WEBSITE site = makeWebsite(Site, {QStringLiteral("kw")});
        Histories histories;
        add(histories, Google, QStringLiteral("kw"), {{30, 50}, {6, 12}, {2, 9}});
        add(histories, Bing, QStringLiteral("kw"), {{9, 70}, {2, 101}, {0, 0}});
        KeywordsView page(nullptr, histories.list, nullptr);
        page.changeWebsite(site);
        // The engine filter plays no part in the CSV.
        page.ui.cmbEngine->setCurrentIndex(2);
        page.ui.cmbDateRange->setCurrentIndex(0);

        page.on_cmbReport_activated(1);
        const QStringList files = run.files();
        QCOMPARE(files.size(), 1);
        QVERIFY(files[0].startsWith(QStringLiteral("kw-http@@@www.example.com")));
        QVERIFY(files[0].endsWith(QStringLiteral(".csv")));
        QFile file(QDir(run.folder.path()).filePath(files[0]));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString csv = QString::fromLatin1(file.readAll());

        // Details: the last seven days on which a point exists, Google's column then Bing's.
        auto day = [](int daysAgo) {
            return QStringLiteral("\"%1\"").arg(
                QDate::currentDate().addDays(-daysAgo).toString(QStringLiteral("MM/dd/yyyy")));
        };
        QStringList details;
        for (const QString& line : csv.split(QLatin1Char('\n')))
            if (QRegularExpression(QStringLiteral("^\"\\d\\d/\\d\\d/\\d{4}\","))
                    .match(line)
                    .hasMatch())
                details << line.section(QLatin1Char(','), 0, 2);
        QCOMPARE(details, (QStringList{day(6) + ",12,-", day(2) + ",9,>100", day(0) + ",-,-"}));
        QVERIFY(csv.contains(QStringLiteral("Date,Google,Bing")));
        QCOMPARE(run.boxes.boxes().size(), 1);
        QVERIFY(run.boxes.boxes()[0].text.contains(files[0]));
        QCOMPARE(run.browser.urls(), QList<QUrl>{QUrl::fromLocalFile(run.folder.path())});
    }

    void reportUnwritable()
    {
        // A path that cannot be written: the prompt tells of the failure.
        MessageBoxWatcher boxes;
        TestRankHub hub;
        hub.setSetting(SETTING_ReportOutputPath, QStringLiteral("/nonexistent/folder"));
        const WEBSITE site = makeWebsite(Site, {QStringLiteral("kw")});
        Histories histories;
        KeywordsView page(nullptr, histories.list, nullptr);
        page.changeWebsite(site);
        page.on_cmbReport_activated(1);
        page.on_cmbReport_activated(0);
        QCOMPARE(boxes.boxes().size(), 2);
        for (const MessageBoxHook::Request& box : boxes.boxes()) {
            QCOMPARE(box.icon, MessageBoxHook::Warning);
            QCOMPARE(box.title, QStringLiteral("Lumatrove"));
        }
    }
};

LT_TEST_MAIN(TestKeywordsView)
#include "tst_keywordsview.moc"
