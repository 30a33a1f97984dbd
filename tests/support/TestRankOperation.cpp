#include "TestRankOperation.h"

#include "ScriptedRankTask.h"

void RecordingProgress::SetProgress(float fraction)
{
    fractions.append(fraction);
}

void RecordingProgress::EndProgress()
{
    ++ends;
    if (onEnd)
        onEnd();
}

TestRankOperation::TestRankOperation(IProgress* progress, bool* updateRunning, int pages)
    : RankOperation(progress, updateRunning), m_nPages(pages)
{}

void TestRankOperation::OnATaskEnd(CheckRankTask* task)
{
    ended.append(task);
    ScriptedRankTask::events().append(QStringLiteral("end ") + task->Keyword());
    RankOperation::OnATaskEnd(task);
}

CheckRankTask* TestRankOperation::CreateCheckRankTask(EnuSearchEngineType kind,
                                                      SEARCH_ENGINE const* engine, QString website,
                                                      QString keyword)
{
    kindsAsked.append(kind);
    return new ScriptedRankTask(engine, std::move(website), std::move(keyword), m_nPages);
}
