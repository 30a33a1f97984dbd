#include "LocaleLookup.h"
#include "LocaleLookup_p.h"
#include "TestMain.h"

#include <QFile>
#include <QSet>

namespace {

const QStringList kDomainKeys = {"United States",
                                 "New Zealand",
                                 "United Kingdom",
                                 "Japan",
                                 "Poland",
                                 "Canada",
                                 "Australia",
                                 "Argentina",
                                 "Austria",
                                 "Belgium",
                                 "Chile",
                                 "China",
                                 "Denmark",
                                 "France",
                                 "Germany",
                                 "Greece",
                                 "Hong Kong",
                                 "India",
                                 "Ireland",
                                 "Italy",
                                 "Jamaica",
                                 "Korea",
                                 "Lebanon",
                                 "Malaysia",
                                 "Mexico",
                                 "Netherlands",
                                 "Norway",
                                 "Philippines",
                                 "Portugal",
                                 "Singapore",
                                 "Spain",
                                 "Taiwan",
                                 "Thailand",
                                 "Turkey",
                                 "Vietnam",
                                 "Bosnian",
                                 "Brazil",
                                 "Dominica",
                                 "Ghana",
                                 "Ivory Coast",
                                 "Russia",
                                 "Venezuela",
                                 "Afghanistan",
                                 "Algeria",
                                 "Angola",
                                 "Anguilla",
                                 "Antigua and Barbuda",
                                 "Armenia",
                                 "Azerbaijan",
                                 "Bahamas",
                                 "Bahrain",
                                 "Bangladesh",
                                 "Belarus",
                                 "Belize",
                                 "Benin",
                                 "Bolivia",
                                 "Botswana",
                                 "Brunei",
                                 "Bulgaria",
                                 "Burundi",
                                 "CentralAfricanRepublic",
                                 "Colombia",
                                 "Congo",
                                 "Costa Rica",
                                 "Cuba",
                                 "Czech Republic",
                                 "Djibouti",
                                 "Dominican Republic",
                                 "Ecuador",
                                 "Egypt",
                                 "El Salvador",
                                 "Ethiopia",
                                 "Fiji",
                                 "Finland",
                                 "Gambia",
                                 "Georgia",
                                 "Gibraltar",
                                 "Greenland",
                                 "Guatemala",
                                 "Guyana",
                                 "Haiti",
                                 "Honduras",
                                 "Hungary",
                                 "Indonesia",
                                 "Isle of Man",
                                 "Israel",
                                 "Jersey",
                                 "Jordan",
                                 "Kazakhstan",
                                 "Kuwait",
                                 "Kyrgyzstan",
                                 "Laos",
                                 "Latvia",
                                 "Libya",
                                 "Liechtenstein",
                                 "Lithuania",
                                 "Luxembourg",
                                 "Maldives",
                                 "Malta",
                                 "Mauritius",
                                 "Micronesia",
                                 "Moldova",
                                 "Montserrat",
                                 "Morocco",
                                 "Mozambique",
                                 "Namibia",
                                 "Nauru",
                                 "Nepal",
                                 "Nicaragua",
                                 "Nigeria",
                                 "Niue",
                                 "Oman",
                                 "Pakistan",
                                 "Panama",
                                 "Paraguay",
                                 "Peru",
                                 "Puerto Rico",
                                 "Qatar",
                                 "Romania",
                                 "Rwanda",
                                 "Saint Vincent and the Grenadines",
                                 "Saint Helena",
                                 "Samoa",
                                 "Sao Tome and Principe",
                                 "Saudi Arabia",
                                 "Senegal",
                                 "Serbia",
                                 "Seychelles",
                                 "Sierra Leone",
                                 "Slovakia",
                                 "Slovenia",
                                 "Solomon Islands",
                                 "South Africa",
                                 "Switzerland",
                                 "Tajikistan",
                                 "Tanzania",
                                 "Timor Leste",
                                 "Tokelau",
                                 "Tonga",
                                 "Trinidad and Tobago",
                                 "Turkmenistan",
                                 "Uganda",
                                 "Ukraine",
                                 "Uruguay",
                                 "Uzbekistan",
                                 "Vanuatu",
                                 "Zambia",
                                 "Zimbabwe",
                                 "Croatia",
                                 "Montenegro",
                                 "United Arab Emirates",
                                 "Sweden",
                                 "Iceland",
                                 "Tunisia",
                                 "Sri Lanka",
                                 "Estonia",
                                 "Kenya"};

const QStringList kBingMarketKeys = {
    "United States", "United Kingdom", "Argentina",    "Australia",   "Brazil",    "Bulgaria",
    "Chile",         "Czech Republic", "Denmark",      "Finland",     "France",    "Germany",
    "Greece",        "Hong Kong",      "Hungary",      "India",       "Indonesia", "Ireland",
    "Israel",        "Italy",          "Japan",        "Korea",       "Latvia",    "Lithuania",
    "Malaysia",      "Mexico",         "Netherlands",  "New Zealand", "Norway",    "China",
    "Poland",        "Portugal",       "Philippines",  "Romania",     "Russia",    "Singapore",
    "Slovakia",      "Slovenia",       "South Africa", "Spain",       "Sweden",    "Taiwan",
    "Thailand",      "Turkey",         "Ukraine"};

QSet<QString> keySet(const QMap<QString, QString>& table)
{
    const QStringList keys = table.keys();
    return QSet<QString>(keys.begin(), keys.end());
}

QSet<QString> toSet(const QStringList& list)
{
    return QSet<QString>(list.begin(), list.end());
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

        QTest::newRow("hl") << LocaleTable::GoogleHlForLang << 131;
        QTest::newRow("bing market") << LocaleTable::AreaForBing << 45;
        QTest::newRow("google domain") << LocaleTable::DomainForLang << 157;
        QTest::newRow("bing domain") << LocaleTable::DomainForBing << 46;
        QTest::newRow("flag") << LocaleTable::TabIndexForEngine << 157;
        QTest::newRow("lr") << LocaleTable::GooleLrForLang << 36;
        QTest::newRow("gl") << LocaleTable::GoogleGlForArea << 147;
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
        QTest::newRow("hl english") << hl << "English"
                                    << "en";
        QTest::newRow("hl japanese") << hl << "Japanese"
                                     << "ja";
        QTest::newRow("hl hebrew") << hl << "Hebrew"
                                   << "iw";
        QTest::newRow("hl javanese") << hl << "Javanese"
                                     << "jw";
        QTest::newRow("hl bahamas") << hl << "Bahamas"
                                    << "bs";
        QTest::newRow("hl bosnian") << hl << "Bosnian"
                                    << "bs";
        QTest::newRow("hl taiwan") << hl << "Taiwan"
                                   << "zh-tw";
        QTest::newRow("hl traditional") << hl << "Chinese(Traditional)"
                                        << "zh-TW";
        QTest::newRow("hl simplified") << hl << "Chinese(Simplified)"
                                       << "zh-CN";
        QTest::newRow("hl hawaiian") << hl << "Hawaiian"
                                     << "haw";
        QTest::newRow("hl mauritian") << hl << "Mauritian Creole"
                                      << "mfe";
        QTest::newRow("hl montenegrin") << hl << "Montenegrin"
                                        << "sr-ME";
        QTest::newRow("hl nynorsk") << hl << "Norwegian (Nynorsk)"
                                    << "nn";
        QTest::newRow("hl brazil") << hl << "Portuguese (Brazil)"
                                   << "pt-BR";
        QTest::newRow("hl portugal") << hl << "Portuguese (Portugal)"
                                     << "pt-PT";
        QTest::newRow("hl uighur") << hl << "Uighur"
                                   << "ug";
        QTest::newRow("hl persian") << hl << "Persian"
                                    << "fa";
        QTest::newRow("hl bork") << hl << "Bork, bork, bork!"
                                 << "xx-bork";
        QTest::newRow("hl klingon") << hl << "Klingon"
                                    << "xx-klingon";
        QTest::newRow("hl zulu") << hl << "Zulu"
                                 << "zu";
        QTest::newRow("hl no blank before parenthesis")
            << hl << "Chinese (Simplified)" << QString();
        QTest::newRow("hl lower case") << hl << "english" << QString();
        QTest::newRow("hl trailing blank") << hl << "English " << QString();

        const auto mkt = LocaleTable::AreaForBing;
        QTest::newRow("mkt us") << mkt << "United States"
                                << "en-US";
        QTest::newRow("mkt uk") << mkt << "United Kingdom"
                                << "en-UK";
        QTest::newRow("mkt israel") << mkt << "Israel"
                                    << "he-IL";
        QTest::newRow("mkt norway") << mkt << "Norway"
                                    << "nb-NO";
        QTest::newRow("mkt indonesia") << mkt << "Indonesia"
                                       << "en-ID";
        QTest::newRow("mkt ukraine") << mkt << "Ukraine"
                                     << "uk-UA";
        QTest::newRow("mkt canada") << mkt << "Canada" << QString();
        QTest::newRow("mkt canada english") << mkt << "CanadaEnglish" << QString();
        QTest::newRow("mkt canada french") << mkt << "CanadaFrench" << QString();

        const auto dom = LocaleTable::DomainForLang;
        QTest::newRow("domain us") << dom << "United States"
                                   << "com";
        QTest::newRow("domain uk") << dom << "United Kingdom"
                                   << "co.uk";
        QTest::newRow("domain canada") << dom << "Canada"
                                       << "ca";
        QTest::newRow("domain guinea-bissau") << dom << "Guinea-Bissau" << QString();

        const auto bing = LocaleTable::DomainForBing;
        QTest::newRow("bing us") << bing << "United States"
                                 << "www";
        QTest::newRow("bing uk") << bing << "United Kingdom"
                                 << "uk";
        QTest::newRow("bing canada") << bing << "Canada"
                                     << "ca";
        QTest::newRow("bing japan") << bing << "Japan"
                                    << "jp";

        const auto flag = LocaleTable::TabIndexForEngine;
        QTest::newRow("flag us") << flag << "United States"
                                 << ":country/United-States.png";
        QTest::newRow("flag canada") << flag << "Canada"
                                     << ":country/Canada.png";
        QTest::newRow("flag costa rica") << flag << "Costa Rica"
                                         << ":country/Costa-Rica.png";
        QTest::newRow("flag car") << flag << "CentralAfricanRepublic"
                                  << ":country/CentralAfricanRepublic.png";
        QTest::newRow("flag sri lanka") << flag << "Sri Lanka"
                                        << ":country/Sri Lanka.png";
        QTest::newRow("flag uae") << flag << "United Arab Emirates"
                                  << ":country/United Arab Emirates.png";
        QTest::newRow("flag st vincent") << flag << "Saint Vincent and the Grenadines"
                                         << ":country/Saint Vincent and the Grenadines.png";
        QTest::newRow("flag isle of man") << flag << "Isle of Man"
                                          << ":country/Isle-of-Man.png";
        QTest::newRow("flag stored canada") << flag << "Canada " << QString();
        QTest::newRow("flag guinea-bissau") << flag << "Guinea-Bissau" << QString();

        const auto lr = LocaleTable::GooleLrForLang;
        QTest::newRow("lr english") << lr << "English"
                                    << "lang_en";
        QTest::newRow("lr hebrew") << lr << "Hebrew"
                                   << "lang_iw";
        QTest::newRow("lr brazil") << lr << "Portuguese (Brazil)"
                                   << "lang_pt";
        QTest::newRow("lr portugal") << lr << "Portuguese (Portugal)"
                                     << "lang_pt";
        QTest::newRow("lr simplified") << lr << "Chinese(Simplified)"
                                       << "lang_zh-CN";
        QTest::newRow("lr thai") << lr << "Thai" << QString();

        const auto gl = LocaleTable::GoogleGlForArea;
        QTest::newRow("gl us") << gl << "United States"
                               << "us";
        QTest::newRow("gl uk") << gl << "United Kingdom"
                               << "uk";
        QTest::newRow("gl serbia") << gl << "Serbia"
                                   << "rs";
        QTest::newRow("gl slovakia") << gl << "Slovakia"
                                     << "sk";
        QTest::newRow("gl switzerland") << gl << "Switzerland"
                                        << "ch";
        QTest::newRow("gl bosnian") << gl << "Bosnian"
                                    << "ba";
        QTest::newRow("gl congo") << gl << "Congo"
                                  << "cg";
        QTest::newRow("gl ivory coast") << gl << "Ivory Coast"
                                        << "ci";
        QTest::newRow("gl korea") << gl << "Korea"
                                  << "kr";
        QTest::newRow("gl micronesia") << gl << "Micronesia"
                                       << "fm";
        QTest::newRow("gl saint helena") << gl << "Saint Helena"
                                         << "sh";
        QTest::newRow("gl timor leste") << gl << "Timor Leste"
                                        << "tl";
        QTest::newRow("gl canada") << gl << "Canada"
                                   << "ca";
        QTest::newRow("gl slovenia") << gl << "Slovenia" << QString();
        QTest::newRow("gl kenya") << gl << "Kenya" << QString();
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
        const QSet<QString> domainKeys = toSet(kDomainKeys);
        QCOMPARE(domainKeys.size(), 157);
        QCOMPARE(keySet(localeTableRows(LocaleTable::DomainForLang)), domainKeys);
        QCOMPARE(keySet(localeTableRows(LocaleTable::TabIndexForEngine)), domainKeys);

        QSet<QString> glKeys = domainKeys;
        for (const char* name : {"Slovenia", "Croatia", "Montenegro", "United Arab Emirates",
                                 "Sweden", "Iceland", "Tunisia", "Sri Lanka", "Estonia", "Kenya"})
            QVERIFY(glKeys.remove(QString::fromLatin1(name)));
        QCOMPARE(keySet(localeTableRows(LocaleTable::GoogleGlForArea)), glKeys);

        const QSet<QString> marketKeys = toSet(kBingMarketKeys);
        QCOMPARE(keySet(localeTableRows(LocaleTable::AreaForBing)), marketKeys);
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

    void flagPaths()
    {
        // The picture is named after the country, blanks as "-", but for three countries.
        const QSet<QString> blanksStand = {"Saint Vincent and the Grenadines", "Sri Lanka",
                                           "United Arab Emirates"};
        const QMap<QString, QString>& flags = localeTableRows(LocaleTable::TabIndexForEngine);
        for (const QString& country : kDomainKeys) {
            QString name = country;
            if (!blanksStand.contains(country))
                name.replace(QLatin1Char(' '), QLatin1Char('-'));
            QCOMPARE(flags.value(country), ":country/" + name + ".png");
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

    void buildersRefill_data()
    {
        QTest::addColumn<int>("builder");
        QTest::addColumn<LocaleTable>("table");

        QTest::newRow("hl") << 0 << LocaleTable::GoogleHlForLang;
        QTest::newRow("bing market") << 1 << LocaleTable::AreaForBing;
        QTest::newRow("google domain") << 2 << LocaleTable::DomainForLang;
        QTest::newRow("bing domain") << 3 << LocaleTable::DomainForBing;
        QTest::newRow("flag") << 4 << LocaleTable::TabIndexForEngine;
        QTest::newRow("lr") << 5 << LocaleTable::GooleLrForLang;
        QTest::newRow("gl") << 6 << LocaleTable::GoogleGlForArea;
    }

    // Running a builder again replaces its table by the same rows.
    void buildersRefill()
    {
        QFETCH(int, builder);
        QFETCH(LocaleTable, table);

        void (*const builders[])() = {
            InitGoogleHlForLang,   InitAreaForBing,    InitDomainForLang,  InitDomainForBing,
            InitTabIndexForEngine, InitGooleLrForLang, InitGoogleGlForArea};
        const QMap<QString, QString> before = localeTableRows(table);
        if (table == LocaleTable::TabIndexForEngine)
            QTest::ignoreMessage(QtDebugMsg, "init");
        builders[builder]();
        QCOMPARE(localeTableRows(table), before);
    }

    void googleHl_data()
    {
        QTest::addColumn<QString>("lang");
        QTest::addColumn<QString>("hl");

        QTest::newRow("english") << "English"
                                 << "en";
        QTest::newRow("japanese") << "Japanese"
                                  << "ja";
        QTest::newRow("filipino") << "Filipino"
                                  << "tl";
        QTest::newRow("serbo-croatian") << "Serbo-Croatian"
                                        << "sh";
        QTest::newRow("no row") << "Elvish"
                                << "en";
        QTest::newRow("empty") << ""
                               << "en";
        QTest::newRow("lower case") << "japanese"
                                    << "en";
        QTest::newRow("trailing blank") << "Japanese "
                                        << "en";
    }

    void googleHl()
    {
        QFETCH(QString, lang);
        QFETCH(QString, hl);
        QCOMPARE(googleHlForLang(lang), hl);
    }

    void bingMarket_data()
    {
        QTest::addColumn<QString>("area");
        QTest::addColumn<QString>("lang");
        QTest::addColumn<QString>("mkt");

        QTest::newRow("canada english") << "Canada"
                                        << "English"
                                        << "en-CA";
        QTest::newRow("canada french") << "Canada"
                                       << "French"
                                       << "fr-CA";
        QTest::newRow("canada german") << "Canada"
                                       << "German"
                                       << "en-US";
        QTest::newRow("canada lower case") << "canada"
                                           << "English"
                                           << "en-US";
        QTest::newRow("canada trailing blank") << "Canada "
                                               << "French"
                                               << "en-US";
        QTest::newRow("canada french lower case") << "Canada"
                                                  << "french"
                                                  << "en-US";
        QTest::newRow("uk english") << "United Kingdom"
                                    << "English"
                                    << "en-UK";
        QTest::newRow("uk welsh") << "United Kingdom"
                                  << "Welsh"
                                  << "en-UK";
        QTest::newRow("germany english") << "Germany"
                                         << "English"
                                         << "de-DE";
        QTest::newRow("china") << "China"
                               << "English"
                               << "zh-CN";
        QTest::newRow("no row") << "Austria"
                                << "German"
                                << "en-US";
        QTest::newRow("empty") << ""
                               << ""
                               << "en-US";
    }

    void bingMarket()
    {
        QFETCH(QString, area);
        QFETCH(QString, lang);
        QFETCH(QString, mkt);
        QCOMPARE(areaForBing(area, lang), mkt);
    }

    void yahooHost_data()
    {
        QTest::addColumn<QString>("area");
        QTest::addColumn<QString>("lang");
        QTest::addColumn<QString>("host");

        const QList<QPair<QString, QString>> hosts = {
            {"United States", "search.yahoo.com"},     {"United Kingdom", "uk.search.yahoo.com"},
            {"Japan", "search.yahoo.co.jp"},           {"Australia", "au.search.yahoo.com"},
            {"Argentina", "ar.search.yahoo.com"},      {"Brazil", "br.search.yahoo.com"},
            {"Chile", "cl.search.yahoo.com"},          {"China", "search.cn.yahoo.com"},
            {"Colombia", "co.search.yahoo.com"},       {"Denmark", "dk.search.yahoo.com"},
            {"Finland", "fi.search.yahoo.com"},        {"France", "fr.search.yahoo.com"},
            {"Germany", "de.search.yahoo.com"},        {"Greece", "gr.search.yahoo.com"},
            {"Hong Kong", "hk.search.yahoo.com"},      {"India", "in.search.yahoo.com"},
            {"Indonesia", "id.search.yahoo.com"},      {"Ireland", "uk.search.yahoo.com"},
            {"Italy", "it.search.yahoo.com"},          {"Korea", "kr.search.yahoo.com"},
            {"Malaysia", "malaysia.search.yahoo.com"}, {"Mexico", "mx.search.yahoo.com"},
            {"Netherlands", "nl.search.yahoo.com"},    {"New Zealand", "nz.search.yahoo.com"},
            {"Norway", "no.search.yahoo.com"},         {"Peru", "pe.search.yahoo.com"},
            {"Philippines", "ph.search.yahoo.com"},    {"Russia", "ru.search.yahoo.com"},
            {"Singapore", "sg.search.yahoo.com"},      {"Spain", "es.search.yahoo.com"},
            {"Sweden", "se.search.yahoo.com"},         {"Taiwan", "tw.search.yahoo.com"},
            {"Thailand", "th.search.yahoo.com"},       {"Vietnam", "vn.search.yahoo.com"},
        };
        // Every country but Canada ignores the language.
        for (const auto& row : hosts) {
            for (const char* lang : {"English", "French", ""})
                QTest::addRow("%s %s", qPrintable(row.first), lang)
                    << row.first << QString::fromLatin1(lang) << row.second;
        }
        QTest::newRow("canada english") << "Canada"
                                        << "English"
                                        << "ca.search.yahoo.com";
        QTest::newRow("canada french") << "Canada"
                                       << "French"
                                       << "qc.search.yahoo.com";
        QTest::newRow("stored french canada") << "Canada "
                                              << "French"
                                              << "qc.search.yahoo.com";
        QTest::newRow("canada spanish") << "Canada"
                                        << "Spanish"
                                        << "";
        QTest::newRow("stored french canada, english") << "Canada "
                                                       << "English"
                                                       << "";
        QTest::newRow("canada lower case") << "canada"
                                           << "English"
                                           << "";
        QTest::newRow("austria") << "Austria"
                                 << "German"
                                 << "";
        QTest::newRow("uk lower case") << "united kingdom"
                                       << "English"
                                       << "";
        QTest::newRow("empty") << ""
                               << ""
                               << "";
    }

    void yahooHost()
    {
        QFETCH(QString, area);
        QFETCH(QString, lang);
        QFETCH(QString, host);

        const QString result = domainForYahoo(area, lang);
        QCOMPARE(result, host);
        QVERIFY(!result.isNull());
    }

    void yahooHostsAreDistinct()
    {
        QSet<QString> hosts;
        for (const QString& area : kDomainKeys + QStringList{"Canada "}) {
            for (const char* lang : {"English", "French"}) {
                const QString host = domainForYahoo(area, QString::fromLatin1(lang));
                if (!host.isEmpty()) {
                    QVERIFY2(host.contains(QLatin1String("yahoo")), qPrintable(host));
                    hosts.insert(host);
                }
            }
        }
        QCOMPARE(hosts.size(), 35);
    }

    void fallbacks_data()
    {
        QTest::addColumn<int>("lookup");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");

        // 0 domainForLang, 1 domainForBing, 2 googleGlForArea, 3 gooleLrForLang,
        // 4 iconLocationForArea
        QTest::newRow("google domain held") << 0 << "Japan"
                                            << "co.jp";
        QTest::newRow("google domain missing") << 0 << "Atlantis"
                                               << "com";
        QTest::newRow("google domain lower case") << 0 << "japan"
                                                  << "com";
        QTest::newRow("bing domain held") << 1 << "Germany"
                                          << "de";
        QTest::newRow("bing domain missing") << 1 << "Austria"
                                             << "www";
        QTest::newRow("gl held") << 2 << "Germany"
                                 << "de";
        QTest::newRow("gl missing") << 2 << "Sweden"
                                    << "us";
        QTest::newRow("gl empty") << 2 << ""
                                  << "us";
        QTest::newRow("lr held") << 3 << "Russian"
                                 << "lang_ru";
        QTest::newRow("lr missing") << 3 << "Thai"
                                    << "lang_en";
        QTest::newRow("flag path held") << 4 << "Sri Lanka"
                                        << ":country/Sri Lanka.png";
        QTest::newRow("flag path missing") << 4 << "Canada "
                                           << ":country/United-States.png";
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

    void yahooLanguage_data()
    {
        QTest::addColumn<QString>("area");
        QTest::addColumn<QString>("lang");
        QTest::addColumn<QString>("code");

        QTest::newRow("us spanish") << "United States"
                                    << "Spanish"
                                    << "es";
        QTest::newRow("us english") << "United States"
                                    << "English"
                                    << "en";
        QTest::newRow("japan") << "Japan"
                               << "English"
                               << "jp";
        QTest::newRow("peru") << "Peru"
                              << "English"
                              << "es";
        QTest::newRow("brasil") << "Brasil"
                                << "English"
                                << "pt";
        QTest::newRow("brazil") << "Brazil"
                                << "Portuguese (Brazil)"
                                << "en";
        QTest::newRow("canada french") << "Canada"
                                       << "French"
                                       << "fr";
        QTest::newRow("canada english") << "Canada"
                                        << "English"
                                        << "en";
        QTest::newRow("hong kong") << "Hong Kong"
                                   << "English"
                                   << "tzh";
        QTest::newRow("taiwan") << "Taiwan"
                                << "English"
                                << "tzh";
        QTest::newRow("indonesia indonesian") << "Indonesia"
                                              << "Indonesian"
                                              << "id";
        QTest::newRow("indonesia english") << "Indonesia"
                                           << "English"
                                           << "en";
        QTest::newRow("korea") << "Korea"
                               << "English"
                               << "kr";
        QTest::newRow("philippines") << "Philippines"
                                     << "English"
                                     << "tl";
        QTest::newRow("vietnam") << "Vietnam"
                                 << "English"
                                 << "vi";
        QTest::newRow("ireland") << "Ireland"
                                 << "English"
                                 << "en";
        QTest::newRow("singapore") << "Singapore"
                                   << "English"
                                   << "en";
    }

    void yahooLanguage()
    {
        QFETCH(QString, area);
        QFETCH(QString, lang);
        QFETCH(QString, code);
        QCOMPARE(langForYahoo(area, lang), code);
    }

    void simpleText_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("text");

        QTest::newRow("google us") << "Google_United States_English"
                                   << "google.com (en)";
        QTest::newRow("google uk") << "Google_United Kingdom_English"
                                   << "google.co.uk (en)";
        QTest::newRow("google portugal") << "Google_Portugal_Portuguese (Portugal)"
                                         << "google.pt (pt-PT)";
        QTest::newRow("yahoo japan") << "Yahoo_Japan_English"
                                     << "yahoo.co.jp (en)";
        QTest::newRow("yahoo canada french") << "Yahoo_Canada_French"
                                             << "qc.yahoo.com (fr)";
        QTest::newRow("yahoo without site") << "Yahoo_Austria_German"
                                            << " (de)";
        QTest::newRow("bing us") << "Bing_United States_English"
                                 << "bing.com (en)";
        QTest::newRow("bing canada") << "Bing_Canada_French"
                                     << "ca.bing.com (fr)";
        QTest::newRow("ask japan") << "Ask_Japan_Japanese"
                                   << "ask.jp (ja)";
        QTest::newRow("aol germany") << "AOL_Germany_German"
                                     << "aol.de (de)";
        QTest::newRow("language keeps underscores") << "Google_Japan_Japanese_x"
                                                    << "google.co.jp (en)";
        QTest::newRow("other engine") << "Lycos_United States_English"
                                      << "";
        QTest::newRow("empty") << ""
                               << "";
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

        QTest::newRow("google first")
            << "Google"
            << "United Kingdom"
            << "English" << 1
            << QByteArray("http://www.google.co.uk/search?hl=en&sa=N&as_qdr=all&start=0&q=c%2B%2B");
        QTest::newRow("google 15") << "Google"
                                   << "Japan"
                                   << "Japanese" << 15
                                   << QByteArray("http://www.google.co.jp/search"
                                                 "?hl=ja&sa=N&as_qdr=all&start=10&q=c%2B%2B");
        QTest::newRow("google 100") << "Google"
                                    << "Atlantis"
                                    << "English" << 100
                                    << QByteArray("http://www.google.com/search"
                                                  "?hl=en&sa=N&as_qdr=all&start=90&q=c%2B%2B");
        QTest::newRow("yahoo 20") << "Yahoo"
                                  << "Canada"
                                  << "French" << 20
                                  << QByteArray("http://qc.search.yahoo.com/search"
                                                "?ei=UTF-8&b=11&p=c%2B%2B");
        QTest::newRow("bing 100") << "Bing"
                                  << "Canada"
                                  << "French" << 100
                                  << QByteArray(
                                         "http://www.bing.com/search"
                                         "?go=&form=W0FD&mkt=fr-CA&filt=all&first=91&q=c%2B%2B");
        QTest::newRow("ask 15") << "Ask"
                                << "United Kingdom"
                                << "English" << 15
                                << QByteArray("http://uk.ask.com/web"
                                              "?qsrc=2417&frstpgo=0&o=0&l=dir&page=2&q=c%2B%2B");
        QTest::newRow("aol 100") << "AOL"
                                 << "Brazil"
                                 << "English" << 100
                                 << QByteArray("http://search.aol.com/aol/search"
                                               "?nt=SG2&page=10&q=c%2B%2B");
        QTest::newRow("below range")
            << "Bing"
            << "Germany"
            << "German" << 0
            << QByteArray("http://www.bing.com/search"
                          "?go=&form=W0FD&mkt=de-DE&filt=all&first=1&q=c%2B%2B");
        QTest::newRow("negative") << "AOL"
                                  << "France"
                                  << "French" << -25
                                  << QByteArray("http://search.aol.fr/aol/search"
                                                "?nt=SG2&page=1&q=c%2B%2B");
        QTest::newRow("above range") << "Yahoo"
                                     << "Spain"
                                     << "Spanish" << 250
                                     << QByteArray("http://es.search.yahoo.com/search"
                                                   "?ei=UTF-8&b=91&p=c%2B%2B");
        QTest::newRow("caffeine") << "Caffeine"
                                  << "United States"
                                  << "English" << 5 << QByteArray();
        QTest::newRow("other engine") << "google"
                                      << "United States"
                                      << "English" << 5 << QByteArray();
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

        QTest::newRow("hl") << ":/Resources/GoogleAreaHl.txt" << LocaleTable::GoogleHlForLang << 131
                            << QStringList() << "";
        QTest::newRow("bing market") << ":/Resources/BingAreaHl.txt" << LocaleTable::AreaForBing
                                     << 47 << QStringList{"CanadaEnglish", "CanadaFrench"} << "";
        QTest::newRow("google domain") << ":/Resources/GoogleAreaDomain.txt"
                                       << LocaleTable::DomainForLang << 157 << QStringList() << "";
        QTest::newRow("bing domain") << ":/Resources/BingAreaDomain.txt"
                                     << LocaleTable::DomainForBing << 46 << QStringList() << "";
        QTest::newRow("flag") << ":/Resources/CountryFlag.txt" << LocaleTable::TabIndexForEngine
                              << 158 << QStringList{"Canada "} << ":country/";
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

    void flagImages()
    {
        if (!QFile::exists(":/country/Canada.png"))
            QSKIP("the flag images are not embedded in this build");

        const QMap<QString, QString>& flags = localeTableRows(LocaleTable::TabIndexForEngine);
        for (const QString& path : flags) {
            // ":country/X.png" resolves from the resource root, as ":/country/X.png".
            QVERIFY2(QFile::exists(path), qPrintable(path));
            QCOMPARE(QFile(path).size(), QFile(":/" + path.mid(1)).size());
        }
        const QIcon canada = iconForAera("Canada");
        QVERIFY(!canada.isNull());
        QVERIFY(!canada.pixmap(16, 16).isNull());
        QVERIFY(iconForAera("Canada ").isNull());
        QVERIFY(iconForAera("Guinea-Bissau").isNull());
        QVERIFY(iconForAera("").isNull());
        QCOMPARE(localeTableRows(LocaleTable::TabIndexForEngine).size(), 157);
    }
};

LT_TEST_MAIN(TestLocaleLookup)
#include "tst_localelookup.moc"
