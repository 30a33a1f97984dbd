#pragma once

#include "CheckRankTask.h"

// The check of one website and keyword on one Google engine variant: three result pages
// that together cover the results 1 to 100.
class GoogleRankTask : public CheckRankTask
{
    Q_OBJECT

public:
    GoogleRankTask(SEARCH_ENGINE const* engine, QString website, QString keyword);

    void Start() override;
    bool OnRequestOK(QString page) override;

private:
    LTInt64 m_nStart;     // results before the page ("start")
    LTInt64 m_nNum;       // results asked for ("num")
    LTInt64 m_nPageIndex; // row of the page table being read
};
