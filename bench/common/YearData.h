#pragma once

#include "Records.h"

#include <QString>
#include <QtGlobal>

#include <vector>

// A year of rank history as the program writes it: 10 websites x 100 keywords x 3 engine
// variants x 365 daily update runs (1,095,000 UpdateFlow rows).
namespace YearData {
const int kWebsites = 10;
const int kKeywords = 100;
const int kEngines = 3;
const int kDays = 365;
const int kSeries = kWebsites * kEngines * kKeywords;
const qint64 kRows = qint64(kSeries) * kDays;

// The engine host of variant e (0..kEngines-1).
const char* engineHost(int e);
QString websiteUrl(int w);
QString keywordText(int w, int k);

// Fills an existing store (its tables made by SqlDb) at path with the websites and the
// year of UpdateFlow rows. The data depend on nothing but the fixed seed.
bool generate(const QString& path);

// Points HOME at home and makes the program's store there unless it exists already.
// Returns the store's path, or an empty string if it could not be made. Progress goes to
// stdout.
QString prepareHome(const QString& home);

// CPU time of this process (all its threads) so far, in seconds. On a busy machine it
// varies less than the wall-clock time.
double cpuSeconds();

// Figures of this process from /proc/self/status (VmRSS, VmHWM...), in kB; -1 if absent.
qint64 procStatus(const char* field);
// One start-up load of the store under HOME, timed as the program does it (local zone
// pinned as in main); throughQuery makes it read the rank rows through QSqlQuery, the way
// it takes where the Qt driver runs another SQLite library. The caller owns the series.
struct TimedLoad {
    bool ok = false;
    bool readDriverHandle = false;
    qint64 nanoseconds = 0;
    double cpuSeconds = 0;
    std::vector<WEBSITE> websites;
    std::vector<RANK_DATA*> series;
    LTInt64 last = 0;
};
TimedLoad loadStore(bool throughQuery = false);
} // namespace YearData
