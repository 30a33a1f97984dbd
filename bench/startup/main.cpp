// bench_startup: on a generated year of rank data (10 websites x 100 keywords x 3 engine
// variants x 365 days), under a private Xvfb, each round measures
//   (load)    SqlDb::LoadRankData alone, in a process of its own, as the program runs it;
//   (window)  the real lumatrove from exec until its main window is mapped (the overview
//             is filled while the window is built, before it is shown);
//   (rebuild) on a real RMainWindow of this program's libraries, shown on the Xvfb
//             display: the real event 1001 posted to it, until it is handled, the new
//             central widget has been laid out and painted and the old one deleted.
// and prints window/load and rebuild/load per round, then min/median/max.
// The program and the rebuild run in a private network and mount namespace (no news
// request leaves the machine, the single-instance lock is private), which needs root.
// Usage: bench_startup [--dir <folder>] [--rounds <n, default 3>]
// With --dir an existing generated store in that folder is reused.

#include "LumatroveMain.h"
#include "MessageBoxHook.h"
#include "ParamEvent.h"
#include "RMainWindow.h"
#include "RankMain.h"
#include "SqlDb.h"
#include "SqlValue.h"
#include "YearData.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <poll.h>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

namespace {

void say(const QString& line)
{
    std::fputs(qPrintable(line + QLatin1Char('\n')), stdout);
    std::fflush(stdout);
}

// Runs in the child between fork and exec: no network (the news request fails at once
// instead of leaving the machine) and a /run of its own (the single-instance lock).
void privateNamespaces()
{
    if (::unshare(CLONE_NEWNET | CLONE_NEWNS) != 0)
        ::_exit(120);
    if (::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        ::mount("none", "/run", "tmpfs", 0, nullptr) != 0)
        ::_exit(121);
    ::mount("none", "/var/run", "tmpfs", 0, nullptr); // a link to /run on most systems
}

// The bare load, timed inside its own process as the program does it.
int phaseLoad()
{
    const YearData::TimedLoad load = YearData::loadStore();
    for (RANK_DATA* s : load.series)
        delete s;
    say(QStringLiteral("load %1 %2")
            .arg(load.nanoseconds / 1e9, 0, 'f', 4)
            .arg(load.cpuSeconds, 0, 'f', 4));
    return load.ok ? 0 : 1;
}

class SilentHook : public MessageBoxHook
{
public:
    int show(const Request& request) override
    {
        say(QStringLiteral("box %1|%2").arg(request.title, request.text));
        return Ok;
    }
};

// The rebuild on a real main window of the program's own classes, shown on the display.
int phaseRebuild(int argc, char* argv[], int repeats)
{
    SqlValue::pinLocalTimeZone();
    QApplication app(argc, argv);
    SilentHook hook;
    MessageBoxHook::install(&hook);
    RankMain::SetNewsPage(QUrl());
    app.setOrganizationName(QStringLiteral("Brindlecor"));
    app.setApplicationName(QStringLiteral("Lumatrove"));

    RMainWindow window(nullptr);
    s_wndRMainWindow = &window;
    if (!window.Hub()->m_Sqldb.m_DB.isOpen())
        return 1;
    window.resize(1000, 580);
    window.show();
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 500)
        app.processEvents(QEventLoop::AllEvents, 50);

    for (int i = 0; i < repeats; ++i) {
        const QPointer<RankMain> before = window.Hub();
        QElapsedTimer timer;
        timer.start();
        const double cpuStart = YearData::cpuSeconds();
        QCoreApplication::postEvent(&window, new ParamEvent(0));
        // The loop handles the event, lays out and paints the new central widget; the old
        // one goes at the next turn of the outermost loop.
        QCoreApplication::sendPostedEvents();
        const qint64 handled = timer.nsecsElapsed();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        const qint64 deleted = timer.nsecsElapsed();
        app.processEvents();
        const qint64 elapsed = timer.nsecsElapsed();
        const double cpu = YearData::cpuSeconds() - cpuStart;
        say(QStringLiteral("parts handled %1 deleted %2 painted %3")
                .arg(handled / 1e9, 0, 'f', 4)
                .arg((deleted - handled) / 1e9, 0, 'f', 4)
                .arg((elapsed - deleted) / 1e9, 0, 'f', 4));
        if (before) // not rebuilt, or the old central widget is still there
            return 2;
        say(QStringLiteral("rebuild %1 %2").arg(elapsed / 1e9, 0, 'f', 4).arg(cpu, 0, 'f', 4));
    }
    s_wndRMainWindow = nullptr;
    MessageBoxHook::install(nullptr);
    return 0;
}

// A private X server; the display number is the first free one from 90 on.
class Xvfb
{
public:
    ~Xvfb()
    {
        if (m_connection)
            xcb_disconnect(m_connection);
        if (m_server.state() != QProcess::NotRunning) {
            m_server.terminate();
            if (!m_server.waitForFinished(5000))
                m_server.kill();
            m_server.waitForFinished();
        }
    }

