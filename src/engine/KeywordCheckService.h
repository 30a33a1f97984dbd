#pragma once

#include "CheckRankTask.h"
#include "Records.h"

#include <QObject>
#include <QString>
#include <QUrl>

// The stateless services of a rank check: the addresses of the engines' result pages
// and the reading of those pages. Every operation is static; no instance is made.
class KeywordCheckService : public QObject
{
    Q_OBJECT

public:
    explicit KeywordCheckService(QObject* parent = nullptr);

    // Result page of Google on the given host: results from offset `start` (0 for the
    // first page), `num` of them.
    static QUrl BuildGoogleSearchURL(LTInt64 start, LTInt64 num, QString keyword, QString host,
                                     QString lang);
    // Result page of the country's Yahoo site: results from number `first` (1 for the
    // first page), `num` of them. The host is empty for countries without a Yahoo site.
    static QUrl BuildYahooSearchURL(LTInt64 first, LTInt64 num, QString keyword, QString area,
                                    QString lang);
    // Result page of Bing from result number `first` (1 for the first page); country and
    // language choose the market, never the host.
    static QUrl BuildBingSearchURL(LTInt64 first, QString keyword, QString area, QString lang);

    // Reading one decoded result page: the position of the first result link that belongs
    // to the website, or 0 when none does. A found link is written to `foundUrl` as the
    // page spells it and the result becomes 1; otherwise the result is 2, or 4 for a page
    // without result links, and `foundUrl` is left alone.
    static long AnalyseGoogleRank(QString page, QString website, QString& foundUrl,
                                  RANK_REUSLT_TYPE& result);
    static long AnalyseYahooRank(QString page, QString website, QString& foundUrl,
                                 RANK_REUSLT_TYPE& result);
    static long AnalyseBingRank(QString page, QString website, QString& foundUrl,
                                RANK_REUSLT_TYPE& result);
};
