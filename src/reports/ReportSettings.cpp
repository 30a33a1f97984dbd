#include "ReportSettings.h"

#include "RankMain.h"

QString ReportSetting(SETTINGS index)
{
    if (index < 0 || index >= SETTING_Count)
        return QString();
    if (RankHub* hub = RankHub::Current())
        return hub->GetSettingValue(index).toString();
    return f_settingDefaultValues[index].toString();
}
