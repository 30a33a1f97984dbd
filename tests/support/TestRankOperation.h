#pragma once

#include "IProgress.h"
#include "RankOperation.h"

#include <QList>
#include <functional>

class CheckRankTask;

// Records what an update run reports.
class RecordingProgress : public IProgress
{
public:
    void SetProgress(float fraction) override;
    void EndProgress() override;

    QList<float> fractions;
    int ends = 0;
    // Called at EndProgress, e.g. to leave an event loop.
    std::function<void()> onEnd;
};

// An update run whose checks are ScriptedRankTask, in the order they end.
class TestRankOperation : public RankOperation
{
    Q_OBJECT

public:
    TestRankOperation(IProgress* progress, bool* updateRunning, int pages = 2);

    void OnATaskEnd(CheckRankTask* task) override;
    QList<CheckRankTask*> ended;
    // Engine kinds the factory was asked for.
    QList<int> kindsAsked;

protected:
    CheckRankTask* CreateCheckRankTask(EnuSearchEngineType kind, SEARCH_ENGINE const* engine,
                                       QString website, QString keyword) override;

private:
    int m_nPages;
};
