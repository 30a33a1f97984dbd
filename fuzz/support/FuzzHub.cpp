#include "FuzzHub.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstdlib>

FuzzHub::FuzzHub() : m_patterns(ReadPatternFile())
{
    if (m_patterns.size() != REGEXP_Count) {
        std::fprintf(stderr, "FuzzHub: the embedded pattern file has %d patterns\n",
                     int(m_patterns.size()));
        std::abort();
    }
}

QVariant FuzzHub::GetSettingValue(SETTINGS)
{
    return QVariant();
}

QString FuzzHub::GetRegexp(REGEXP_INDEX index)
{
    return m_patterns.value(index);
}

SqlDb& FuzzHub::GetSqlDb()
{
    // No target may reach the store; failing loudly beats handing out a dangling object.
    std::fprintf(stderr, "FuzzHub: a fuzz target asked for the store\n");
    std::abort();
}

bool& FuzzHub::UpdateRunningFlag()
{
    return m_updateRunning;
}

QString FuzzHub::Pattern(int index)
{
    static const QStringList patterns = ReadPatternFile();
    return patterns.value(((index % REGEXP_Count) + REGEXP_Count) % REGEXP_Count);
}

void FuzzHub::Prepare(int* argc, char*** argv)
{
    static QCoreApplication* app = nullptr;
    if (app)
        return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt's debug lines (one per parsed link in places) would drown libFuzzer's output.
    if (!qEnvironmentVariableIsSet("LUMATROVE_FUZZ_VERBOSE"))
        qputenv("QT_LOGGING_RULES", "*.debug=false;default.warning=false");
    app = new QCoreApplication(*argc, *argv);

    static FuzzHub hub;
    RankHub::SetCurrent(&hub);
}
