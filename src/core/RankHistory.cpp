#include "RankHistory.h"

#include <iterator>

namespace {
const LTInt64 kNoRank = 2147483647;

const FLOW_ITEM* newestPoint(const RANK_DATA* series)
{
    if (!series || series->FlowItems.empty())
        return nullptr;
    return &series->FlowItems.back();
}

bool isSeriesOf(const RANK_DATA* series, const QString& website, const QString& searchEngine)
{
    return series && series->Website == website && series->SearchEngine == searchEngine;
}

bool sameMeasurementKey(const UPDATE_FLOW& a, const UPDATE_FLOW& b)
{
    return a.Website == b.Website && a.SearchEngine == b.SearchEngine && a.Lang == b.Lang &&
           a.Keyword == b.Keyword;
}

void countIntoBand(LTInt64 rank, RankDistribution& distribution)
{
    if (rank <= 0)
        return; // a failed check belongs to no band
    if (rank <= 10)
        ++distribution.Rank1To10;
    else if (rank <= 30)
        ++distribution.Rank11To30;
    else if (rank <= 100)
        ++distribution.Rank31To100;
    else
        ++distribution.RankOver100;
}

// Newest element of the list with the same key and day as the measurement; the scan
// gives up at the first element of an earlier day.
std::list<UPDATE_FLOW>::const_iterator findSameDay(const std::list<UPDATE_FLOW>& flows,
                                                   const UPDATE_FLOW& flow)
{
    const QDate day = flow.SearchTime.date();
    for (auto it = flows.rbegin(); it != flows.rend(); ++it) {
        const QDate itemDay = it->SearchTime.date();
        if (itemDay < day)
            break;
        if (itemDay == day && sameMeasurementKey(*it, flow))
            return std::prev(it.base());
    }
    return flows.end();
}

// Appends *from and the elements before it while they carry its update number; returns
// the position of the first element not taken (rend when the list start was reached).
std::list<UPDATE_FLOW>::reverse_iterator appendRun(std::list<UPDATE_FLOW>::reverse_iterator from,
                                                   std::list<UPDATE_FLOW>::reverse_iterator end,
                                                   std::vector<UPDATE_FLOW*>& out)
{
    const LTInt64 number = from->UpdateNo;
    for (; from != end && from->UpdateNo == number; ++from)
        out.push_back(&*from);
    return from;
}

std::list<UPDATE_FLOW>::reverse_iterator findWebsite(std::list<UPDATE_FLOW>::reverse_iterator from,
                                                     std::list<UPDATE_FLOW>::reverse_iterator end,
                                                     const QString& website)
{
    for (; from != end; ++from) {
        if (from->Website == website)
            break;
    }
    return from;
}
} // namespace

SCHEDUAL* FindSchedual(QString website, std::vector<SCHEDUAL>& scheduals, int* index)
{
    for (std::size_t i = 0; i < scheduals.size(); ++i) {
        if (scheduals[i].Website == website) {
            if (index)
                *index = int(i);
            return &scheduals[i];
        }
    }
    return nullptr;
}

RANK_DATA* Find_RankData(const std::vector<RANK_DATA*>& rankData, QString website,
                         QString searchEngine, QString keyword)
{
    for (RANK_DATA* series : rankData) {
        if (series && series->Keyword == keyword && series->SearchEngine == searchEngine &&
            series->Website == website)
            return series;
    }
    return nullptr;
}

bool ValidatedUpdate(const std::vector<WEBSITE>& websites, const UPDATE_FLOW& flow)
{
    // A website that matches in URL only does not end the search: another website of
    // the same URL may hold the keyword.
    for (const WEBSITE& website : websites) {
        if (website.Website != flow.Website || !website.Keywords.contains(flow.Keyword))
            continue;
        for (const SEARCH_ENGINE& engine : website.SearchEngines) {
            if (engine.SearchEngine == flow.SearchEngine && engine.Lang == flow.Lang)
                return true;
        }
    }
    return false;
}

namespace {
RANK_DATA* AppendRankData(std::vector<RANK_DATA*>& rankData, const QString& website,
                          const QString& searchEngine, const QString& keyword, const QString& lang)
{
    auto* series = new RANK_DATA;
    series->Website = website;
    series->Keyword = keyword;
    series->SearchEngine = searchEngine;
    series->Lang = lang;
    rankData.push_back(series);
    return series;
}
} // namespace

