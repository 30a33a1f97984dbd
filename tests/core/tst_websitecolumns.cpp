#include "TestMain.h"
#include "TestRows.h"
#include "WebsiteColumns.h"

namespace {
SEARCH_ENGINE engine(const QString& host, const QString& lang, const QString& country,
                     LTInt64 delay)
{
    SEARCH_ENGINE e;
    e.SearchEngine = host;
    e.Lang = lang;
    e.Country = country;
    e.Interval = delay;
    return e;
}

using Engines = std::vector<SEARCH_ENGINE>;

bool sameEngines(const Engines& a, const Engines& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i].SearchEngine != b[i].SearchEngine || a[i].Lang != b[i].Lang ||
            a[i].Country != b[i].Country || a[i].Interval != b[i].Interval)
            return false;
    }
    return true;
}
} // namespace

Q_DECLARE_METATYPE(Engines)

class TestWebsiteColumns : public QObject
{
    Q_OBJECT

private slots:
    void writeAndReadBack_data()
    {
        QTest::addColumn<Engines>("engines");
        QTest::addColumn<QString>("text");

        testRow("empty list", Engines{}, QString(""));
        testRow("google default delay",
                Engines{engine("www.google.com", "English", "United States", 50)},
                QString("www.google.com?English?United States"));
        testRow("google delay 0", Engines{engine("www.google.ca", "French", "Canada", 0)},
                QString("www.google.ca?French?Canada?0"));
        testRow(
            "bing default and yahoo delay 5",
            Engines{engine("www.bing.com", "English", "United States", 0),
                    engine("ca.search.yahoo.com", "English", "Canada", 5)},
            QString("www.bing.com?English?United States\nca.search.yahoo.com?English?Canada?5"));
        testRow("three kinds, negative delay",
                Engines{engine("www.google.de", "German", "Germany", -7),
                        engine("www.bing.com", "German", "Germany", 3),
                        engine("de.search.yahoo.com", "German", "Germany", 0)},
                QString("www.google.de?German?Germany?-7\nwww.bing.com?German?Germany?3\nde.search."
                        "yahoo.com?German?Germany"));
        testRow("engine kind by case-blind host",
                Engines{engine("WWW.GOOGLE.FR", "French", "France", 51)},
                QString("WWW.GOOGLE.FR?French?France?51"));
        // French Canada in the Yahoo catalogue: the country ends in a blank.
        testRow("trailing blank on the last line",
                Engines{engine("www.google.ca", "English", "Canada", 50),
                        engine("qc.search.yahoo.com", "French", "Canada ", 0)},
                QString("www.google.ca?English?Canada\nqc.search.yahoo.com?French?Canada "));
        testRow("leading blank on the first line",
                Engines{engine(" www.bing.com", "English", "Canada", 0)},
                QString(" www.bing.com?English?Canada"));
        // Names read from a line that was not written here (five pieces) may end in a
        // carriage return; written again, they must read back as they are.
        testRow("carriage return ending the last country",
                Engines{engine("www.bing.com", "English", "Canada", 0), engine("x", "", "\r", 0)},
                QString("www.bing.com?English?Canada\nx??\r"));
        testRow("carriage return starting the first host",
                Engines{engine("\rwww.bing.com", "English", "Canada", 0)},
                QString("\rwww.bing.com?English?Canada"));
        testRow("32-bit delays",
                Engines{engine("www.google.com", "English", "United States", 2147483647),
                        engine("www.bing.com", "English", "United States", -2147483647 - 1)},
                QString("www.google.com?English?United "
                        "States?2147483647\nwww.bing.com?English?United States?-2147483648"));
    }

    void writeAndReadBack()
    {
        QFETCH(Engines, engines);
        QFETCH(QString, text);
        QCOMPARE(CombineSearchEnginesString(engines), text);
        const Engines read = ParseSearchEnginesString(text);
        QVERIFY(sameEngines(read, engines));
        QCOMPARE(CombineSearchEnginesString(read), text);
    }

