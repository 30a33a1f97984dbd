#pragma once

#include "CheckRankTask.h"
#include "Records.h"

#include <QList>
#include <QObject>
#include <QPair>
#include <QString>

// Reads the result links of one Google, Bing or Yahoo result page with the result-page
// patterns: each entry is a link that may belong to the website, with its position count
// on the page, in page order.
class Regex : public QObject
{
    Q_OBJECT

public:
    // Longest page text that is parsed; the rest of a longer page is ignored. Real result
    // pages stay far below it.
    static constexpr int MaxPageLength = 4 * 1024 * 1024;
    // Most entries the places and video blocks of one page may yield. Every places or
    // video link of a page repeats the entries of all places or video blocks of the page,
    // so a page made of many of both would otherwise yield the product of the two counts.
    static constexpr int MaxEntries = 10000;

    explicit Regex(QObject* parent = nullptr);
    ~Regex() override;

    // Chooses the engine's pattern for the page and extracts with it. An engine other
    // than Google, Bing and Yahoo gives an empty list and leaves 'result' as it was.
    QList<QPair<int, QString>> getResultsMatch(EnuSearchEngineType engine, const QString& page,
                                               const QString& website, RANK_REUSLT_TYPE& result);
    // Extracts with the given pattern; sets 'result' to 4 when the page has no counted link.
    QList<QPair<int, QString>> getMatches(QString pattern, QString page, const QString& website,
                                          RANK_REUSLT_TYPE& result);

    void setAolPattern2(bool on);
    void setBingApiPattern(bool on);
    void setGoogleApiPattern(bool on);
    void setYahooJapanPattern(bool on);
    void setYahooApiPattern(bool on);

private:
    bool m_bAolPattern2;
    bool m_bBingApiPattern;
    bool m_bGoogleApiPattern;
    bool m_bYahooJapanPattern;
    bool m_bYahooApiPattern;
};

// The engine's first pattern whose first match on the page has a link with a scheme, or
// the fallback text "donot any proper regular expression" when none has.
QString SelectGoogleRegular(const QString& page);
QString SelectYahooRegular(const QString& page);
QString SelectBingRegular(const QString& page);
