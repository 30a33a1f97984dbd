// bench_merge: on the generated year of rank data (3,000 series of 365 daily points) times,
// each phase in a process of its own on a fresh copy of the store,
//   (a) a bare prepared insert (sqlite3 C API) of 3,000 new-day rows in one transaction,
//   (b) UpdateToDatabaseAndMem of 3,000 new-day results, one per series,
//   (c) UpdateToDatabaseAndMem of 3,000 same-day results (each overwrites its day's row),
//   (d) UpdateToDatabaseAndMem of 24,000 new-day results into 24,000 series: the year
//       plus 70 websites whose 21,000 series have one point each.
// The merges run in the program's central widget after it loaded the store. Printed per
// round and as min/median/max over the rounds: b/a (target within 3), c/b (within 2) and
// d/b (within 10: linear).
// Usage: bench_merge [--dir <folder>] [--repeat <rounds, default 3>]
// With --dir the generated stores in that folder are reused.

#include "MessageBoxHook.h"
#include "RankMain.h"
#include "SqlDb.h"
#include "SqlValue.h"
#include "UpdateRun.h"
#include "WebsiteColumns.h"
#include "YearData.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextStream>

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace {
const int kExtraWebsites = 70; // 70 x 100 keywords x 3 engines = 21,000 more series
const QDateTime kNewDay(QDate(2026, 1, 1), QTime(9, 0));
const QDateTime kSameDay(QDate(2025, 12, 31), QTime(20, 0)); // the year's last day

// A failed merge must not wait for a box nobody answers; it is counted instead.
class CountingBoxes : public MessageBoxHook
{
public:
    int show(const Request& request) override
    {
        ++count;
        std::fprintf(stderr, "box: %s\n", qPrintable(request.text));
        return Ok;
    }
    int count = 0;
};

// The results of one update run over the first `websites` websites, in the update-all
// driver's order, all with a good rank.
std::list<UPDATE_FLOW> results(int websites, const QDateTime& time)
{
    std::list<UPDATE_FLOW> flows;
    int i = 0;
    for (int w = 0; w < websites; ++w) {
        for (int e = 0; e < YearData::kEngines; ++e) {
            for (int k = 0; k < YearData::kKeywords; ++k, ++i) {
                UPDATE_FLOW flow;
                flow.Website = YearData::websiteUrl(w);
                flow.SearchEngine = QLatin1String(YearData::engineHost(e));
                flow.Lang = QStringLiteral("English");
                flow.Keyword = YearData::keywordText(w, k);
                flow.SearchTime = time.addSecs(i % 3600);
                flow.Rank = 1 + i % 100;
                flow.RankURL = QStringLiteral("https://%1/k%2/new.html").arg(flow.Website).arg(k);
                flows.push_back(flow);
            }
        }
    }
    return flows;
}

qint64 countRows(sqlite3* db, const char* sql)
{
    sqlite3_stmt* statement = nullptr;
    qint64 value = -1;
    if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW)
        value = sqlite3_column_int64(statement, 0);
    sqlite3_finalize(statement);
    return value;
}

void printPhase(qint64 nanoseconds, const QString& extra)
{
    std::printf("%.6f %s\n", nanoseconds / 1e9, qPrintable(extra));
    std::fflush(stdout);
}

