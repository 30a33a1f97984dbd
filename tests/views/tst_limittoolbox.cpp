#include "LimitToolBox.h"
#include "TestMain.h"

#include <QLabel>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>

namespace {

struct Box {
    LimitToolBox* box = new LimitToolBox(nullptr);
    QList<QPointer<QWidget>> pages;
    QList<int> added; // addItemLit's results

    explicit Box(int websites)
    {
        for (int i = 0; i < websites; ++i) {
            auto* page = new QLabel(QStringLiteral("page %1").arg(i));
            pages << page;
            added << box->addItemLit(page, QStringLiteral("site%1.example").arg(i));
        }
    }
    ~Box() { delete box; }

    // The website index of every box page, in box order.
    QList<int> order() const
    {
        QList<int> result;
        for (int k = 0; k < box->count(); ++k)
            result << box->GetWebsiteIndex(k);
        return result;
    }
};

QList<int> range(int from, int to)
{
    QList<int> result;
    for (int i = from; i <= to; ++i)
        result << i;
    return result;
}

} // namespace

class TestLimitToolBox : public QObject
{
    Q_OBJECT

private slots:
    void adding_data();
    void adding();
    void selecting_data();
    void selecting();
    void captionsFollowTheirPages();
    void websiteIndexOutside();
    void destructionDeletesEveryPage();
};

void TestLimitToolBox::adding_data()
{
    QTest::addColumn<int>("websites");
    QTest::addColumn<QList<int>>("added");
    QTest::newRow("none") << 0 << QList<int>{};
    QTest::newRow("three") << 3 << QList<int>{0, 1, 2};
    QTest::newRow("ten") << 10 << range(0, 9);
    QTest::newRow("twelve") << 12 << (range(0, 9) << -1 << -1);
}

void TestLimitToolBox::adding()
{
    QFETCH(int, websites);
    QFETCH(QList<int>, added);
    Box box(websites);
    QCOMPARE(box.added, added);
    QCOMPARE(box.box->count(), qMin(websites, 10));
    QCOMPARE(box.order(), range(0, qMin(websites, 10) - 1));
    for (int i = 10; i < websites; ++i) {
        QVERIFY(!box.pages[i]->parentWidget());
        QVERIFY(!box.pages[i]->isVisible());
    }
    if (websites)
        QCOMPARE(box.box->currentIndex(), 0);
}

void TestLimitToolBox::selecting_data()
{
    QTest::addColumn<int>("websites");
    QTest::addColumn<QList<int>>("selections");
    QTest::addColumn<QList<int>>("order");
    QTest::addColumn<int>("current"); // website index of the current page
    QTest::addColumn<int>("announced");

    QTest::newRow("few: only the current page changes")
        << 5 << QList<int>{3, 1} << range(0, 4) << 1 << 2;
    QTest::newRow("current page again announces nothing")
        << 5 << QList<int>{0, 0} << range(0, 4) << 0 << 0;
    QTest::newRow("left-out website swapped in")
        << 12 << QList<int>{11} << (range(1, 9) << 11) << 11 << 1;
    QTest::newRow("then the swapped-out one comes back")
        << 12 << QList<int>{11, 0} << (range(2, 9) << 11 << 0) << 0 << 2;
    QTest::newRow("swapped-in website selected again")
        << 12 << QList<int>{11, 11} << (range(1, 9) << 11) << 11 << 1;
    QTest::newRow("page still in the box is not swapped")
        << 12 << QList<int>{10, 5} << (range(1, 10)) << 5 << 2;
    QTest::newRow("current last page, then a swap")
        << 12 << QList<int>{9, 10} << (range(1, 10)) << 10 << 2;
    QTest::newRow("outside the list selects nothing")
        << 12 << QList<int>{-1, 12} << range(0, 9) << 0 << 0;
}

void TestLimitToolBox::selecting()
{
    QFETCH(int, websites);
    QFETCH(QList<int>, selections);
    QFETCH(QList<int>, order);
    QFETCH(int, current);
    QFETCH(int, announced);

    Box box(websites);
    box.box->show();
    QSignalSpy changes(box.box, &QToolBox::currentChanged);
    for (int i : selections)
        box.box->selectItem(i);
    QCOMPARE(box.order(), order);
    QCOMPARE(box.box->GetWebsiteIndex(box.box->currentIndex()), current);
    // One announcement per real change; none for the steps of a swap.
    QCOMPARE(changes.count(), announced);
    for (const QList<QVariant>& change : std::as_const(changes))
        QVERIFY(change.at(0).toInt() >= 0);
    QCOMPARE(box.box->count(), qMin(websites, 10));

    // Every website outside the box is hidden.
    for (int i = 0; i < websites; ++i) {
        if (!order.contains(i))
            QVERIFY2(!box.pages[i]->isVisible(), qPrintable(QString::number(i)));
    }
}

void TestLimitToolBox::captionsFollowTheirPages()
{
    Box box(12);
    box.box->selectItem(11);
    box.box->selectItem(0);
    for (int k = 0; k < box.box->count(); ++k) {
        QCOMPARE(box.box->itemText(k),
                 QStringLiteral("site%1.example").arg(box.box->GetWebsiteIndex(k)));
    }
    QCOMPARE(box.box->GetWebsiteIndex(9), 0);
}

void TestLimitToolBox::websiteIndexOutside()
{
    Box empty(0);
    QCOMPARE(empty.box->GetWebsiteIndex(0), -1);
    QCOMPARE(empty.box->GetWebsiteIndex(-1), -1);
    Box some(3);
    QCOMPARE(some.box->GetWebsiteIndex(-1), -1);
    QCOMPARE(some.box->GetWebsiteIndex(3), -1);
    // A page someone put into the box directly is no website.
    some.box->addItem(new QLabel, QStringLiteral("foreign"));
    QCOMPARE(some.box->GetWebsiteIndex(3), -1);
}

void TestLimitToolBox::destructionDeletesEveryPage()
{
    QList<QPointer<QWidget>> pages;
    {
        Box box(13);
        box.box->selectItem(11); // website 0 is now out of the box, a hidden child
        box.box->selectItem(12); // and website 1
        pages = box.pages;
        for (const QPointer<QWidget>& page : std::as_const(pages))
            QVERIFY(page);
    }
    for (int i = 0; i < pages.size(); ++i)
        QVERIFY2(!pages[i], qPrintable(QString::number(i)));
}

LT_TEST_MAIN(TestLimitToolBox)
#include "tst_limittoolbox.moc"
