#include "Records.h"
#include "TestMain.h"
#include "TestRows.h"

class TestRecords : public QObject
{
    Q_OBJECT

private slots:
    void engineKind_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("name");

        testRow("empty", "", int(SE_Other), "");
        testRow("google host", "www.google.co.uk", int(SE_Google), "Google");
        testRow("capitals", "WWW.GOOGLE.DE", int(SE_Google), "Google");
        testRow("mixed case bing", "www.BiNg.com", int(SE_Bing), "Bing");
        testRow("yahoo subdomain", "ca.search.Yahoo.com", int(SE_Yahoo), "Yahoo");
        testRow("bing before yahoo", "yahoo-bing.example", int(SE_Bing), "Bing");
        testRow("google before bing", "bing.google.com", int(SE_Google), "Google");
        testRow("google before yahoo", "YAHOO and Google", int(SE_Google), "Google");
        testRow("other engine", "www.ask.com", int(SE_Other), "");
        testRow("engine key", "Yahoo_Canada _French", int(SE_Yahoo), "Yahoo");
    }

    void engineKind()
    {
        QFETCH(QString, text);
        QFETCH(int, kind);
        QFETCH(QString, name);

        QCOMPARE(int(FindSearchEngineType(text)), kind);
        const QString engineName = GetSearchEngineName(text);
        QCOMPARE(engineName, name);
        QVERIFY(!engineName.isNull()); // empty, not null, for unknown engines
    }

    void defaultIntervals()
    {
        QCOMPARE(GetSearchEngineDefaultInterval(SE_Google), 50);
        QCOMPARE(GetSearchEngineDefaultInterval(SE_Bing), 0);
        QCOMPARE(GetSearchEngineDefaultInterval(SE_Yahoo), 0);
        QCOMPARE(GetSearchEngineDefaultInterval(SE_Other), 50);
    }
};

LT_TEST_MAIN(TestRecords)
#include "tst_records.moc"
