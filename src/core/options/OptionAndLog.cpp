#include "OptionAndLog.h"

#include <QDateTime>
#include <QDebug>
#include <QFile>
#include <QTextStream>

namespace {

OptionAndLog* gs_OptionAndLog = nullptr;

const char* const kUserOptionFile = "config.cfg";
const char* const kDefaultOptionFile = ":/Resources/cfg_default.txt";
const char* const kCommonUseProfileFile = "comm.lst";
// The flag table has the icon list's own format (country#image file).
const char* const kIconListFile = ":/Resources/CountryFlag.txt";

// Whole text of a file opened read-only in text mode; a UTF-8 byte-order mark is left
// out. False when the file cannot be opened.
bool readText(const QString& path, QString& text)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    QTextStream stream(&file);
    text = stream.readAll();
    file.close();
    return true;
}

QStringList nonEmptyLines(const QString& text)
{
    return text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

// One option-format line into the map: key before the first "#", value up to the next.
void takeOptionLine(const QString& line, QMap<QString, QString>& map)
{
    const QStringList parts = line.split(QLatin1Char('#'));
    if (parts.size() >= 2)
        map.insert(parts.at(0), parts.at(1));
}

} // namespace

OptionAndLog::OptionAndLog() : QObject(nullptr)
{
    m_pLogFile = new QFile(GetFileName());
    if (!m_pLogFile->open(QIODevice::ReadWrite | QIODevice::Append | QIODevice::Text)) {
        qDebug() << "OptionAndLog open file faild!";
        return;
    }
    m_pLogStream = new QTextStream(m_pLogFile);
    InsertHeader();

    qDebug() << "init regxp";
    InitRegxp();
    qDebug() << "init Area info";
    InitArea();
    qDebug() << "init Option info";
    InitOption(QString::fromLatin1(kUserOptionFile), nullptr);
    qDebug() << "init Default Option info";
    InitOption(QString::fromLatin1(kDefaultOptionFile), &m_mapDefaultOption);
    qDebug() << "init CommonUseProfile";
    InitCommonUseProfile();
    qDebug() << "init Icon info";
    InitIconInfo();
    qDebug() << "init contry language combo info";
    InitContryLanguageInfo();
}

OptionAndLog::~OptionAndLog()
{
    InsertTail();
    // The stream goes before the file it writes to, so it never flushes into a deleted
    // device; the file object is released even when it never opened.
    delete m_pLogStream;
    m_pLogStream = nullptr;
    if (m_pLogFile) {
        m_pLogFile->close();
        delete m_pLogFile;
        m_pLogFile = nullptr;
    }
    if (gs_OptionAndLog == this)
        gs_OptionAndLog = nullptr;
}

OptionAndLog* OptionAndLog::instance()
{
    if (!gs_OptionAndLog) {
        auto* created = new OptionAndLog();
        // Without its log file the object has no tables or options: drop it, so that a
        // later call tries again instead of handing out a useless object.
        if (!created->m_pLogStream) {
            delete created;
            return nullptr;
        }
        gs_OptionAndLog = created;
    }
    return gs_OptionAndLog;
}

extern "C" OptionAndLog* GetInstance()
{
    return OptionAndLog::instance();
}

// ---- option files -------------------------------------------------------------------

bool OptionAndLog::Load(QString fileName, QMap<QString, QString>& map)
{
    QString text;
    if (!readText(fileName, text)) {
        qDebug() << QString("Load(%1) Faild").arg(fileName);
        return false;
    }
    const QStringList lines = nonEmptyLines(text);
    qDebug() << QString("Load(%1), incount is:%2").arg(fileName).arg(lines.size());
    for (const QString& line : lines)
        takeOptionLine(line, map);
    qDebug() << QString("Load(%1), outcount is:%2").arg(fileName).arg(map.size());
    return !map.isEmpty();
}

bool OptionAndLog::InitOption(QString fileName, QMap<QString, QString>* map)
{
    QString text;
    if (!readText(fileName, text)) {
        qDebug() << QString("Load(%1) Faild").arg(fileName);
        return false;
    }
    QMap<QString, QString>& target = map ? *map : m_mapOption;
    for (const QString& line : nonEmptyLines(text))
        takeOptionLine(line, target);
    return true;
}

bool OptionAndLog::InitCommonUseProfile()
{
    const QString fileName = QString::fromLatin1(kCommonUseProfileFile);
    QFile file(fileName);
    if (!file.open(QIODevice::ReadWrite | QIODevice::Text)) {
        qDebug() << QString("open CommonUseProfile (%1) Faild").arg(fileName);
        return false;
    }
    QTextStream stream(&file);
    m_listCommonUseProfile = stream.readAll().split(QLatin1Char('\n'));
    file.close();
    return !m_listCommonUseProfile.isEmpty();
}

