#include "TestMain.h"
#include "WebsiteMatch.h"

class TestWebsiteMatch : public QObject
{
    Q_OBJECT

private slots:
    void trimUrl_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("trimmed");

        QTest::newRow("scheme, www, blanks, slash") << "  HTTPS://WWW.Alpha.test/ \t"
                                                    << "Alpha.test";
        QTest::newRow("one slash only") << "alpha.test//"
                                        << "alpha.test/";
        QTest::newRow("www and the next character") << "wwwalpha.test"
                                                    << "lpha.test";
        QTest::newRow("scheme inside a query") << "alpha.test/?u=http://beta.test"
                                               << "alpha.test/?u=beta.test";
        QTest::newRow("http www") << "http://www.alpha.test/a/"
                                  << "alpha.test/a";
        QTest::newRow("case kept") << "Alpha.Test/Shop"
                                   << "Alpha.Test/Shop";
        QTest::newRow("www in the middle") << "alpha.test/www-x"
                                           << "alpha.test/x";
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("blank") << "   "
                               << "";
    }

    void trimUrl()
    {
        QFETCH(QString, url);
        QFETCH(QString, trimmed);
        QCOMPARE(TrimUrl(url), trimmed);
    }

    void hostIsParent_data()
    {
        QTest::addColumn<QString>("host");
        QTest::addColumn<QString>("parent");
        QTest::addColumn<bool>("expected");

        QTest::newRow("subdomain") << "blog.alpha.test"
                                   << "alpha.test" << true;
        QTest::newRow("same") << "alpha.test"
                              << "alpha.test" << true;
        QTest::newRow("fewer labels") << "alpha.test"
                                      << "blog.alpha.test" << false;
        QTest::newRow("whole labels") << "notalpha.test"
                                      << "alpha.test" << false;
        QTest::newRow("from the right") << "alpha.test.beta"
                                        << "alpha.test" << false;
        QTest::newRow("case counts") << "Alpha.test"
                                     << "alpha.test" << false;
        QTest::newRow("empty parent") << "alpha.test"
                                      << "" << false;
        QTest::newRow("both empty") << ""
                                    << "" << true;
        QTest::newRow("trailing dot") << "alpha.test."
                                      << "alpha.test" << false;
    }

    void hostIsParent()
    {
        QFETCH(QString, host);
        QFETCH(QString, parent);
        QFETCH(bool, expected);
        QCOMPARE(HostIsParent(host, parent), expected);
    }

    void pathIsParent_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("parent");
        QTest::addColumn<bool>("expected");

        QTest::newRow("below") << "/a/b"
                               << "/a" << true;
        QTest::newRow("part prefix") << "/ab"
                                     << "/a" << false;
        QTest::newRow("parent trailing slash") << "/a/b"
                                               << "/a/" << false;
        QTest::newRow("parent trailing slash meets one") << "/a/"
                                                         << "/a/" << true;
        QTest::newRow("empty parent, empty path") << ""
                                                  << "" << true;
        QTest::newRow("empty parent, rooted path") << "/x/y"
                                                   << "" << true;
        QTest::newRow("empty parent, relative path") << "x"
                                                     << "" << false;
        QTest::newRow("shorter") << "/a"
                                 << "/a/b" << false;
        QTest::newRow("case counts") << "/A/b"
                                     << "/a" << false;
    }

    void pathIsParent()
    {
        QFETCH(QString, path);
        QFETCH(QString, parent);
        QFETCH(bool, expected);
        QCOMPARE(PathIsParent(path, parent), expected);
    }

    void urlIsParent_data()
    {
        QTest::addColumn<QString>("parent");
        QTest::addColumn<QString>("child");
        QTest::addColumn<bool>("expected");

        QTest::newRow("query items all present") << "http://a.test/p?x=1&y=2"
                                                 << "http://b.a.test/p/q?y=2&z=3&x=1" << true;
        QTest::newRow("query value differs") << "http://a.test/p?x=1"
                                             << "http://a.test/p?x=2" << false;
        QTest::newRow("host upper case") << "http://A.TEST"
                                         << "http://a.test/x" << true;
        QTest::newRow("other path") << "http://a.test/p"
                                    << "http://a.test/q" << false;
        QTest::newRow("port ignored") << "http://a.test:8080"
                                      << "http://a.test/x" << true;
    }

    void urlIsParent()
    {
        QFETCH(QString, parent);
        QFETCH(QString, child);
        QFETCH(bool, expected);
        QCOMPARE(UrlIsParent(QUrl(parent), QUrl(child)), expected);
    }

    void isIncludeWebsite_data()
    {
        QTest::addColumn<QString>("website");
        QTest::addColumn<QString>("link");
        QTest::addColumn<bool>("expected");

        QTest::newRow("host: itself") << "alpha.test"
                                      << "alpha.test" << true;
        QTest::newRow("host: page with query") << "alpha.test"
                                               << "alpha.test/page?x=1" << true;
        QTest::newRow("host: subdomain page") << "alpha.test"
                                              << "blog.alpha.test/page" << true;
        QTest::newRow("host: longer host") << "alpha.test"
                                           << "alpha.test.beta" << false;
        QTest::newRow("host: other") << "alpha.test"
                                     << "beta.test" << false;
        QTest::newRow("host: capitals in host") << "Alpha.Test"
                                                << "alpha.test/x" << true;
        QTest::newRow("path: itself") << "alpha.test/shop"
                                      << "alpha.test/shop" << true;
        QTest::newRow("path: deeper") << "alpha.test/shop"
                                      << "alpha.test/shop/item" << false;
        QTest::newRow("path: subdomain") << "alpha.test/shop"
                                         << "blog.alpha.test/shop" << false;
        QTest::newRow("path: case") << "alpha.test/Shop"
                                    << "alpha.test/shop" << false;
        QTest::newRow("query: more items") << "alpha.test?a=1"
                                           << "alpha.test?a=1&b=2" << false;
        QTest::newRow("query: itself") << "alpha.test?a=1"
                                       << "alpha.test?a=1" << true;
        QTest::newRow("port ignored") << "alpha.test:8080"
                                      << "alpha.test/x" << true;
        QTest::newRow("empty website") << ""
                                       << "alpha.test" << false;
    }

    void isIncludeWebsite()
    {
        QFETCH(QString, website);
        QFETCH(QString, link);
        QFETCH(bool, expected);
        QCOMPARE(IsIncludeWebsite(website, link), expected);
    }
};

LT_TEST_MAIN(TestWebsiteMatch)
#include "tst_websitematch.moc"
