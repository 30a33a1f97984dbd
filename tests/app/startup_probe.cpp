// Runs the program's whole start-up with a message-box hook that prints every box and
// answers Ok, and reports on the main window once the event loop runs. Options:
//   --report          print the window's title, size and visibility, then quit (exit 0)
//   --stay            print READY and keep running until terminated
//   --spawn PROGRAM   start PROGRAM (with the arguments that follow) detached, print its
//                     process id, then quit
//   --grab FILE       save a picture of the main window, then quit
#include "LumatroveMain.h"
#include "MessageBoxHook.h"
#include "RMainWindow.h"
#include "RankMain.h"

#include <QApplication>
#include <QProcess>
#include <QTimer>

#include <cstdio>

namespace {
void say(const QString& line)
{
    std::fputs(qPrintable(line + QLatin1Char('\n')), stdout);
    std::fflush(stdout);
}

class PrintingHook : public MessageBoxHook
{
public:
    int show(const Request& request) override
    {
        const char* icons[] = {"none", "information", "warning", "critical", "question"};
        say(QStringLiteral("BOX %1|%2|%3")
                .arg(QLatin1String(icons[request.icon]), request.title, request.text));
        return request.defaultButton != NoButton ? request.defaultButton : Ok;
    }
};
} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    PrintingHook hook;
    MessageBoxHook::install(&hook);
    // The news request must not leave the machine.
    RankMain::SetNewsPage(QUrl());

    const QStringList args = app.arguments().mid(1);
    QTimer::singleShot(0, &app, [args] {
        RMainWindow* window = s_wndRMainWindow;
        if (!window) {
            say(QStringLiteral("NO WINDOW"));
            QCoreApplication::exit(2);
            return;
        }
        say(QStringLiteral("WINDOW %1|%2x%3|%4")
                .arg(window->windowTitle())
                .arg(window->width())
                .arg(window->height())
                .arg(window->isVisible() ? QStringLiteral("visible") : QStringLiteral("hidden")));
        const QString mode = args.value(0);
        if (mode == QLatin1String("--stay")) {
            say(QStringLiteral("READY"));
        } else if (mode == QLatin1String("--spawn")) {
            qint64 pid = 0;
            if (!QProcess::startDetached(args.value(1), args.mid(2), QString(), &pid))
                QCoreApplication::exit(2);
            say(QStringLiteral("CHILD %1").arg(pid));
            QCoreApplication::exit(0);
        } else if (mode == QLatin1String("--grab")) {
            QTimer::singleShot(500, window, [window, args] {
                const bool saved = window->grab().save(args.value(1));
                QCoreApplication::exit(saved ? 0 : 2);
            });
        } else {
            QCoreApplication::exit(0);
        }
    });

    const int exitCode = lumatroveMain(app);
    MessageBoxHook::install(nullptr);
    return exitCode;
}
