#include "LocaleLookup.h"
#include "LocaleLookup_p.h"
#include "TestMain.h"
#include "TestRows.h"

#include <QFile>
#include <QSet>

namespace {

QSet<QString> keySet(const QMap<QString, QString>& table)
{
    const QStringList keys = table.keys();
    return QSet<QString>(keys.begin(), keys.end());
}

// Rows of an embedded "key#value" text file: UTF-8 with a byte-order mark, CR LF line
// ends, the key before the first "#". An absent file gives no rows.
QList<QPair<QString, QString>> resourceRows(const QString& path, bool* present)
{
    QList<QPair<QString, QString>> rows;
    QFile file(path);
    *present = file.open(QIODevice::ReadOnly);
    if (!*present)
        return rows;
    QString text = QString::fromUtf8(file.readAll());
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    for (const QString& line : text.split(QStringLiteral("\r\n"))) {
        const int hash = line.indexOf(QLatin1Char('#'));
        rows.append({line.left(hash), hash < 0 ? QString() : line.mid(hash + 1)});
    }
    return rows;
}

QMap<QString, QString> toMap(const QList<QPair<QString, QString>>& rows)
{
    QMap<QString, QString> map;
    for (const auto& row : rows)
        map.insert(row.first, row.second);
    return map;
}

} // namespace

Q_DECLARE_METATYPE(LocaleTable)

class TestLocaleLookup : public QObject
{
    Q_OBJECT

private slots:
    // The very first lookup of the process finds the tables filled, and filling them
    // writes the flag table's "init" line once.
    void initTestCase()
    {
        QTest::ignoreMessage(QtDebugMsg, "init");
        QCOMPARE(googleHlForLang("Japanese"), QStringLiteral("ja"));
        QCOMPARE(areaForBing("Japan", "Japanese"), QStringLiteral("ja-JP"));
    }

    void rowCounts_data()
    {
        QTest::addColumn<LocaleTable>("table");
        QTest::addColumn<int>("rows");

        testRow("hl", LocaleTable::GoogleHlForLang, 131);
        testRow("bing market", LocaleTable::AreaForBing, 45);
        testRow("google domain", LocaleTable::DomainForLang, 157);
        testRow("bing domain", LocaleTable::DomainForBing, 46);
        testRow("flag", LocaleTable::TabIndexForEngine, 157);
        testRow("lr", LocaleTable::GooleLrForLang, 36);
        testRow("gl", LocaleTable::GoogleGlForArea, 147);
    }

    void rowCounts()
    {
        QFETCH(LocaleTable, table);
        QFETCH(int, rows);

        const QMap<QString, QString>& map = localeTableRows(table);
        QCOMPARE(map.size(), rows);
        for (auto it = map.cbegin(); it != map.cend(); ++it) {
            QVERIFY2(!it.key().isEmpty() && !it.value().isEmpty(), qPrintable(it.key()));
            for (const QString& text : {it.key(), it.value()}) {
                for (QChar c : text)
                    QVERIFY2(c.unicode() >= 0x20 && c.unicode() < 0x7F, qPrintable(text));
            }
            // No key or value carries blanks at its ends.
            QCOMPARE(it.key().trimmed(), it.key());
            QCOMPARE(it.value().trimmed(), it.value());
        }
    }

