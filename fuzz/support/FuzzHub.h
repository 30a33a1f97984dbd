#pragma once

#include "RankHub.h"

#include <QStringList>

// What a fuzz target needs of the central widget: the embedded result-page patterns and
// the settings' defaults. It owns no store: nothing the targets reach asks for one.
class FuzzHub : public RankHub
{
public:
    FuzzHub();

    QVariant GetSettingValue(SETTINGS index) override;
    QString GetRegexp(REGEXP_INDEX index) override;
    SqlDb& GetSqlDb() override;
    bool& UpdateRunningFlag() override;

    // Called once from LLVMFuzzerInitialize: a core application object (some Qt classes
    // want one) and this hub made current. The working folder stays: libFuzzer reads
    // the corpus folders named on the command line after this.
    static void Prepare(int* argc, char*** argv);
    // The embedded pattern of the index (modulo the pattern count).
    static QString Pattern(int index);

private:
    QStringList m_patterns;
    bool m_updateRunning = false;
};
