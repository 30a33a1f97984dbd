#include "RankDisplayString.h"
#include "TestMain.h"

#include <QColor>
#include <QObject>
#include <QTest>

#include <limits>

class TestRankTexts : public QObject
{
    Q_OBJECT

private slots:
    void rankText_data();
    void rankText();
    void changeText_data();
    void changeText();
    void colourOverwrittenEveryTime();
};

void TestRankTexts::rankText_data()
{
    QTest::addColumn<LTInt64>("rank");
    QTest::addColumn<QString>("text");
    QTest::newRow("first") << LTInt64(1) << "1";
    QTest::newRow("seventh") << LTInt64(7) << "7";
    QTest::newRow("last position") << LTInt64(100) << "100";
    QTest::newRow("not found") << LTInt64(101) << ">100";
    QTest::newRow("far above") << LTInt64(250) << ">100";
    QTest::newRow("largest") << std::numeric_limits<LTInt64>::max() << ">100";
    QTest::newRow("failed") << LTInt64(0) << "-";
    QTest::newRow("negative") << LTInt64(-3) << "-";
    QTest::newRow("smallest") << std::numeric_limits<LTInt64>::min() << "-";
}

void TestRankTexts::rankText()
{
    QFETCH(LTInt64, rank);
    QFETCH(QString, text);
    QCOMPARE(RankDisplayString(rank), text);
}

void TestRankTexts::changeText_data()
{
    const QColor grey(72, 72, 72);
    const QColor green(102, 201, 72);
    const QColor orange(239, 117, 70);
    const QColor none; // invalid

    QTest::addColumn<LTInt64>("current");
    QTest::addColumn<LTInt64>("reference");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("equal") << LTInt64(3) << LTInt64(3) << "0" << grey;
    QTest::newRow("both not found") << LTInt64(101) << LTInt64(101) << "0" << grey;
    QTest::newRow("improved to first") << LTInt64(1) << LTInt64(100) << "+99" << green;
    QTest::newRow("dropped to last") << LTInt64(100) << LTInt64(1) << "-99" << orange;
    QTest::newRow("found after absent") << LTInt64(5) << LTInt64(101) << "+96" << green;
    QTest::newRow("lost") << LTInt64(101) << LTInt64(7) << "-94" << orange;
    QTest::newRow("one up") << LTInt64(9) << LTInt64(10) << "+1" << green;
    QTest::newRow("both failed") << LTInt64(0) << LTInt64(0) << "-" << none;
    QTest::newRow("reference failed") << LTInt64(5) << LTInt64(0) << "-" << none;
    QTest::newRow("current failed") << LTInt64(0) << LTInt64(5) << "-" << none;
    QTest::newRow("current failed, reference absent") << LTInt64(0) << LTInt64(101) << "-" << none;
    // Out-of-range inputs still compare as plain numbers; the extremes must not overflow.
    QTest::newRow("negative below") << LTInt64(-2) << LTInt64(3) << "+5" << green;
    QTest::newRow("extremes up") << std::numeric_limits<LTInt64>::min()
                                 << std::numeric_limits<LTInt64>::max() << "+18446744073709551615"
                                 << green;
    QTest::newRow("extremes down")
        << std::numeric_limits<LTInt64>::max() << std::numeric_limits<LTInt64>::min()
        << "-18446744073709551615" << orange;
}

void TestRankTexts::changeText()
{
    QFETCH(LTInt64, current);
    QFETCH(LTInt64, reference);
    QFETCH(QString, text);
    QFETCH(QColor, colour);

    QColor result(1, 2, 3);
    QCOMPARE(RankChangeDisplayString(current, reference, result), text);
    QCOMPARE(result.isValid(), colour.isValid());
    if (colour.isValid()) {
        QCOMPARE(result, colour);
        QCOMPARE(result.alpha(), 255);
    }
}

void TestRankTexts::colourOverwrittenEveryTime()
{
    // One variable reused over a row of cells, as the tables do.
    QColor colour;
    RankChangeDisplayString(1, 9, colour);
    QCOMPARE(colour, QColor(102, 201, 72));
    RankChangeDisplayString(9, 1, colour);
    QCOMPARE(colour, QColor(239, 117, 70));
    RankChangeDisplayString(4, 4, colour);
    QCOMPARE(colour, QColor(72, 72, 72));
    RankChangeDisplayString(4, 0, colour);
    QVERIFY(!colour.isValid());
    RankChangeDisplayString(2, 3, colour);
    QCOMPARE(colour, QColor(102, 201, 72));
}

LT_TEST_MAIN(TestRankTexts)
#include "tst_ranktexts.moc"
