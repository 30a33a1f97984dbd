// bench_load: generates a store of 10 websites x 100 keywords x 3 engine variants x 365
// daily points and times, each phase in a process of its own,
//   (a) a raw sqlite3 scan of UpdateFlow reading every column: the baseline, the physical
//       limit of reading the table;
//   (b) a forward-only QSqlQuery scan that converts every column as the load did before
//       it read the rows itself (a QVariant per column, SqlValue::toDateTime per row);
//   (c) SqlDb::LoadRankData, as the program runs it (its main pins the local zone);
//   (d) SqlDb::LoadRankData reading the rank rows through QSqlQuery, as it does where the
//       Qt driver runs another SQLite library than the program.
// The headline is (c)/(a). Usage: bench_load [--dir <folder>] [--keep] [--repeat <runs per
// phase, default 3>]. With --dir an existing generated store in that folder is reused.

#include "SqlDb.h"
#include "SqlValue.h"
#include "YearData.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextStream>

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace {
using YearData::procStatus;

void printPhase(const char* name, qint64 nanoseconds, double cpu, qint64 startKb,
                const QString& extra = {})
{
    const qint64 peakKb = procStatus("VmHWM");
    std::printf("%s %.3f %lld %lld %.3f %s\n", name, nanoseconds / 1e9, (long long)peakKb,
                (long long)startKb, cpu, qPrintable(extra));
    std::fflush(stdout);
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
    const double cpuStart = YearData::cpuSeconds();
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
    printPhase("raw", elapsed, YearData::cpuSeconds() - cpuStart, startKb,
               QStringLiteral("rows=%1 check=%2").arg(rows).arg(sum));
    return 0;
}

int phaseQSqlQuery(const QString& path)
{
    const qint64 startKb = procStatus("VmRSS");
    qint64 rows = 0;
    qint64 sum = 0;
    qint64 elapsed = 0;
    double cpu = 0;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
        db.setDatabaseName(path);
        if (!db.open())
            return 1;
        QElapsedTimer timer;
        timer.start();
        const double cpuStart = YearData::cpuSeconds();
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
        cpu = YearData::cpuSeconds() - cpuStart;
    }
    printPhase("qsqlquery", elapsed, cpu, startKb,
               QStringLiteral("rows=%1 check=%2").arg(rows).arg(sum));
    return 0;
}

int phaseLoad(bool throughQuery)
{
    const qint64 startKb = procStatus("VmRSS");
    const YearData::TimedLoad load = YearData::loadStore(throughQuery);
    qint64 points = 0;
    for (const RANK_DATA* s : load.series)
        points += qint64(s->FlowItems.size());
    printPhase("load", load.nanoseconds, load.cpuSeconds, startKb,
               QStringLiteral("ok=%1 handle=%2 websites=%3 series=%4 points=%5 last=%6")
                   .arg(load.ok)
                   .arg(load.readDriverHandle)
                   .arg(load.websites.size())
                   .arg(load.series.size())
                   .arg(points)
                   .arg(load.last));
    for (RANK_DATA* s : load.series)
        delete s;
    return load.ok ? 0 : 1;
}

struct PhaseResult {
    double seconds = 0;
    double cpu = 0;
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
    if (fields.size() < 5)
        return result;
    result.seconds = fields[1].toDouble();
    result.peakMb = fields[2].toDouble() / 1024.0;
    result.startMb = fields[3].toDouble() / 1024.0;
    result.cpu = fields[4].toDouble();
    result.extra = fields.mid(5).join(' ');
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
            return phaseLoad(false);
        if (phase == QLatin1String("loadquery"))
            return phaseLoad(true);
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
    const QString path = YearData::prepareHome(home);
    if (path.isEmpty())
        return 1;
    QTextStream out(stdout);
    const double fileMb = QFileInfo(path).size() / (1024.0 * 1024.0);
    out << "database file: " << QString::number(fileMb, 'f', 1) << " MB" << Qt::endl;