    void sampleRows_data()
    {
        QTest::addColumn<LocaleTable>("table");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value"); // null: the key has no row

        const auto hl = LocaleTable::GoogleHlForLang;
        testRow("hl hebrew", hl, "Hebrew", "iw");
        testRow("hl traditional", hl, "Chinese(Traditional)", "zh-TW");
        testRow("hl taiwan", hl, "Taiwan", "zh-tw");
        testRow("hl brazil", hl, "Portuguese (Brazil)", "pt-BR");
        testRow("hl no blank before parenthesis", hl, "Chinese (Simplified)", QString());
        testRow("hl lower case", hl, "english", QString());
        testRow("hl trailing blank", hl, "English ", QString());

        const auto mkt = LocaleTable::AreaForBing;
        testRow("mkt uk", mkt, "United Kingdom", "en-UK");
        testRow("mkt israel", mkt, "Israel", "he-IL");
        testRow("mkt canada", mkt, "Canada", QString());

        const auto dom = LocaleTable::DomainForLang;
        testRow("domain uk", dom, "United Kingdom", "co.uk");
        testRow("domain guinea-bissau", dom, "Guinea-Bissau", QString());

        const auto bing = LocaleTable::DomainForBing;
        testRow("bing us", bing, "United States", "www");
        testRow("bing canada", bing, "Canada", "ca");

        const auto flag = LocaleTable::TabIndexForEngine;
        testRow("flag costa rica", flag, "Costa Rica", ":country/Costa-Rica.png");
        testRow("flag sri lanka", flag, "Sri Lanka", ":country/Sri Lanka.png");
        testRow("flag stored canada", flag, "Canada ", QString());

        const auto lr = LocaleTable::GooleLrForLang;
        testRow("lr brazil", lr, "Portuguese (Brazil)", "lang_pt");
        testRow("lr simplified", lr, "Chinese(Simplified)", "lang_zh-CN");
        testRow("lr thai", lr, "Thai", QString());

        const auto gl = LocaleTable::GoogleGlForArea;
        testRow("gl uk", gl, "United Kingdom", "uk");
        testRow("gl bosnian", gl, "Bosnian", "ba");
        testRow("gl kenya", gl, "Kenya", QString());
    }

    void sampleRows()
    {
        QFETCH(LocaleTable, table);
        QFETCH(QString, key);
        QFETCH(QString, value);

        const QMap<QString, QString>& map = localeTableRows(table);
        if (value.isNull())
            QVERIFY2(!map.contains(key), qPrintable(key));
        else
            QCOMPARE(map.value(key), value);
    }

    // How the tables relate to one another.
    void tableKeys()
    {
        const QSet<QString> domainKeys = keySet(localeTableRows(LocaleTable::DomainForLang));
        QCOMPARE(keySet(localeTableRows(LocaleTable::TabIndexForEngine)), domainKeys);

        QSet<QString> glKeys = domainKeys;
        for (const char* name : {"Slovenia", "Croatia", "Montenegro", "United Arab Emirates",
                                 "Sweden", "Iceland", "Tunisia", "Sri Lanka", "Estonia", "Kenya"})
            QVERIFY(glKeys.remove(QString::fromLatin1(name)));
        QCOMPARE(keySet(localeTableRows(LocaleTable::GoogleGlForArea)), glKeys);

        const QSet<QString> marketKeys = keySet(localeTableRows(LocaleTable::AreaForBing));
        QCOMPARE(keySet(localeTableRows(LocaleTable::DomainForBing)),
                 marketKeys + QSet<QString>{"Canada"});

        // The language restriction is "lang_" and the interface language, but one for both
        // kinds of Portuguese.
        const QMap<QString, QString>& hl = localeTableRows(LocaleTable::GoogleHlForLang);
        const QMap<QString, QString>& lr = localeTableRows(LocaleTable::GooleLrForLang);
        for (auto it = lr.cbegin(); it != lr.cend(); ++it) {
            QVERIFY2(hl.contains(it.key()), qPrintable(it.key()));
            const QString expected = it.key().startsWith("Portuguese")
                                         ? QStringLiteral("lang_pt")
                                         : QStringLiteral("lang_") + hl.value(it.key());
            QCOMPARE(it.value(), expected);
        }
    }

    void gCountryCodesAreSuffixes()
    {
        // A country's code is the last label of its Google domain, but for the generic
        // domain of the United States.
        const QMap<QString, QString>& domains = localeTableRows(LocaleTable::DomainForLang);
        const QMap<QString, QString>& gl = localeTableRows(LocaleTable::GoogleGlForArea);
        for (auto it = gl.cbegin(); it != gl.cend(); ++it) {
            if (it.key() == QLatin1String("United States"))
                continue;
            QCOMPARE(domains.value(it.key()).section(QLatin1Char('.'), -1), it.value());
            QCOMPARE(it.value().size(), 2);
        }
    }

