#include "HeaderBar.h"
#include "PtCombox.h"
#include "TestMain.h"
#include "UrlOpenWatcher.h"
#include "ui_HeaderBar.h"

#include <QAbstractItemView>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QToolButton>

namespace {

std::vector<WEBSITE> sites(const QStringList& urls)
{
    std::vector<WEBSITE> result;
    for (const QString& url : urls) {
        WEBSITE website;
        website.Website = url;
        result.push_back(website);
    }
    return result;
}

// The page buttons by state.
QList<QAbstractButton*> pageButtons(HeaderBar& bar)
{
    return {bar.ui->toolButton_2, bar.ui->toolButton, bar.ui->pushAddWebsite, bar.ui->pushButton_2};
}

QList<bool> checkedStates(HeaderBar& bar)
{
    QList<bool> states;
    for (QAbstractButton* button : pageButtons(bar))
        states << button->isChecked();
    return states;
}

void choose(QComboBox* combo, int row)
{
    combo->showPopup();
    QAbstractItemView* view = combo->view();
    QTRY_VERIFY(view->isVisible());
    view->setCurrentIndex(combo->model()->index(row, 0));
    QTest::keyClick(view, Qt::Key_Return);
    QTRY_VERIFY(!view->isVisible());
}

QStringList linksOf(const QString& richText)
{
    QStringList links;
    QRegularExpression href(QStringLiteral("href=\"([^\"]*)\""));
    for (auto it = href.globalMatch(richText); it.hasNext();)
        links << it.next().captured(1);
    return links;
}

} // namespace

class TestHeaderBar : public QObject
{
    Q_OBJECT

private slots:
    void construction_data();
    void construction();
    void helpMenuInPlace();
    void pageButtons_data();
    void pageButtons();
    void switchViewToolButton_data();
    void switchViewToolButton();
    void helpEntries_data();
    void helpEntries();
    void titleLinks();
};

void TestHeaderBar::construction_data()
{
    QTest::addColumn<QStringList>("urls");
    QTest::newRow("no website") << QStringList{};
    QTest::newRow("one") << QStringList{"example.com"};
    QTest::newRow("list order kept")
        << QStringList{"zeta.example", "alpha.example", "www.mid.example/shop"};
}

void TestHeaderBar::construction()
{
    QFETCH(QStringList, urls);
    const std::vector<WEBSITE> websites = sites(urls);
    QWidget parent;
    HeaderBar bar(&parent, websites);

    QStringList listed;
    for (int i = 0; i < bar.ui->comboBoxWebsite->count(); ++i)
        listed << bar.ui->comboBoxWebsite->itemText(i);
    QCOMPARE(listed, urls);
    QCOMPARE(checkedStates(bar), (QList<bool>{true, false, false, false}));
    QCOMPARE(bar.State(), int(HBS_WebsiteView));
    QVERIFY(bar.ui->pushButton_3->isHidden());
}

void TestHeaderBar::helpMenuInPlace()
{
    const std::vector<WEBSITE> websites = sites({"example.com"});
    HeaderBar bar(nullptr, websites);
    auto* help = qobject_cast<PtCombox*>(bar.ui->comboBox_2);
    QVERIFY(help);
    QStringList entries;
    for (int i = 0; i < help->count(); ++i)
        entries << help->itemText(i);
    QCOMPARE(entries, (QStringList{"Online help", "Contact us", "Check for update", "Homepage"}));
    QCOMPARE(help->currentIndex(), -1);
    QCOMPARE(help->lineEdit()->text(), QStringLiteral("Help"));

    // The open list is wider than its 77-pixel button: every entry shows whole, and it is
    // never narrower than the 140 pixels its items are styled with.
    bar.show();
    QVERIFY(QTest::qWaitForWindowExposed(&bar));
    help->showPopup();
    QAbstractItemView* list = help->view();
    QTRY_VERIFY(list->isVisible());
    QVERIFY2(list->window()->width() >= 140, qPrintable(QString::number(list->window()->width())));
    const QFontMetrics metrics(list->font());
    for (int i = 0; i < help->count(); ++i) {
        const QRect cell = list->visualRect(help->model()->index(i, 0));
        QVERIFY2(cell.width() >= metrics.horizontalAdvance(help->itemText(i)) &&
                     list->viewport()->rect().contains(cell.topLeft()) &&
                     cell.right() <= list->viewport()->rect().right(),
                 qPrintable(help->itemText(i)));
    }
    help->hidePopup();
}

void TestHeaderBar::pageButtons_data()
{
    QTest::addColumn<bool>("haveWebsites");
    QTest::addColumn<int>("button");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QList<bool>>("checked");

    QTest::newRow("websites: overview") << true << 0 << true << QList<bool>{1, 0, 0, 0};
    QTest::newRow("websites: keywords") << true << 1 << true << QList<bool>{0, 1, 0, 0};
    QTest::newRow("websites: add website") << true << 2 << true << QList<bool>{0, 0, 1, 0};
    QTest::newRow("websites: settings") << true << 3 << true << QList<bool>{0, 0, 0, 1};
    // Without websites only the add-website page may be shown; the refused button is
    // unchecked again and the others stay as they were.
    QTest::newRow("none: overview") << false << 0 << false << QList<bool>{0, 0, 0, 0};
    QTest::newRow("none: keywords") << false << 1 << false << QList<bool>{1, 0, 0, 0};
    QTest::newRow("none: add website") << false << 2 << true << QList<bool>{0, 0, 1, 0};
    QTest::newRow("none: settings") << false << 3 << false << QList<bool>{1, 0, 0, 0};
}

