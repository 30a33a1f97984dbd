#include "ReportFile.h"

#include <QFile>
#include <QRandomGenerator>

#include <cerrno>
#include <cstdio>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Writes all of data to fd, going on after interruptions.
bool WriteAll(int fd, const QByteArray& data)
{
    qsizetype done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.constData() + done, size_t(data.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

// Creates a new file named path, a dot and six random characters, and returns its
// descriptor, or -1. O_EXCL makes the creation fail on any entry of that name, a link
// included, so the file is always a new one of ours.
int CreateBeside(const QByteArray& path, mode_t mode, QByteArray& name)
{
    static const char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = path + '.';
        for (int i = 0; i < 6; ++i)
            name += letters[QRandomGenerator::global()->bounded(int(sizeof(letters) - 1))];
        const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

} // namespace

bool ReplaceReportFile(const QString& path, const QByteArray& content)
{
    const QByteArray target = QFile::encodeName(path);
    // The entry itself is looked at, not what a link there points to.
    struct stat entry {
    };
    const bool regular = ::lstat(target.constData(), &entry) == 0 && S_ISREG(entry.st_mode);
    if (regular && ::access(target.constData(), W_OK) != 0)
        return false;
    // A new report gets the usual permissions (0666 less the umask); a replaced one keeps
    // its own, which the new file takes before anyone else can open it.
    QByteArray draft;
    const int fd = CreateBeside(target, regular ? 0600 : 0666, draft);
    if (fd < 0)
        return false;
    bool ok = WriteAll(fd, content);
    if (ok && regular)
        ::fchmod(fd, entry.st_mode & 07777);
    // On a file system that cannot sync there is nothing more to wait for.
    if (ok && ::fsync(fd) != 0 && errno != EINVAL)
        ok = false;
    if (::close(fd) != 0)
        ok = false;
    // rename() replaces the entry at target, whatever it is, except a folder.
    if (ok && std::rename(draft.constData(), target.constData()) != 0)
        ok = false;
    if (!ok)
        ::unlink(draft.constData());
    return ok;
}

QByteArray ReadRegularFile(const QString& path, qint64 maxBytes)
{
    // Anything but a regular file is not even opened (opening a device can have effects of
    // its own). What is opened is looked at again, and without blocking: a FIFO put there in
    // between would otherwise wait for a writer for ever.
    const QByteArray name = QFile::encodeName(path);
    struct stat info {
    };
    if (::stat(name.constData(), &info) != 0 || !S_ISREG(info.st_mode))
        return QByteArray();
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return QByteArray();
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size > maxBytes) {
        ::close(fd);
        return QByteArray();
    }
    QByteArray bytes;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            bytes.clear();
        if (n <= 0)
            break;
        if (bytes.size() + n > maxBytes) { // grown since it was looked at
            bytes.clear();
            break;
        }
        bytes.append(buffer, n);
    }
    ::close(fd);
    return bytes;
}
