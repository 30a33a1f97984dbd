// bench_load: generates a store of 10 websites x 100 keywords x 3 engine variants x 365
// daily points and times, each phase in a process of its own,
//   (a) a raw sqlite3 scan of UpdateFlow reading every column (the physical limit),
//   (b) a forward-only QSqlQuery scan with the conversions the load uses (the baseline),
//   (c) SqlDb::LoadRankData.
// Usage: bench_load [--dir <folder>] [--keep] [--repeat <runs per phase, default 3>]
// With --dir an existing generated store in that folder is reused.

#include "SqlDb.h"
#include "SqlValue.h"
#include "WebsiteColumns.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextStream>

#include <sqlite3.h>

#include <cstdio>
#include <memory>

namespace {
const int kWebsites = 10;
const int kKeywords = 100;
const int kDays = 365;
const char* const kHosts[] = {"www.google.com", "www.bing.com", "search.yahoo.com"};

// Resident-set figures of this process from /proc, in kB.
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

void printPhase(const char* name, qint64 nanoseconds, qint64 startKb, const QString& extra = {})
{
    const qint64 peakKb = procStatus("VmHWM");
    std::printf("%s %.3f %lld %lld %s\n", name, nanoseconds / 1e9, (long long)peakKb,
                (long long)startKb, qPrintable(extra));
    std::fflush(stdout);
}

QString websiteUrl(int w)
{
    return QStringLiteral("www.site%1.example").arg(w);
}

bool generate(const QString& path)
{
    sqlite3* db = nullptr;
    if (sqlite3_open(QFile::encodeName(path).constData(), &db) != SQLITE_OK)
        return false;
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
            keywords << QStringLiteral("keyword %1 for site %2").arg(k).arg(w);
        const QByteArray url = websiteUrl(w).toUtf8();
        const QByteArray created = QByteArrayLiteral("2025-01-01T08:00:00");
        const QByteArray engineText = CombineSearchEnginesString(engines).toUtf8();
        const QByteArray keywordText = keywords.join(QLatin1Char('\n')).toUtf8();
        sqlite3_bind_text(site, 1, url.constData(), url.size(), SQLITE_TRANSIENT);
        sqlite3_bind_text(site, 2, created.constData(), created.size(), SQLITE_TRANSIENT);
        sqlite3_bind_text(site, 3, engineText.constData(), engineText.size(), SQLITE_TRANSIENT);
        sqlite3_bind_text(site, 4, keywordText.constData(), keywordText.size(), SQLITE_TRANSIENT);
        sqlite3_step(site);
        sqlite3_reset(site);
    }
    sqlite3_finalize(site);
    sqlite3_exec(db, "INSERT INTO config VALUES('DB_VER','1001')", nullptr, nullptr, nullptr);

    // One update run per day over every (website, engine, keyword), as the program
    // writes them. Ranks wander; the ranking page changes every few weeks.
    QRandomGenerator random(1095000);
    const int seriesCount = kWebsites * 3 * kKeywords;
    std::vector<int> ranks(static_cast<std::size_t>(seriesCount));
    for (int& r : ranks)
        r = 1 + int(random.bounded(100));
    sqlite3_stmt* row = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO UpdateFlow VALUES(?,?,?,?,?,?,?,?)", -1, &row, nullptr);
    int updateNo = 0;
    const QDateTime first(QDate(2025, 1, 1), QTime(6, 0));
    for (int day = 0; day < kDays; ++day) {
        int index = 0;
        for (int w = 0; w < kWebsites; ++w) {
            const QByteArray url = websiteUrl(w).toUtf8();
            for (int e = 0; e < 3; ++e) {
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
                    const QByteArray keyword =
                        QStringLiteral("keyword %1 for site %2").arg(k).arg(w).toUtf8();
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
                    if (sqlite3_step(row) != SQLITE_DONE)
                        return false;
                    sqlite3_reset(row);
                }
            }
        }
    }
    sqlite3_finalize(row);
    const bool ok = sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    return ok;
}

