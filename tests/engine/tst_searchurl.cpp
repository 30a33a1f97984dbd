#include "KeywordCheckService.h"
#include "TestMain.h"
#include "TestRows.h"

#include <QUrlQuery>

// Exact addresses of the result pages. The expected texts are written out by hand: the
// engines see these bytes, so a change in item order or encoding is a change in what is
// searched.
class TestSearchUrl : public QObject
{
    Q_OBJECT

private slots:
    void google_data()
    {
        QTest::addColumn<qint64>("start");
        QTest::addColumn<qint64>("num");
        QTest::addColumn<QString>("keyword");
        QTest::addColumn<QString>("host");
        QTest::addColumn<QString>("lang");
        QTest::addColumn<QByteArray>("expected");

        const QString us = "www.google.com";
        testRow("first page", 0LL, 10LL, "rank tracker", us, "English",
                QByteArray("http://www.google.com/search?hl=en&as_dpr=all&sa=N&q=rank%20tracker"));
        testRow(
            "offset and count", 10LL, 20LL, "seo", us, "English",
            QByteArray("http://www.google.com/search?hl=en&start=10&num=20&as_dpr=all&sa=N&q=seo"));
        testRow(
            "offset 30 count 70", 30LL, 70LL, "seo", us, "English",
            QByteArray("http://www.google.com/search?hl=en&start=30&num=70&as_dpr=all&sa=N&q=seo"));
        testRow("count only", 0LL, 20LL, "seo", us, "English",
                QByteArray("http://www.google.com/search?hl=en&num=20&as_dpr=all&sa=N&q=seo"));
        testRow("offset only", 90LL, 10LL, "seo", us, "English",
                QByteArray("http://www.google.com/search?hl=en&start=90&as_dpr=all&sa=N&q=seo"));
        testRow("hundred results", 0LL, 100LL, "seo", us, "English",
                QByteArray("http://www.google.com/search?hl=en&num=100&as_dpr=all&sa=N&q=seo"));
        testRow("beyond 32 bits", 5000000000LL, 10LL, "seo", us, "English",
                QByteArray(
                    "http://www.google.com/search?hl=en&start=5000000000&as_dpr=all&sa=N&q=seo"));

        // The host is the caller's; the language picks "hl".
        testRow("country host", 0LL, 10LL, "seo", "www.google.co.uk", "English",
                QByteArray("http://www.google.co.uk/search?hl=en&as_dpr=all&sa=N&q=seo"));
        testRow("japanese", 0LL, 10LL, "seo", "www.google.co.jp", "Japanese",
                QByteArray("http://www.google.co.jp/search?hl=ja&as_dpr=all&sa=N&q=seo"));
        testRow("hebrew", 0LL, 10LL, "seo", "www.google.co.il", "Hebrew",
                QByteArray("http://www.google.co.il/search?hl=iw&as_dpr=all&sa=N&q=seo"));
        testRow("traditional chinese", 0LL, 10LL, "seo", "www.google.com.tw",
                "Chinese(Traditional)",
                QByteArray("http://www.google.com.tw/search?hl=zh-TW&as_dpr=all&sa=N&q=seo"));
        testRow(
            "portuguese brazil", 10LL, 10LL, "seo", "www.google.com.br", "Portuguese (Brazil)",
            QByteArray("http://www.google.com.br/search?hl=pt-BR&start=10&as_dpr=all&sa=N&q=seo"));
        testRow("language without row", 0LL, 10LL, "seo", us, "Elvish",
                QByteArray("http://www.google.com/search?hl=en&as_dpr=all&sa=N&q=seo"));
        testRow("language in lower case", 0LL, 10LL, "seo", us, "japanese",
                QByteArray("http://www.google.com/search?hl=en&as_dpr=all&sa=N&q=seo"));
        testRow("empty language", 0LL, 10LL, "seo", us, "",
                QByteArray("http://www.google.com/search?hl=en&as_dpr=all&sa=N&q=seo"));

        // Keywords: one query value whatever they hold.
        testRow("plus signs", 0LL, 10LL, "c++", us, "English",
                QByteArray("http://www.google.com/search?hl=en&as_dpr=all&sa=N&q=c%2B%2B"));
        testRow("item delimiters", 0LL, 10LL, "a&b=c", us, "English",
                QByteArray("http://www.google.com/search?hl=en&as_dpr=all&sa=N&q=a%26b%3Dc"));
        testRow("accented", 0LL, 10LL, QString::fromUtf8("café crème"), us, "French",
                QByteArray(
                    "http://www.google.com/search?hl=fr&as_dpr=all&sa=N&q=caf%C3%A9%20cr%C3%A8me"));
        testRow(
            "cjk", 0LL, 10LL, QString::fromUtf8("東京 ホテル"), "www.google.co.jp", "Japanese",
            QByteArray(
                "http://www.google.co.jp/"
                "search?hl=ja&as_dpr=all&sa=N&q=%E6%9D%B1%E4%BA%AC%20%E3%83%9B%E3%83%86%E3%83%AB"));
        testRow("outside the basic plane", 0LL, 10LL, QString::fromUtf8("pizza 🍕"), us, "English",
                QByteArray(
                    "http://www.google.com/search?hl=en&as_dpr=all&sa=N&q=pizza%20%F0%9F%8D%95"));
        testRow("delimiters left as they are", 0LL, 10LL, "it's (new)!*$,;:@/?", us, "English",
                QByteArray(
                    "http://www.google.com/search?hl=en&as_dpr=all&sa=N&q=it's%20(new)!*$,;:@/?"));
        testRow("unreserved", 0LL, 10LL, "a-b_c.d~e", us, "English",
                QByteArray("http://www.google.com/search?hl=en&as_dpr=all&sa=N&q=a-b_c.d~e"));
        testRow(
            "percent sign is text", 0LL, 10LL, "50% off %41", us, "English",
            QByteArray("http://www.google.com/search?hl=en&as_dpr=all&sa=N&q=50%25%20off%20%2541"));
        testRow("fragment and brackets", 0LL, 10LL, "#1 [top] {x} <y> |z| ^\"\\`", us, "English",
                QByteArray("http://www.google.com/"
                           "search?hl=en&as_dpr=all&sa=N&q=%231%20%5Btop%5D%20%7Bx%7D%20%3Cy%3E%20%"
                           "7Cz%7C%20%5E%22%5C%60"));
        testRow("blanks kept", 0LL, 10LL, "  two\tthree\n", us, "English",
                QByteArray(
                    "http://www.google.com/search?hl=en&as_dpr=all&sa=N&q=%20%20two%09three%0A"));
        testRow("empty keyword", 0LL, 10LL, "", us, "English",
                QByteArray("http://www.google.com/search?hl=en&as_dpr=all&sa=N&q="));
    }

