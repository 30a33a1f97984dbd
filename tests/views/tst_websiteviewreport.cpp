#include "MessageBoxWatcher.h"
#include "RankMain.h"
#include "TestMain.h"
#include "UrlOpenWatcher.h"
#include "WebsiteView.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QToolBox>

namespace {

SEARCH_ENGINE engine(const QString& host)
{
    SEARCH_ENGINE e;
    e.SearchEngine = host;
    e.Lang = QStringLiteral("English");
    e.Country = QStringLiteral("United States");
    return e;
}

RANK_DATA* series(const QString& url, const QString& host, const QString& keyword,
                  const QList<int>& ranks)
{
    auto* data = new RANK_DATA;
    data->Website = url;
    data->SearchEngine = host;
    data->Keyword = keyword;
    for (int i = 0; i < ranks.size(); ++i) {
        FLOW_ITEM item;
        item.UpdateNo = i + 1;
        item.Rank = qint16(ranks[i]);
        item.SearchTime = QDateTime(QDate(2026, 6, 1).addDays(i), QTime(12, 0));
        data->FlowItems.push_back(item);
    }
    return data;
}

// The fields of the CSV line that follows the line starting with `heading`, `skip` lines
// further down.
QStringList lineAfter(const QStringList& lines, const QString& heading, int skip = 1)
{
    for (int i = 0; i < lines.size(); ++i) {
        if (lines[i].startsWith(heading) && i + skip < lines.size())
            return lines[i + skip].split(QLatin1Char(','));
    }
    return {};
}

} // namespace

class TestWebsiteViewReport : public QObject
{
    Q_OBJECT

    std::unique_ptr<RankMain> m_hub; // current hub: the reports read its output folder
    QTemporaryDir m_out;
    std::vector<WEBSITE> m_websites;
    std::vector<RANK_DATA*> m_rankData;

private slots:
    void initTestCase()
    {
        TestEnvironment::freshHome();
        m_hub.reset(new RankMain);
        QVERIFY(m_out.isValid());

        WEBSITE w;
        w.Website = QStringLiteral("http://shop.example");
        w.CreateTime = QDateTime(QDate(2026, 2, 3), QTime(9, 0));
        w.SearchEngines = {engine("www.google.com"), engine("www.bing.com")};
        w.Keywords = {"alpha", "beta", "gamma"};
        m_websites.push_back(w);
        const QString g = "www.google.com", b = "www.bing.com";
        m_rankData.push_back(series(w.Website, g, "alpha", {9, 4}));   // 1-10, up
        m_rankData.push_back(series(w.Website, g, "beta", {12, 40}));  // 31-100, down
        m_rankData.push_back(series(w.Website, g, "gamma", {101}));    // >100, unchanged
        m_rankData.push_back(series(w.Website, b, "alpha", {20, 20})); // 11-30, unchanged
    }

    void cleanupTestCase()
    {
        m_hub.reset();
        for (RANK_DATA* data : m_rankData)
            delete data;
    }

    void init() { m_hub->SetSettingValue(SETTING_ReportOutputPath, m_out.path()); }

    void withoutWebsite()
    {
        MessageBoxWatcher boxes;
        std::vector<WEBSITE> none;
        WebsiteView view(nullptr, none, m_rankData, nullptr);
        for (int index : {0, 1}) {
            boxes.clear();
            view.on_cmbReport_activated(index);
            QCOMPARE(boxes.boxes().size(), 1);
            QCOMPARE(boxes.boxes().at(0).icon, MessageBoxHook::Warning);
            QCOMPARE(boxes.boxes().at(0).parent, &view);
            QCOMPARE(boxes.boxes().at(0).title, QStringLiteral("Lumatrove"));
            QCOMPARE(boxes.boxes().at(0).text, QStringLiteral("Please add a website."));
        }
        QCOMPARE(QDir(m_out.path()).entryList(QDir::Files).size(), 0);
    }

