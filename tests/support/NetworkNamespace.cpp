#include "NetworkNamespace.h"

#include <QByteArray>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <net/if.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
bool g_active = false;
QString g_reason = QStringLiteral("the private network namespace was not entered");

QString failure(const char* step)
{
    return QStringLiteral("cannot set up the private network namespace (%1: %2)")
        .arg(QLatin1String(step), QString::fromLocal8Bit(std::strerror(errno)));
}

bool writeProcFile(const char* path, const QByteArray& text)
{
    const int fd = ::open(path, O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool written = ::write(fd, text.constData(), size_t(text.size())) == text.size();
    ::close(fd);
    return written;
}

// A normal user may make network and mount namespaces inside a user namespace of its own,
// in which its user and group are root.
bool becomeRootInOwnUserNamespace()
{
    const QByteArray uid = QByteArray::number(qulonglong(::geteuid()));
    const QByteArray gid = QByteArray::number(qulonglong(::getegid()));
    if (::unshare(CLONE_NEWUSER) != 0) {
        g_reason = QStringLiteral("the kernel refuses this user a user namespace (unshare "
                                  "CLONE_NEWUSER: %1), in which the private network and mount "
                                  "namespace would be made; as root these run")
                       .arg(QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    // The group may be mapped only once setgroups is refused (kernels before 3.19 lack the
    // file and need nothing).
    if (!writeProcFile("/proc/self/setgroups", "deny") && errno != ENOENT) {
        g_reason = failure("deny setgroups");
        return false;
    }
    if (!writeProcFile("/proc/self/uid_map", "0 " + uid + " 1\n")) {
        g_reason = failure("map the user to root");
        return false;
    }
    if (!writeProcFile("/proc/self/gid_map", "0 " + gid + " 1\n")) {
        g_reason = failure("map the group to root");
        return false;
    }
    return true;
}

bool bringUpLoopback()
{
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    ifreq request{};
    std::strncpy(request.ifr_name, "lo", IFNAMSIZ - 1);
    bool ok = ::ioctl(fd, SIOCGIFFLAGS, &request) == 0;
    if (ok) {
        request.ifr_flags |= IFF_UP | IFF_RUNNING;
        ok = ::ioctl(fd, SIOCSIFFLAGS, &request) == 0;
    }
    ::close(fd);
    return ok;
}
} // namespace

namespace NetworkNamespace {

QStringList engineHosts()
{
    return {
        QStringLiteral("www.google.com"),      QStringLiteral("www.google.co.uk"),
        QStringLiteral("www.google.ca"),       QStringLiteral("www.google.fr"),
        QStringLiteral("www.google.de"),       QStringLiteral("www.google.com.au"),
        QStringLiteral("www.google.co.jp"),    QStringLiteral("www.bing.com"),
        QStringLiteral("cn.bing.com"),         QStringLiteral("search.yahoo.com"),
        QStringLiteral("uk.search.yahoo.com"), QStringLiteral("ca.search.yahoo.com"),
        QStringLiteral("fr.search.yahoo.com"), QStringLiteral("de.search.yahoo.com"),
        QStringLiteral("search.yahoo.co.jp"),
    };
}

void enter(const QStringList& extraHosts)
{
    if (::geteuid() != 0 && !becomeRootInOwnUserNamespace())
        return;
    if (::unshare(CLONE_NEWNET | CLONE_NEWNS) != 0) {
        g_reason = failure("unshare");
        return;
    }
    // Nothing mounted here may reach the parent namespace.
    if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
        g_reason = failure("mount --make-rprivate /");
        return;
    }
    if (!bringUpLoopback()) {
        g_reason = failure("bring up lo");
        return;
    }

    QByteArray hosts = "127.0.0.1 localhost\n::1 localhost\n";
    for (const QString& host : engineHosts() + extraHosts)
        hosts += "127.0.0.1 " + host.toLatin1() + '\n';
    char path[] = "/tmp/lumatrove-hosts-XXXXXX";
    const int fd = ::mkstemp(path);
    if (fd < 0) {
        g_reason = failure("mkstemp");
        return;
    }
    const bool written = ::write(fd, hosts.constData(), hosts.size()) == hosts.size();
    ::fchmod(fd, 0644);
    ::close(fd);
    const bool mounted = written && ::mount(path, "/etc/hosts", nullptr, MS_BIND, nullptr) == 0;
    if (!mounted)
        g_reason = failure("bind-mount /etc/hosts");
    // The mount keeps the file alive.
    ::unlink(path);
    if (!mounted)
        return;

    // Requests must not be sent to a proxy of the machine.
    for (const char* name : {"http_proxy", "HTTP_PROXY", "https_proxy", "HTTPS_PROXY", "all_proxy",
                             "ALL_PROXY", "no_proxy", "NO_PROXY"})
        ::unsetenv(name);
    g_active = true;
    g_reason.clear();
}

bool active()
{
    return g_active;
}

QString reason()
{
    return g_reason;
}

} // namespace NetworkNamespace
