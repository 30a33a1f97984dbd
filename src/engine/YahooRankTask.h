#pragma once

#include "CheckRankTask.h"

// The check of one website and keyword on one Yahoo engine variant: ten result pages of
// ten results each.
class YahooRankTask : public CheckRankTask
{
    Q_OBJECT

public:
    YahooRankTask(SEARCH_ENGINE const* engine, QString website, QString keyword);

    void Start() override;
    bool OnRequestOK(QString page) override;

private:
    LTInt64 m_nB;         // 1-based position of the page's first result ("b")
    LTInt64 m_nN;         // results on the page ("n")
    LTInt64 m_nPageIndex; // row of the page table being read
};