    // The lookups of an (area, language) pair: 0 googleHlForLang (language only),
    // 1 areaForBing, 2 domainForYahoo, 3 langForYahoo.
    void pairLookups_data()
    {
        QTest::addColumn<int>("lookup");
        QTest::addColumn<QString>("area");
        QTest::addColumn<QString>("lang");
        QTest::addColumn<QString>("expected");

        testRow("hl japanese", 0, "", "Japanese", "ja");
        testRow("hl serbo-croatian", 0, "", "Serbo-Croatian", "sh");
        testRow("hl no row", 0, "", "Elvish", "en");
        testRow("hl empty", 0, "", "", "en");
        testRow("hl lower case", 0, "", "japanese", "en");
        testRow("hl trailing blank", 0, "", "Japanese ", "en");

        testRow("mkt canada english", 1, "Canada", "English", "en-CA");
        testRow("mkt canada french", 1, "Canada", "French", "fr-CA");
        testRow("mkt canada german", 1, "Canada", "German", "en-US");
        testRow("mkt canada lower case", 1, "canada", "English", "en-US");
        testRow("mkt canada trailing blank", 1, "Canada ", "French", "en-US");
        testRow("mkt canada french lower case", 1, "Canada", "french", "en-US");
        testRow("mkt uk welsh", 1, "United Kingdom", "Welsh", "en-UK");
        testRow("mkt germany english", 1, "Germany", "English", "de-DE");
        testRow("mkt no row", 1, "Austria", "German", "en-US");
        testRow("mkt empty", 1, "", "", "en-US");

        const QList<QPair<QString, QString>> hosts = {
            {"United States", "search.yahoo.com"},     {"Japan", "search.yahoo.co.jp"},
            {"China", "search.cn.yahoo.com"},          {"Ireland", "uk.search.yahoo.com"},
            {"Malaysia", "malaysia.search.yahoo.com"},
        };
        // Every country but Canada ignores the language.
        for (const auto& row : hosts) {
            for (const char* lang : {"English", "French", ""})
                QTest::addRow("yahoo host %s %s", qPrintable(row.first), lang)
                    << 2 << row.first << QString::fromLatin1(lang) << row.second;
        }
        testRow("yahoo host canada english", 2, "Canada", "English", "ca.search.yahoo.com");
        testRow("yahoo host canada french", 2, "Canada", "French", "qc.search.yahoo.com");
        testRow("yahoo host stored french canada", 2, "Canada ", "French", "qc.search.yahoo.com");
        testRow("yahoo host canada spanish", 2, "Canada", "Spanish", "");
        testRow("yahoo host stored french canada, english", 2, "Canada ", "English", "");
        testRow("yahoo host canada lower case", 2, "canada", "English", "");
        testRow("yahoo host austria", 2, "Austria", "German", "");
        testRow("yahoo host uk lower case", 2, "united kingdom", "English", "");
        testRow("yahoo host empty", 2, "", "", "");

        testRow("yahoo lang us spanish", 3, "United States", "Spanish", "es");
        testRow("yahoo lang us english", 3, "United States", "English", "en");
        testRow("yahoo lang japan", 3, "Japan", "English", "jp");
        testRow("yahoo lang peru", 3, "Peru", "English", "es");
        testRow("yahoo lang brasil", 3, "Brasil", "English", "pt");
        testRow("yahoo lang brazil", 3, "Brazil", "Portuguese (Brazil)", "en");
        testRow("yahoo lang canada french", 3, "Canada", "French", "fr");
        testRow("yahoo lang canada english", 3, "Canada", "English", "en");
        testRow("yahoo lang hong kong", 3, "Hong Kong", "English", "tzh");
        testRow("yahoo lang indonesia indonesian", 3, "Indonesia", "Indonesian", "id");
        testRow("yahoo lang indonesia english", 3, "Indonesia", "English", "en");
        testRow("yahoo lang korea", 3, "Korea", "English", "kr");
        testRow("yahoo lang philippines", 3, "Philippines", "English", "tl");
        testRow("yahoo lang vietnam", 3, "Vietnam", "English", "vi");
        testRow("yahoo lang singapore", 3, "Singapore", "English", "en");
    }

