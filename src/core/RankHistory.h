#pragma once

#include "Records.h"

#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStringList>

#include <list>
#include <vector>

// Questions about the rank series held in memory, and about lists of raw measurements.
// Nothing here keeps state or owns anything: returned pointers point into the caller's
// containers. Absence is answered with a neutral value (null, 0, -1, false, a null
// time), also for a null series.

// Schedules and series.
SCHEDUAL* FindSchedual(QString website, std::vector<SCHEDUAL>& scheduals, int* index = nullptr);
RANK_DATA* Find_RankData(const std::vector<RANK_DATA*>& rankData, QString website,
                         QString searchEngine, QString keyword);

// Does a measurement fit one of the websites (URL, keyword, engine host and language)?
bool ValidatedUpdate(const std::vector<WEBSITE>& websites, const UPDATE_FLOW& flow);
// The series of the measurement's key; a new, empty one is appended when there is none.
RANK_DATA* AssignProperRankData(std::vector<RANK_DATA*>& rankData, const UPDATE_FLOW& flow);

// The series of a list by website, engine host and keyword, for code that looks up many
// keys at once (the load, the merge): a hash instead of a walk of the list per key. As in
// AssignProperRankData, the first series of a key in list order wins and a missing one
// is appended to the list.
class RankDataIndex
{
public:
    explicit RankDataIndex(std::vector<RANK_DATA*>& rankData);

    RANK_DATA* Assign(const QString& website, const QString& searchEngine, const QString& keyword,
                      const QString& lang);
    RANK_DATA* Assign(const UPDATE_FLOW& flow)
    {
        return Assign(flow.Website, flow.SearchEngine, flow.Keyword, flow.Lang);
    }

private:
    struct Key {
        QString website;
        QString searchEngine;
        QString keyword;
        bool operator==(const Key& other) const
        {
            return keyword == other.keyword && searchEngine == other.searchEngine &&
                   website == other.website;
        }
        friend size_t qHash(const Key& key, size_t seed = 0)
        {
            return qHashMulti(seed, key.website, key.searchEngine, key.keyword);
        }
    };

    std::vector<RANK_DATA*>& m_rankData;
    QHash<Key, RANK_DATA*> m_index;
};

// Readers of one series; the last point is the newest.
LTInt64 GetLastRank(const RANK_DATA* series);
LTInt64 GetRankFirst(const RANK_DATA* series);
LTInt64 GetRankPrevious(const RANK_DATA* series);
// Smallest rank that is not a failed check; 0 when there is none.
LTInt64 FindBestRank(const RANK_DATA* series);
// First and last index of the points whose day lies in [from, to]; -1 for none.
void FindStartAndEndIndex(const RANK_DATA* series, QDate from, QDate to, int& start, int& end);

QDateTime QueryWebsitesLastUpdateTime(const QString& website,
                                      const std::vector<RANK_DATA*>& rankData);
// Is the newest point of the series of the measurement's day? Hands back its number.
bool HasUpdatedThisDay(RANK_DATA* series, const UPDATE_FLOW& flow, LTInt64& updateNo);
// Was the series checked today with an answer (rank not 0)?
bool HasUpdateSuccessThisDay(const std::vector<RANK_DATA*>& rankData, QString website,
                             QString searchEngine, QString keyword);

void StatKeywordRankDistribution(const std::vector<RANK_DATA*>& rankData, QString website,
                                 QString searchEngine, RankDistribution& distribution);
void StatRankChangeKeywordCount(const std::vector<RANK_DATA*>& rankData, QString website,
                                QString searchEngine, RankChangeKeywordCount& count);

// The same questions over lists of raw measurements (oldest first).
UPDATE_FLOW* FindUpdateFlow(const std::vector<UPDATE_FLOW*>& flows, const QString& keyword,
                            const QString& searchEngine);
// Rank of the measurement in `second` minus that in `first`; 2147483647 when either is
// missing or both are the same measurement.
LTInt64 CalcRankChange(const std::vector<UPDATE_FLOW*>& first,
                       const std::vector<UPDATE_FLOW*>& second, const QString& keyword,
                       const QString& searchEngine);
void StatKeywordRankDistribution(const std::vector<UPDATE_FLOW*>& flows,
                                 const QString& searchEngine, const QStringList& keywords,
                                 RankDistribution& distribution);
bool HasUpdatedThisDay(const std::list<UPDATE_FLOW>& flows, const UPDATE_FLOW& flow,
                       LTInt64& updateNo);
void ReplaceToUpdateFlow(std::list<UPDATE_FLOW>& flows, const UPDATE_FLOW& flow);
const UPDATE_FLOW* FindBestRank(const std::list<UPDATE_FLOW>& flows, const QString& website,
                                const QString& keyword, const QString& searchEngine);
// The newest run (one update number) that holds a measurement of the website, newest
// first; QueryPreviousFlows gives the run before it.
void QueryLastFlows(std::list<UPDATE_FLOW>& flows, const QString& website,
                    std::vector<UPDATE_FLOW*>& out);
void QueryPreviousFlows(std::list<UPDATE_FLOW>& flows, const QString& website,
                        std::vector<UPDATE_FLOW*>& out);
