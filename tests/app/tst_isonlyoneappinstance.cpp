#include "IsOnlyOneAppInstance.h"
#include "TestMain.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {
QByteArray pathIn(const QTemporaryDir& dir, const char* name)
{
    return QFile::encodeName(dir.path()) + '/' + name;
}
} // namespace

class TestIsOnlyOneAppInstance : public QObject
{
    Q_OBJECT

private:
    QList<int> m_open;

    int openAndLock(const QByteArray& path)
    {
        const int fd = ::open(path.constData(), O_RDWR | O_CREAT, 0600);
        if (fd >= 0) {
            m_open.append(fd);
            if (::flock(fd, LOCK_EX | LOCK_NB) != 0)
                return -1;
        }
        return fd;
    }

private slots:
    void cleanup()
    {
        for (int fd : std::as_const(m_open))
            ::close(fd);
        m_open.clear();
    }

    void candidatesInOrder()
    {
        QTemporaryDir tmp;
        const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
        qputenv("TMPDIR", QFile::encodeName(tmp.path()));
        const QByteArray uid = QByteArray::number(qulonglong(::getuid()));

        QCOMPARE(InstanceLock::CandidatePaths("abc-1"),
                 (QList<QByteArray>{"/var/run/abc-1", runtime + "/abc-1",
                                    QFile::encodeName(tmp.path()) + "/abc-1-" + uid}));
        qunsetenv("XDG_RUNTIME_DIR");
        QCOMPARE(
            InstanceLock::CandidatePaths("abc-1"),
            (QList<QByteArray>{"/var/run/abc-1", QFile::encodeName(tmp.path()) + "/abc-1-" + uid}));
        qputenv("XDG_RUNTIME_DIR", runtime);
        qunsetenv("TMPDIR");
    }

    void firstFileThatOpensIsLocked()
    {
        QTemporaryDir dir;
        const QByteArray missing = pathIn(dir, "no-such-folder/lock");
        const QByteArray second = pathIn(dir, "second");
        const QByteArray third = pathIn(dir, "third");
        int fd = -1;
        QCOMPARE(InstanceLock::Take({missing, second, third}, &fd), InstanceLock::Locked);
        m_open.append(fd);
        QVERIFY(QFile::exists(QString::fromLocal8Bit(second)));
        QVERIFY(!QFile::exists(QString::fromLocal8Bit(third)));
        // The descriptor does not survive into programs the process starts.
        QVERIFY(::fcntl(fd, F_GETFD) & FD_CLOEXEC);
        // The lock is really held: another open file description cannot take it.
        QCOMPARE(openAndLock(second), -1);
    }

    void heldLockRefuses()
    {
        QTemporaryDir dir;
        const QByteArray first = pathIn(dir, "first");
        const QByteArray second = pathIn(dir, "second");
        QVERIFY(openAndLock(first) >= 0);
        QCOMPARE(InstanceLock::Take({first, second}), InstanceLock::HeldElsewhere);
        // Refused at the holder's file, without moving on to the next one.
        QVERIFY(!QFile::exists(QString::fromLocal8Bit(second)));
    }

    void symbolicLinkIsNotFollowed()
    {
        QTemporaryDir dir;
        const QByteArray link = pathIn(dir, "link");
        const QByteArray target = pathIn(dir, "target");
        const QByteArray next = pathIn(dir, "next");
        QVERIFY(::symlink(target.constData(), link.constData()) == 0);
        int fd = -1;
        QCOMPARE(InstanceLock::Take({link, next}, &fd), InstanceLock::Locked);
        m_open.append(fd);
        QVERIFY(!QFile::exists(QString::fromLocal8Bit(target)));
        QVERIFY(QFile::exists(QString::fromLocal8Bit(next)));
    }

    void nothingOpensStartsAnyway()
    {
        QTemporaryDir dir;
        QCOMPARE(InstanceLock::Take({pathIn(dir, "a/lock"), pathIn(dir, "b/lock")}),
                 InstanceLock::NoLock);
        QCOMPARE(InstanceLock::Take({}), InstanceLock::NoLock);
    }
};

LT_TEST_MAIN(TestIsOnlyOneAppInstance)
#include "tst_isonlyoneappinstance.moc"
