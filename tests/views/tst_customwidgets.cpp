#include "HotTableHead.h"
#include "HotTableWidget.h"
#include "KewwordsTableWidget.h"
#include "LimitToolBox.h"
#include "PtComboBox.h"
#include "PtCombox.h"
#include "RankDisplayString.h"
#include "TestMain.h"

#include <QAbstractItemView>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QScrollBar>
#include <QSignalSpy>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <limits>

namespace {

const QStringList helpEntries = {"Online help", "Contact us", "Check for update", "Homepage"};

// Chooses an entry the way a user does: the list is opened, the entry made current and
// taken with Return (the list ignores a click that follows its opening too closely).
void choose(QComboBox* combo, int row)
{
    combo->showPopup();
    QAbstractItemView* view = combo->view();
    QTRY_VERIFY(view->isVisible());
    view->setCurrentIndex(combo->model()->index(row, 0));
    QTest::keyClick(view, Qt::Key_Return);
    QTRY_VERIFY(!view->isVisible());
}

// The help menu as the header bar prepares it, or the report menu of a page.
QComboBox* makeMenu(QWidget* parent, bool report)
{
    if (report) {
        auto* menu = new PtComboBox(parent);
        menu->addItems({"PDF", "CSV"});
        return menu;
    }
    const QString sheet = QStringLiteral("QComboBox { background: #565656; }");
    auto* menu = new PtCombox(&sheet);
    menu->setParent(parent);
    menu->addItems(helpEntries);
    menu->setEditable(true);
    menu->setCurrentIndex(-1);
    menu->lineEdit()->setText(QStringLiteral("Help"));
    return menu;
}

void sendMove(QWidget* target, QPoint at)
{
    QMouseEvent move(QEvent::MouseMove, at, target->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(target, &move);
}

// Records every enter and leave as "E<row>,<column>" / "L<row>,<column>", then reacts as
// the table it stands for.
template <class Base> class Recording : public Base
{
public:
    QStringList log;

protected:
    void OnCellEnter(QModelIndex index) override
    {
        log << QStringLiteral("E%1,%2").arg(index.row()).arg(index.column());
        Base::OnCellEnter(index);
    }
    void OnCellLeave(QModelIndex index) override
    {
        log << QStringLiteral("L%1,%2").arg(index.row()).arg(index.column());
        Base::OnCellLeave(index);
    }
};

void fill(QTableWidget& table, int rows)
{
    table.setColumnCount(10);
    table.setRowCount(rows);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < 10; ++c)
            table.setItem(r, c, new QTableWidgetItem(QStringLiteral("r%1c%2").arg(r).arg(c)));
        table.setRowHeight(r, 20);
    }
    for (int c = 0; c < 10; ++c)
        table.setColumnWidth(c, 50);
    table.resize(600, 200);
    table.show();
    [[maybe_unused]] const bool exposed = QTest::qWaitForWindowExposed(&table);
}

// A mouse path: "r,c" a cell's centre, "below" the empty area under the last row, "head"
// the horizontal header, "leave" out of the table.
void walk(QTableWidget& table, const QString& path)
{
    for (const QString& where : path.split(' ')) {
        if (where == QLatin1String("leave")) {
            QEvent leave(QEvent::Leave);
            QApplication::sendEvent(&table, &leave);
        } else if (where == QLatin1String("head")) {
            sendMove(table.horizontalHeader()->viewport(), QPoint(30, 5));
        } else if (where == QLatin1String("below")) {
            sendMove(table.viewport(), QPoint(30, table.viewport()->height() - 3));
        } else {
            const QStringList rc = where.split(',');
            const QModelIndex index = table.model()->index(rc[0].toInt(), rc[1].toInt());
            sendMove(table.viewport(), table.visualRect(index).center());
        }
    }
}

QList<bool> underlines(QTableWidget& table)
{
    QList<bool> result;
    for (int row = 0; row < table.rowCount(); ++row)
        result << (table.item(row, 0) && table.item(row, 0)->font().underline());
    return result;
}

// A tool box of `websites` pages; `added` holds addItemLit's results.
struct Box {
    LimitToolBox* box = new LimitToolBox(nullptr);
    QList<QPointer<QWidget>> pages;
    QList<int> added;

