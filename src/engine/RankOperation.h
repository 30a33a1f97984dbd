#pragma once

#include "HttpRequestEnvirManager.h"
#include "Records.h"

#include <list>

class IProgress;

// The batch of one update run: turns every check that ends into one UPDATE_FLOW, reports
// progress, closes the progress sink after the last check, aborts requests that hang
// and clears the update-running flag when it goes.
class RankOperation : public HttpRequestEnvirManager
{
    Q_OBJECT

public:
    // Builds the environments (may throw LTException, code 4, before anything else
    // happens), starts the watchdog and sets the update-running flag. A null flag address
    // takes the current hub's flag.
    explicit RankOperation(IProgress* progress = nullptr, bool* updateRunning = nullptr);
    ~RankOperation() override;

    void OnATaskEnd(CheckRankTask* task) override;

    void SetProgress(IProgress* progress) { m_pProgress = progress; }
    std::list<UPDATE_FLOW>& Results() { return m_lstResults; }
    LTInt64 Finished() const { return m_nFinished; }

protected:
    // The request watchdog.
    void timerEvent(QTimerEvent* event) override;

private:
    IProgress* m_pProgress;
    LTInt64 m_nFinished = 0;
    std::list<UPDATE_FLOW> m_lstResults;
    bool* m_pUpdateRunning;
};
