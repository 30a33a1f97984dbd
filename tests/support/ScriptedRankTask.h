#pragma once

#include "CheckRankTask.h"

#include <QStringList>

// A check that stands in for the engine checks: it asks the engine host for
// "/search?q=<keyword>&page=<n>", reads the links of the page (`<a class="r" href="...">`),
// ends on the first link that contains the website (rank = 10 per page read before plus
// the position), reads `pages` pages at most, and ends with 4 on a page without links.
class ScriptedRankTask : public CheckRankTask
{
    Q_OBJECT

public:
    ScriptedRankTask(SEARCH_ENGINE const* engine, QString website, QString keyword, int pages = 2);

    void Start() override;
    bool OnRequestOK(QString page) override;

    int page() const { return m_nPage; }
    int starts() const { return m_nStarts; }
    const QStringList& pagesRead() const { return m_pagesRead; }
    // Every URL requested, redirects included.
    const QList<QUrl>& requested() const { return m_requested; }
    QNetworkReply* reply() const { return m_pReply; }

    void PrepareRequestAndConnect(QUrl url, bool redirect) override;

    // Whether, when the check last started a page, its environment already ran or cooled
    // another check of the same engine host.
    bool hostBusyAtStart() const { return m_bHostBusyAtStart; }
    // "start <keyword>" per page started, shared by all checks; the test's operation adds
    // "end <keyword>".
    static QStringList& events();

private:
    int m_nPages;
    int m_nPage = 0;
    int m_nStarts = 0;
    QStringList m_pagesRead;
    QList<QUrl> m_requested;
    bool m_bHostBusyAtStart = false;
};
