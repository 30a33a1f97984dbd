#pragma once

#include "Records.h"

// Every pause, cooling and watchdog interval of the rank checker passes through here. The
// program runs at scale 1; tests shrink the intervals to run a batch in moments. Pacing
// (pauses between pages, coolings) and the request watchdog scale separately, so a test
// of pacing need not also shorten the time a slow request is given.
class CheckTiming
{
public:
    static constexpr LTInt64 kWatchdogPeriodMs = 5000;
    static constexpr LTInt64 kRequestTimeoutMs = 20000;

    static double PacingScale();
    static double WatchdogScale();
    static void SetPacingScale(double scale);
    static void SetWatchdogScale(double scale);

    // The interval of a pacing timer for a wait of `ms`: scaled, then clamped to what a
    // timer can run. A negative wait runs at once; an overlong one runs at the timer's
    // longest interval instead of never.
    static int PacingInterval(LTInt64 ms);
    // The watchdog's tick and the age above which it aborts a request, scaled.
    static int WatchdogPeriod();
    static LTInt64 RequestTimeout();

    // A wait in milliseconds clamped to the range of a timer, unscaled.
    static int ClampToTimer(double ms);
    // seconds * 1000 without overflow.
    static LTInt64 SecondsToMs(LTInt64 seconds);
};