    explicit Box(int websites)
    {
        for (int i = 0; i < websites; ++i) {
            pages << new QLabel(QStringLiteral("page %1").arg(i));
            added << box->addItemLit(pages.last(), QStringLiteral("site%1.example").arg(i));
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

const LTInt64 Min = std::numeric_limits<LTInt64>::min(), Max = std::numeric_limits<LTInt64>::max();
const QColor Grey(72, 72, 72), Green(102, 201, 72), Orange(239, 117, 70);

} // namespace

// The program's own widgets: the help and report menus, the hot tables, the website tool
// box and the rank texts.
class TestCustomWidgets : public QObject
{
    Q_OBJECT

private slots:
    void helpMenuChoice_data()
    {
        QTest::addColumn<int>("row");
        for (int row = 0; row < helpEntries.size(); ++row)
            QTest::newRow(qPrintable(helpEntries[row])) << row;
    }

    void helpMenuChoice()
    {
        QFETCH(int, row);
        QWidget window;
        auto* menu = static_cast<PtCombox*>(makeMenu(&window, false));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        // Every text the field announces, and what it read when the choice was reported.
        QStringList announced, clicked;
        connect(menu, &QComboBox::editTextChanged, menu, [&](const QString& t) { announced << t; });
        QString fieldAtClick;
        connect(menu, &PtCombox::DoClicked, menu, [&](const QString& t) {
            clicked << t;
            fieldAtClick = menu->lineEdit()->text();
        });

        choose(menu, row);
        QCOMPARE(clicked, QStringList{helpEntries[row]});
        QCOMPARE(fieldAtClick, QStringLiteral("Help"));
        QCOMPARE(menu->lineEdit()->text(), QStringLiteral("Help"));
        // Resetting the caption happens with the signals blocked.
        QVERIFY2(!announced.contains(QStringLiteral("Help")), qPrintable(announced.join('|')));

        // The same entry once more is reported once more.
        choose(menu, row);
        QCOMPARE(clicked.size(), 2);
        QCOMPARE(menu->lineEdit()->text(), QStringLiteral("Help"));
    }

    void menusChooseOnlyOnClick_data()
    {
        QTest::addColumn<bool>("report");
        QTest::newRow("help menu") << false;
        QTest::newRow("report menu") << true;
    }

    // Only a deliberate click chooses. Press, drag, double-click and right-click on the
    // caption select nothing and open no menu; releasing the button opens the list, which
    // chooses nothing by itself. A wheel turned over a menu (or its open list) on its way
    // down the page, or a key pressed in passing, must neither write a report nor open a
    // help page.
    void menusChooseOnlyOnClick()
    {
        QFETCH(bool, report);
        QWidget window;
        auto* layout = new QVBoxLayout(&window);
        auto* before = new QLineEdit(&window);
        layout->addWidget(before);
        QComboBox* menu = makeMenu(&window, report);
        layout->addWidget(menu);
        auto* after = new QLineEdit(&window);
        layout->addWidget(after);
        window.resize(300, 200);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QString caption = report ? "Report" : "Help";
        QTRY_COMPARE(menu->lineEdit()->text(), caption);
        QLineEdit* field = menu->lineEdit();
        const int index = menu->currentIndex();
        QSignalSpy activated(menu, qOverload<int>(&QComboBox::activated));
        QSignalSpy texts(menu, &QComboBox::textActivated);

        const QPoint middle = field->rect().center();
        QMouseEvent press(QEvent::MouseButtonPress, middle, field->mapToGlobal(middle),
                          Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(field, &press);
        QMouseEvent drag(QEvent::MouseMove, QPointF(1, 1), field->mapToGlobal(QPointF(1, 1)),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(field, &drag);
        QTest::mouseDClick(field, Qt::LeftButton, {}, middle);
        QContextMenuEvent context(QContextMenuEvent::Mouse, middle, field->mapToGlobal(middle));
        QApplication::sendEvent(field, &context);
        QTest::qWait(50);
        QVERIFY(!field->hasSelectedText());
        QVERIFY(!menu->view()->isVisible());
        QVERIFY(!QApplication::activePopupWidget());
        QCOMPARE(field->text(), caption);
        if (!report) { // double-click over the help menu itself does nothing either
            QTest::mouseDClick(menu, Qt::LeftButton, {}, QPoint(2, 2));
            QVERIFY(!menu->view()->isVisible());
        }

        // Four notches down and up, over the caption and over the menu's own edge.
        for (QWidget* target : {static_cast<QWidget*>(field), static_cast<QWidget*>(menu)}) {
            for (int delta : {-120, -120, -120, -120, 120, 120, 120, 120}) {
                const QPointF at(2, 2);
                QWheelEvent wheel(at, target->mapToGlobal(at), QPoint(), QPoint(0, delta),
                                  Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
                QApplication::sendEvent(target, &wheel);
            }
        }
        QCOMPARE(activated.count(), 0);
        QCOMPARE(menu->currentIndex(), index);

        // Tab passes the menu by, and a click gives it no focus that keys could then use.
        before->setFocus();
        QTRY_VERIFY(before->hasFocus());
        QTest::keyClick(before, Qt::Key_Tab);
        QTRY_VERIFY(after->hasFocus());
        QTest::mouseClick(field, Qt::LeftButton, {}, QPoint(2, 2));
        QVERIFY(!menu->hasFocus() && !field->hasFocus());
        QTRY_VERIFY(menu->view()->isVisible());
        if (!report) { // the open help list ignores the wheel (40 more entries to scroll)
            for (int i = 0; i < 40; ++i)
                menu->addItem(QStringLiteral("Entry %1").arg(i));
            menu->hidePopup();
            menu->showPopup();
            QAbstractItemView* view = menu->view();
            QTRY_VERIFY(view->isVisible());
            QScrollBar* bar = view->verticalScrollBar();
            QVERIFY2(bar->maximum() > 0, "the list must be longer than its window for this check");
            const int top = bar->value();
            const QPointF at = view->viewport()->rect().center();
            QWheelEvent wheel(at, view->viewport()->mapToGlobal(at), QPoint(), QPoint(0, -360),
                              Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(view->viewport(), &wheel);
            QCOMPARE(bar->value(), top);
        }
        menu->hidePopup();
        QTRY_VERIFY(!menu->view()->isVisible());
        QCOMPARE(activated.count(), 0);
        QCOMPARE(texts.count(), 0);
        QCOMPARE(menu->currentIndex(), index);
        QCOMPARE(field->text(), caption);

        choose(menu, 1);
        QCOMPARE(activated.count(), 1);
        QCOMPARE(activated.at(0).at(0).toInt(), 1);
    }

    // A form builds the report menu and fills it afterwards: the caption is back once the
    // event loop runs, each choice reaches the page (with the caption back already), even
    // the same entry twice, and typed text adds no entry.
    void reportMenu()
    {
        QWidget page;
        auto* menu = new PtComboBox(&page);
        menu->addItems({"Export PDF", "Export CSV"});
        QCoreApplication::sendPostedEvents(menu);
        QCOMPARE(menu->lineEdit()->text(), QStringLiteral("Report"));
        QList<int> handled;
        QStringList captionsSeen;
        connect(menu, qOverload<int>(&QComboBox::activated), &page, [&](int index) {
            handled << index;
            captionsSeen << menu->lineEdit()->text();
        });
        page.resize(300, 200);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));

        choose(menu, 1);
        choose(menu, 1);
        choose(menu, 0);
        QCOMPARE(handled, (QList<int>{1, 1, 0}));
        QCOMPARE(captionsSeen, (QStringList{"Report", "Report", "Report"}));
        QCOMPARE(menu->lineEdit()->text(), QStringLiteral("Report"));

        menu->lineEdit()->setFocus();
        QTest::keyClicks(menu->lineEdit(), QStringLiteral("x"));
        QTest::keyClick(menu->lineEdit(), Qt::Key_Return);
        QCOMPARE(menu->count(), 2);
        QCOMPARE(menu->itemText(1), QStringLiteral("Export CSV"));
    }

    void hotPaths_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("log");
        QTest::addColumn<QList<bool>>("underlined"); // rows 0..2 at the end
        const QList<bool> none{0, 0, 0}, first{1, 0, 0}, second{0, 1, 0}, third{0, 0, 1};
        QTest::newRow("within one cell") << "1,0 1,0 1,0"
                                         << "E1,0" << second;
        QTest::newRow("same row, other column") << "1,0 1,3"
                                                << "E1,0 L1,0 E1,3" << none;
        QTest::newRow("and back") << "1,0 1,3 1,0"
                                  << "E1,0 L1,0 E1,3 L1,3 E1,0" << second;
        QTest::newRow("down the first column") << "0,0 1,0 2,0"
                                               << "E0,0 L0,0 E1,0 L1,0 E2,0" << third;
        QTest::newRow("below the last row") << "2,0 below below"
                                            << "E2,0 L2,0 E-1,-1" << none;
        // No hot cell yet: the empty area is the same "no cell" and calls nothing.
        QTest::newRow("from the empty area") << "below 0,0"
                                             << "E0,0" << first;
        QTest::newRow("empty area, back to a cell") << "1,0 below 0,0"
                                                    << "E1,0 L1,0 E-1,-1 E0,0" << first;
        QTest::newRow("leave the table") << "0,0 leave"
                                         << "E0,0 L0,0" << none;
        QTest::newRow("leave without hot cell") << "leave"
                                                << "L-1,-1" << none;
        QTest::newRow("onto the header") << "2,0 head head"
                                         << "E2,0 L2,0" << none;
        QTest::newRow("header without hot cell") << "head"
                                                 << "" << none;
        QTest::newRow("header, then back") << "2,0 head 2,0"
                                           << "E2,0 L2,0 E2,0" << third;
    }

    void hotPaths()
    {
        QFETCH(QString, path);
        QFETCH(QString, log);
        QFETCH(QList<bool>, underlined);
        Recording<HotTableWidget> table;
        QVERIFY(table.viewport()->hasMouseTracking());
        QVERIFY(qobject_cast<HotTableHead*>(table.horizontalHeader()));
        fill(table, 3);
        walk(table, path);
        QCOMPARE(table.log.join(' '), log);
        QCOMPARE(underlines(table), underlined);
    }

    void hotRowsRebuiltUnderResting()
    {
        Recording<HotTableWidget> table;
        fill(table, 3);
        walk(table, "2,0");
        QCOMPARE(underlines(table), (QList<bool>{0, 0, 1}));
        // The page refills the table with fewer rows while the mouse rests on row 2.
        table.clearContents();
        fill(table, 1);
        walk(table, "0,0");
        QCOMPARE(table.log.join(' '), QStringLiteral("E2,0 L2,0 E0,0"));
        QCOMPARE(underlines(table), QList<bool>{1});
        walk(table, "leave");
        QCOMPARE(underlines(table), QList<bool>{0});
        // A row without a first-column item is left alone.
        table.setRowCount(2);
        walk(table, "1,0 1,4");
        QVERIFY(!table.item(1, 0));
    }

    void urlCursor_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("handAtEnd");
        QTest::newRow("onto a URL cell") << "0,9" << true;
        QTest::newRow("along the URL column") << "0,9 1,9 2,9" << true;
        QTest::newRow("URL cell to another column") << "0,9 0,8" << false;
        QTest::newRow("URL cell to the header") << "1,9 head" << false;
        QTest::newRow("header and back") << "1,9 head 1,9" << true;
        QTest::newRow("leave from a URL cell") << "2,9 leave" << false;
        QTest::newRow("leave from the keyword column") << "2,0 leave" << false;
        QTest::newRow("URL cell to the empty area") << "2,9 below" << false;
        QTest::newRow("keyword column only") << "0,0 1,0" << false;
    }

    void urlCursor()
    {
        QFETCH(QString, path);
        QFETCH(bool, handAtEnd);
        {
            KewwordsTableWidget table(nullptr);
            fill(table, 3);
            walk(table, path);
            // Pushed and popped in pairs: nothing of the table's is left on the stack.
            QCOMPARE(QApplication::overrideCursor() ? QApplication::overrideCursor()->shape()
                                                    : Qt::ArrowCursor,
                     handAtEnd ? Qt::PointingHandCursor : Qt::ArrowCursor);
            // The keyword table does not underline its keywords.
            QCOMPARE(underlines(table), (QList<bool>{0, 0, 0}));
            walk(table, "leave");
            QVERIFY(!QApplication::overrideCursor());
            // A second leave changes no cursor.
            QApplication::setOverrideCursor(Qt::WaitCursor);
            walk(table, "leave");
            QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
            QApplication::restoreOverrideCursor();
            walk(table, path);
        }
        // The page is deleted (a rebuild) while the mouse rests where the path ended.
        QVERIFY(!QApplication::overrideCursor());
    }

    void toolBoxAdding_data()
    {
        QTest::addColumn<int>("websites");
        QTest::addColumn<QList<int>>("added");
        QTest::newRow("none") << 0 << QList<int>{};
        QTest::newRow("three") << 3 << QList<int>{0, 1, 2};
        QTest::newRow("ten") << 10 << range(0, 9);
        QTest::newRow("twelve") << 12 << (range(0, 9) << -1 << -1);
    }

    void toolBoxAdding()
    {
        QFETCH(int, websites);
        QFETCH(QList<int>, added);
        Box box(websites);
        QCOMPARE(box.added, added);
        QCOMPARE(box.order(), range(0, qMin(websites, 10) - 1));
        for (int i = 10; i < websites; ++i)
            QVERIFY(!box.pages[i]->parentWidget() && !box.pages[i]->isVisible());
        if (websites)
            QCOMPARE(box.box->currentIndex(), 0);
        // Outside the box, and a page someone put into it directly, is no website.
        QCOMPARE(box.box->GetWebsiteIndex(-1), -1);
        QCOMPARE(box.box->GetWebsiteIndex(qMin(websites, 10)), -1);
        box.box->addItem(new QLabel, QStringLiteral("foreign"));
        QCOMPARE(box.box->GetWebsiteIndex(box.box->count() - 1), -1);
    }

    void toolBoxSelecting_data()
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

    void toolBoxSelecting()
    {
        QFETCH(int, websites);
        QFETCH(QList<int>, selections);
        QFETCH(QList<int>, order);
        QFETCH(int, current);
        QFETCH(int, announced);

        QList<QPointer<QWidget>> pages;
        {
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
            // Captions follow their pages; every website outside the box is hidden.
            for (int k = 0; k < box.box->count(); ++k)
                QCOMPARE(box.box->itemText(k),
                         QStringLiteral("site%1.example").arg(box.box->GetWebsiteIndex(k)));
            for (int i = 0; i < websites; ++i)
                QVERIFY2(order.contains(i) || !box.pages[i]->isVisible(),
                         qPrintable(QString::number(i)));
            pages = box.pages;
        }
        // The box deletes every page, also those swapped out of it.
        for (int i = 0; i < pages.size(); ++i)
            QVERIFY2(!pages[i], qPrintable(QString::number(i)));
    }

    void rankText_data()
    {
        QTest::addColumn<LTInt64>("rank");
        QTest::addColumn<QString>("text");
        for (const auto& [rank, text] : QList<QPair<LTInt64, QString>>{{1, "1"},
                                                                       {7, "7"},
                                                                       {100, "100"},
                                                                       {101, ">100"},
                                                                       {250, ">100"},
                                                                       {Max, ">100"},
                                                                       {0, "-"},
                                                                       {-3, "-"},
                                                                       {Min, "-"}})
            QTest::addRow("%lld", qlonglong(rank)) << rank << text;
    }

    void rankText()
    {
        QFETCH(LTInt64, rank);
        QFETCH(QString, text);
        QCOMPARE(RankDisplayString(rank), text);
    }

    void changeText_data()
    {
        QTest::addColumn<LTInt64>("current");
        QTest::addColumn<LTInt64>("reference");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QColor>("colour"); // invalid: the table's own colour

        QTest::newRow("equal") << LTInt64(3) << LTInt64(3) << "0" << Grey;
        QTest::newRow("both not found") << LTInt64(101) << LTInt64(101) << "0" << Grey;
        QTest::newRow("improved to first") << LTInt64(1) << LTInt64(100) << "+99" << Green;
        QTest::newRow("dropped to last") << LTInt64(100) << LTInt64(1) << "-99" << Orange;
        QTest::newRow("found after absent") << LTInt64(5) << LTInt64(101) << "+96" << Green;
        QTest::newRow("lost") << LTInt64(101) << LTInt64(7) << "-94" << Orange;
        QTest::newRow("one up") << LTInt64(9) << LTInt64(10) << "+1" << Green;
        QTest::newRow("both failed") << LTInt64(0) << LTInt64(0) << "-" << QColor();
        QTest::newRow("reference failed") << LTInt64(5) << LTInt64(0) << "-" << QColor();
        QTest::newRow("current failed") << LTInt64(0) << LTInt64(5) << "-" << QColor();
        QTest::newRow("current failed, reference absent")
            << LTInt64(0) << LTInt64(101) << "-" << QColor();
        // Out-of-range inputs still compare as plain numbers; the extremes must not overflow.
        QTest::newRow("negative below") << LTInt64(-2) << LTInt64(3) << "+5" << Green;
        QTest::newRow("extremes up") << Min << Max << "+18446744073709551615" << Green;
        QTest::newRow("extremes down") << Max << Min << "-18446744073709551615" << Orange;
    }

    void changeText()
    {
        QFETCH(LTInt64, current);
        QFETCH(LTInt64, reference);
        QFETCH(QString, text);
        QFETCH(QColor, colour);
        // One variable reused over a row of cells, as the tables do: always overwritten.
        for (QColor result : {QColor(1, 2, 3), QColor()}) {
            QCOMPARE(RankChangeDisplayString(current, reference, result), text);
            QCOMPARE(result, colour);
            QCOMPARE(result.alpha(), colour.alpha());
        }
    }
};

LT_TEST_MAIN(TestCustomWidgets)
#include "tst_customwidgets.moc"
