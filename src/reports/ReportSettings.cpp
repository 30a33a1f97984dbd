#include "ReportSettings.h"

#include "RankHub.h"
#include "SqlDb.h"

#include <QDir>
#include <QFileInfo>

QString ReportSetting(SETTINGS index)
{
    if (index < 0 || index >= SETTING_Count)
        return QString();
    if (RankHub* hub = RankHub::Current())
        return hub->GetSettingValue(index).toString();
    return f_settingDefaultValues[index].toString();
}

QString ReportOutputFolder(const QString& setting)
{
    const QDir data = QFileInfo(SqlDb::DatabasePath()).absoluteDir();
    return QDir::cleanPath(data.absoluteFilePath(setting));
}

QString ReportOutputFolder()
{
    return ReportOutputFolder(ReportSetting(SETTING_ReportOutputPath));
}
