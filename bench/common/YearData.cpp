#include "YearData.h"

#include "SqlDb.h"
#include "SqlValue.h"
#include "WebsiteColumns.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QStringList>
#include <QTextStream>

#include <sqlite3.h>

#include <ctime>
#include <vector>

namespace YearData {
namespace {
const char* const kHosts[kEngines] = {"www.google.com", "www.bing.com", "search.yahoo.com"};
} // namespace

const char* engineHost(int e)
{
    return kHosts[e];
}

QString websiteUrl(int w)
{
    return QStringLiteral("www.site%1.example").arg(w);
}

QString keywordText(int w, int k)
{
    return QStringLiteral("keyword %1 for site %2").arg(k).arg(w);
}

double cpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + now.tv_nsec / 1e9;
}

qint64 procStatus(const char* field)
{
    QFile file(QStringLiteral("/proc/self/status"));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return -1;
    const QByteArray prefix = QByteArray(field) + ':';
    for (const QByteArray& line : file.readAll().split('\n')) {
        if (line.startsWith(prefix))
            return line.mid(prefix.size()).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

bool generate(const QString& path)
{
    sqlite3* db = nullptr;
    if (sqlite3_open(QFile::encodeName(path).constData(), &db) != SQLITE_OK) {
        sqlite3_close(db);
        return false;
    }
    sqlite3_exec(db, "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; BEGIN", nullptr, nullptr,
                 nullptr);

    sqlite3_stmt* site = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO Website VALUES(?,?,?,?)", -1, &site, nullptr);
    for (int w = 0; w < kWebsites; ++w) {
        std::vector<SEARCH_ENGINE> engines;
        for (const char* host : kHosts) {
            SEARCH_ENGINE e;
            e.SearchEngine = QLatin1String(host);
            e.Lang = QStringLiteral("English");
            e.Country = QStringLiteral("United States");
            e.Interval = FindSearchEngineType(e.SearchEngine) == SE_Google ? 50 : 0;
            engines.push_back(e);
        }
        QStringList keywords;
        for (int k = 0; k < kKeywords; ++k)
            keywords << keywordText(w, k);
        const QByteArray url = websiteUrl(w).toUtf8();
        const QByteArray created = QByteArrayLiteral("2025-01-01T08:00:00");
        const QByteArray engineText = CombineSearchEnginesString(engines).toUtf8();
        const QByteArray keywordList = keywords.join(QLatin1Char('\n')).toUtf8();
        sqlite3_bind_text(site, 1, url.constData(), url.size(), SQLITE_TRANSIENT);
        sqlite3_bind_text(site, 2, created.constData(), created.size(), SQLITE_TRANSIENT);
        sqlite3_bind_text(site, 3, engineText.constData(), engineText.size(), SQLITE_TRANSIENT);
        sqlite3_bind_text(site, 4, keywordList.constData(), keywordList.size(), SQLITE_TRANSIENT);
        sqlite3_step(site);
        sqlite3_reset(site);
    }
    sqlite3_finalize(site);
    sqlite3_exec(db, "INSERT INTO config VALUES('DB_VER','1001')", nullptr, nullptr, nullptr);

    // One update run per day over every (website, engine, keyword), as the program
    // writes them. Ranks wander; the ranking page changes every few weeks.
    QRandomGenerator random(1095000);
    std::vector<int> ranks(static_cast<std::size_t>(kSeries));
    for (int& r : ranks)
        r = 1 + int(random.bounded(100));
    sqlite3_stmt* row = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO UpdateFlow VALUES(?,?,?,?,?,?,?,?)", -1, &row, nullptr);
    int updateNo = 0;
    bool ok = true;
    const QDateTime first(QDate(2025, 1, 1), QTime(6, 0));
    for (int day = 0; day < kDays && ok; ++day) {
        int index = 0;
        for (int w = 0; w < kWebsites && ok; ++w) {
            const QByteArray url = websiteUrl(w).toUtf8();
            for (int e = 0; e < kEngines && ok; ++e) {
                for (int k = 0; k < kKeywords; ++k, ++index) {
                    int& rank = ranks[std::size_t(index)];
                    rank = qBound(1, rank + int(random.bounded(7)) - 3, 101);
                    const int stored = random.bounded(100) < 2 ? 0 : rank;
                    QByteArray rankUrl;
                    if (stored > 0 && stored <= 100) {
                        rankUrl = QStringLiteral("https://%1/k%2/page-%3.html")
                                      .arg(websiteUrl(w))
                                      .arg(k)
                                      .arg((day + k) / 45)
                                      .toUtf8();
                    }
                    const QByteArray keyword = keywordText(w, k).toUtf8();
                    const QByteArray time =
                        SqlValue::fromDateTime(first.addDays(day).addSecs(index))
                            .toString()
                            .toUtf8();
                    sqlite3_bind_int(row, 1, ++updateNo);
                    sqlite3_bind_text(row, 2, url.constData(), url.size(), SQLITE_TRANSIENT);
                    sqlite3_bind_text(row, 3, kHosts[e], -1, SQLITE_STATIC);
                    sqlite3_bind_text(row, 4, keyword.constData(), keyword.size(),
                                      SQLITE_TRANSIENT);
                    sqlite3_bind_text(row, 5, time.constData(), time.size(), SQLITE_TRANSIENT);
                    sqlite3_bind_int(row, 6, stored);
                    sqlite3_bind_text(row, 7, rankUrl.constData(), rankUrl.size(),
                                      SQLITE_TRANSIENT);
                    sqlite3_bind_text(row, 8, "English", -1, SQLITE_STATIC);
                    if (sqlite3_step(row) != SQLITE_DONE) {
                        ok = false;
                        break;
                    }
                    sqlite3_reset(row);
                }
            }
        }
    }
    sqlite3_finalize(row);
    ok = ok && sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    return ok;
}

QString prepareHome(const QString& home)
{
    QDir().mkpath(home);
    qputenv("HOME", QFile::encodeName(home));
    const QString path = SqlDb::DatabasePath();
    if (QFile::exists(path))
        return path;
    {
        SqlDb schema; // the tables exactly as the program makes them
        if (!schema.m_DB.isOpen())
            return {};
    }
    QTextStream out(stdout);
    QElapsedTimer timer;
    timer.start();
    out << "generating " << kRows << " rows in " << path << " ..." << Qt::endl;
    if (!generate(path)) {
        out << "generation failed" << Qt::endl;
        QFile::remove(path);
        return {};
    }
    out << "generated in " << QString::number(timer.elapsed() / 1000.0, 'f', 1) << " s" << Qt::endl;
    return path;
}
TimedLoad loadStore(bool throughQuery)
{
    SqlValue::pinLocalTimeZone();
    SqlDb::SetQueryLoadForTests(throughQuery);
    SqlDb store;
    TimedLoad result;
    QElapsedTimer timer;
    timer.start();
    const double cpuStart = cpuSeconds();
    result.ok = store.LoadRankData(result.websites, result.series, result.last);
    result.nanoseconds = timer.nsecsElapsed();
    result.cpuSeconds = cpuSeconds() - cpuStart;
    result.readDriverHandle = store.LoadReadDriverHandle();
    return result;
}

} // namespace YearData
