#pragma once

#include "Records.h"

#include <QString>

#include <functional>
#include <list>
#include <memory>
#include <optional>
#include <vector>

class QWidget;
class RankMain;
class RankOperation;

// The update runs: one pattern (flag test, progress dialog, operation, queue, start,
// nested loop, merge, refresh) shared by the four drivers, which differ in the pairs they
// queue, their texts and what they do when nothing is left to do or nothing can start.
// The pages' slots call these with what only the page knows (its current selection) and
// a refresh of the pages in their order.
class UpdateRun
{
public:
    using Refresh = std::function<void()>;
    // Builds the operation of one run; it sets the flag at the given address and clears
    // it when it goes. Tests replace it to run stand-in checks.
    using OperationFactory = std::function<std::unique_ptr<RankOperation>(bool* updateRunning)>;

    // Overview page: `page` parents the dialog and the boxes; `websiteIndex` is the hub's
    // index of the website of the toolbox's current page, -1 when it has none.
    static void Overview(RankMain& hub, QWidget* page, int websiteIndex, const Refresh& refresh);
    // Keyword page: `keyword` is the text of the keyword list's current row, none when the
    // list has no current row.
    static void Keyword(RankMain& hub, QWidget* page, WEBSITE* website,
                        const std::optional<QString>& keyword, const Refresh& refresh);
    // Schedule clock: true when the schedule counts as run today.
    static bool Schedule(RankMain& hub, const SCHEDUAL& schedule, const Refresh& refresh);
    // Header bar: every website; `websiteCount` is the number of entries of its website
    // combo.
    static void UpdateAll(RankMain& hub, QWidget* headerBar, int websiteCount,
                          const Refresh& refresh);

    static OperationFactory SetOperationFactory(OperationFactory factory);
    static std::unique_ptr<RankOperation> MakeOperation(bool* updateRunning);
};

// Merges the measurements of a run into the rank series and the database of the current
// hub: a measurement of the day of its series' newest point overwrites that point (and its
// row), any other becomes a new point with the next update number.
void UpdateToDatabaseAndMem(std::list<UPDATE_FLOW>& flows, std::vector<RANK_DATA*>& rankData);
void UpdateToDatabaseAndMem(std::list<UPDATE_FLOW>& flows, std::vector<RANK_DATA*>& rankData,
                            RankMain& hub);
// Overwrites the point of the series that carries the measurement's update number.
void UpdateToFlowItem(RANK_DATA* series, const UPDATE_FLOW& flow);
