// bench_parse [seconds per measurement, default 3]
//
// For each engine, reads every fixture page of that engine with the engine's analyser for
// a few seconds on one thread, and prints pages and megabytes per second next to the same
// figures for one bare QRegExp pass (case-insensitive, minimal, every match) of the
// engine's first-choice pattern over the same pages. On a page without that layout the
// bare pass ends at once while the reading must try the further candidates, so a second
// figure gives the bare QRegExp work of the same choice: each candidate up to its first
// match, then every match of the chosen one.

#include "KeywordCheckService.h"
#include "RankHub.h"
#include "SqlDb.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRegExp>
#include <QTextCodec>

#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

namespace {

class BenchHub : public RankHub
{
public:
    BenchHub() : m_patterns(ReadPatternFile()) { SetCurrent(this); }
    QVariant GetSettingValue(SETTINGS) override { return QVariant(0); }
    QString GetRegexp(REGEXP_INDEX index) override { return m_patterns.value(index); }
    SqlDb& GetSqlDb() override
    {
        if (!m_db)
            m_db = std::make_unique<SqlDb>();
        return *m_db;
    }
    bool& UpdateRunningFlag() override { return m_updating; }

private:
    QStringList m_patterns;
    std::unique_ptr<SqlDb> m_db;
    bool m_updating = false;
};

struct Page {
    QString text;
    qint64 bytes;
    QString website;
    int pattern; // the pattern the page is read with, -1 for none
};

struct Rate {
    double pagesPerSecond;
    double megabytesPerSecond;
};

// Runs `read` over all pages, round after round, for at least `seconds`.
Rate Measure(const QList<Page>& pages, double seconds, const std::function<void(const Page&)>& read)
{
    qint64 count = 0;
    qint64 bytes = 0;
    QElapsedTimer timer;
    timer.start();
    while (timer.nsecsElapsed() < qint64(seconds * 1e9)) {
        for (const Page& page : pages) {
            read(page);
            ++count;
            bytes += page.bytes;
        }
    }
    const double elapsed = timer.nsecsElapsed() / 1e9;
    return {count / elapsed, bytes / elapsed / (1024.0 * 1024.0)};
}

// A value of the page's expectation file ("website", "pattern").
QString ExpectedValue(const QString& expectedFile, const QString& key)
{
    QFile file(expectedFile);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    for (const QString& line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
        if (line.startsWith(key + QLatin1Char(' ')))
            return line.mid(key.size() + 1);
    }
    return QString();
}

void Quiet(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type != QtDebugMsg)
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    // The first-section rule writes one debug line per link.
    qInstallMessageHandler(Quiet);
    const double seconds = argc > 1 ? QString::fromLocal8Bit(argv[1]).toDouble() : 3.0;
    BenchHub hub;

    struct Engine {
        const char* name;
        const char* prefix;
        std::vector<REGEXP_INDEX> candidates;
        long (*analyse)(QString, QString, QString&, RANK_REUSLT_TYPE&);
    };
    const Engine engines[] = {
        {"Google",
         "google-",
         {REGEXP_GoogleResult5, REGEXP_GoogleResult4, REGEXP_GoogleResult3, REGEXP_GoogleResult2,
          REGEXP_GoogleResult1},
         &KeywordCheckService::AnalyseGoogleRank},
        {"Yahoo",
         "yahoo-",
         {REGEXP_YahooResult2, REGEXP_YahooResult1},
         &KeywordCheckService::AnalyseYahooRank},
        {"Bing",
         "bing-",
         {REGEXP_BingResult2, REGEXP_BingResult1},
         &KeywordCheckService::AnalyseBingRank},
    };

    const QDir dir(QStringLiteral(LUMATROVE_PAGES));
    for (const Engine& engine : engines) {
        QList<Page> pages;
        const QStringList files = dir.entryList(
            {QLatin1String(engine.prefix) + QLatin1String("*.html")}, QDir::Files, QDir::Name);
        for (const QString& name : files) {
            QFile file(dir.filePath(name));
            if (!file.open(QIODevice::ReadOnly))
                continue;
            const QByteArray bytes = file.readAll();
            const QString expected = dir.filePath(name.chopped(5) + ".expected");
            const QString pattern = ExpectedValue(expected, QStringLiteral("pattern"));
            pages.append({QTextCodec::codecForHtml(bytes)->toUnicode(bytes), bytes.size(),
                          ExpectedValue(expected, QStringLiteral("website")),
                          pattern == QLatin1String("fallback") ? -1 : pattern.toInt()});
        }
        if (pages.isEmpty()) {
            std::printf("%s: no pages in %s\n", engine.name, qPrintable(dir.path()));
            continue;
        }

        const auto report = [&](const char* which, const QList<Page>& pages) {
            const Rate full = Measure(pages, seconds, [&](const Page& page) {
                QString found;
                RANK_REUSLT_TYPE result = RRT_NotStarted;
                engine.analyse(page.text, page.website, found, result);
            });
            std::vector<QRegExp> bare;
            for (REGEXP_INDEX index : engine.candidates) {
                bare.emplace_back(hub.GetRegexp(index), Qt::CaseInsensitive);
                bare.back().setMinimal(true);
            }
            const auto everyMatch = [](QRegExp& rx, const QString& text) {
                int index = 0;
                int at;
                while ((at = rx.indexIn(text, index)) >= 0)
                    index = at + qMax(rx.matchedLength(), 1);
            };
            const Rate first = Measure(
                pages, seconds, [&](const Page& page) { everyMatch(bare.front(), page.text); });
            const QRegExp scheme(QStringLiteral("(http://|https://|ftp://)"), Qt::CaseInsensitive);
            const Rate chosen = Measure(pages, seconds, [&](const Page& page) {
                for (QRegExp& rx : bare) {
                    if (rx.indexIn(page.text) >= 0 && scheme.indexIn(rx.cap(1)) == 0) {
                        everyMatch(rx, page.text);
                        return;
                    }
                }
            });
            std::printf(
                "%s%s: %.0f pages/s, %.1f MB/s (%d pages, %.0f KB on average)\n"
                "  baseline, one bare QRegExp pass of the first choice (pattern %d): "
                "%.0f pages/s, %.1f MB/s; reading takes %.2fx its time\n"
                "  bare QRegExp work of the same choice: %.0f pages/s, %.1f MB/s; reading "
                "takes %.2fx its time\n",
                engine.name, which, full.pagesPerSecond, full.megabytesPerSecond, int(pages.size()),
                [&] {
                    qint64 sum = 0;
                    for (const Page& p : pages)
                        sum += p.bytes;
                    return sum / 1024.0 / pages.size();
                }(),
                int(engine.candidates.front()), first.pagesPerSecond, first.megabytesPerSecond,
                first.pagesPerSecond / full.pagesPerSecond, chosen.pagesPerSecond,
                chosen.megabytesPerSecond, chosen.pagesPerSecond / full.pagesPerSecond);
        };
        report("", pages);
        QList<Page> firstLayout;
        for (const Page& page : pages) {
            if (page.pattern == int(engine.candidates.front()))
                firstLayout.append(page);
        }
        if (!firstLayout.isEmpty() && firstLayout.size() < pages.size())
            report(", pages of the first-choice layout only", firstLayout);
        std::fflush(stdout);
    }
    return 0;
}
