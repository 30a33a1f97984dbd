// Result-link extraction and website matching on any page and website text, with the
// embedded result-page patterns. Input: one byte choosing the engine and the pattern to
// compare, the website text up to the first line feed, then the page (UTF-8).
//
// Checked: positions at least 1 and never decreasing; "no results" (4) only with an empty
// list; the analyser's position and found URL are those of the first entry that belongs
// to the website; CPU time grows at most linearly with the input (page and website); and
// on short pages the bounded page search finds exactly what a plain QRegExp search finds.
#include "FuzzHub.h"
#include "KeywordCheckService.h"
#include "PageRegExp.h"
#include "Regex.h"
#include "WebsiteMatch.h"

#include <QRegExp>

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {
// Bounds of one input's work under the sanitizers: a page built to defeat a pattern
// would take time that grows with the square of its length.
constexpr double kFixedMs = 500.0;
constexpr double kMsPerKiloChar = 40.0;
// Pages up to this length are also searched with plain QRegExp for comparison.
constexpr int kCompareLength = 4096;

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

void checkEntries(const QList<QPair<int, QString>>& entries, RANK_REUSLT_TYPE result)
{
    int previous = 1;
    for (const auto& entry : entries) {
        if (entry.first < previous)
            fail("position below 1 or decreasing", QString::number(entry.first));
        previous = entry.first;
    }
    if (result == RRT_NoResult && !entries.isEmpty())
        fail("no results reported with result links", entries.first().second);
    if (result != RRT_NoResult && result != RRT_NotFound)
        fail("extraction wrote a result other than 4", QString::number(result));
}

void checkAnalyser(EnuSearchEngineType engine, const QString& page, const QString& website)
{
    const QString sentinel = QStringLiteral("untouched");
    QString found = sentinel;
    RANK_REUSLT_TYPE result = RRT_NotStarted;
    long position = 0;
    switch (engine) {
    case SE_Google:
        position = KeywordCheckService::AnalyseGoogleRank(page, website, found, result);
        break;
    case SE_Bing:
        position = KeywordCheckService::AnalyseBingRank(page, website, found, result);
        break;
    default:
        position = KeywordCheckService::AnalyseYahooRank(page, website, found, result);
        break;
    }

    // The entries the analyser walks, and the first that belongs to the website.
    const QString site = TrimUrl(website);
    RANK_REUSLT_TYPE listResult = RRT_NotFound;
    Regex regex;
    const QList<QPair<int, QString>> entries =
        regex.getResultsMatch(engine, page, site, listResult);
    long expected = 0;
    QString expectedUrl = sentinel;
    for (const auto& entry : entries) {
        const QString link = engine == SE_Google ? entry.second : entry.second.toLower();
        if (IsIncludeWebsite(site, TrimUrl(link))) {
            expected = entry.first;
            expectedUrl = entry.second;
            break;
        }
    }
    if (position != expected || found != expectedUrl)
        fail("analyser's position or found URL is not the first entry of the website",
             QStringLiteral("%1 %2 / %3 %4")
                 .arg(position)
                 .arg(found)
                 .arg(expected)
                 .arg(expectedUrl));
    if ((position > 0) != (result == RRT_Found))
        fail("found result without a position, or a position without it", website);
    if (position == 0 && result != listResult)
        fail("analyser's result differs from extraction's", website);
}

void comparePageSearch(const QString& pattern, const QString& page)
{
    PageRegExp bounded(pattern);
    bounded.setPage(page);
    QRegExp plain(pattern, Qt::CaseInsensitive);
    plain.setMinimal(true);
    int from = 0;
    for (int guard = 0; guard <= page.size() + 1; ++guard) {
        const int a = bounded.indexIn(from);
        const int b = plain.indexIn(page, from);
        if (a != b || (a >= 0 && (bounded.matchedLength() != plain.matchedLength() ||
                                  bounded.cap(1) != plain.cap(1))))
            fail(
                "bounded page search differs from QRegExp",
                QStringLiteral("pattern %1 from %2: %3 / %4").arg(pattern).arg(from).arg(a).arg(b));
        if (a < 0)
            return;
        from = a + qMax(plain.matchedLength(), 1);
    }
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    FuzzHub::Prepare(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    if (size < 1)
        return 0;
    const int choice = bytes[0];
    static const EnuSearchEngineType engines[] = {SE_Google, SE_Bing, SE_Yahoo};
    const EnuSearchEngineType engine = engines[choice % 3];
    const QByteArray rest(reinterpret_cast<const char*>(bytes + 1), qsizetype(size - 1));
    const qsizetype newline = rest.indexOf('\n');
    const QString website = QString::fromUtf8(newline < 0 ? QByteArray() : rest.left(newline));
    const QString page = QString::fromUtf8(newline < 0 ? rest : rest.mid(newline + 1));

    const double start = cpuMs();
    RANK_REUSLT_TYPE result = RRT_NotFound;
    Regex regex;
    const QList<QPair<int, QString>> entries =
        regex.getResultsMatch(engine, page, TrimUrl(website), result);
    checkEntries(entries, result);
    checkAnalyser(engine, page, website);
    const double spent = cpuMs() - start;
    // The website text takes part too: every link is tested for it.
    const qsizetype length = page.size() + website.size();
    const double allowed = kFixedMs + kMsPerKiloChar * double(length) / 1024.0;
    if (spent > allowed)
        fail("time not linear in the input length",
             QStringLiteral("%1 ms for %2 + %3 characters (allowed %4 ms)")
                 .arg(spent)
                 .arg(page.size())
                 .arg(website.size())
                 .arg(allowed));

    if (page.size() <= kCompareLength) {
        const QString pattern = FuzzHub::Pattern((choice / 3) % REGEXP_Count);
        comparePageSearch(pattern, page);
    }
    return 0;
}
