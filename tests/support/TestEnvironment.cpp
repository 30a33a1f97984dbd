#include "TestEnvironment.h"

#include "RankMain.h"

#include <QDir>
#include <QTemporaryDir>

#include <cstdlib>

namespace {
QTemporaryDir* g_root = nullptr;
int g_homeCount = 0;

void setEnv(const char* name, const QString& value)
{
    ::setenv(name, QFile::encodeName(value).constData(), 1);
}
} // namespace

namespace TestEnvironment {

QString root()
{
    return g_root ? g_root->path() : QString();
}

QString freshHome()
{
    const QString home = root() + QStringLiteral("/home%1").arg(++g_homeCount);
    QDir().mkpath(home);
    setEnv("HOME", home);
    setEnv("XDG_CONFIG_HOME", home + QStringLiteral("/.config"));
    setEnv("XDG_DATA_HOME", home + QStringLiteral("/.local/share"));
    setEnv("XDG_CACHE_HOME", home + QStringLiteral("/.cache"));
    setEnv("XDG_STATE_HOME", home + QStringLiteral("/.local/state"));
    return home;
}

void prepare()
{
    if (!g_root) {
        g_root = new QTemporaryDir(QDir::tempPath() + QStringLiteral("/lumatrove-test-XXXXXX"));
        g_root->setAutoRemove(!qEnvironmentVariableIsSet("LUMATROVE_KEEP_TEST_HOME"));
        std::atexit([] {
            delete g_root;
            g_root = nullptr;
        });
    }
    const QString runtime = root() + QStringLiteral("/runtime");
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    setEnv("XDG_RUNTIME_DIR", runtime);
    // Every hub asks for the maker's news page; in a test that request must not leave the
    // machine. An address without scheme fails at once, without any network.
    RankMain::SetNewsPage(QUrl());
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        setEnv("QT_QPA_PLATFORM", QStringLiteral("offscreen"));
    freshHome();
}

} // namespace TestEnvironment