    void google()
    {
        QFETCH(qint64, start);
        QFETCH(qint64, num);
        QFETCH(QString, keyword);
        QFETCH(QString, host);
        QFETCH(QString, lang);
        QFETCH(QByteArray, expected);

        const QUrl url = KeywordCheckService::BuildGoogleSearchURL(start, num, keyword, host, lang);
        QCOMPARE(url.toEncoded(), expected);
        QVERIFY(url.isValid());
        QCOMPARE(url.scheme(), QStringLiteral("http"));
        QCOMPARE(url.host(), host);
        QCOMPARE(url.path(), QStringLiteral("/search"));
        // The engine reads the keyword back unchanged from its one item.
        QCOMPARE(QUrlQuery(url).queryItemValue("q", QUrl::FullyDecoded), keyword);
    }

    void yahoo_data()
    {
        QTest::addColumn<qint64>("first");
        QTest::addColumn<qint64>("num");
        QTest::addColumn<QString>("keyword");
        QTest::addColumn<QString>("area");
        QTest::addColumn<QString>("lang");
        QTest::addColumn<QByteArray>("expected");

        testRow("first page", 1LL, 10LL, "rank tracker", "United States", "English",
                QByteArray("http://search.yahoo.com/search?ei=UTF-8&p=rank%20tracker"));
        testRow("second page", 11LL, 10LL, "seo", "United States", "English",
                QByteArray("http://search.yahoo.com/search?ei=UTF-8&b=11&p=seo"));
        testRow("count only", 1LL, 100LL, "seo", "United States", "English",
                QByteArray("http://search.yahoo.com/search?n=100&ei=UTF-8&p=seo"));
        testRow("count and first", 21LL, 20LL, "seo", "United States", "English",
                QByteArray("http://search.yahoo.com/search?n=20&ei=UTF-8&b=21&p=seo"));
        testRow("first 0 is a paging value", 0LL, 10LL, "seo", "United States", "English",
                QByteArray("http://search.yahoo.com/search?ei=UTF-8&b=0&p=seo"));

        // The country picks the host; only Canada looks at the language.
        testRow("japan", 1LL, 10LL, "seo", "Japan", "English",
                QByteArray("http://search.yahoo.co.jp/search?ei=UTF-8&p=seo"));
        testRow("united kingdom", 1LL, 10LL, "seo", "United Kingdom", "English",
                QByteArray("http://uk.search.yahoo.com/search?ei=UTF-8&p=seo"));
        testRow("ireland shares the uk site", 1LL, 10LL, "seo", "Ireland", "English",
                QByteArray("http://uk.search.yahoo.com/search?ei=UTF-8&p=seo"));
        testRow("canada english", 1LL, 10LL, "seo", "Canada", "English",
                QByteArray("http://ca.search.yahoo.com/search?ei=UTF-8&p=seo"));
        testRow("canada french", 1LL, 10LL, "seo", "Canada", "French",
                QByteArray("http://qc.search.yahoo.com/search?ei=UTF-8&p=seo"));
        // The engine list's own spelling of French Canada, as websites store it.
        testRow("canada french as stored", 11LL, 10LL, QString::fromUtf8("hôtel"), "Canada ",
                "French",
                QByteArray("http://qc.search.yahoo.com/search?ei=UTF-8&b=11&p=h%C3%B4tel"));
        testRow("malaysia", 1LL, 10LL, "seo", "Malaysia", "English",
                QByteArray("http://malaysia.search.yahoo.com/search?ei=UTF-8&p=seo"));
        testRow("vietnam any language", 1LL, 10LL, "seo", "Vietnam", "Vietnamese",
                QByteArray("http://vn.search.yahoo.com/search?ei=UTF-8&p=seo"));

        testRow("plus signs", 1LL, 10LL, "c++ & c#", "United States", "English",
                QByteArray("http://search.yahoo.com/search?ei=UTF-8&p=c%2B%2B%20%26%20c%23"));
        testRow("key-value separator", 1LL, 10LL, "x=y", "Germany", "German",
                QByteArray("http://de.search.yahoo.com/search?ei=UTF-8&p=x%3Dy"));
        testRow("empty keyword", 1LL, 10LL, "", "France", "English",
                QByteArray("http://fr.search.yahoo.com/search?ei=UTF-8&p="));
    }