// (a): the same rows as (b), converted beforehand; only the database work is timed.
int phaseInsert(const QString& path)
{
    sqlite3* db = nullptr;
    if (sqlite3_open(QFile::encodeName(path).constData(), &db) != SQLITE_OK)
        return 1;
    const qint64 last = countRows(db, "SELECT max(UpdateNo) FROM UpdateFlow");
    struct Row {
        QByteArray website, engine, keyword, time, url;
        int rank;
    };
    std::vector<Row> rows;
    for (const UPDATE_FLOW& flow : results(YearData::kWebsites, kNewDay))
        rows.push_back({flow.Website.toUtf8(), flow.SearchEngine.toUtf8(), flow.Keyword.toUtf8(),
                        SqlValue::fromDateTime(flow.SearchTime).toString().toUtf8(),
                        flow.RankURL.toUtf8(), int(flow.Rank)});

    QElapsedTimer timer;
    timer.start();
    bool ok = sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_stmt* insert = nullptr;
    ok = ok && sqlite3_prepare_v2(db, "INSERT INTO UpdateFlow VALUES(?,?,?,?,?,?,?,?)", -1, &insert,
                                  nullptr) == SQLITE_OK;
    int number = int(last);
    for (const Row& row : rows) {
        if (!ok)
            break;
        sqlite3_bind_int(insert, 1, ++number);
        sqlite3_bind_text(insert, 2, row.website.constData(), int(row.website.size()),
                          SQLITE_STATIC);
        sqlite3_bind_text(insert, 3, row.engine.constData(), int(row.engine.size()), SQLITE_STATIC);
        sqlite3_bind_text(insert, 4, row.keyword.constData(), int(row.keyword.size()),
                          SQLITE_STATIC);
        sqlite3_bind_text(insert, 5, row.time.constData(), int(row.time.size()), SQLITE_STATIC);
        sqlite3_bind_int(insert, 6, row.rank);
        sqlite3_bind_text(insert, 7, row.url.constData(), int(row.url.size()), SQLITE_STATIC);
        sqlite3_bind_text(insert, 8, "English", -1, SQLITE_STATIC);
        ok = sqlite3_step(insert) == SQLITE_DONE;
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    ok = ok && sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK;
    const qint64 elapsed = timer.nsecsElapsed();
    const qint64 total = countRows(db, "SELECT count(*) FROM UpdateFlow");
    sqlite3_close(db);
    if (!ok)
        return 1;
    printPhase(elapsed, QStringLiteral("rows=%1 total=%2").arg(rows.size()).arg(total));
    return 0;
}

// (b), (c), (d): the program's own merge after its own load.
int phaseMerge(int websites, const QDateTime& time)
{
    CountingBoxes boxes;
    MessageBoxHook::install(&boxes);
    RankMain hub;
    const std::size_t seriesBefore = hub.m_vRankData.size();
    std::list<UPDATE_FLOW> flows = results(websites, time);

    QElapsedTimer timer;
    timer.start();
    UpdateToDatabaseAndMem(flows, hub.m_vRankData, hub);
    const qint64 elapsed = timer.nsecsElapsed();

    QSqlQuery query(hub.m_Sqldb.m_DB);
    query.exec(QStringLiteral("SELECT count(*) FROM UpdateFlow"));
    const qint64 total = query.next() ? query.value(0).toLongLong() : -1;
    query.finish();
    if (boxes.count != 0)
        return 1;
    printPhase(elapsed, QStringLiteral("results=%1 series=%2 total=%3 last=%4")
                            .arg(flows.size())
                            .arg(seriesBefore)
                            .arg(total)
                            .arg(flows.back().UpdateNo));
    MessageBoxHook::install(nullptr);
    return 0;
}

// The 24,000-series store: the year plus 70 websites with one point per series on the
// year's last day.
bool addSeries(const QString& path)
{
    sqlite3* db = nullptr;
    if (sqlite3_open(QFile::encodeName(path).constData(), &db) != SQLITE_OK)
        return false;
    sqlite3_exec(db, "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; BEGIN", nullptr, nullptr,
                 nullptr);
    bool ok = true;
    qint64 number = countRows(db, "SELECT max(UpdateNo) FROM UpdateFlow");
    sqlite3_stmt* site = nullptr;
    sqlite3_stmt* row = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO Website VALUES(?,?,?,?)", -1, &site, nullptr);
    sqlite3_prepare_v2(db, "INSERT INTO UpdateFlow VALUES(?,?,?,?,?,?,?,?)", -1, &row, nullptr);
    std::vector<SEARCH_ENGINE> engines;
    for (int e = 0; e < YearData::kEngines; ++e) {
        SEARCH_ENGINE engine;
        engine.SearchEngine = QLatin1String(YearData::engineHost(e));
        engine.Lang = QStringLiteral("English");
        engine.Country = QStringLiteral("United States");
        engines.push_back(engine);
    }
    const QByteArray engineText = CombineSearchEnginesString(engines).toUtf8();
    const QByteArray time = SqlValue::fromDateTime(kSameDay.addSecs(-3600)).toString().toUtf8();
    const int websites = YearData::kWebsites + kExtraWebsites;
    for (int w = YearData::kWebsites; w < websites && ok; ++w) {
        QStringList keywords;
        for (int k = 0; k < YearData::kKeywords; ++k)
            keywords << YearData::keywordText(w, k);
        const QByteArray url = YearData::websiteUrl(w).toUtf8();
        const QByteArray keywordList = keywords.join(QLatin1Char('\n')).toUtf8();
        sqlite3_bind_text(site, 1, url.constData(), int(url.size()), SQLITE_TRANSIENT);
        sqlite3_bind_text(site, 2, "2025-01-01T08:00:00", -1, SQLITE_STATIC);
        sqlite3_bind_text(site, 3, engineText.constData(), int(engineText.size()),
                          SQLITE_TRANSIENT);
        sqlite3_bind_text(site, 4, keywordList.constData(), int(keywordList.size()),
                          SQLITE_TRANSIENT);
        ok = sqlite3_step(site) == SQLITE_DONE;
        sqlite3_reset(site);
        for (int e = 0; e < YearData::kEngines && ok; ++e) {
            for (int k = 0; k < YearData::kKeywords && ok; ++k) {
                const QByteArray keyword = YearData::keywordText(w, k).toUtf8();
                sqlite3_bind_int64(row, 1, ++number);
                sqlite3_bind_text(row, 2, url.constData(), int(url.size()), SQLITE_TRANSIENT);
                sqlite3_bind_text(row, 3, YearData::engineHost(e), -1, SQLITE_STATIC);
                sqlite3_bind_text(row, 4, keyword.constData(), int(keyword.size()),
                                  SQLITE_TRANSIENT);
                sqlite3_bind_text(row, 5, time.constData(), int(time.size()), SQLITE_TRANSIENT);
                sqlite3_bind_int(row, 6, 1 + (k + e) % 100);
                sqlite3_bind_text(row, 7, "", 0, SQLITE_STATIC);
                sqlite3_bind_text(row, 8, "English", -1, SQLITE_STATIC);
                ok = sqlite3_step(row) == SQLITE_DONE;
                sqlite3_reset(row);
            }
        }
    }
    sqlite3_finalize(site);
    sqlite3_finalize(row);
    ok = ok && sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    return ok;
}

struct Phase {
    double seconds = 0;
    QString extra;
    bool ok = false;
};

// Runs a phase in a child process whose HOME holds a fresh copy of the store `master`.
Phase runPhase(const QString& phase, const QString& master, const QString& scratch)
{
    Phase result;
    const QString home = scratch + QStringLiteral("/") + phase;
    QDir(home).removeRecursively();
    const QString path = home + QStringLiteral("/Documents/lumatrove/Lumatrove.DB");
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (!QFile::copy(master, path))
        return result;
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--phase"), phase, QStringLiteral("--db"), path});
    const bool finished = child.waitForFinished(-1) && child.exitCode() == 0;
    QDir(home).removeRecursively();
    if (!finished)
        return result;
    const QStringList fields =
        QString::fromUtf8(child.readAllStandardOutput()).trimmed().split(QLatin1Char(' '));
    result.seconds = fields.value(0).toDouble();
    result.extra = fields.mid(1).join(QLatin1Char(' '));
    result.ok = result.seconds > 0;
    return result;
}

QString spread(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return QStringLiteral("min %1, median %2, max %3")
        .arg(values.front(), 0, 'f', 2)
        .arg(values[values.size() / 2], 0, 'f', 2)
        .arg(values.back(), 0, 'f', 2);
}
} // namespace