    void pairLookups()
    {
        QFETCH(int, lookup);
        QFETCH(QString, area);
        QFETCH(QString, lang);
        QFETCH(QString, expected);

        const QString result = lookup == 0   ? googleHlForLang(lang)
                               : lookup == 1 ? areaForBing(area, lang)
                               : lookup == 2 ? domainForYahoo(area, lang)
                                             : langForYahoo(area, lang);
        QCOMPARE(result, expected);
        QVERIFY(!result.isNull());
    }

    void fallbacks_data()
    {
        QTest::addColumn<int>("lookup");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");

        // 0 domainForLang, 1 domainForBing, 2 googleGlForArea, 3 gooleLrForLang,
        // 4 iconLocationForArea
        testRow("google domain held", 0, "Japan", "co.jp");
        testRow("google domain missing", 0, "Atlantis", "com");
        testRow("google domain lower case", 0, "japan", "com");
        testRow("bing domain held", 1, "Germany", "de");
        testRow("bing domain missing", 1, "Austria", "www");
        testRow("gl held", 2, "Germany", "de");
        testRow("gl missing", 2, "Sweden", "us");
        testRow("gl empty", 2, "", "us");
        testRow("lr held", 3, "Russian", "lang_ru");
        testRow("lr missing", 3, "Thai", "lang_en");
        testRow("flag path held", 4, "Sri Lanka", ":country/Sri Lanka.png");
        testRow("flag path missing", 4, "Canada ", ":country/United-States.png");
    }

    void fallbacks()
    {
        QFETCH(int, lookup);
        QFETCH(QString, key);
        QFETCH(QString, expected);

        QString (*const lookups[])(const QString&) = {domainForLang, domainForBing, googleGlForArea,
                                                      gooleLrForLang, iconLocationForArea};
        const LocaleTable tables[] = {LocaleTable::DomainForLang, LocaleTable::DomainForBing,
                                      LocaleTable::GoogleGlForArea, LocaleTable::GooleLrForLang,
                                      LocaleTable::TabIndexForEngine};
        const int rows = localeTableRows(tables[lookup]).size();
        QCOMPARE(lookups[lookup](key), expected);
        QCOMPARE(lookups[lookup](key), expected);
        QCOMPARE(localeTableRows(tables[lookup]).size(), rows); // a miss inserts nothing
    }

    void fixedEngineRows()
    {
        QCOMPARE(tabIndexForEngine("Google"), 0);
        QCOMPARE(tabIndexForEngine("Yahoo"), 1);
        QCOMPARE(tabIndexForEngine("Bing"), 2);
        QCOMPARE(tabIndexForEngine("Ask"), 3);
        QCOMPARE(tabIndexForEngine("AOL"), 4);
        QCOMPARE(tabIndexForEngine("Aol"), 0);
        QCOMPARE(tabIndexForEngine(""), 0);

        QCOMPARE(iconLocationInRes("Google"), QStringLiteral(":/engines/google.png"));
        QCOMPARE(iconLocationInRes("Caffeine"), QStringLiteral(":/engines/google.png"));
        QCOMPARE(iconLocationInRes("Bing"), QStringLiteral(":/engines/bing.png"));
        QCOMPARE(iconLocationInRes("Yahoo"), QStringLiteral(":/engines/yahoo.png"));
        QCOMPARE(iconLocationInRes("Ask"), QStringLiteral(":/engines/ask.png"));
        QCOMPARE(iconLocationInRes("AOL"), QStringLiteral(":/engines/aol.png"));
        QVERIFY(iconLocationInRes("bing").isNull());
        QVERIFY(iconForEngine("Lycos").isNull());

        QCOMPARE(domainForAol("United States"), QStringLiteral("search.aol.com"));
        QCOMPARE(domainForAol("United Kingdom"), QStringLiteral("search.aol.co.uk"));
        QCOMPARE(domainForAol("Taiwan"), QStringLiteral("search.aol.com.tw"));
        QCOMPARE(domainForAol("Brazil"), QStringLiteral("search.aol.com"));
        QCOMPARE(domainForAsk("United States"), QStringLiteral("www.ask.com"));
        QCOMPARE(domainForAsk("Japan"), QStringLiteral("ask.jp"));
        QCOMPARE(domainForAsk("Brazil"), QStringLiteral("br.ask.com"));
        QCOMPARE(domainForAsk("Korea"), QStringLiteral("www.ask.com"));
    }

