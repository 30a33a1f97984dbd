#include "PtComboBox.h"
#include "PtCombox.h"
#include "PtLineEdit.h"
#include "PtLineEditx.h"
#include "PtListViewx.h"
#include "TestMain.h"

#include <QAbstractItemView>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <QWheelEvent>

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

// The help menu as the header bar prepares it.
PtCombox* makeHelpMenu(QWidget* parent)
{
    const QString sheet = QStringLiteral("QComboBox { background: #565656; }");
    auto* menu = new PtCombox(&sheet);
    menu->setParent(parent);
    menu->addItems(helpEntries);
    menu->setEditable(true);
    menu->setCurrentIndex(-1);
    menu->lineEdit()->setText(QStringLiteral("Help"));
    return menu;
}

} // namespace

class TestCustomWidgets : public QObject
{
    Q_OBJECT

private slots:
    void helpMenuBuilt();
    void helpMenuChoice_data();
    void helpMenuChoice();
    void fieldSwallowsMouse_data();
    void fieldSwallowsMouse();
    void helpListIgnoresWheel();
    void menusIgnoreWheelAndKeyboard_data();
    void menusIgnoreWheelAndKeyboard();
    void reportCaptionAfterFilling();
    void reportSameEntryTwice();
    void reportTypingAddsNoEntry();
    void reportIgnoresOtherEvents();
};