    bool start()
    {
        for (int number = 90; number < 140; ++number) {
            if (QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(number)))
                continue;
            m_display = QStringLiteral(":%1").arg(number);
            m_server.start(QStringLiteral("Xvfb"),
                           {m_display, QStringLiteral("-screen"), QStringLiteral("0"),
                            QStringLiteral("1280x1024x24"), QStringLiteral("-nolisten"),
                            QStringLiteral("tcp")});
            if (!m_server.waitForStarted(5000))
                return false;
            QElapsedTimer wait;
            wait.start();
            while (wait.elapsed() < 10000 && m_server.state() == QProcess::Running) {
                xcb_connection_t* connection = xcb_connect(qPrintable(m_display), nullptr);
                if (!xcb_connection_has_error(connection)) {
                    m_connection = connection;
                    watchRoot();
                    return true;
                }
                xcb_disconnect(connection);
                QThread::msleep(20);
            }
            m_server.kill();
            m_server.waitForFinished();
        }
        return false;
    }

    QString display() const { return m_display; }

    // Waits for a top-level window of process pid to be mapped; false when the process
    // ends or a minute passes first.
    bool waitForMappedWindow(qint64 pid, const QProcess& process)
    {
        const int fd = xcb_get_file_descriptor(m_connection);
        QElapsedTimer wait;
        wait.start();
        while (wait.elapsed() < 60000) {
            while (xcb_generic_event_t* event = xcb_poll_for_event(m_connection)) {
                const bool mapped = (event->response_type & 0x7f) == XCB_MAP_NOTIFY;
                xcb_window_t window = 0;
                if (mapped) {
                    const auto* map = reinterpret_cast<xcb_map_notify_event_t*>(event);
                    if (!map->override_redirect)
                        window = map->window;
                }
                free(event);
                if (window && pidOf(window) == pid)
                    return true;
            }
            if (process.state() == QProcess::NotRunning)
                return false;
            pollfd readable{fd, POLLIN, 0};
            ::poll(&readable, 1, 5);
        }
        return false;
    }

private:
    void watchRoot()
    {
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data;
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(m_connection, screen->root, XCB_CW_EVENT_MASK, &mask);
        const char name[] = "_NET_WM_PID";
        xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
            m_connection, xcb_intern_atom(m_connection, 0, sizeof name - 1, name), nullptr);
        m_pidAtom = atom ? atom->atom : 0;
        free(atom);
        xcb_flush(m_connection);
    }

    qint64 pidOf(xcb_window_t window)
    {
        xcb_get_property_reply_t* reply = xcb_get_property_reply(
            m_connection,
            xcb_get_property(m_connection, 0, window, m_pidAtom, XCB_ATOM_CARDINAL, 0, 1), nullptr);
        qint64 pid = -1;
        if (reply && xcb_get_property_value_length(reply) == 4)
            pid = *static_cast<const uint32_t*>(xcb_get_property_value(reply));
        free(reply);
        return pid;
    }

    QProcess m_server;
    QString m_display;
    xcb_connection_t* m_connection = nullptr;
    xcb_atom_t m_pidAtom = 0;
};

QProcessEnvironment childEnvironment(const QString& home, const QString& display)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home);
    env.insert(QStringLiteral("DISPLAY"), display);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    return env;
}

// Runs this program in a phase; returns the wall-clock and CPU seconds it printed for
// the given name.
QList<double> runPhase(const QStringList& args, const QProcessEnvironment& env, bool isolated,
                       const QString& name)
{
    QProcess child;
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    if (isolated)
        child.setChildProcessModifier(privateNamespaces);
    child.start(QCoreApplication::applicationFilePath(), args);
    QList<double> figures;
    if (!child.waitForFinished(-1) || child.exitStatus() != QProcess::NormalExit ||
        child.exitCode() != 0) {
        say(QStringLiteral("phase %1 failed (exit %2)").arg(name).arg(child.exitCode()));
        return figures;
    }
    const QStringList lines =
        QString::fromUtf8(child.readAllStandardOutput()).split(QLatin1Char('\n'));
    for (const QString& line : lines) {
        const QStringList fields = line.split(QLatin1Char(' '));
        if (fields.size() >= 3 && fields[0] == name && figures.isEmpty())
            figures << fields[1].toDouble() << fields[2].toDouble();
        else if (!line.isEmpty())
            say(QStringLiteral("  %1: %2").arg(name, line));
    }
    return figures;
}

// CPU seconds a process has used so far (user and system), from /proc.
double processCpuSeconds(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray text = stat.readAll();
    // The fields after the command name, which is in parentheses and may hold blanks.
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 13)
        return -1;
    return (fields[11].toDouble() + fields[12].toDouble()) / double(::sysconf(_SC_CLK_TCK));
}