    void simpleText_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("text");
        testRow("google uk", "Google_United Kingdom_English", "google.co.uk (en)");
        testRow("google portugal", "Google_Portugal_Portuguese (Portugal)", "google.pt (pt-PT)");
        testRow("yahoo japan", "Yahoo_Japan_English", "yahoo.co.jp (en)");
        testRow("yahoo canada french", "Yahoo_Canada_French", "qc.yahoo.com (fr)");
        testRow("yahoo without site", "Yahoo_Austria_German", " (de)");
        testRow("bing us", "Bing_United States_English", "bing.com (en)");
        testRow("bing canada", "Bing_Canada_French", "ca.bing.com (fr)");
        testRow("ask japan", "Ask_Japan_Japanese", "ask.jp (ja)");
        testRow("aol germany", "AOL_Germany_German", "aol.de (de)");
        testRow("language keeps underscores", "Google_Japan_Japanese_x", "google.co.jp (en)");
        testRow("other engine", "Lycos_United States_English", "");
        testRow("empty", "", "");
    }

    void simpleText()
    {
        QFETCH(QString, key);
        QFETCH(QString, text);
        QCOMPARE(simpleTextForEngine(key), text);
    }

    void resultPage_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<QString>("area");
        QTest::addColumn<QString>("lang");
        QTest::addColumn<int>("position");
        QTest::addColumn<QByteArray>("url");

        const auto url = [](const char* text) { return QByteArray(text); };
        testRow("google first", "Google", "United Kingdom", "English", 1,
                url("http://www.google.co.uk/search?hl=en&sa=N&as_qdr=all&start=0&q=c%2B%2B"));
        testRow("google 15", "Google", "Japan", "Japanese", 15,
                url("http://www.google.co.jp/search?hl=ja&sa=N&as_qdr=all&start=10&q=c%2B%2B"));
        testRow("google 100", "Google", "Atlantis", "English", 100,
                url("http://www.google.com/search?hl=en&sa=N&as_qdr=all&start=90&q=c%2B%2B"));
        testRow("yahoo 20", "Yahoo", "Canada", "French", 20,
                url("http://qc.search.yahoo.com/search?ei=UTF-8&b=11&p=c%2B%2B"));
        testRow(
            "bing 100", "Bing", "Canada", "French", 100,
            url("http://www.bing.com/search?go=&form=W0FD&mkt=fr-CA&filt=all&first=91&q=c%2B%2B"));
        testRow("ask 15", "Ask", "United Kingdom", "English", 15,
                url("http://uk.ask.com/web?qsrc=2417&frstpgo=0&o=0&l=dir&page=2&q=c%2B%2B"));
        testRow("aol 100", "AOL", "Brazil", "English", 100,
                url("http://search.aol.com/aol/search?nt=SG2&page=10&q=c%2B%2B"));
        testRow(
            "below range", "Bing", "Germany", "German", 0,
            url("http://www.bing.com/search?go=&form=W0FD&mkt=de-DE&filt=all&first=1&q=c%2B%2B"));
        testRow("negative", "AOL", "France", "French", -25,
                url("http://search.aol.fr/aol/search?nt=SG2&page=1&q=c%2B%2B"));
        testRow("above range", "Yahoo", "Spain", "Spanish", 250,
                url("http://es.search.yahoo.com/search?ei=UTF-8&b=91&p=c%2B%2B"));
        testRow("caffeine", "Caffeine", "United States", "English", 5, QByteArray());
        testRow("other engine", "google", "United States", "English", 5, QByteArray());
    }

    void resultPage()
    {
        QFETCH(QString, engine);
        QFETCH(QString, area);
        QFETCH(QString, lang);
        QFETCH(int, position);
        QFETCH(QByteArray, url);

        const QUrl page = resultPageForEngine(engine, "c++", area, lang, position);
        QCOMPARE(page.toEncoded(), url);
        QCOMPARE(page.isEmpty(), url.isEmpty());
    }

    // The locale text files embedded for the website editor hold the same rows.
    void tablesAgreeWithResourceFiles_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<LocaleTable>("table");
        QTest::addColumn<int>("lines");
        QTest::addColumn<QStringList>("onlyInFile");
        QTest::addColumn<QString>("valuePrefix");

        const QStringList none;
        testRow("hl", ":/Resources/GoogleAreaHl.txt", LocaleTable::GoogleHlForLang, 131, none, "");
        testRow("bing market", ":/Resources/BingAreaHl.txt", LocaleTable::AreaForBing, 47,
                QStringList{"CanadaEnglish", "CanadaFrench"}, "");
        testRow("google domain", ":/Resources/GoogleAreaDomain.txt", LocaleTable::DomainForLang,
                157, none, "");
        testRow("bing domain", ":/Resources/BingAreaDomain.txt", LocaleTable::DomainForBing, 46,
                none, "");
        testRow("flag", ":/Resources/CountryFlag.txt", LocaleTable::TabIndexForEngine, 158,
                QStringList{"Canada "}, ":country/");
    }

    void tablesAgreeWithResourceFiles()
    {
        QFETCH(QString, file);
        QFETCH(LocaleTable, table);
        QFETCH(int, lines);
        QFETCH(QStringList, onlyInFile);
        QFETCH(QString, valuePrefix);

        bool present = false;
        const auto rows = resourceRows(file, &present);
        if (!present)
            QSKIP("the locale text files are not embedded in this build");
        QCOMPARE(rows.size(), lines);

        QMap<QString, QString> expected = toMap(rows);
        QCOMPARE(expected.size(), lines); // no key repeats
        for (const QString& key : onlyInFile)
            QVERIFY2(expected.remove(key) == 1, qPrintable(key));
        for (QString& value : expected)
            value.prepend(valuePrefix);
        QCOMPARE(localeTableRows(table), expected);
    }

    void yahooHostsAgreeWithResourceFile()
    {
        bool present = false;
        const QMap<QString, QString> hosts =
            toMap(resourceRows(":/Resources/YahooAreaDomain.txt", &present));
        bool listPresent = false;
        QFile list(":/Resources/YahooContryLanguageMap.txt");
        listPresent = list.open(QIODevice::ReadOnly);
        if (!present || !listPresent)
            QSKIP("the Yahoo locale text files are not embedded in this build");

        // Each (country, language) of the Yahoo pick list, French Canada spelt as the list
        // spells it, reaches the host the editor stores for that country.
        const QStringList pairs = QString::fromUtf8(list.readAll()).split(QStringLiteral("\r\n"));
        QCOMPARE(pairs.size(), 35);
        for (const QString& pair : pairs) {
            const QString area = pair.section(QLatin1Char('_'), 0, 0);
            const QString lang = pair.section(QLatin1Char('_'), 1);
            QVERIFY2(hosts.contains(area), qPrintable(area));
            QCOMPARE(domainForYahoo(area, lang), hosts.value(area));
        }
        QCOMPARE(domainForYahoo("China", "English"), hosts.value("China"));
    }

    void flagIcons()
    {
        if (!QFile::exists(":/country/Canada.png"))
            QSKIP("the flag images are not embedded in this build");
        const QIcon canada = iconForAera("Canada");
        QVERIFY(!canada.isNull());
        QVERIFY(!canada.pixmap(16, 16).isNull());
        QVERIFY(iconForAera("Canada ").isNull());
        QVERIFY(iconForAera("Guinea-Bissau").isNull());
        QVERIFY(iconForAera("").isNull());
    }
};

LT_TEST_MAIN(TestLocaleLookup)
#include "tst_localelookup.moc"
