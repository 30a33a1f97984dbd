#include "TestPageHub.h"

TestPageHub::TestPageHub() : m_patterns(RankHub::ReadPatternFile())
{
    RankHub::SetCurrent(this);
}

TestPageHub::~TestPageHub()
{
    if (m_panel && !m_panel->parent())
        delete m_panel;
}

QVariant TestPageHub::GetSettingValue(SETTINGS index)
{
    if (index < 0 || index >= SETTING_Count)
        return QVariant();
    return m_settings.value(index, f_settingDefaultValues[index]);
}

QString TestPageHub::GetRegexp(REGEXP_INDEX index)
{
    return m_patterns.value(index);
}

SidePanel* TestPageHub::GetSidePanel()
{
    if (!m_panel)
        m_panel = new SidePanel;
    return m_panel;
}

void TestPageHub::TakeBackSidePanel()
{
    if (m_panel)
        m_panel->setParent(nullptr);
}
