#include "Records.h"
#include "TestMain.h"

class TestRecords : public QObject
{
    Q_OBJECT

private slots:
    void engineKind_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("name");

        QTest::newRow("empty") << "" << int(SE_Other) << "";
        QTest::newRow("google host") << "www.google.co.uk" << int(SE_Google) << "Google";
        QTest::newRow("capitals") << "WWW.GOOGLE.DE" << int(SE_Google) << "Google";
        QTest::newRow("mixed case bing") << "www.BiNg.com" << int(SE_Bing) << "Bing";
        QTest::newRow("yahoo subdomain") << "ca.search.Yahoo.com" << int(SE_Yahoo) << "Yahoo";
        QTest::newRow("bing before yahoo") << "yahoo-bing.example" << int(SE_Bing) << "Bing";
        QTest::newRow("google before bing") << "bing.google.com" << int(SE_Google) << "Google";
        QTest::newRow("google before yahoo") << "YAHOO and Google" << int(SE_Google) << "Google";
        QTest::newRow("other engine") << "www.ask.com" << int(SE_Other) << "";
        QTest::newRow("engine key") << "Yahoo_Canada _French" << int(SE_Yahoo) << "Yahoo";
    }

    void engineKind()
    {
        QFETCH(QString, text);
        QFETCH(int, kind);
        QFETCH(QString, name);

        const QString before = text;
        QCOMPARE(int(FindSearchEngineType(text)), kind);
        QCOMPARE(text, before); // works on its own copy
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
        QCOMPARE(sizeof(EnuSearchEngineType), sizeof(std::uint8_t));
    }

    void websiteCopiesAreIndependent()
    {
        WEBSITE source;
        source.Website = QStringLiteral("example.com");
        source.SearchEngines.push_back({QStringLiteral("www.google.com"), QStringLiteral("English"),
                                        QStringLiteral("United States"), 50});
        source.Keywords << QStringLiteral("rank");

        WEBSITE copy = source;
        copy.SearchEngines[0].Country = QStringLiteral("Canada");
        copy.SearchEngines.push_back({});
        copy.Keywords << QStringLiteral("tracker");

        QCOMPARE(source.SearchEngines.size(), size_t(1));
        QCOMPARE(source.SearchEngines[0].Country, QStringLiteral("United States"));
        QCOMPARE(source.Keywords, QStringList{QStringLiteral("rank")});
    }

    void widths()
    {
        // The 64-bit fields must hold values beyond 32 bits without loss.
        UPDATE_FLOW flow;
        flow.UpdateNo = Q_INT64_C(5000000000);
        PROXY proxy;
        proxy.port = Q_INT64_C(4294967296);
        SCHEDUAL schedual;
        schedual.Days = Q_UINT64_C(0xFFFFFFFFFF);
        QCOMPARE(flow.UpdateNo, Q_INT64_C(5000000000));
        QCOMPARE(proxy.port, Q_INT64_C(4294967296));
        QCOMPARE(schedual.Days, Q_UINT64_C(0xFFFFFFFFFF));
        FLOW_ITEM item;
        item.Rank = qint16(101);
        QCOMPARE(int(item.Rank), 101);
    }
};

LT_TEST_MAIN(TestRecords)
#include "tst_records.moc"