    void yahoo()
    {
        QFETCH(qint64, first);
        QFETCH(qint64, num);
        QFETCH(QString, keyword);
        QFETCH(QString, area);
        QFETCH(QString, lang);
        QFETCH(QByteArray, expected);

        const QUrl url = KeywordCheckService::BuildYahooSearchURL(first, num, keyword, area, lang);
        QCOMPARE(url.toEncoded(), expected);
        QVERIFY(url.isValid());
        QCOMPARE(QUrlQuery(url).queryItemValue("p", QUrl::FullyDecoded), keyword);
    }

    void yahooWithoutSite_data()
    {
        QTest::addColumn<QString>("area");
        QTest::addColumn<QString>("lang");

        testRow("canada, other language", "Canada", "Spanish");
        testRow("stored french canada, english", "Canada ", "English");
        testRow("country without site", "Austria", "German");
        testRow("lower case", "japan", "English");
        testRow("empty", "", "");
    }

    // A country without a Yahoo site still gives an address; its request fails later.
    void yahooWithoutSite()
    {
        QFETCH(QString, area);
        QFETCH(QString, lang);

        const QUrl url = KeywordCheckService::BuildYahooSearchURL(1, 10, "seo", area, lang);
        QCOMPARE(url.toEncoded(), QByteArray("http:///search?ei=UTF-8&p=seo"));
        QVERIFY(url.host().isEmpty());
    }

