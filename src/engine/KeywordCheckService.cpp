#include "KeywordCheckService.h"

#include "LocaleLookup.h"
#include "SearchQuery.h"

KeywordCheckService::KeywordCheckService(QObject* parent) : QObject(parent) {}

// Paging items that hold the engine's own default are left out, as browsers send them.

QUrl KeywordCheckService::BuildGoogleSearchURL(LTInt64 start, LTInt64 num, QString keyword,
                                               QString host, QString lang)
{
    QList<SearchQuery::Item> items;
    items.append({QStringLiteral("hl"), googleHlForLang(lang)});
    if (start != 0)
        items.append({QStringLiteral("start"), QString::number(start)});
    if (num != 10)
        items.append({QStringLiteral("num"), QString::number(num)});
    items.append({QStringLiteral("as_dpr"), QStringLiteral("all")});
    items.append({QStringLiteral("sa"), QStringLiteral("N")});
    items.append({QStringLiteral("q"), keyword});
    return SearchQuery::MakeUrl(QStringLiteral("http://%1/search?").arg(host), items);
}

QUrl KeywordCheckService::BuildYahooSearchURL(LTInt64 first, LTInt64 num, QString keyword,
                                              QString area, QString lang)
{
    QList<SearchQuery::Item> items;
    if (num != 10)
        items.append({QStringLiteral("n"), QString::number(num)});
    items.append({QStringLiteral("ei"), QStringLiteral("UTF-8")});
    if (first != 1)
        items.append({QStringLiteral("b"), QString::number(first)});
    items.append({QStringLiteral("p"), keyword});
    return SearchQuery::MakeUrl(QStringLiteral("http://%1/search?").arg(domainForYahoo(area, lang)),
                                items);
}

QUrl KeywordCheckService::BuildBingSearchURL(LTInt64 first, QString keyword, QString area,
                                             QString lang)
{
    QList<SearchQuery::Item> items;
    items.append({QStringLiteral("go"), QLatin1String("")});
    items.append({QStringLiteral("form"), QStringLiteral("W0FD")});
    items.append({QStringLiteral("mkt"), areaForBing(area, lang)});
    items.append({QStringLiteral("filt"), QStringLiteral("all")});
    if (first != 1)
        items.append({QStringLiteral("first"), QString::number(first)});
    items.append({QStringLiteral("q"), keyword});
    return SearchQuery::MakeUrl(
        QStringLiteral("http://%1/search?").arg(QLatin1String(BingSearchHost)), items);
}
