#include "GoogleRankTask.h"

#include "KeywordCheckService.h"

#include <iterator>

namespace {

struct GooglePage {
    LTInt64 start; // also the number of results before the page
    LTInt64 num;
};

// Results 1-10, 11-30 and 31-100.
constexpr GooglePage kGooglePages[] = {{0, 10}, {10, 20}, {30, 70}};
constexpr LTInt64 kGooglePageCount = LTInt64(std::size(kGooglePages));

} // namespace

GoogleRankTask::GoogleRankTask(SEARCH_ENGINE const* engine, QString website, QString keyword)
    : CheckRankTask(engine, std::move(website), std::move(keyword)),
      m_nStart(kGooglePages[0].start), m_nNum(kGooglePages[0].num), m_nPageIndex(0)
{}

void GoogleRankTask::Start()
{
    const QUrl url = KeywordCheckService::BuildGoogleSearchURL(m_nStart, m_nNum, m_strKeyword,
                                                               m_strSearchEngine, m_strLang);
    PrepareRequestAndConnect(url, false);
}

bool GoogleRankTask::OnRequestOK(QString page)
{
    const long position =
        KeywordCheckService::AnalyseGoogleRank(page, m_strWebsite, m_strFoundUrl, m_nResult);
    switch (m_nResult) {
    case RRT_Found:
        m_nRank = kGooglePages[m_nPageIndex].start + position;
        return true;
    case RRT_NotFound:
        if (++m_nPageIndex >= kGooglePageCount)
            return true;
        m_nStart = kGooglePages[m_nPageIndex].start;
        m_nNum = kGooglePages[m_nPageIndex].num;
        StartPageTimer();
        return false;
    default: // a page without results
        return true;
    }
}