QString OptionAndLog::GetStringSet(QString)
{
    return QString();
}

QString OptionAndLog::GetOption(QString key)
{
    return m_mapOption.value(key);
}

int OptionAndLog::GetOptionInt(QString key)
{
    const QString value = GetOption(key);
    if (value.isEmpty())
        return -1;
    return value.toInt(nullptr, 10); // 0 when it is no number
}

bool OptionAndLog::GetOptionBool(QString key)
{
    return GetOption(key) == QLatin1String("true");
}

void OptionAndLog::GetOptionBool(const char* key, bool* result)
{
    if (!key || !result)
        return;
    *result = GetOptionBool(QString::fromLatin1(key));
}

bool OptionAndLog::PutOption(QString key, QString value, bool* isLoadedOption)
{
    m_mapOptionTmp.insert(key, value);
    if (isLoadedOption)
        *isLoadedOption = m_mapOption.contains(key);
    return true;
}

bool OptionAndLog::PutOptionIfExist(QString key, QString value)
{
    if (!m_mapOption.contains(key)) {
        LogOut("warnning! InsertOption option already exist");
        return false;
    }
    m_mapOptionTmp.insert(key, value);
    return true;
}

void OptionAndLog::ClearOptionTmp()
{
    m_mapOptionTmp.clear();
}

bool OptionAndLog::SaveOption()
{
    // Staged values only replace options that were loaded; they never add one.
    for (auto it = m_mapOptionTmp.cbegin(); it != m_mapOptionTmp.cend(); ++it) {
        if (m_mapOption.contains(it.key()))
            m_mapOption.insert(it.key(), it.value());
        else
            LogOut(QString("Option no exist(%1)").arg(it.key()));
    }
    m_mapOptionTmp.clear();

    const QString fileName = QString::fromLatin1(kUserOptionFile);
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
        qDebug() << QString("Save Open(%1) Faild").arg(fileName);
        return false;
    }
    QTextStream stream(&file);
    for (auto it = m_mapOption.cbegin(); it != m_mapOption.cend(); ++it) {
        stream << it.key() << '#' << it.value() << '\n';
        stream.flush();
    }
    file.close();
    return true;
}

// ---- tables -------------------------------------------------------------------------

QString OptionAndLog::GetGoogleDomainUseArea(QString country)
{
    return GetResultWithArea(country, m_mapGoogleAreaDomain);
}

QString OptionAndLog::GetGoogleHlUseLan(QString language)
{
    return GetResultWithArea(language, m_mapGoogleAreaHl);
}

QString OptionAndLog::GetBingHlUseArea(QString countryKey)
{
    return GetResultWithArea(countryKey, m_mapBingAreaHl);
}

QString OptionAndLog::GetBingDomainUseArea(QString country)
{
    return GetResultWithArea(country, m_mapBingAreaDomain);
}

QString OptionAndLog::GetYahooDomainUseArea(QString country)
{
    return GetResultWithArea(country, m_mapYahooAreaDomain);
}

QString OptionAndLog::GetResultWithArea(QString key, QMap<QString, QString>& table)
{
    if (key.isEmpty() || table.isEmpty()) {
        qDebug() << QString("DomainLanAreInfo::GetResultWithArea NULL(%1)").arg(key);
        return QString();
    }
    return table.value(key);
}

QString OptionAndLog::GetIConUseArea(const QString& country)
{
    return m_mapAreaIcon.value(country);
}

QList<int> OptionAndLog::GetRankSectionInfo(EnuSearchEngineType kind)
{
    int depth = 0;
    switch (int(kind)) {
    case 0:
    case SE_Other:
        return {-1, -1, -1, -1};
    case SE_Google:
        depth = GetOptionInt("SearchDepthGoogle");
        break;
    case SE_Bing:
        depth = GetOptionInt("SearchDepthBing");
        break;
    case SE_Yahoo:
        depth = GetOptionInt("SearchDepthYahoo");
        break;
    default:
        break;
    }
    if (depth <= 9)
        return {depth, -1, -1, -1};
    if (depth <= 29)
        return {10, depth, -1, -1};
    if (depth <= 99)
        return {10, 30, depth, -1};
    return {10, 30, 100};
}

bool OptionAndLog::SendToServer()
{
    return false;
}

QString OptionAndLog::ReadRegXpFile(QString path)
{
    QString text;
    readText(path, text);
    return text;
}