int phaseRaw(const QString& path)
{
    const qint64 startKb = procStatus("VmRSS");
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr) !=
        SQLITE_OK)
        return 1;
    QElapsedTimer timer;
    timer.start();
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db, "select * from UpdateFlow", -1, &statement, nullptr);
    qint64 rows = 0;
    qint64 sum = 0;
    while (sqlite3_step(statement) == SQLITE_ROW) {
        sum += sqlite3_column_int(statement, 0);
        for (int c : {1, 2, 3, 4, 6, 7}) {
            const unsigned char* text = sqlite3_column_text(statement, c);
            sum += sqlite3_column_bytes(statement, c) + (text ? text[0] : 0);
        }
        sum += sqlite3_column_int(statement, 5);
        ++rows;
    }
    sqlite3_finalize(statement);
    const qint64 elapsed = timer.nsecsElapsed();
    sqlite3_close(db);
    printPhase("raw", elapsed, startKb, QStringLiteral("rows=%1 check=%2").arg(rows).arg(sum));
    return 0;
}

int phaseQSqlQuery(const QString& path)
{
    const qint64 startKb = procStatus("VmRSS");
    qint64 rows = 0;
    qint64 sum = 0;
    qint64 elapsed = 0;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
        db.setDatabaseName(path);
        if (!db.open())
            return 1;
        QElapsedTimer timer;
        timer.start();
        QSqlQuery query(db);
        query.setForwardOnly(true);
        query.exec(QStringLiteral("select * from UpdateFlow"));
        while (query.next()) {
            sum += query.value(0).toInt();
            sum += query.value(1).toString().size();
            sum += query.value(2).toString().size();
            sum += query.value(3).toString().size();
            sum += SqlValue::toDateTime(query.value(4)).time().second();
            sum += query.value(5).toInt();
            sum += query.value(6).toString().size();
            sum += query.value(7).toString().size();
            ++rows;
        }
        elapsed = timer.nsecsElapsed();
    }
    printPhase("qsqlquery", elapsed, startKb,
               QStringLiteral("rows=%1 check=%2").arg(rows).arg(sum));
    return 0;
}

int phaseLoad()
{
    const qint64 startKb = procStatus("VmRSS");
    SqlDb store;
    std::vector<WEBSITE> websites;
    std::vector<RANK_DATA*> series;
    LTInt64 last = 0;
    QElapsedTimer timer;
    timer.start();
    const bool ok = store.LoadRankData(websites, series, last);
    const qint64 elapsed = timer.nsecsElapsed();
    qint64 points = 0;
    for (const RANK_DATA* s : series)
        points += qint64(s->FlowItems.size());
    printPhase("load", elapsed, startKb,
               QStringLiteral("ok=%1 websites=%2 series=%3 points=%4 last=%5")
                   .arg(ok)
                   .arg(websites.size())
                   .arg(series.size())
                   .arg(points)
                   .arg(last));
    for (RANK_DATA* s : series)
        delete s;
    return ok ? 0 : 1;
}

struct PhaseResult {
    double seconds = 0;
    double peakMb = 0;
    double startMb = 0;
    QString extra;
    bool ok = false;
};