    void otherHostsNeverWriteADelay()
    {
        const Engines engines{engine("www.ask.com", "English", "United States", 50),
                              engine("search.aol.com", "English", "United States", 9)};
        QCOMPARE(
            CombineSearchEnginesString(engines),
            QString("www.ask.com?English?United States\nsearch.aol.com?English?United States"));
    }

    void readsDelays_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<LTInt64>("delay");
        QTest::addColumn<QString>("country");

        testRow("google, three pieces", "www.google.com?English?USA", LTInt64(50), "USA");
        testRow("google, delay 30", "www.google.com?English?USA?30", LTInt64(30), "USA");
        testRow("google, delay not a number", "www.google.com?English?USA?soon", LTInt64(0), "USA");
        testRow("google, five pieces", "www.google.com?English?USA?30?x", LTInt64(50), "USA");
        testRow("bing, three pieces", "www.bing.com?English?USA", LTInt64(0), "USA");
        testRow("yahoo, three pieces", "search.yahoo.com?English?USA", LTInt64(0), "USA");
        testRow("no question mark", "www.google.com", LTInt64(50), "");
        testRow("empty country", "www.bing.com?English?", LTInt64(0), "");
    }

    void readsDelays()
    {
        QFETCH(QString, line);
        QFETCH(LTInt64, delay);
        QFETCH(QString, country);
        const Engines read = ParseSearchEnginesString(line);
        QCOMPARE(read.size(), std::size_t(1));
        QCOMPARE(read[0].Interval, delay);
        QCOMPARE(read[0].Country, country);
    }

    void blankAndBrokenLinesStillGiveVariants()
    {
        // A blank inner line gives a variant with empty texts; line ends around the
        // whole text are not part of any name.
        const Engines read =
            ParseSearchEnginesString("\r\nwww.bing.com?English?Canada\n\nwww.google.ca?French\n");
        QCOMPARE(read.size(), std::size_t(3));
        QCOMPARE(read[0].SearchEngine, QString("www.bing.com"));
        QCOMPARE(read[0].Country, QString("Canada"));
        QCOMPARE(read[1].SearchEngine, QString(""));
        QCOMPARE(read[1].Lang, QString(""));
        QCOMPARE(read[1].Interval, LTInt64(0));
        QCOMPARE(read[2].Lang, QString("French"));
        QCOMPARE(read[2].Country, QString(""));
        QCOMPARE(read[2].Interval, LTInt64(50));

        // Carriage-return line feeds around the whole text go too.
        const Engines crlf = ParseSearchEnginesString("\r\n\nwww.bing.com?English?Canada\r\n\n");
        QCOMPARE(crlf.size(), std::size_t(1));
        QCOMPARE(crlf[0].Country, QString("Canada"));
    }

    void keywords_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("keywords");
        QTest::addColumn<QString>("joined");

        testRow("one line", "cheap flights", QStringList{"cheap flights"}, "cheap flights");
        testRow("blank inner line", "red shoes\n\nblue shoes",
                QStringList{"red shoes", "", "blue shoes"}, "red shoes\n\nblue shoes");
        testRow("blanks at ends of inner lines", "a \n b\nc", QStringList{"a ", " b", "c"},
                "a \n b\nc");
        testRow("outer white space cut", "  \nshoes\nhats \n\t", QStringList{"shoes", "hats"},
                "shoes\nhats");
        testRow("empty text", "", QStringList{""}, "");
    }

    void keywords()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, keywords);
        QFETCH(QString, joined);
        const QStringList read = ParseKeywordsString(text);
        QCOMPARE(read, keywords);
        QCOMPARE(read.join(QLatin1Char('\n')), joined);
    }
};

LT_TEST_MAIN(TestWebsiteColumns)
#include "tst_websitecolumns.moc"
