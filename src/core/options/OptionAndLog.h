#pragma once

#include "Records.h"

#include <QList>
#include <QMap>
#include <QObject>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVector>

class QFile;
class QTextStream;

// Process-wide options, per-country lookup tables and a plain-text log. The option
// files and the log lie in the current working directory at construction time; the
// tables come from the embedded resources. Nothing here throws: failures give false or
// empty results plus a debug or log line.
class OptionAndLog : public QObject
{
public:
    using ContryLanList = QVector<QPair<QString, QString>>;

    OptionAndLog();
    ~OptionAndLog() override;

    static OptionAndLog* instance();

    // Option files: one "key#value" per line, last line for a key wins.
    bool Load(QString fileName, QMap<QString, QString>& map);
    bool InitOption(QString fileName, QMap<QString, QString>* map);
    bool InitCommonUseProfile();
    QStringList& GetCommonUseProfile() { return m_listCommonUseProfile; }
    QString GetStringSet(QString key);

    QString GetOption(QString key);
    int GetOptionInt(QString key);
    bool GetOptionBool(QString key);
    void GetOptionBool(const char* key, bool* result);

    bool PutOption(QString key, QString value, bool* isLoadedOption);
    bool PutOptionIfExist(QString key, QString value);
    void ClearOptionTmp();
    bool SaveOption();

    // Result-page patterns, area tables, flag table and country/language lists.
    QString& GetGoogleRegxp() { return m_strGoogleRegxp; }
    QString& GetGoogleRegxpWithAgent() { return m_strGoogleRegxpWithAgent; }
    QString& GetBingRegxp() { return m_strBingRegxp; }
    ContryLanList& GetGoogleContryLan() { return m_vecGoogleContryLan; }
    ContryLanList& GetBingContryLan() { return m_vecBingContryLan; }
    ContryLanList& GetYahooContryLan() { return m_vecYahooContryLan; }

    QString GetGoogleDomainUseArea(QString country);
    QString GetGoogleHlUseLan(QString language);
    QString GetBingHlUseArea(QString countryKey);
    QString GetBingDomainUseArea(QString country);
    QString GetYahooDomainUseArea(QString country);
    QString GetResultWithArea(QString key, QMap<QString, QString>& table);
    QString GetIConUseArea(const QString& country);
    QList<int> GetRankSectionInfo(EnuSearchEngineType kind);
    bool SendToServer();

    void InitRegxp();
    QString ReadRegXpFile(QString path);
    bool InitArea();
    bool InitIconInfo();
    bool InitContryLanguageInfo();
    bool ReadCtyLan(ContryLanList& list, QString path);

    // Log file.
    void Log(QString message);
    void Log(const char* message);
    void LogOut(QString message);
    void LogOut(const char* message);
    void WriteLog(bool echo);
    void InsertHeader();
    void InsertTail();
    QString GetFileName();

private:
    void QueueLogLine(const QString& message, bool echo);

    QFile* m_pLogFile = nullptr;
    QTextStream* m_pLogStream = nullptr;
    QStringList m_listLogCache;
    bool m_bWritingLog = false;
    QString m_strGoogleRegxp;
    QString m_strGoogleRegxpWithAgent;
    QString m_strBingRegxp;
    QMap<QString, QString> m_mapGoogleAreaDomain;
    QMap<QString, QString> m_mapGoogleAreaHl;
    QMap<QString, QString> m_mapBingAreaHl;
    QMap<QString, QString> m_mapBingAreaDomain;
    QMap<QString, QString> m_mapYahooAreaDomain;
    QMap<QString, QString> m_mapOption;
    QMap<QString, QString> m_mapOptionTmp;
    QMap<QString, QString> m_mapDefaultOption;
    QStringList m_listCommonUseProfile;
    QMap<QString, QString> m_mapAreaIcon;
    ContryLanList m_vecGoogleContryLan;
    ContryLanList m_vecBingContryLan;
    ContryLanList m_vecYahooContryLan;
};

// Entry point for code that reaches the component by symbol name.
extern "C" Q_DECL_EXPORT OptionAndLog* GetInstance();