void OptionAndLog::InitRegxp()
{
    m_strGoogleRegxp = ReadRegXpFile(":/Resources/GoogleRegexp.txt");
    m_strGoogleRegxpWithAgent = ReadRegXpFile(":/Resources/GoogleRegexpWithAgent.txt");
    m_strBingRegxp = ReadRegXpFile(":/Resources/BingRegexp.txt");
    if (m_strGoogleRegxp.isEmpty())
        LogOut("read google reg file faild!");
    if (m_strGoogleRegxpWithAgent.isEmpty())
        LogOut("read google reg agent file faild!");
    if (m_strBingRegxp.isEmpty())
        LogOut("read Bing reg file faild!");
}

bool OptionAndLog::InitArea()
{
    const QList<QPair<const char*, QMap<QString, QString>*>> tables = {
        {":/Resources/GoogleAreaDomain.txt", &m_mapGoogleAreaDomain},
        {":/Resources/GoogleAreaHl.txt", &m_mapGoogleAreaHl},
        {":/Resources/BingAreaHl.txt", &m_mapBingAreaHl},
        {":/Resources/BingAreaDomain.txt", &m_mapBingAreaDomain},
        {":/Resources/YahooAreaDomain.txt", &m_mapYahooAreaDomain},
    };
    bool ok = false;
    for (const auto& table : tables) {
        ok = Load(QString::fromLatin1(table.first), *table.second);
        if (!ok)
            break;
    }
    return ok;
}

bool OptionAndLog::InitIconInfo()
{
    const QString path = QString::fromLatin1(kIconListFile);
    QString text;
    if (!readText(path, text)) {
        qDebug() << QString("Load(%1) Faild").arg(path);
        return false;
    }
    for (const QString& line : nonEmptyLines(text)) {
        const QStringList parts = line.split(QLatin1Char('#'));
        if (parts.size() >= 2)
            m_mapAreaIcon.insert(parts.first(), parts.last());
    }
    return true;
}

bool OptionAndLog::InitContryLanguageInfo()
{
    ReadCtyLan(m_vecGoogleContryLan, ":/Resources/GoogleContryLanguageMap.txt");
    ReadCtyLan(m_vecBingContryLan, ":/Resources/BingContryLanguageMap.txt");
    return ReadCtyLan(m_vecYahooContryLan, ":/Resources/YahooContryLanguageMap.txt");
}

bool OptionAndLog::ReadCtyLan(ContryLanList& list, QString path)
{
    QString text;
    if (!readText(path, text)) {
        qDebug() << QString("Load(%1) Faild").arg(path);
        return false;
    }
    for (const QString& line : nonEmptyLines(text)) {
        const QStringList parts = line.split(QLatin1Char('_'));
        if (parts.size() >= 2)
            list.append(qMakePair(parts.first(), parts.last()));
    }
    return true;
}

// ---- log ----------------------------------------------------------------------------

QString OptionAndLog::GetFileName()
{
    return QStringLiteral("Lumatrove.log");
}

void OptionAndLog::Log(QString message)
{
    QueueLogLine(message, false);
}

void OptionAndLog::Log(const char* message)
{
    Log(QString::fromLatin1(message));
}

void OptionAndLog::LogOut(QString message)
{
    QueueLogLine(message, true);
}

void OptionAndLog::LogOut(const char* message)
{
    LogOut(QString::fromLatin1(message));
}

void OptionAndLog::QueueLogLine(const QString& message, bool echo)
{
    const QString stamp = QDateTime::currentDateTime().toString("MM/dd/yyyy hh:mm:ss.zzz");
    m_listLogCache.append(stamp + "# Log:===" + message + "===\n");
    WriteLog(echo);
}

void OptionAndLog::WriteLog(bool echo)
{
    // A call made while the queue is being written (from a message handler reached
    // through the echo) only queues its line; the running drain writes it.
    if (!m_pLogStream || m_bWritingLog || m_listLogCache.isEmpty())
        return;
    m_bWritingLog = true;
    while (!m_listLogCache.isEmpty()) {
        const QString line = m_listLogCache.first();
        if (echo)
            qDebug() << line;
        *m_pLogStream << line;
        m_listLogCache.removeFirst();
        m_pLogStream->flush();
    }
    m_bWritingLog = false;
}

void OptionAndLog::InsertHeader()
{
    if (!m_pLogStream)
        return;
    const QString bar(61, QLatin1Char('#'));
    *m_pLogStream << bar << Qt::endl;
    *m_pLogStream << "Program start ... Log Module start" << Qt::endl;
    *m_pLogStream << bar << Qt::endl;
}

void OptionAndLog::InsertTail()
{
    if (!m_pLogStream)
        return;
    const QString bar(61, QLatin1Char('='));
    *m_pLogStream << bar << Qt::endl;
    *m_pLogStream << "Program Exit ... Log Module exit" << Qt::endl;
    *m_pLogStream << bar << Qt::endl;
}
