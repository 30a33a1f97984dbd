#pragma once

#include "CheckRankTask.h"
#include "RankOperation.h"
#include "UpdateRun.h"

#include <QHash>
#include <QList>
#include <QPair>
#include <QString>

#include <functional>

// A check that needs no network: it ends on the next turn of the event loop with the rank
// scripted for its engine host and keyword (1..100 found, 101 not found, 0 failed), or
// never (kNever).
class StandInCheck : public CheckRankTask
{
    Q_OBJECT

public:
    static constexpr LTInt64 kNever = -1;

    StandInCheck(SEARCH_ENGINE const* engine, QString website, QString keyword, LTInt64 rank,
                 std::function<void(StandInCheck*)> onStart);

    void Start() override;
    bool OnRequestOK(QString page) override;

private:
    LTInt64 m_nScripted;
    std::function<void(StandInCheck*)> m_onStart;
};

// The operation the update drivers build while a StandInRuns lives: every check is a
// StandInCheck. Records what was queued and started.
class StandInRuns
{
public:
    StandInRuns();
    ~StandInRuns();

    // Rank of (engine host, keyword); unscripted pairs are found at rank 1.
    void script(const QString& engineHost, const QString& keyword, LTInt64 rank)
    {
        ranks[qMakePair(engineHost, keyword)] = rank;
    }

    QHash<QPair<QString, QString>, LTInt64> ranks;
    // Operations built, and "<website>|<engine host>|<keyword>" per queued check.
    int operations = 0;
    QStringList queued;
    QStringList started;
    // Called when a check starts (inside the run's event loop).
    std::function<void(StandInCheck*)> onStart;
    // Thrown by the factory instead of building an operation, when set.
    bool throwProxyType = false;

private:
    UpdateRun::OperationFactory m_previous;
};
