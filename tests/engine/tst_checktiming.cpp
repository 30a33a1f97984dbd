#include "CheckTiming.h"
#include "HttpRequestEnvir.h"
#include "TestMain.h"

#include <cstdlib>
#include <limits>

class TestCheckTiming : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        CheckTiming::SetPacingScale(1.0);
        CheckTiming::SetWatchdogScale(1.0);
    }

    void randomDelayDrawsFromTheGenerator_data()
    {
        QTest::addColumn<long>("base");
        QTest::newRow("Bing and Yahoo default") << 0L;
        QTest::newRow("Google default") << 50000L;
        QTest::newRow("one second") << 1000L;
        QTest::newRow("negative") << -10000L;
    }
    void randomDelayDrawsFromTheGenerator()
    {
        QFETCH(long, base);
        // The same seed gives the same draws: the delay is base + draw % 5000 + 2000.
        for (unsigned seed : {1u, 7u, 12345u}) {
            std::srand(seed);
            QList<int> draws;
            for (int i = 0; i < 50; ++i)
                draws.append(std::rand());
            std::srand(seed);
            for (int draw : draws) {
                const long delay = RandomDelay(base);
                QCOMPARE(delay, base + draw % 5000 + 2000);
                QVERIFY(delay >= base + 2000 && delay <= base + 6999);
            }
        }
    }

    void randomDelayCoversItsRange()
    {
        std::srand(99);
        long low = std::numeric_limits<long>::max();
        long high = 0;
        for (int i = 0; i < 200000; ++i) {
            const long delay = RandomDelay(0);
            low = qMin(low, delay);
            high = qMax(high, delay);
        }
        QCOMPARE(low, 2000L);
        QCOMPARE(high, 6999L);
    }

    void randomDelaySaturates()
    {
        QCOMPARE(RandomDelay(std::numeric_limits<long>::max()), std::numeric_limits<long>::max());
        QCOMPARE(RandomDelay(std::numeric_limits<long>::max() - 1000),
                 std::numeric_limits<long>::max());
    }

    void pacingIntervalIsClamped_data()
    {
        QTest::addColumn<double>("scale");
        QTest::addColumn<qint64>("wait");
        QTest::addColumn<int>("expected");
        const int top = std::numeric_limits<int>::max();
        QTest::newRow("plain") << 1.0 << qint64(6999) << 6999;
        QTest::newRow("negative runs at once") << 1.0 << qint64(-1000) << 0;
        QTest::newRow("most negative") << 1.0 << std::numeric_limits<qint64>::min() << 0;
        QTest::newRow("just fits") << 1.0 << qint64(top) << top;
        QTest::newRow("beyond the timer") << 1.0 << qint64(top) + 1 << top;
        QTest::newRow("largest") << 1.0 << std::numeric_limits<qint64>::max() << top;
        QTest::newRow("scaled down") << 0.01 << qint64(52000) << 520;
        QTest::newRow("scaled negative") << 0.01 << qint64(-5000) << 0;
        QTest::newRow("scaled beyond") << 0.5 << qint64(top) * 4 << top;
    }
    void pacingIntervalIsClamped()
    {
        QFETCH(double, scale);
        QFETCH(qint64, wait);
        QFETCH(int, expected);
        CheckTiming::SetPacingScale(scale);
        QCOMPARE(CheckTiming::PacingInterval(wait), expected);
    }

    void secondsToMsSaturates_data()
    {
        QTest::addColumn<qint64>("seconds");
        QTest::addColumn<qint64>("expected");
        const qint64 top = std::numeric_limits<qint64>::max();
        const qint64 bottom = std::numeric_limits<qint64>::min();
        QTest::newRow("Google default") << qint64(50) << qint64(50000);
        QTest::newRow("zero") << qint64(0) << qint64(0);
        QTest::newRow("negative") << qint64(-3) << qint64(-3000);
        QTest::newRow("largest exact") << top / 1000 << (top / 1000) * 1000;
        QTest::newRow("overflow") << top / 1000 + 1 << top;
        QTest::newRow("underflow") << bottom / 1000 - 1 << bottom;
    }
    void secondsToMsSaturates()
    {
        QFETCH(qint64, seconds);
        QFETCH(qint64, expected);
        QCOMPARE(CheckTiming::SecondsToMs(seconds), expected);
    }

    void watchdogFollowsItsOwnScale()
    {
        QCOMPARE(CheckTiming::WatchdogPeriod(), 5000);
        QCOMPARE(CheckTiming::RequestTimeout(), qint64(20000));
        CheckTiming::SetPacingScale(0.001);
        QCOMPARE(CheckTiming::WatchdogPeriod(), 5000);
        CheckTiming::SetWatchdogScale(0.01);
        QCOMPARE(CheckTiming::WatchdogPeriod(), 50);
        QCOMPARE(CheckTiming::RequestTimeout(), qint64(200));
        QCOMPARE(CheckTiming::PacingInterval(52000), 52);
        // A tick of no time would spin.
        CheckTiming::SetWatchdogScale(1e-9);
        QCOMPARE(CheckTiming::WatchdogPeriod(), 1);
    }
};

LT_TEST_MAIN(TestCheckTiming)
#include "tst_checktiming.moc"
