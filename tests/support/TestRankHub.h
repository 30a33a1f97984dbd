#pragma once

#include "RankHub.h"
#include "SqlDb.h"

#include <QMap>
#include <QStringList>

// The hub of a test: a real store under the test's HOME, the embedded result-page
// patterns, settings kept in memory (with the program's defaults) and the update-running
// flag. Current while it lives.
class TestRankHub : public RankHub
{
public:
    TestRankHub();
    ~TestRankHub() override;

    QVariant GetSettingValue(SETTINGS index) override;
    QString GetRegexp(REGEXP_INDEX index) override;
    SqlDb& GetSqlDb() override { return m_store; }
    bool& UpdateRunningFlag() override { return m_bUpdateRunning; }

    void setSetting(SETTINGS index, const QVariant& value) { m_settings[index] = value; }
    // Adds one proxy row to the store.
    bool addProxy(const QString& address, int port, const QString& type, const QString& country,
                  bool enabled = true, const QString& user = QString(),
                  const QString& password = QString());

private:
    SqlDb m_store;
    QStringList m_patterns;
    QMap<int, QVariant> m_settings;
    bool m_bUpdateRunning = false;
};
