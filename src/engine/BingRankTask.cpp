#include "BingRankTask.h"

#include "HttpRequestEnvir.h"
#include "KeywordCheckService.h"
#include "PageRegExp.h"
#include "RankHub.h"
#include "Regex.h"

#include <QDebug>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QRegExp>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <limits>

namespace {

const char kBingUserAgent[] =
    "Mozilla/4.0 (compatible; MSIE 8.0; Windows NT 6.1; Trident/4.0; SLCC2; .NET CLR 2.0.50727; "
    ".NET CLR 3.5.30729; .NET CLR 3.0.30729; Media Center PC 6.0; .NET4.0C; .NET4.0E)";
const char kBingCookieTemplate[] = "_EDGE_V=1; MUID=7A%05dC29E41B8D03F6A7E15B94C2D8";

// Pages whose first result lies beyond this are not read.
constexpr LTInt64 kBingLastFirst = 100;

// Decimal value of a run of ASCII digits, saturating instead of overflowing: a next-page
// value of any length stays a large positive number.
LTInt64 saturatingDecimal(const QString& digits)
{
    constexpr LTInt64 limit = std::numeric_limits<int>::max();
    LTInt64 value = 0;
    for (const QChar c : digits) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            break;
        value = value * 10 + (c.unicode() - '0');
        if (value >= limit)
            return limit;
    }
    return value;
}

} // namespace

BingRankTask::BingRankTask(SEARCH_ENGINE const* engine, QString website, QString keyword)
    : CheckRankTask(engine, std::move(website), std::move(keyword)), m_nFirst(1)
{}

void BingRankTask::Start()
{
    const QUrl url =
        KeywordCheckService::BuildBingSearchURL(m_nFirst, m_strKeyword, m_strArea, m_strLang);
    PrepareRequestAndConnect(url, false);
}

int BingRankTask::CookieNumber(int randomValue)
{
    // In floating point: rand() / 2^31 in integers is always 0.
    return int(randomValue / 2147483648.0 * 100000);
}

QByteArray BingRankTask::CookieText(int number)
{
    char text[64];
    std::snprintf(text, sizeof(text), kBingCookieTemplate, number);
    return QByteArray(text);
}

void BingRankTask::PrepareRequestAndConnect(QUrl url, bool redirect)
{
    QNetworkRequest request;
    if (redirect && m_pReply) {
        // The same request, headers and cookie included, goes to the redirect target.
        request = m_pReply->request();
        qDebug() << request.url();
        request.setUrl(url);
    } else {
        request.setUrl(url);
        request.setRawHeader("User-Agent", kBingUserAgent);
        std::srand(unsigned(std::time(nullptr)));
        const int number = CookieNumber(std::rand());
        request.setRawHeader("Accept", "*/*");
        request.setRawHeader("Accept-Language", "none");
        request.setRawHeader("Cookie", CookieText(number));
        // Cookies the engine set would replace ours; the request carries only its own.
        request.setAttribute(QNetworkRequest::CookieLoadControlAttribute, QNetworkRequest::Manual);
    }
    TrackReply(m_pEnvir->NetworkAccessManager()->get(request));
}

bool BingRankTask::OnRequestOK(QString page)
{
    const long position =
        KeywordCheckService::AnalyseBingRank(page, m_strWebsite, m_strFoundUrl, m_nResult);
    switch (m_nResult) {
    case RRT_Found:
        m_nRank = m_nFirst - 1 + position;
        return true;
    case RRT_NotFound: {
        const LTInt64 next = ExtractBingFirstValue(page);
        // A link that does not move forward would read the same pages for ever: it counts
        // as no next-page link.
        if (next == 0 || next <= m_nFirst) {
            m_nResult = RRT_NoResult;
            m_strMessage = QStringLiteral("LessContent");
            return true;
        }
        if (next > kBingLastFirst)
            return true;
        m_nFirst = next;
        StartPageTimer();
        return false;
    }
    default: // a page without results
        return true;
    }
}

LTInt64 ExtractBingFirstValue(QString page)
{
    RankHub* hub = RankHub::Current();
    const QString pattern = hub ? hub->GetRegexp(REGEXP_BingNextUrl) : QString();
    // Bounded like the result links: a page full of next-link openings that never close
    // would otherwise take quadratic time here.
    PageRegExp next(pattern, Qt::CaseInsensitive, true);
    page.truncate(Regex::MaxPageLength);
    next.setPage(page);
    if (pattern.isEmpty() || next.indexIn(0) < 0) {
        qDebug() << "******************can not find bing next url************";
        return 0;
    }
    const QString link = next.cap(1);
    QRegExp first(QStringLiteral("first=(\\d+)"), Qt::CaseSensitive, QRegExp::RegExp);
    if (first.indexIn(link) < 0)
        return 0;
    return saturatingDecimal(first.cap(1));
}
