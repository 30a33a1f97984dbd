// The "first" value of a Bing result page's next-page link, on any page (UTF-8). It is
// never negative; a value above 0 is the digits of a "first=" item of the page; on short
// pages it equals what the plain QRegExp search of the embedded next-page pattern gives;
// and its CPU time grows at most linearly with the page.
#include "BingRankTask.h"
#include "FuzzHub.h"

#include <QRegExp>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <limits>

namespace {
constexpr double kFixedMs = 100.0;
constexpr double kMsPerKiloChar = 20.0;
constexpr int kCompareLength = 4096;
constexpr LTInt64 kLargest = std::numeric_limits<int>::max();

[[noreturn]] void fail(const char* what, const QString& detail)
{
    std::fprintf(stderr, "%s\n%s\n", what, detail.toUtf8().left(2000).constData());
    std::abort();
}

double cpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1000.0 + double(now.tv_nsec) / 1e6;
}

// The value the digits stand for, held at the largest int (they may be any number long).
LTInt64 valueOf(const QString& digits)
{
    LTInt64 value = 0;
    for (QChar c : digits) {
        value = value * 10 + (c.unicode() - '0');
        if (value >= kLargest)
            return kLargest;
    }
    return value;
}

// Every "first=<digits>" of the page, as values.
bool pageHoldsValue(const QString& page, LTInt64 value)
{
    QRegExp item(QStringLiteral("first=(\\d+)"));
    for (int at = item.indexIn(page); at >= 0; at = item.indexIn(page, at + 1)) {
        if (valueOf(item.cap(1)) == value)
            return true;
    }
    return false;
}

// The next-page value as a plain QRegExp search finds it.
LTInt64 plainValue(const QString& page)
{
    QRegExp next(FuzzHub::Pattern(REGEXP_BingNextUrl), Qt::CaseInsensitive);
    next.setMinimal(true);
    if (next.indexIn(page) < 0)
        return 0;
    QRegExp first(QStringLiteral("first=(\\d+)"));
    if (first.indexIn(next.cap(1)) < 0)
        return 0;
    return valueOf(first.cap(1));
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    FuzzHub::Prepare(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    const QString page = QString::fromUtf8(reinterpret_cast<const char*>(bytes), qsizetype(size));
    const double start = cpuMs();
    const LTInt64 value = ExtractBingFirstValue(page);
    const double spent = cpuMs() - start;

    if (value < 0)
        fail("negative next-page value", QString::number(value));
    if (value > 0 && !pageHoldsValue(page, value))
        fail("next-page value that no first= item of the page holds", QString::number(value));
    const double allowed = kFixedMs + kMsPerKiloChar * double(page.size()) / 1024.0;
    if (spent > allowed)
        fail("time not linear in the page length",
             QStringLiteral("%1 ms for %2 characters").arg(spent).arg(page.size()));
    if (page.size() <= kCompareLength && value != plainValue(page))
        fail("next-page value differs from the plain search",
             QStringLiteral("%1 / %2").arg(value).arg(plainValue(page)));
    return 0;
}
