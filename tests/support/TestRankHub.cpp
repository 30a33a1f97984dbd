#include "TestRankHub.h"

TestRankHub::TestRankHub() : m_patterns(RankHub::ReadPatternFile())
{
    RankHub::SetCurrent(this);
}

TestRankHub::~TestRankHub() = default;

QVariant TestRankHub::GetSettingValue(SETTINGS index)
{
    const auto it = m_settings.constFind(index);
    if (it != m_settings.constEnd())
        return it.value();
    if (index == SETTING_OnlyProxy)
        return 0;
    return QString();
}

QString TestRankHub::GetRegexp(REGEXP_INDEX index)
{
    return m_patterns.value(index);
}

bool TestRankHub::addProxy(const QString& address, int port, const QString& type,
                           const QString& country, bool enabled, const QString& user,
                           const QString& password)
{
    return m_store.appendProxy(address, port, country, type, user, password, enabled);
}
