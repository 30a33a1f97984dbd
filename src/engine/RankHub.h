#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

class SqlDb;

// Indices of the persistent settings, in the order of their keys.
enum SETTINGS {
    SETTING_OnlyProxy = 0,
    SETTING_ReportCompanyName,
    SETTING_ReportAdress,
    SETTING_ReportTel,
    SETTING_ReportEmail,
    SETTING_ReportWebsite,
    SETTING_ReportFacebook,
    SETTING_ReportTwitter,
    SETTING_ReportLinkedIn,
    SETTING_ReportLogoFile,
    SETTING_ReportOutputPath,
    SETTING_Count
};

// The settings keys and their defaults, indexed by SETTINGS.
extern const QString f_strSettingKeys[SETTING_Count];
extern const QVariant f_settingDefaultValues[SETTING_Count];

// Indices of the result-page patterns, in the order of the embedded pattern file.
enum REGEXP_INDEX {
    REGEXP_BingNextUrl = 0,
    REGEXP_YahooNextUrl,
    REGEXP_YahooResult1,
    REGEXP_GoogleResult1,
    REGEXP_GoogleResult2,
    REGEXP_GoogleResult3,
    REGEXP_GoogleResult4,
    REGEXP_BingResult1,
    REGEXP_BingResult2,
    REGEXP_GoogleResult5,
    REGEXP_YahooResult2,
    REGEXP_Count
};

// What the rank checker needs of the application's central widget: the settings, the
// result-page patterns, the store and the update-running flag. The central widget
// implements it and makes itself current when it is built; tests install their own.
class RankHub
{
public:
    virtual ~RankHub();

    virtual QVariant GetSettingValue(SETTINGS index) = 0;
    virtual QString GetRegexp(REGEXP_INDEX index) = 0;
    virtual SqlDb& GetSqlDb() = 0;
    virtual bool& UpdateRunningFlag() = 0;

    // The hub of the running program, or null. The newest hub wins; a hub that is
    // destroyed while current clears it.
    static RankHub* Current();
    static void SetCurrent(RankHub* hub);

    // Reads the pattern file: its 2nd, 4th, ... lines are the patterns, the others are
    // labels. A missing file gives an empty list.
    static QStringList
    ReadPatternFile(const QString& path = QStringLiteral(":/Resources/regexp.txt"));
};