RANK_DATA* AssignProperRankData(std::vector<RANK_DATA*>& rankData, const UPDATE_FLOW& flow)
{
    if (RANK_DATA* series = Find_RankData(rankData, flow.Website, flow.SearchEngine, flow.Keyword))
        return series;
    return AppendRankData(rankData, flow.Website, flow.SearchEngine, flow.Keyword, flow.Lang);
}

RankDataIndex::RankDataIndex(std::vector<RANK_DATA*>& rankData) : m_rankData(rankData)
{
    m_index.reserve(qsizetype(rankData.size()));
    for (RANK_DATA* series : rankData) {
        if (!series)
            continue;
        const Key key{series->Website, series->SearchEngine, series->Keyword};
        if (!m_index.contains(key))
            m_index.insert(key, series);
    }
}

RANK_DATA* RankDataIndex::Assign(const QString& website, const QString& searchEngine,
                                 const QString& keyword, const QString& lang)
{
    RANK_DATA*& series = m_index[Key{website, searchEngine, keyword}];
    if (!series)
        series = AppendRankData(m_rankData, website, searchEngine, keyword, lang);
    return series;
}

LTInt64 GetLastRank(const RANK_DATA* series)
{
    const FLOW_ITEM* newest = newestPoint(series);
    return newest ? newest->Rank : 0;
}

LTInt64 GetRankFirst(const RANK_DATA* series)
{
    if (!series || series->FlowItems.empty())
        return 0;
    return series->FlowItems.front().Rank;
}

LTInt64 GetRankPrevious(const RANK_DATA* series)
{
    if (!series || series->FlowItems.size() < 2)
        return 0;
    return series->FlowItems[series->FlowItems.size() - 2].Rank;
}

LTInt64 FindBestRank(const RANK_DATA* series)
{
    if (!series)
        return 0;
    LTInt64 best = kNoRank;
    for (const FLOW_ITEM& item : series->FlowItems) {
        if (item.Rank != 0 && item.Rank < best)
            best = item.Rank;
    }
    return best == kNoRank ? 0 : best;
}

void FindStartAndEndIndex(const RANK_DATA* series, QDate from, QDate to, int& start, int& end)
{
    start = -1;
    end = -1;
    if (!series)
        return;
    const std::vector<FLOW_ITEM>& items = series->FlowItems;
    const int count = int(items.size());
    for (int i = 0; i < count; ++i) {
        if (items[std::size_t(i)].SearchTime.date() >= from) {
            start = i;
            break;
        }
    }
    if (start < 0)
        return;
    for (int i = start; i < count; ++i) {
        if (items[std::size_t(i)].SearchTime.date() <= to)
            end = i;
    }
}

QDateTime QueryWebsitesLastUpdateTime(const QString& website,
                                      const std::vector<RANK_DATA*>& rankData)
{
    QDateTime latest;
    for (const RANK_DATA* series : rankData) {
        if (!series || series->Website != website)
            continue;
        const FLOW_ITEM* newest = newestPoint(series);
        if (!newest || !newest->SearchTime.isValid())
            continue;
        if (!latest.isValid() || latest < newest->SearchTime)
            latest = newest->SearchTime;
    }
    return latest;
}

bool HasUpdatedThisDay(RANK_DATA* series, const UPDATE_FLOW& flow, LTInt64& updateNo)
{
    const FLOW_ITEM* newest = newestPoint(series);
    if (!newest || newest->SearchTime.date() != flow.SearchTime.date())
        return false;
    updateNo = newest->UpdateNo;
    return true;
}

bool HasUpdateSuccessThisDay(const std::vector<RANK_DATA*>& rankData, QString website,
                             QString searchEngine, QString keyword)
{
    const FLOW_ITEM* newest = newestPoint(Find_RankData(rankData, website, searchEngine, keyword));
    if (!newest || newest->SearchTime.date() != QDate::currentDate())
        return false;
    return newest->Rank != 0;
}

void StatKeywordRankDistribution(const std::vector<RANK_DATA*>& rankData, QString website,
                                 QString searchEngine, RankDistribution& distribution)
{
    distribution = RankDistribution();
    for (const RANK_DATA* series : rankData) {
        if (!isSeriesOf(series, website, searchEngine))
            continue;
        if (series->FlowItems.empty())
            ++distribution.RankOver100;
        else
            countIntoBand(series->FlowItems.back().Rank, distribution);
    }
}