    void csvFollowsTheScreen()
    {
        MessageBoxWatcher boxes;
        boxes.queueAnswer(MessageBoxHook::Ok);
        WebsiteView view(nullptr, m_websites, m_rankData, nullptr);
        QTableWidget* table = view.findChild<QTableWidget*>("tableWidget");
        // Sorted by the Google rank, best first: alpha 4, beta 40, gamma >100; then
        // descending, which must reach the file in that order.
        table->sortItems(1, Qt::DescendingOrder);

        // Through the menu's own signal, as a user's choice arrives.
        emit view.findChild<QComboBox*>("cmbReport")->activated(1);

        QCOMPARE(boxes.boxes().size(), 1);
        const MessageBoxHook::Request box = boxes.boxes().at(0);
        QCOMPARE(box.icon, MessageBoxHook::Information);
        const QRegularExpression message(
            "^Report <b>(http@@@shop\\.example\\d{14}\\.csv)</b> was saved in folder <b>(.*)</b>!");
        const QRegularExpressionMatch match = message.match(box.text);
        QVERIFY2(match.hasMatch(), qPrintable(box.text));
        QCOMPARE(match.captured(2), QDir(m_out.path()).absolutePath());

        QFile file(QDir(m_out.path()).filePath(match.captured(1)));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
        file.remove();

        // Bands per engine in the website's order: Google 1/0/1/1, Bing 0/1/0/0.
        const QStringList google = lineAfter(lines, "Search Engine,Top 10");
        const QStringList bing = lineAfter(lines, "Search Engine,Top 10", 2);
        QCOMPARE(google.mid(1, 5), (QStringList{"1", "0", "1", "1", "3"}));
        QCOMPARE(bing.mid(1, 5), (QStringList{"0", "1", "0", "0", "1"}));
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
    void defaultFolder()
    {
        m_hub->SetSettingValue(SETTING_ReportOutputPath, QStringLiteral("./"));
        const QString data = QDir::homePath() + "/Documents/lumatrove";
        MessageBoxWatcher boxes;
        boxes.queueAnswer(MessageBoxHook::Open);
        UrlOpenWatcher browser;
        WebsiteView view(nullptr, m_websites, m_rankData, nullptr);
        const QString saved = QDir::currentPath();
        QVERIFY(QDir::setCurrent(m_out.path()));
        view.on_cmbReport_activated(1);
        QDir::setCurrent(saved);

        QCOMPARE(boxes.boxes().size(), 1);
        QVERIFY2(boxes.boxes().at(0).text.contains("was saved in folder <b>" + data + "</b>!"),
                 qPrintable(boxes.boxes().at(0).text));
        QCOMPARE(browser.urls(), QList<QUrl>{QUrl::fromLocalFile(data)});
        QCOMPARE(QDir(data).entryList({"http@@@shop.example*.csv"}, QDir::Files).size(), 1);
        QVERIFY(QDir(m_out.path()).isEmpty());
    }

    void pdf()
    {
        MessageBoxWatcher boxes;
        boxes.queueAnswer(MessageBoxHook::Ok);
        WebsiteView view(nullptr, m_websites, m_rankData, nullptr);
        view.resize(1000, 640);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        view.on_cmbReport_activated(0);

        QCOMPARE(boxes.boxes().size(), 1);
        QCOMPARE(boxes.boxes().at(0).icon, MessageBoxHook::Information);
        const QStringList files = QDir(m_out.path()).entryList({"*.pdf"}, QDir::Files);
        QCOMPARE(files.size(), 1);
        QVERIFY(
            QRegularExpression("^http@@@shop\\.example\\d{14}\\.pdf$").match(files[0]).hasMatch());
        QVERIFY(boxes.boxes().at(0).text.contains(files[0]));
        QFile file(QDir(m_out.path()).filePath(files[0]));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.read(5) == "%PDF-");
        file.remove();
    }

    void unwritableFolder_data()
    {
        QTest::addColumn<int>("index");
        QTest::newRow("pdf") << 0;
        QTest::newRow("csv") << 1;
    }

    void unwritableFolder()
    {
        QFETCH(int, index);
        m_hub->SetSettingValue(SETTING_ReportOutputPath, m_out.filePath("missing/folder"));
        MessageBoxWatcher boxes;
        WebsiteView view(nullptr, m_websites, m_rankData, nullptr);
        view.resize(1000, 640);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        view.on_cmbReport_activated(index);
        QCOMPARE(boxes.boxes().size(), 1);
        QCOMPARE(boxes.boxes().at(0).icon, MessageBoxHook::Warning);
        QCOMPARE(boxes.boxes().at(0).text, QStringLiteral("print report failed."));
    }
};

LT_TEST_MAIN(TestWebsiteViewReport)
#include "tst_websiteviewreport.moc"
