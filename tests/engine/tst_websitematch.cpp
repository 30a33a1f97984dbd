#include "TestMain.h"
#include "TestRows.h"
#include "WebsiteMatch.h"

class TestWebsiteMatch : public QObject
{
    Q_OBJECT

private slots:
    void trimUrl_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("trimmed");

        testRow("scheme, www, blanks, slash", "  HTTPS://WWW.Alpha.test/ \t", "Alpha.test");
        testRow("one slash only", "alpha.test//", "alpha.test/");
        testRow("www and the next character", "wwwalpha.test", "lpha.test");
        testRow("scheme inside a query", "alpha.test/?u=http://beta.test",
                "alpha.test/?u=beta.test");
        testRow("http www", "http://www.alpha.test/a/", "alpha.test/a");
        testRow("case kept", "Alpha.Test/Shop", "Alpha.Test/Shop");
        testRow("www in the middle", "alpha.test/www-x", "alpha.test/x");
        testRow("empty", "", "");
        testRow("blank", "   ", "");
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

        testRow("subdomain", "blog.alpha.test", "alpha.test", true);
        testRow("same", "alpha.test", "alpha.test", true);
        testRow("fewer labels", "alpha.test", "blog.alpha.test", false);
        testRow("whole labels", "notalpha.test", "alpha.test", false);
        testRow("from the right", "alpha.test.beta", "alpha.test", false);
        testRow("case counts", "Alpha.test", "alpha.test", false);
        testRow("empty parent", "alpha.test", "", false);
        testRow("both empty", "", "", true);
        testRow("trailing dot", "alpha.test.", "alpha.test", false);
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

        testRow("below", "/a/b", "/a", true);
        testRow("part prefix", "/ab", "/a", false);
        testRow("parent trailing slash", "/a/b", "/a/", false);
        testRow("parent trailing slash meets one", "/a/", "/a/", true);
        testRow("empty parent, empty path", "", "", true);
        testRow("empty parent, rooted path", "/x/y", "", true);
        testRow("empty parent, relative path", "x", "", false);
        testRow("shorter", "/a", "/a/b", false);
        testRow("case counts", "/A/b", "/a", false);
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

        testRow("query items all present", "http://a.test/p?x=1&y=2",
                "http://b.a.test/p/q?y=2&z=3&x=1", true);
        testRow("query value differs", "http://a.test/p?x=1", "http://a.test/p?x=2", false);
        testRow("host upper case", "http://A.TEST", "http://a.test/x", true);
        testRow("other path", "http://a.test/p", "http://a.test/q", false);
        testRow("port ignored", "http://a.test:8080", "http://a.test/x", true);
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

        testRow("host: itself", "alpha.test", "alpha.test", true);
        testRow("host: page with query", "alpha.test", "alpha.test/page?x=1", true);
        testRow("host: subdomain page", "alpha.test", "blog.alpha.test/page", true);
        testRow("host: longer host", "alpha.test", "alpha.test.beta", false);
        testRow("host: other", "alpha.test", "beta.test", false);
        testRow("host: capitals in host", "Alpha.Test", "alpha.test/x", true);
        testRow("path: itself", "alpha.test/shop", "alpha.test/shop", true);
        testRow("path: deeper", "alpha.test/shop", "alpha.test/shop/item", false);
        testRow("path: subdomain", "alpha.test/shop", "blog.alpha.test/shop", false);
        testRow("path: case", "alpha.test/Shop", "alpha.test/shop", false);
        testRow("query: more items", "alpha.test?a=1", "alpha.test?a=1&b=2", false);
        testRow("query: itself", "alpha.test?a=1", "alpha.test?a=1", true);
        testRow("port ignored", "alpha.test:8080", "alpha.test/x", true);
        testRow("empty website", "", "alpha.test", false);
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
