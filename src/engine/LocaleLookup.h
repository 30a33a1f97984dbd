#pragma once

// Per-country and per-language values of the search engines: the codes, hosts and flag
// icons that an engine variant's country and language names stand for. Names are the
// English country and language names of the engine catalogue and are compared exactly
// (case and blanks count).

#include <QIcon>
#include <QString>
#include <QUrl>

// Bing's search host: country and language choose only the market, never the host.
inline constexpr char BingSearchHost[] = "www.bing.com";

// Builders of the lookup tables. Each empties its table and fills it with the fixed
// rows. The lookups run them all before they first read a table, so callers never need
// to; running one again leaves the same rows.
void InitGoogleHlForLang();
void InitAreaForBing();
void InitDomainForLang();
void InitDomainForBing();
void InitTabIndexForEngine();
void InitGooleLrForLang();
void InitGoogleGlForArea();

// Google interface language ("hl") of a language name; "en" for names without a row.
QString googleHlForLang(const QString& lang);
// Bing market ("mkt") of a country and language; "en-US" for countries without a row.
QString areaForBing(const QString& area, const QString& lang);
// Host of the country's Yahoo search site; empty for countries without one.
QString domainForYahoo(const QString& area, QString lang);
// Flag of a country; a null icon for countries without a row.
QIcon iconForAera(const QString& area);

// Google domain suffix of a country ("co.uk"); "com" for countries without a row.
QString domainForLang(const QString& area);
// First label of the country's Bing host; "www" for countries without a row.
QString domainForBing(const QString& area);
// Google country code ("gl"); "us" for countries without a row.
QString googleGlForArea(const QString& area);
// Google language restriction ("lr"); "lang_en" for names without a row.
QString gooleLrForLang(const QString& lang);
// Resource path of the country's flag; the United States flag for countries without a row.
QString iconLocationForArea(const QString& area);
// Tab of an engine name in the engine tabs: Google 0, Yahoo 1, Bing 2, Ask 3, AOL 4.
int tabIndexForEngine(const QString& engine);
QIcon iconForEngine(const QString& engine);
QString iconLocationInRes(const QString& engine);
QString domainForAol(const QString& area);
QString domainForAsk(const QString& area);
// Yahoo language code of a country and language; "en" for pairs without a row.
QString langForYahoo(const QString& area, const QString& lang);
// Short display text of an engine key ("Google_United Kingdom_English" gives
// "google.co.uk (en)"); empty for engines other than Google, Yahoo, Bing, Ask and AOL.
QString simpleTextForEngine(const QString& engineKey);
// Address of the ten-result page that holds a position (1 to 100; positions outside are
// taken as the nearest end); empty for unknown engines.
QUrl resultPageForEngine(const QString& engine, const QString& keyword, const QString& area,
                         const QString& lang, int position);
