// The page analysers of KeywordCheckService: result-link extraction, then website matching.

#include "KeywordCheckService.h"
#include "Regex.h"
#include "WebsiteMatch.h"

namespace {

long Analyse(EnuSearchEngineType engine, bool lowerCaseLinks, const QString& page, QString website,
             QString& foundUrl, RANK_REUSLT_TYPE& result)
{
    result = RRT_NotFound;
    website = TrimUrl(website);
    Regex regex;
    const QList<QPair<int, QString>> entries = regex.getResultsMatch(engine, page, website, result);
    // Where the links are compared in lower case the website must be too, or a website
    // whose path has capitals could never be found.
    const QString owner = lowerCaseLinks ? website.toLower() : website;
    for (const QPair<int, QString>& entry : entries) {
        const QString link = TrimUrl(lowerCaseLinks ? entry.second.toLower() : entry.second);
        if (IsIncludeWebsite(owner, link)) {
            result = RRT_Found;
            foundUrl = entry.second;
            return long(entry.first);
        }
    }
    return 0;
}

} // namespace

long KeywordCheckService::AnalyseGoogleRank(QString page, QString website, QString& foundUrl,
                                            RANK_REUSLT_TYPE& result)
{
    return Analyse(SE_Google, false, page, website, foundUrl, result);
}

long KeywordCheckService::AnalyseYahooRank(QString page, QString website, QString& foundUrl,
                                           RANK_REUSLT_TYPE& result)
{
    return Analyse(SE_Yahoo, true, page, website, foundUrl, result);
}

long KeywordCheckService::AnalyseBingRank(QString page, QString website, QString& foundUrl,
                                          RANK_REUSLT_TYPE& result)
{
    return Analyse(SE_Bing, true, page, website, foundUrl, result);
}