void StatRankChangeKeywordCount(const std::vector<RANK_DATA*>& rankData, QString website,
                                QString searchEngine, RankChangeKeywordCount& count)
{
    count = RankChangeKeywordCount();
    for (const RANK_DATA* series : rankData) {
        if (!isSeriesOf(series, website, searchEngine))
            continue;
        const std::size_t n = series->FlowItems.size();
        if (n < 2) {
            ++count.RankUnchange;
            continue;
        }
        // A failed check (rank 0) says nothing about the position: no move either way.
        // 101 compares as a plain number.
        const LTInt64 newest = series->FlowItems[n - 1].Rank;
        const LTInt64 previous = series->FlowItems[n - 2].Rank;
        if (newest == 0 || previous == 0)
            ++count.RankUnchange;
        else if (newest < previous)
            ++count.RankUp;
        else if (newest > previous)
            ++count.RankDown;
        else
            ++count.RankUnchange;
    }
}

UPDATE_FLOW* FindUpdateFlow(const std::vector<UPDATE_FLOW*>& flows, const QString& keyword,
                            const QString& searchEngine)
{
    for (UPDATE_FLOW* flow : flows) {
        if (flow && flow->Keyword == keyword && flow->SearchEngine == searchEngine)
            return flow;
    }
    return nullptr;
}

LTInt64 CalcRankChange(const std::vector<UPDATE_FLOW*>& first,
                       const std::vector<UPDATE_FLOW*>& second, const QString& keyword,
                       const QString& searchEngine)
{
    const UPDATE_FLOW* older = FindUpdateFlow(first, keyword, searchEngine);
    const UPDATE_FLOW* newer = FindUpdateFlow(second, keyword, searchEngine);
    if (!older || !newer || older == newer)
        return kNoRank;
    return newer->Rank - older->Rank;
}

void StatKeywordRankDistribution(const std::vector<UPDATE_FLOW*>& flows,
                                 const QString& searchEngine, const QStringList& keywords,
                                 RankDistribution& distribution)
{
    distribution = RankDistribution();
    for (const UPDATE_FLOW* flow : flows) {
        if (flow && flow->SearchEngine == searchEngine && keywords.contains(flow->Keyword))
            countIntoBand(flow->Rank, distribution);
    }
}

bool HasUpdatedThisDay(const std::list<UPDATE_FLOW>& flows, const UPDATE_FLOW& flow,
                       LTInt64& updateNo)
{
    const auto found = findSameDay(flows, flow);
    if (found == flows.end())
        return false;
    updateNo = found->UpdateNo;
    return true;
}

void ReplaceToUpdateFlow(std::list<UPDATE_FLOW>& flows, const UPDATE_FLOW& flow)
{
    const auto found = findSameDay(flows, flow);
    if (found == flows.end())
        return;
    // An empty erase turns the found position into a writable iterator.
    *flows.erase(found, found) = flow;
}

const UPDATE_FLOW* FindBestRank(const std::list<UPDATE_FLOW>& flows, const QString& website,
                                const QString& keyword, const QString& searchEngine)
{
    const UPDATE_FLOW* best = nullptr;
    for (const UPDATE_FLOW& flow : flows) {
        if (flow.Website != website || flow.Keyword != keyword || flow.SearchEngine != searchEngine)
            continue;
        if (!best || flow.Rank < best->Rank)
            best = &flow;
    }
    return best;
}

void QueryLastFlows(std::list<UPDATE_FLOW>& flows, const QString& website,
                    std::vector<UPDATE_FLOW*>& out)
{
    const auto newest = findWebsite(flows.rbegin(), flows.rend(), website);
    if (newest != flows.rend())
        appendRun(newest, flows.rend(), out);
}

void QueryPreviousFlows(std::list<UPDATE_FLOW>& flows, const QString& website,
                        std::vector<UPDATE_FLOW*>& out)
{
    auto it = findWebsite(flows.rbegin(), flows.rend(), website);
    if (it == flows.rend())
        return;
    const LTInt64 newestRun = it->UpdateNo;
    while (it != flows.rend() && it->UpdateNo == newestRun)
        ++it;
    it = findWebsite(it, flows.rend(), website);
    if (it != flows.rend())
        appendRun(it, flows.rend(), out);
}
