#include "HotTableHead.h"
#include "HotTableWidget.h"
#include "KewwordsTableWidget.h"
#include "TestMain.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QTest>

namespace {

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
}

void moveTo(QWidget* target, QPoint at)
{
    QMouseEvent move(QEvent::MouseMove, at, target->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(target, &move);
}

// One step of a mouse path: "r,c" a cell's centre, "below" the empty area under the last
// row, "head" the horizontal header, "leave" out of the table.
void step(QTableWidget& table, const QString& where)
{
    if (where == QLatin1String("leave")) {
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(&table, &leave);
    } else if (where == QLatin1String("head")) {
        moveTo(table.horizontalHeader()->viewport(), QPoint(30, 5));
    } else if (where == QLatin1String("below")) {
        moveTo(table.viewport(), QPoint(30, table.viewport()->height() - 3));
    } else {
        const QStringList rc = where.split(',');
        const QRect cell = table.visualRect(table.model()->index(rc[0].toInt(), rc[1].toInt()));
        moveTo(table.viewport(), cell.center());
    }
}

bool underlined(QTableWidget& table, int row)
{
    return table.item(row, 0)->font().underline();
}

} // namespace

class TestHotTables : public QObject
{
    Q_OBJECT

private slots:
    void construction();
    void paths_data();
    void paths();
    void rowsRebuiltUnderResting();
    void urlCursor_data();
    void urlCursor();
    void urlCursorGivenBackOnDestruction();
};

void TestHotTables::construction()
{
    HotTableWidget table;
    QVERIFY(table.hasMouseTracking());
    QVERIFY(table.viewport()->hasMouseTracking());
    auto* head = qobject_cast<HotTableHead*>(table.horizontalHeader());
    QVERIFY(head);
    QCOMPARE(head->parentWidget(), &table);
    QCOMPARE(head->orientation(), Qt::Horizontal);
    QVERIFY(head->sectionsClickable());
    QVERIFY(!table.HotCell().isValid());
}

void TestHotTables::paths_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("log");
    QTest::addColumn<QList<bool>>("underlines"); // rows 0..2 at the end

    QTest::newRow("within one cell") << "1,0 1,0 1,0"
                                     << "E1,0" << QList<bool>{0, 1, 0};
    QTest::newRow("same row, other column") << "1,0 1,3"
                                            << "E1,0 L1,0 E1,3" << QList<bool>{0, 0, 0};
    QTest::newRow("and back") << "1,0 1,3 1,0"
                              << "E1,0 L1,0 E1,3 L1,3 E1,0" << QList<bool>{0, 1, 0};
    QTest::newRow("down the first column") << "0,0 1,0 2,0"
                                           << "E0,0 L0,0 E1,0 L1,0 E2,0" << QList<bool>{0, 0, 1};
    QTest::newRow("below the last row") << "2,0 below below"
                                        << "E2,0 L2,0 E-1,-1" << QList<bool>{0, 0, 0};
    // No hot cell yet: the empty area is the same "no cell" and calls nothing.
    QTest::newRow("from the empty area") << "below 0,0"
                                         << "E0,0" << QList<bool>{1, 0, 0};
    QTest::newRow("empty area, back to a cell") << "1,0 below 0,0"
                                                << "E1,0 L1,0 E-1,-1 E0,0" << QList<bool>{1, 0, 0};
    QTest::newRow("leave the table") << "0,0 leave"
                                     << "E0,0 L0,0" << QList<bool>{0, 0, 0};
    QTest::newRow("leave without hot cell") << "leave"
                                            << "L-1,-1" << QList<bool>{0, 0, 0};
    QTest::newRow("onto the header") << "2,0 head head"
                                     << "E2,0 L2,0" << QList<bool>{0, 0, 0};
    QTest::newRow("header without hot cell") << "head"
                                             << "" << QList<bool>{0, 0, 0};
    QTest::newRow("header, then back") << "2,0 head 2,0"
                                       << "E2,0 L2,0 E2,0" << QList<bool>{0, 0, 1};
}

void TestHotTables::paths()
{
    QFETCH(QString, path);
    QFETCH(QString, log);
    QFETCH(QList<bool>, underlines);

    Recording<HotTableWidget> table;
    fill(table, 3);
    table.resize(600, 200);
    table.show();
    QVERIFY(QTest::qWaitForWindowExposed(&table));

    for (const QString& where : path.split(' '))
        step(table, where);
    QCOMPARE(table.log.join(' '), log);
    for (int row = 0; row < 3; ++row)
        QCOMPARE(underlined(table, row), underlines[row]);
}

void TestHotTables::rowsRebuiltUnderResting()
{
    Recording<HotTableWidget> table;
    fill(table, 3);
    table.resize(600, 200);
    table.show();
    QVERIFY(QTest::qWaitForWindowExposed(&table));

    step(table, "2,0");
    QVERIFY(underlined(table, 2));
    // The page refills the table with fewer rows while the mouse rests on row 2.
    table.clearContents();
    fill(table, 1);
    step(table, "0,0");
    QCOMPARE(table.log.join(' '), QStringLiteral("E2,0 L2,0 E0,0"));
    QVERIFY(underlined(table, 0));
    step(table, "leave");
    QVERIFY(!underlined(table, 0));

    // A row without a first-column item is left alone.
    table.setRowCount(2);
    step(table, "1,0");
    step(table, "1,4");
    QVERIFY(!table.item(1, 0));
}

void TestHotTables::urlCursor_data()
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

void TestHotTables::urlCursor()
{
    QFETCH(QString, path);
    QFETCH(bool, handAtEnd);

    {
        KewwordsTableWidget table(nullptr);
        fill(table, 3);
        table.resize(600, 200);
        table.show();
        QVERIFY(QTest::qWaitForWindowExposed(&table));

        for (const QString& where : path.split(' '))
            step(table, where);
        if (handAtEnd) {
            QVERIFY(QApplication::overrideCursor());
            QCOMPARE(QApplication::overrideCursor()->shape(), Qt::PointingHandCursor);
        } else {
            // Pushed and popped in pairs: nothing of the table's is left on the stack.
            QVERIFY(!QApplication::overrideCursor());
        }
        // The keyword table does not underline its keywords.
        for (int row = 0; row < 3; ++row)
            QVERIFY(!underlined(table, row));
        step(table, "leave");
        QVERIFY(!QApplication::overrideCursor());
        // A second leave changes no cursor.
        QApplication::setOverrideCursor(Qt::WaitCursor);
        step(table, "leave");
        QVERIFY(QApplication::overrideCursor());
        QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        QApplication::restoreOverrideCursor();
    }
    QVERIFY(!QApplication::overrideCursor());
}

void TestHotTables::urlCursorGivenBackOnDestruction()
{
    // The keyword page is deleted (a rebuild) while the mouse rests on a URL cell.
    auto* table = new KewwordsTableWidget(nullptr);
    fill(*table, 2);
    table->resize(600, 200);
    table->show();
    QVERIFY(QTest::qWaitForWindowExposed(table));
    step(*table, "1,9");
    QVERIFY(QApplication::overrideCursor());
    delete table;
    QVERIFY(!QApplication::overrideCursor());
}

LT_TEST_MAIN(TestHotTables)
#include "tst_hottables.moc"