    // The phases take turns, so that a busy moment of the machine does not fall on one
    // phase only; each phase keeps its best time and its highest peak, and the ratios of
    // each round are kept for their spread.
    const qsizetype repeatAt = args.indexOf(QStringLiteral("--repeat"));
    const int repeat = repeatAt > 0 ? qMax(1, args.value(repeatAt + 1).toInt()) : 3;
    PhaseResult raw, bare, load, queryLoad;
    QList<double> wallRatios, cpuRatios;
    const auto keepBest = [](PhaseResult& best, const PhaseResult& run, int round) {
        if (!run.ok)
            return false;
        const double peak = round == 0 ? run.peakMb : qMax(best.peakMb, run.peakMb);
        const double cpu = round == 0 ? run.cpu : qMin(best.cpu, run.cpu);
        if (round == 0 || run.seconds < best.seconds)
            best = run;
        best.peakMb = peak;
        best.cpu = cpu;
        return true;
    };
    for (int round = 0; round < repeat; ++round) {
        const PhaseResult rawRun = runPhase(QStringLiteral("raw"), home, path);
        const PhaseResult bareRun = runPhase(QStringLiteral("qsqlquery"), home, path);
        const PhaseResult loadRun = runPhase(QStringLiteral("load"), home, path);
        const PhaseResult queryLoadRun = runPhase(QStringLiteral("loadquery"), home, path);
        if (!keepBest(raw, rawRun, round) || !keepBest(bare, bareRun, round) ||
            !keepBest(load, loadRun, round) || !keepBest(queryLoad, queryLoadRun, round)) {
            out << "a phase failed" << Qt::endl;
            return 1;
        }
        wallRatios << loadRun.seconds / rawRun.seconds;
        cpuRatios << loadRun.cpu / rawRun.cpu;
    }
    out << "best time and CPU time of " << repeat << " runs per phase, highest peak" << Qt::endl;
    const auto line = [&out](const char* name, const PhaseResult& r) {
        out << name << QString::number(r.seconds, 'f', 3) << " s (CPU "
            << QString::number(r.cpu, 'f', 3) << " s), peak RSS "
            << QString::number(r.peakMb, 'f', 1) << " MB (process at start "
            << QString::number(r.startMb, 'f', 1) << " MB) " << r.extra << Qt::endl;
    };
    const auto spread = [](QList<double> ratios) {
        std::sort(ratios.begin(), ratios.end());
        const qsizetype n = ratios.size();
        const double median = n % 2 ? ratios[n / 2] : (ratios[n / 2 - 1] + ratios[n / 2]) / 2;
        return QStringLiteral("min %1, median %2, max %3")
            .arg(ratios.first(), 0, 'f', 2)
            .arg(median, 0, 'f', 2)
            .arg(ratios.last(), 0, 'f', 2);
    };
    line("(a) raw sqlite3 scan, every column:        ", raw);
    line("(b) QSqlQuery scan, QVariant conversions:   ", bare);
    line("(c) SqlDb::LoadRankData:                    ", load);
    line("(d) SqlDb::LoadRankData through QSqlQuery:  ", queryLoad);
    out << "ratio load/raw: " << QString::number(load.seconds / raw.seconds, 'f', 2)
        << " (headline, best times; target 3 or less)" << Qt::endl;
    out << "ratio load/raw per round, wall: " << spread(wallRatios) << Qt::endl;
    out << "ratio load/raw per round, CPU:  " << spread(cpuRatios) << Qt::endl;
    out << "ratio load/qsqlquery: " << QString::number(load.seconds / bare.seconds, 'f', 2)
        << Qt::endl;
    out << "ratio load through QSqlQuery/raw: "
        << QString::number(queryLoad.seconds / raw.seconds, 'f', 2) << Qt::endl;
    out << "load peak RSS / database file: " << QString::number(load.peakMb / fileMb, 'f', 2)
        << " (target below 1)" << Qt::endl;
    return 0;
}
