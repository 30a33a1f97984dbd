#pragma once

#include "CheckRankTask.h"

#include <QByteArray>

// The check of one website and keyword on one Bing engine variant. It follows the
// next-page link of each result page while that link starts at most at result 100, and
// sends request headers and a client cookie of its own.
class BingRankTask : public CheckRankTask
{
    Q_OBJECT

public:
    BingRankTask(SEARCH_ENGINE const* engine, QString website, QString keyword);

    void Start() override;
    bool OnRequestOK(QString page) override;
    void PrepareRequestAndConnect(QUrl url, bool redirect) override;

    // The cookie number drawn from one value of rand(): 0 to 99999.
    static int CookieNumber(int randomValue);
    // The "Cookie" header value with the number filled in (48 characters).
    static QByteArray CookieText(int number);

private:
    LTInt64 m_nFirst; // 1-based position of the next page's first result ("first")
};

// The "first" value of the next-page link of a Bing result page; 0 when the page has
// no such link or the link carries no value.
LTInt64 ExtractBingFirstValue(QString page);
