#pragma once

#include "TestRankOperation.h"

// Drives an update run to its end: StartTasks, then the event loop until EndProgress or
// the time limit. True when the run ended by itself, with exactly one EndProgress.
bool runToEnd(RankOperation& operation, RecordingProgress& progress, int limitMs = 30000);

// Runs the event loop until `done` holds or the time limit passes.
bool waitFor(const std::function<bool()>& done, int limitMs = 10000);