// The real program from exec until its main window is mapped: wall-clock and CPU
// seconds; empty on failure.
QList<double> runProgram(Xvfb& xvfb, const QProcessEnvironment& env)
{
    QProcess program;
    program.setProcessEnvironment(env);
    program.setProcessChannelMode(QProcess::ForwardedChannels);
    program.setChildProcessModifier(privateNamespaces);
    QElapsedTimer timer;
    timer.start();
    program.start(QStringLiteral(LUMATROVE_PROGRAM), {});
    const bool mapped =
        program.waitForStarted(10000) && xvfb.waitForMappedWindow(program.processId(), program);
    const qint64 elapsed = timer.nsecsElapsed();
    const double cpu = mapped ? processCpuSeconds(program.processId()) : -1;
    program.kill();
    program.waitForFinished(30000);
    if (!mapped || cpu < 0)
        return {};
    return {elapsed / 1e9, cpu};
}

QString spread(QList<double> ratios)
{
    std::sort(ratios.begin(), ratios.end());
    if (ratios.isEmpty())
        return QStringLiteral("-");
    const double median = ratios.size() % 2
                              ? ratios[ratios.size() / 2]
                              : (ratios[ratios.size() / 2 - 1] + ratios[ratios.size() / 2]) / 2;
    return QStringLiteral("min %1, median %2, max %3")
        .arg(ratios.first(), 0, 'f', 3)
        .arg(median, 0, 'f', 3)
        .arg(ratios.last(), 0, 'f', 3);
}

} // namespace

int main(int argc, char* argv[])
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    if (args.value(0) == QLatin1String("--phase")) {
        if (args.value(1) == QLatin1String("load")) {
            QCoreApplication app(argc, argv);
            return phaseLoad();
        }
        if (args.value(1) == QLatin1String("rebuild"))
            return phaseRebuild(argc, argv, qMax(1, args.value(2).toInt()));
        return 2;
    }

    QCoreApplication app(argc, argv);
    if (::geteuid() != 0) {
        say(QStringLiteral("bench_startup runs the program in a private network and mount "
                           "namespace and needs root."));
        return 1;
    }
    std::unique_ptr<QTemporaryDir> temporary;
    QString home;
    const qsizetype dirAt = args.indexOf(QStringLiteral("--dir"));
    if (dirAt >= 0) {
        home = QDir(args.value(dirAt + 1)).absolutePath();
    } else {
        temporary = std::make_unique<QTemporaryDir>();
        home = temporary->path();
    }
    const QString path = YearData::prepareHome(home);
    if (path.isEmpty())
        return 1;
    const qsizetype roundsAt = args.indexOf(QStringLiteral("--rounds"));
    const int rounds = roundsAt >= 0 ? qMax(1, args.value(roundsAt + 1).toInt()) : 3;
    say(QStringLiteral("database file: %1 MB")
            .arg(QFileInfo(path).size() / (1024.0 * 1024.0), 0, 'f', 1));

    Xvfb xvfb;
    if (!xvfb.start()) {
        say(QStringLiteral("Xvfb did not start"));
        return 1;
    }
    const QProcessEnvironment env = childEnvironment(home, xvfb.display());

    // Phases take turns so that a busy moment of the machine does not fall on one only.
    QList<double> windowRatios, rebuildRatios, windowCpuRatios, rebuildCpuRatios;
    for (int round = 0; round < rounds; ++round) {
        const QList<double> load = runPhase({QStringLiteral("--phase"), QStringLiteral("load")},
                                            env, false, QStringLiteral("load"));
        const QList<double> window = runProgram(xvfb, env);
        const QList<double> rebuild =
            runPhase({QStringLiteral("--phase"), QStringLiteral("rebuild"), QStringLiteral("1")},
                     env, true, QStringLiteral("rebuild"));
        if (load.isEmpty() || window.isEmpty() || rebuild.isEmpty()) {
            say(QStringLiteral("round %1 failed").arg(round + 1));
            return 1;
        }
        windowRatios << window[0] / load[0];
        rebuildRatios << rebuild[0] / load[0];
        windowCpuRatios << window[1] / load[1];
        rebuildCpuRatios << rebuild[1] / load[1];
        say(QStringLiteral("round %1: load %2 s (CPU %3 s), window %4 s (CPU %5 s), rebuild %6 s "
                           "(CPU %7 s); window/load %8, rebuild/load %9")
                .arg(round + 1)
                .arg(load[0], 0, 'f', 3)
                .arg(load[1], 0, 'f', 3)
                .arg(window[0], 0, 'f', 3)
                .arg(window[1], 0, 'f', 3)
                .arg(rebuild[0], 0, 'f', 3)
                .arg(rebuild[1], 0, 'f', 3)
                .arg(windowRatios.last(), 0, 'f', 3)
                .arg(rebuildRatios.last(), 0, 'f', 3));
    }
    say(QStringLiteral("ratio window/load (target 1.3 or less): %1").arg(spread(windowRatios)));
    say(QStringLiteral("ratio rebuild/load (target 1.3 or less): %1").arg(spread(rebuildRatios)));
    // CPU time varies less on a busy machine; the program's figure covers its whole
    // process up to the mapped window.
    say(QStringLiteral("CPU ratio window/load: %1").arg(spread(windowCpuRatios)));
    say(QStringLiteral("CPU ratio rebuild/load: %1").arg(spread(rebuildCpuRatios)));
    return 0;
}