void TestCustomWidgets::helpMenuBuilt()
{
    QWidget window;
    PtCombox* menu = makeHelpMenu(&window);
    QVERIFY(qobject_cast<PtLineEdit*>(menu->lineEdit()));
    QVERIFY(menu->lineEdit()->isReadOnly());
    QVERIFY(qobject_cast<PtListViewx*>(menu->view()));
    QCOMPARE(menu->view()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(menu->view()->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(menu->styleSheet(), QStringLiteral("QComboBox { background: #565656; }"));
    QCOMPARE(menu->currentIndex(), -1);
    QCOMPARE(menu->lineEdit()->text(), QStringLiteral("Help"));

    // Without a sheet the menu keeps none.
    PtCombox plain(nullptr);
    QVERIFY(plain.styleSheet().isEmpty());
    QCOMPARE(plain.lineEdit()->text(), QStringLiteral("Help"));
}

void TestCustomWidgets::helpMenuChoice_data()
{
    QTest::addColumn<int>("row");
    for (int row = 0; row < helpEntries.size(); ++row)
        QTest::newRow(qPrintable(helpEntries[row])) << row;
}

void TestCustomWidgets::helpMenuChoice()
{
    QFETCH(int, row);
    QWidget window;
    PtCombox* menu = makeHelpMenu(&window);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    // Every text the field announces, and what it read when the choice was reported.
    QStringList announced;
    connect(menu, &QComboBox::editTextChanged, menu, [&](const QString& t) { announced << t; });
    QStringList clicked;
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

void TestCustomWidgets::fieldSwallowsMouse_data()
{
    QTest::addColumn<bool>("report");
    QTest::newRow("help menu") << false;
    QTest::newRow("report menu") << true;
}

void TestCustomWidgets::fieldSwallowsMouse()
{
    QFETCH(bool, report);
    QWidget window;
    QComboBox* menu = nullptr;
    if (report) {
        menu = new PtComboBox(&window);
        menu->addItems({"PDF", "CSV"});
    } else {
        menu = makeHelpMenu(&window);
    }
    window.resize(300, 200);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTRY_VERIFY(menu->lineEdit()->text() == (report ? "Report" : "Help"));
    QLineEdit* field = menu->lineEdit();
    const QString caption = field->text();
    QSignalSpy activated(menu, qOverload<int>(&QComboBox::activated));

    // Press, drag, double-click and right-click: no selection, no menu, no list.
    const QPoint middle = field->rect().center();
    QMouseEvent press(QEvent::MouseButtonPress, middle, field->mapToGlobal(middle), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
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

    // Double-click and drag over the help menu itself do nothing either.
    if (!report) {
        QTest::mouseDClick(menu, Qt::LeftButton, {}, QPoint(2, 2));
        QVERIFY(!menu->view()->isVisible());
    }

    // Releasing the button opens the list; nothing is chosen by that.
    QTest::mouseRelease(field, Qt::LeftButton, {}, middle);
    QTRY_VERIFY(menu->view()->isVisible());
    menu->hidePopup();
    QTRY_VERIFY(!menu->view()->isVisible());
    QCOMPARE(activated.count(), 0);
    QCOMPARE(field->text(), caption);
}

void TestCustomWidgets::helpListIgnoresWheel()
{
    QWidget window;
    PtCombox* menu = makeHelpMenu(&window);
    for (int i = 0; i < 40; ++i)
        menu->addItem(QStringLiteral("Entry %1").arg(i));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    menu->showPopup();
    QAbstractItemView* view = menu->view();
    QTRY_VERIFY(view->isVisible());
    QScrollBar* bar = view->verticalScrollBar();
    QVERIFY2(bar->maximum() > 0, "the list must be longer than its window for this check");
    const int before = bar->value();

    const QPointF at = view->viewport()->rect().center();
    QWheelEvent wheel(at, view->viewport()->mapToGlobal(at), QPoint(), QPoint(0, -360),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view->viewport(), &wheel);
    QCOMPARE(bar->value(), before);
    menu->hidePopup();
}

void TestCustomWidgets::menusIgnoreWheelAndKeyboard_data()
{
    QTest::addColumn<bool>("report");
    QTest::newRow("help menu") << false;
    QTest::newRow("report menu") << true;
}

// A wheel turned over a menu on its way down the page, or a key pressed in passing, must
// neither write a report nor open a help page; a click still chooses.
void TestCustomWidgets::menusIgnoreWheelAndKeyboard()
{
    QFETCH(bool, report);
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* before = new QLineEdit(&window);
    layout->addWidget(before);
    QComboBox* menu = nullptr;
    if (report) {
        menu = new PtComboBox(&window);
        menu->addItems({"PDF", "CSV"});
    } else {
        menu = makeHelpMenu(&window);
    }
    layout->addWidget(menu);
    auto* after = new QLineEdit(&window);
    layout->addWidget(after);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTRY_VERIFY(menu->lineEdit()->text() == (report ? "Report" : "Help"));
    const int index = menu->currentIndex();
    QSignalSpy activated(menu, qOverload<int>(&QComboBox::activated));
    QSignalSpy texts(menu, &QComboBox::textActivated);

    // Four notches down and up, over the caption and over the menu's own edge.
    for (QWidget* target : {static_cast<QWidget*>(menu->lineEdit()), static_cast<QWidget*>(menu)}) {
        for (int delta : {-120, -120, -120, -120, 120, 120, 120, 120}) {
            const QPointF at(2, 2);
            QWheelEvent wheel(at, target->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                              Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(target, &wheel);
        }
    }
    QCOMPARE(activated.count(), 0);
    QCOMPARE(texts.count(), 0);
    QCOMPARE(menu->currentIndex(), index);

    // Tab passes the menu by, and a click gives it no focus that keys could then use.
    before->setFocus();
    QTRY_VERIFY(before->hasFocus());
    QTest::keyClick(before, Qt::Key_Tab);
    QTRY_VERIFY(after->hasFocus());
    QTest::mouseClick(menu->lineEdit(), Qt::LeftButton, {}, QPoint(2, 2));
    QVERIFY(!menu->hasFocus() && !menu->lineEdit()->hasFocus());
    menu->hidePopup();
    QTRY_VERIFY(!menu->view()->isVisible());

    QCOMPARE(activated.count(), 0);
    QCOMPARE(texts.count(), 0);
    QCOMPARE(menu->currentIndex(), index);
    QCOMPARE(menu->lineEdit()->text(), QString(report ? "Report" : "Help"));

    choose(menu, 1);
    QCOMPARE(activated.count(), 1);
    QCOMPARE(activated.at(0).at(0).toInt(), 1);
}

void TestCustomWidgets::reportCaptionAfterFilling()
{
    // A form builds the menu and fills it afterwards; the caption is back once the event
    // loop runs.
    QWidget page;
    auto* menu = new PtComboBox(&page);
    menu->addItems({"Export PDF", "Export CSV"});
    QVERIFY(qobject_cast<PtLineEditx*>(menu->lineEdit()));
    QVERIFY(!menu->lineEdit()->isReadOnly());
    QCOMPARE(menu->lineEdit()->cursor().shape(), Qt::PointingHandCursor);
    QCOMPARE(menu->view()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(menu->view()->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCoreApplication::sendPostedEvents(menu);
    QCOMPARE(menu->lineEdit()->text(), QStringLiteral("Report"));
}

void TestCustomWidgets::reportSameEntryTwice()
{
    QWidget page;
    auto* menu = new PtComboBox(&page);
    menu->addItems({"Export PDF", "Export CSV"});
    // The page's own handler, connected after the menu's.
    QList<int> handled;
    QStringList captionsSeen;
    connect(menu, qOverload<int>(&QComboBox::activated), &page, [&](int index) {
        handled << index;
        captionsSeen << menu->lineEdit()->text();
    });
    page.resize(300, 200);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    QTRY_COMPARE(menu->lineEdit()->text(), QStringLiteral("Report"));

    choose(menu, 1);
    choose(menu, 1);
    choose(menu, 0);
    QCOMPARE(handled, (QList<int>{1, 1, 0}));
    QCOMPARE(captionsSeen, (QStringList{"Report", "Report", "Report"}));
    QCOMPARE(menu->lineEdit()->text(), QStringLiteral("Report"));
}

void TestCustomWidgets::reportTypingAddsNoEntry()
{
    QWidget page;
    auto* menu = new PtComboBox(&page);
    menu->addItems({"Export PDF", "Export CSV"});
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    menu->lineEdit()->setFocus();
    QTest::keyClicks(menu->lineEdit(), QStringLiteral("x"));
    QTest::keyClick(menu->lineEdit(), Qt::Key_Return);
    QCOMPARE(menu->count(), 2);
    QCOMPARE(menu->itemText(0), QStringLiteral("Export PDF"));
    QCOMPARE(menu->itemText(1), QStringLiteral("Export CSV"));
}

void TestCustomWidgets::reportIgnoresOtherEvents()
{
    QWidget page;
    auto* menu = new PtComboBox(&page);
    QCoreApplication::sendPostedEvents(menu);
    menu->lineEdit()->setText(QStringLiteral("typed"));
    QEvent other(QEvent::Type(1102));
    QApplication::sendEvent(menu, &other);
    QCOMPARE(menu->lineEdit()->text(), QStringLiteral("typed"));
    QEvent restore{QEvent::Type(PtComboBox::EVENT_RestoreCaption)};
    QApplication::sendEvent(menu, &restore);
    QCOMPARE(menu->lineEdit()->text(), QStringLiteral("Report"));
}

LT_TEST_MAIN(TestCustomWidgets)
#include "tst_customwidgets.moc"