int main(int argc, char* argv[])
{
    const QStringList args = [&] {
        QStringList list;
        for (int i = 0; i < argc; ++i)
            list << QString::fromLocal8Bit(argv[i]);
        return list;
    }();
    const qsizetype phaseAt = args.indexOf(QStringLiteral("--phase"));
    const qsizetype dbAt = args.indexOf(QStringLiteral("--db"));
    if (phaseAt > 0 && dbAt > 0) {
        const QString phase = args.value(phaseAt + 1);
        if (phase == QLatin1String("insert")) {
            QCoreApplication app(argc, argv);
            return phaseInsert(args.value(dbAt + 1));
        }
        QApplication app(argc, argv);
        if (phase == QLatin1String("new"))
            return phaseMerge(YearData::kWebsites, kNewDay);
        if (phase == QLatin1String("same"))
            return phaseMerge(YearData::kWebsites, kSameDay);
        if (phase == QLatin1String("wide"))
            return phaseMerge(YearData::kWebsites + kExtraWebsites, kNewDay);
        return 2;
    }

    QCoreApplication app(argc, argv);
    std::unique_ptr<QTemporaryDir> temporary;
    QString folder;
    const qsizetype dirAt = args.indexOf(QStringLiteral("--dir"));
    if (dirAt > 0) {
        folder = QDir(args.value(dirAt + 1)).absolutePath();
    } else {
        temporary = std::make_unique<QTemporaryDir>();
        folder = temporary->path();
    }
    QTextStream out(stdout);
    const QString year = YearData::prepareHome(folder + QStringLiteral("/year"));
    if (year.isEmpty())
        return 1;
    {
        // An older store gains the program's index here, once, not in a timed phase.
        SqlDb store;
        if (!store.m_DB.isOpen())
            return 1;
    }
    const QString wide = folder + QStringLiteral("/wide.DB");
    if (!QFile::exists(wide)) {
        out << "adding " << kExtraWebsites * YearData::kKeywords * YearData::kEngines
            << " series ..." << Qt::endl;
        if (!QFile::copy(year, wide) || !addSeries(wide)) {
            QFile::remove(wide);
            out << "making the 24,000-series store failed" << Qt::endl;
            return 1;
        }
    }
    const QString scratch = folder + QStringLiteral("/scratch");

    const qsizetype repeatAt = args.indexOf(QStringLiteral("--repeat"));
    const int repeat = repeatAt > 0 ? qMax(1, args.value(repeatAt + 1).toInt()) : 3;
    std::vector<double> newToInsert, sameToNew, wideToNew;
    for (int round = 0; round < repeat; ++round) {
        const Phase insert = runPhase(QStringLiteral("insert"), year, scratch);
        const Phase merged = runPhase(QStringLiteral("new"), year, scratch);
        const Phase same = runPhase(QStringLiteral("same"), year, scratch);
        const Phase wider = runPhase(QStringLiteral("wide"), wide, scratch);
        if (!insert.ok || !merged.ok || !same.ok || !wider.ok) {
            out << "a phase failed" << Qt::endl;
            return 1;
        }
        const auto ms = [](const Phase& p) { return QString::number(p.seconds * 1e3, 'f', 1); };
        out << "round " << round + 1 << ":" << Qt::endl
            << "  (a) bare insert of 3,000 rows:      " << ms(insert) << " ms  " << insert.extra
            << Qt::endl
            << "  (b) merge of 3,000 new-day results: " << ms(merged) << " ms  " << merged.extra
            << Qt::endl
            << "  (c) merge of 3,000 same-day results: " << ms(same) << " ms  " << same.extra
            << Qt::endl
            << "  (d) merge of 24,000 new-day results: " << ms(wider) << " ms  " << wider.extra
            << Qt::endl;
        newToInsert.push_back(merged.seconds / insert.seconds);
        sameToNew.push_back(same.seconds / merged.seconds);
        wideToNew.push_back(wider.seconds / merged.seconds);
        out << "  ratios: new/insert " << QString::number(newToInsert.back(), 'f', 2)
            << ", same/new " << QString::number(sameToNew.back(), 'f', 2) << ", 24k/3k "
            << QString::number(wideToNew.back(), 'f', 2) << Qt::endl;
    }
    out << "over " << repeat << " rounds:" << Qt::endl
        << "ratio merge new-day / bare insert (target <= 3): " << spread(newToInsert) << Qt::endl
        << "ratio merge same-day / new-day (target <= 2):    " << spread(sameToNew) << Qt::endl
        << "ratio merge 24,000 / 3,000 series (target <= 10): " << spread(wideToNew) << Qt::endl;
    return 0;
}