void TestHeaderBar::pageButtons()
{
    QFETCH(bool, haveWebsites);
    QFETCH(int, button);
    QFETCH(bool, accepted);
    QFETCH(QList<bool>, checked);

    const std::vector<WEBSITE> websites =
        sites(haveWebsites ? QStringList{"example.com"} : QStringList{});
    HeaderBar bar(nullptr, websites);
    QList<int> asked;
    QList<void*> parameters;
    connect(&bar, &HeaderBar::DoSwitchView, &bar, [&](HeaderBarState state, void* parameter) {
        asked << state;
        parameters << parameter;
    });
    // The click as the user makes it: the checkable button toggles, then the slot runs.
    ::pageButtons(bar)[button]->click();

    QCOMPARE(checkedStates(bar), checked);
    QCOMPARE(asked, accepted ? QList<int>{button} : QList<int>{});
    if (accepted) {
        QCOMPARE(parameters.first(), nullptr);
        QCOMPARE(bar.State(), button);
    } else {
        QCOMPARE(bar.State(), int(HBS_WebsiteView));
    }
}

void TestHeaderBar::switchViewToolButton_data()
{
    QTest::addColumn<QList<int>>("states");
    QTest::addColumn<QList<bool>>("results");
    QTest::addColumn<QList<bool>>("checked");
    QTest::newRow("one page") << QList<int>{3} << QList<bool>{1} << QList<bool>{0, 0, 0, 1};
    QTest::newRow("there and back")
        << QList<int>{3, 1} << QList<bool>{1, 1} << QList<bool>{0, 1, 0, 0};
    QTest::newRow("same twice") << QList<int>{2, 2} << QList<bool>{1, 1} << QList<bool>{0, 0, 1, 0};
    QTest::newRow("not a page") << QList<int>{1, 5} << QList<bool>{1, 0} << QList<bool>{0, 1, 0, 0};
}

void TestHeaderBar::switchViewToolButton()
{
    QFETCH(QList<int>, states);
    QFETCH(QList<bool>, results);
    QFETCH(QList<bool>, checked);
    const std::vector<WEBSITE> websites = sites({"a.example", "b.example"});
    HeaderBar bar(nullptr, websites);
    int signals_ = 0;
    connect(&bar, &HeaderBar::DoSwitchView, &bar, [&] { ++signals_; });
    QList<bool> got;
    for (int state : states)
        got << bar.SwitchViewToolButton(HeaderBarState(state));
    QCOMPARE(got, results);
    QCOMPARE(checkedStates(bar), checked);
    // Checking a button asks for no page.
    QCOMPARE(signals_, 0);
}

void TestHeaderBar::helpEntries_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("url");
    QTest::newRow("Online help") << 0 << "http://www.brindlecor.example/help/?src=mac";
    QTest::newRow("Contact us") << 1 << "http://www.brindlecor.example/support/?src=mac";
    QTest::newRow("Check for update") << 2 << "http://www.brindlecor.example/update/";
    QTest::newRow("Homepage") << 3 << "http://www.brindlecor.example/?src=mac";
}

void TestHeaderBar::helpEntries()
{
    QFETCH(int, row);
    QFETCH(QString, url);
    UrlOpenWatcher browser;
    const std::vector<WEBSITE> websites = sites({"example.com"});
    HeaderBar bar(nullptr, websites);
    bar.resize(1046, 90);
    bar.show();
    QVERIFY(QTest::qWaitForWindowExposed(&bar));

    choose(bar.ui->comboBox_2, row);
    QCOMPARE(browser.urls(), QList<QUrl>{QUrl(url)});
    QCOMPARE(bar.ui->comboBox_2->lineEdit()->text(), QStringLiteral("Help"));

    // A text that is no entry opens nothing.
    bar.OnComboBoxHelpClicked(QStringLiteral("online help"));
    bar.OnComboBoxHelpClicked(QString());
    QCOMPARE(browser.urls().size(), 1);
}

void TestHeaderBar::titleLinks()
{
    UrlOpenWatcher browser;
    const std::vector<WEBSITE> websites;
    HeaderBar bar(nullptr, websites);
    // The product link counts the visit as coming from this edition.
    QVERIFY(!bar.ui->labelTitle->text().contains(QStringLiteral("src=win"), Qt::CaseInsensitive));
    const QStringList links = linksOf(bar.ui->labelTitle->text());
    QCOMPARE(links.size(), 4);
    QCOMPARE(links[0], QStringLiteral("http://www.brindlecor.example/?src=mac"));
    QVERIFY(links[1].startsWith(QStringLiteral("https://www.facebook.com/sharer/sharer.php?u=")));
    QVERIFY(links[2].startsWith(QStringLiteral("https://plus.google.com/share?url=")));
    QVERIFY(links[3].startsWith(QStringLiteral("https://twitter.com/intent/tweet?text=")));
    for (int i = 1; i < 4; ++i) {
        const QString shared = QUrl(links[i]).query(QUrl::FullyDecoded);
        QVERIFY2(shared.endsWith(QStringLiteral("http://www.brindlecor.example")),
                 qPrintable(shared));
    }

    // Each link the label reports is opened as it is.
    for (const QString& link : links)
        emit bar.ui->labelTitle->linkActivated(link);
    QList<QUrl> expected;
    for (const QString& link : links)
        expected << QUrl(link);
    QCOMPARE(browser.urls(), expected);
}

LT_TEST_MAIN(TestHeaderBar)
#include "tst_headerbar.moc"
