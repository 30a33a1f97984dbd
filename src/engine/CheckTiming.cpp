#include "CheckTiming.h"

#include <cmath>
#include <limits>

namespace {
double g_pacingScale = 1.0;
double g_watchdogScale = 1.0;
} // namespace

double CheckTiming::PacingScale()
{
    return g_pacingScale;
}

double CheckTiming::WatchdogScale()
{
    return g_watchdogScale;
}

void CheckTiming::SetPacingScale(double scale)
{
    g_pacingScale = scale > 0 ? scale : 1.0;
}

void CheckTiming::SetWatchdogScale(double scale)
{
    g_watchdogScale = scale > 0 ? scale : 1.0;
}

int CheckTiming::ClampToTimer(double ms)
{
    if (!(ms > 0)) // negative, zero or NaN
        return 0;
    const double top = std::numeric_limits<int>::max();
    return ms >= top ? std::numeric_limits<int>::max() : static_cast<int>(ms);
}

int CheckTiming::PacingInterval(LTInt64 ms)
{
    return ClampToTimer(static_cast<double>(ms) * g_pacingScale);
}

int CheckTiming::WatchdogPeriod()
{
    // A tick of 0 would spin; keep at least 1 ms.
    const int period = ClampToTimer(kWatchdogPeriodMs * g_watchdogScale);
    return period > 0 ? period : 1;
}

LTInt64 CheckTiming::RequestTimeout()
{
    return static_cast<LTInt64>(std::llround(kRequestTimeoutMs * g_watchdogScale));
}

LTInt64 CheckTiming::SecondsToMs(LTInt64 seconds)
{
    constexpr LTInt64 top = std::numeric_limits<LTInt64>::max() / 1000;
    constexpr LTInt64 bottom = std::numeric_limits<LTInt64>::min() / 1000;
    if (seconds > top)
        return std::numeric_limits<LTInt64>::max();
    if (seconds < bottom)
        return std::numeric_limits<LTInt64>::min();
    return seconds * 1000;
}
