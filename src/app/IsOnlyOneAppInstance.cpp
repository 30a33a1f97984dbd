#include "IsOnlyOneAppInstance.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace InstanceLock {

QList<QByteArray> CandidatePaths(char const* name)
{
    const QByteArray lockName(name);
    QList<QByteArray> paths;
    paths.append("/var/run/" + lockName);
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty())
        paths.append(runtime + '/' + lockName);
    paths.append(QFile::encodeName(QDir::tempPath()) + '/' + lockName + '-' +
                 QByteArray::number(qulonglong(::getuid())));
    return paths;
}

Result Take(const QList<QByteArray>& paths, int* fd)
{
    for (const QByteArray& path : paths) {
        // Close-on-exec: a browser or file manager started by the program must not keep
        // the lock after the program ends. No symbolic link is followed: a link planted in
        // a shared folder could otherwise make us create or lock some other file.
        const int descriptor =
            ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (descriptor < 0)
            continue;
        if (::flock(descriptor, LOCK_EX | LOCK_NB) == 0) {
            if (fd)
                *fd = descriptor;
            return Locked;
        }
        const int error = errno;
        ::close(descriptor);
        if (error == EWOULDBLOCK)
            return HeldElsewhere;
        // Any other failure: the start goes on without a lock, as with no file at all.
        return NoLock;
    }
    return NoLock;
}

} // namespace InstanceLock

bool IsOnlyOneAppInstance(char const* name)
{
    // The descriptor stays open until the process ends; the system then releases the lock.
    return InstanceLock::Take(InstanceLock::CandidatePaths(name)) != InstanceLock::HeldElsewhere;
}
