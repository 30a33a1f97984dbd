#include "CheckRun.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

bool runToEnd(RankOperation& operation, RecordingProgress& progress, int limitMs)
{
    QEventLoop loop;
    progress.onEnd = [&loop] { loop.quit(); };
    if (!operation.StartTasks()) {
        progress.onEnd = nullptr;
        return false;
    }
    QTimer limit;
    limit.setSingleShot(true);
    QObject::connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
    limit.start(limitMs);
    if (progress.ends == 0)
        loop.exec();
    progress.onEnd = nullptr;
    return progress.ends == 1;
}

bool waitFor(const std::function<bool()>& done, int limitMs)
{
    QElapsedTimer waited;
    waited.start();
    while (!done()) {
        if (waited.elapsed() > limitMs)
            return false;
        QEventLoop loop;
        QTimer::singleShot(5, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}