PhaseResult runPhase(const QString& phase, const QString& home, const QString& path)
{
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home);
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--phase"), phase, QStringLiteral("--db"), path});
    PhaseResult result;
    if (!child.waitForFinished(-1) || child.exitCode() != 0)
        return result;
    const QStringList fields =
        QString::fromUtf8(child.readAllStandardOutput()).trimmed().split(' ');
    if (fields.size() < 4)
        return result;
    result.seconds = fields[1].toDouble();
    result.peakMb = fields[2].toDouble() / 1024.0;
    result.startMb = fields[3].toDouble() / 1024.0;
    result.extra = fields.mid(4).join(' ');
    result.ok = true;
    return result;
}
} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const qsizetype phaseAt = args.indexOf(QStringLiteral("--phase"));
    const qsizetype dbAt = args.indexOf(QStringLiteral("--db"));
    if (phaseAt > 0 && dbAt > 0) {
        const QString phase = args.value(phaseAt + 1);
        const QString path = args.value(dbAt + 1);
        if (phase == QLatin1String("raw"))
            return phaseRaw(path);
        if (phase == QLatin1String("qsqlquery"))
            return phaseQSqlQuery(path);
        if (phase == QLatin1String("load"))
            return phaseLoad();
        return 2;
    }

    std::unique_ptr<QTemporaryDir> temporary;
    QString home;
    const qsizetype dirAt = args.indexOf(QStringLiteral("--dir"));
    if (dirAt > 0) {
        home = QDir(args.value(dirAt + 1)).absolutePath();
        QDir().mkpath(home);
    } else {
        temporary = std::make_unique<QTemporaryDir>();
        temporary->setAutoRemove(!args.contains(QStringLiteral("--keep")));
        home = temporary->path();
    }
    qputenv("HOME", QFile::encodeName(home));
    const QString path = SqlDb::DatabasePath();

    QTextStream out(stdout);
    if (!QFile::exists(path)) {
        {
            SqlDb schema; // the tables exactly as the program makes them
            if (!schema.m_DB.isOpen())
                return 1;
        }
        QElapsedTimer timer;
        timer.start();
        out << "generating " << kWebsites * kKeywords * 3 * kDays << " rows in " << path << " ..."
            << Qt::endl;
        if (!generate(path)) {
            out << "generation failed" << Qt::endl;
            return 1;
        }
        out << "generated in " << QString::number(timer.elapsed() / 1000.0, 'f', 1) << " s"
            << Qt::endl;
    }
    const double fileMb = QFileInfo(path).size() / (1024.0 * 1024.0);
    out << "database file: " << QString::number(fileMb, 'f', 1) << " MB" << Qt::endl;

    // The phases take turns, so that a busy moment of the machine does not fall on one
    // phase only; each phase keeps its best time and its highest peak.
    const qsizetype repeatAt = args.indexOf(QStringLiteral("--repeat"));
    const int repeat = repeatAt > 0 ? qMax(1, args.value(repeatAt + 1).toInt()) : 3;
    PhaseResult raw, bare, load;
    const auto keepBest = [](PhaseResult& best, const PhaseResult& run, int round) {
        if (!run.ok)
            return false;
        if (round == 0 || run.seconds < best.seconds) {
            const double peak = qMax(best.peakMb, run.peakMb);
            best = run;
            best.peakMb = peak;
        } else {
            best.peakMb = qMax(best.peakMb, run.peakMb);
        }
        return true;
    };
    for (int round = 0; round < repeat; ++round) {
        if (!keepBest(raw, runPhase(QStringLiteral("raw"), home, path), round) ||
            !keepBest(bare, runPhase(QStringLiteral("qsqlquery"), home, path), round) ||
            !keepBest(load, runPhase(QStringLiteral("load"), home, path), round)) {
            out << "a phase failed" << Qt::endl;
            return 1;
        }
    }
    out << "best time of " << repeat << " runs per phase, highest peak" << Qt::endl;
    const auto line = [&out](const char* name, const PhaseResult& r) {
        out << name << QString::number(r.seconds, 'f', 3) << " s, peak RSS "
            << QString::number(r.peakMb, 'f', 1) << " MB (process at start "
            << QString::number(r.startMb, 'f', 1) << " MB) " << r.extra << Qt::endl;
    };
    line("(a) raw sqlite3 scan:     ", raw);
    line("(b) QSqlQuery scan:       ", bare);
    line("(c) SqlDb::LoadRankData:  ", load);
    out << "ratio load/qsqlquery: " << QString::number(load.seconds / bare.seconds, 'f', 2)
        << Qt::endl;
    out << "ratio load/raw: " << QString::number(load.seconds / raw.seconds, 'f', 2) << Qt::endl;
    out << "load peak RSS / database file: " << QString::number(load.peakMb / fileMb, 'f', 2)
        << Qt::endl;
    return 0;
}
