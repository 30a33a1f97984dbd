#pragma once

#include "RankHub.h"
#include "SqlDb.h"

#include <memory>

// A hub that serves the embedded result-page patterns, for tests of the parser.
class PatternHub : public RankHub
{
public:
    PatternHub() : m_patterns(ReadPatternFile()) { SetCurrent(this); }

    QVariant GetSettingValue(SETTINGS index) override
    {
        Q_UNUSED(index);
        return QVariant(0);
    }
    QString GetRegexp(REGEXP_INDEX index) override { return m_patterns.value(index); }
    SqlDb& GetSqlDb() override
    {
        if (!m_db)
            m_db = std::make_unique<SqlDb>();
        return *m_db;
    }
    bool& UpdateRunningFlag() override { return m_updating; }

    QStringList m_patterns;

private:
    std::unique_ptr<SqlDb> m_db;
    bool m_updating = false;
};
