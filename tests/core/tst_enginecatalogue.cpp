#include "EngineCatalogue.h"
#include "TestMain.h"

#include <QRegularExpression>
#include <QSet>

class TestEngineCatalogue : public QObject
{
    Q_OBJECT

    static QStringList countriesSorted()
    {
        QStringList countries;
        for (const QString& key : g_allEngineList) {
            const QString country = key.split('_', Qt::SkipEmptyParts).value(1);
            if (!countries.contains(country))
                countries << country;
        }
        countries.sort();
        return countries;
    }

private slots:
    void positions_data()
    {
        QTest::addColumn<int>("position"); // 1-based, as a user counts
        QTest::addColumn<QString>("key");

        QTest::newRow("first") << 1 << "Google_United States_English";
        QTest::newRow("last google") << 327 << "Google_Kenya_Swahili";
        QTest::newRow("first yahoo") << 328 << "Yahoo_United States_English";
        QTest::newRow("yahoo french canada") << 335 << "Yahoo_Canada_French";
        QTest::newRow("last yahoo") << 362 << "Yahoo_Vietnam_English";
        QTest::newRow("first bing") << 363 << "Bing_United States_English";
        QTest::newRow("last bing") << 408 << "Bing_Ukraine_English";
        QTest::newRow("first ask") << 409 << "Ask_United States_English";
        QTest::newRow("last ask") << 420 << "Ask_Poland_English";
        QTest::newRow("first aol") << 421 << "AOL_United Kingdom_English";
        QTest::newRow("last") << 438 << "AOL_Taiwan_English";
        QTest::newRow("montenegro bahamas") << 309 << "Google_Montenegro_Bahamas";
    }

    void positions()
    {
        QFETCH(int, position);
        QFETCH(QString, key);
        QCOMPARE(g_allEngineList.size(), 438);
        QCOMPARE(g_allEngineList.at(position - 1), key);
    }

    void runsByEngine()
    {
        // Each engine's keys form one run, in this order, of this length.
        const QList<QPair<QString, int>> runs = {
            {"Google", 327}, {"Yahoo", 35}, {"Bing", 46}, {"Ask", 12}, {"AOL", 18}};
        int at = 0;
        for (const auto& run : runs) {
            for (int i = 0; i < run.second; ++i, ++at)
                QCOMPARE(g_allEngineList.at(at).section('_', 0, 0), run.first);
        }
        QCOMPARE(at, g_allEngineList.size());
    }

    void keyShape()
    {
        const QRegularExpression part("^[A-Za-z()]+( [A-Za-z()]+)*$");
        QSet<QString> seen;
        for (const QString& key : g_allEngineList) {
            const QStringList parts = key.split('_');
            QCOMPARE(parts.size(), 3);
            QCOMPARE(key.split('_', Qt::SkipEmptyParts), parts);
            for (const QString& p : parts)
                QVERIFY2(part.match(p).hasMatch(), qPrintable(key));
            QVERIFY2(!seen.contains(key), qPrintable(key));
            seen.insert(key);
        }
        const QStringList nynorsk = QString("Google_Norway_Norwegian (Nynorsk)").split('_');
        QVERIFY(g_allEngineList.contains(nynorsk.join('_')));
        QCOMPARE(nynorsk, QStringList({"Google", "Norway", "Norwegian (Nynorsk)"}));
    }

    void countries()
    {
        const QStringList countries = countriesSorted();
        QCOMPARE(countries.size(), 156);
        QCOMPARE(countries.first(), QString("Afghanistan"));
        QCOMPARE(countries.last(), QString("Zimbabwe"));
        QCOMPARE(countries.indexOf("United States"), 148);
        QCOMPARE(countries.indexOf("Bosnian"), countries.indexOf("Bolivia") + 1);
        QCOMPARE(countries.indexOf("Botswana"), countries.indexOf("Bosnian") + 1);
        QCOMPARE(countries.indexOf("CentralAfricanRepublic"), countries.indexOf("Canada") + 1);
        QCOMPARE(countries.indexOf("Chile"), countries.indexOf("CentralAfricanRepublic") + 1);
        QVERIFY(countries.indexOf("Honduras") < countries.indexOf("Hong Kong"));

        QSet<QString> folded;
        for (const QString& c : countries)
            folded.insert(c.toLower());
        QCOMPARE(folded.size(), countries.size());

        // Every country of the smaller runs has a Google variant.
        QSet<QString> google;
        for (const QString& key : g_allEngineList)
            if (key.startsWith("Google_"))
                google.insert(key.section('_', 1, 1));
        QCOMPARE(google.size(), 156);
        for (const QString& key : g_allEngineList)
            QVERIFY2(google.contains(key.section('_', 1, 1)), qPrintable(key));
    }

    void reportEncodings()
    {
        QCOMPARE(reportEncodingList.size(), 13);
        QCOMPARE(reportEncodingList.first(), QString("StandardEncoding"));
        QCOMPARE(reportEncodingList.last(), QString("WinAnsiEncoding"));
        for (const char* absent : {"ISO8859-1", "ISO8859-6", "ISO8859-7", "ISO8859-8"})
            QVERIFY(!reportEncodingList.contains(absent));
        QCOMPARE(reportEncodingList.indexOf("ISO8859-9"), 5);
        QStringList copy = reportEncodingList;
        QCOMPARE(copy.removeDuplicates(), 0);
    }
};

LT_TEST_MAIN(TestEngineCatalogue)
#include "tst_enginecatalogue.moc"