    void bing_data()
    {
        QTest::addColumn<qint64>("first");
        QTest::addColumn<QString>("keyword");
        QTest::addColumn<QString>("area");
        QTest::addColumn<QString>("lang");
        QTest::addColumn<QByteArray>("expected");

        testRow(
            "first page", 1LL, "rank tracker", "United States", "English",
            QByteArray(
                "http://www.bing.com/search?go=&form=W0FD&mkt=en-US&filt=all&q=rank%20tracker"));
        testRow("second page", 11LL, "seo", "United States", "English",
                QByteArray(
                    "http://www.bing.com/search?go=&form=W0FD&mkt=en-US&filt=all&first=11&q=seo"));
        testRow("last page", 91LL, "seo", "Germany", "German",
                QByteArray(
                    "http://www.bing.com/search?go=&form=W0FD&mkt=de-DE&filt=all&first=91&q=seo"));
        testRow("united kingdom", 1LL, "seo", "United Kingdom", "English",
                QByteArray("http://www.bing.com/search?go=&form=W0FD&mkt=en-UK&filt=all&q=seo"));
        testRow("canada english", 1LL, "seo", "Canada", "English",
                QByteArray("http://www.bing.com/search?go=&form=W0FD&mkt=en-CA&filt=all&q=seo"));
        testRow("canada french", 1LL, "seo", "Canada", "French",
                QByteArray("http://www.bing.com/search?go=&form=W0FD&mkt=fr-CA&filt=all&q=seo"));
        testRow("canada other language", 1LL, "seo", "Canada", "German",
                QByteArray("http://www.bing.com/search?go=&form=W0FD&mkt=en-US&filt=all&q=seo"));
        testRow("canada lower case", 1LL, "seo", "canada", "English",
                QByteArray("http://www.bing.com/search?go=&form=W0FD&mkt=en-US&filt=all&q=seo"));
        testRow("israel", 1LL, "seo", "Israel", "English",
                QByteArray("http://www.bing.com/search?go=&form=W0FD&mkt=he-IL&filt=all&q=seo"));
        testRow("country without market", 1LL, "seo", "Austria", "German",
                QByteArray("http://www.bing.com/search?go=&form=W0FD&mkt=en-US&filt=all&q=seo"));
        testRow(
            "plus signs", 1LL, "c++", "United States", "English",
            QByteArray("http://www.bing.com/search?go=&form=W0FD&mkt=en-US&filt=all&q=c%2B%2B"));
        testRow("russian", 1LL, QString::fromUtf8("купить & продать"), "Russia", "English",
                QByteArray("http://www.bing.com/"
                           "search?go=&form=W0FD&mkt=ru-RU&filt=all&q=%D0%BA%D1%83%D0%BF%D0%B8%D1%"
                           "82%D1%8C%20%26%20%D0%BF%D1%80%D0%BE%D0%B4%D0%B0%D1%82%D1%8C"));
        testRow("empty keyword", 1LL, "", "United States", "English",
                QByteArray("http://www.bing.com/search?go=&form=W0FD&mkt=en-US&filt=all&q="));
    }

    void bing()
    {
        QFETCH(qint64, first);
        QFETCH(QString, keyword);
        QFETCH(QString, area);
        QFETCH(QString, lang);
        QFETCH(QByteArray, expected);

        const QUrl url = KeywordCheckService::BuildBingSearchURL(first, keyword, area, lang);
        QCOMPARE(url.toEncoded(), expected);
        QVERIFY(url.isValid());
        // The "go" item travels with its "=" even though its value is empty.
        const QUrlQuery query(url);
        QVERIFY(query.hasQueryItem("go"));
        QCOMPARE(query.queryItemValue("q", QUrl::FullyDecoded), keyword);
    }

    // Whatever the caller's arguments, the builders keep no state between calls.
    void repeatedCallsAgree()
    {
        const QUrl a =
            KeywordCheckService::BuildGoogleSearchURL(20, 10, "x y", "www.google.de", "German");
        KeywordCheckService::BuildYahooSearchURL(31, 10, "other", "Spain", "English");
        KeywordCheckService::BuildBingSearchURL(41, "other", "Japan", "English");
        const QUrl b =
            KeywordCheckService::BuildGoogleSearchURL(20, 10, "x y", "www.google.de", "German");
        QCOMPARE(a, b);
        QCOMPARE(a.toEncoded(), QByteArray("http://www.google.de/search"
                                           "?hl=de&start=20&as_dpr=all&sa=N&q=x%20y"));
    }
};

LT_TEST_MAIN(TestSearchUrl)
#include "tst_searchurl.moc"
