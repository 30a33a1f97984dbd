#include "YahooRankTask.h"

#include "KeywordCheckService.h"

#include <QDebug>

namespace {

// Ten pages of ten: row k starts at result 10k + 1.
constexpr LTInt64 kYahooPageCount = 10;
constexpr LTInt64 kYahooPageSize = 10;

LTInt64 firstOfRow(LTInt64 row)
{
    return row * kYahooPageSize + 1;
}

} // namespace

YahooRankTask::YahooRankTask(SEARCH_ENGINE const* engine, QString website, QString keyword)
    : CheckRankTask(engine, std::move(website), std::move(keyword)), m_nB(firstOfRow(0)),
      m_nN(kYahooPageSize), m_nPageIndex(0)
{}

void YahooRankTask::Start()
{
    const QUrl url =
        KeywordCheckService::BuildYahooSearchURL(m_nB, m_nN, m_strKeyword, m_strArea, m_strLang);
    qDebug() << url.toString();
    PrepareRequestAndConnect(url, false);
}

bool YahooRankTask::OnRequestOK(QString page)
{
    const long position =
        KeywordCheckService::AnalyseYahooRank(page, m_strWebsite, m_strFoundUrl, m_nResult);
    switch (m_nResult) {
    case RRT_Found:
        m_nRank = firstOfRow(m_nPageIndex) - 1 + position;
        return true;
    case RRT_NotFound:
        if (++m_nPageIndex >= kYahooPageCount)
            return true;
        m_nB = firstOfRow(m_nPageIndex);
        m_nN = kYahooPageSize;
        StartPageTimer();
        return false;
    default: // a page without results
        return true;
    }
}
