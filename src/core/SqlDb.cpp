#include "SqlDb.h"

#include "MessageBoxHook.h"
#include "SqlValue.h"
#include "WebsiteColumns.h"

#include <QDir>
#include <QHash>
#include <QObject>
#include <QSqlError>
#include <QSqlQuery>
#include <QtGlobal>

#include <algorithm>
#include <limits>
#include <unordered_set>

namespace {
const char* const kCreateStatements[] = {
    "CREATE TABLE IF NOT EXISTS proxy( address VARCHAR(20) NOT NULL, port INTEGER, type "
    "TEXT, country VARCHAR(50), username VARCHAR(50), password VARCHAR(50), enable BIT)",
    "CREATE TABLE IF NOT EXISTS Website(Website TEXT, CreateTime TIMESTAMP, SearchEngines "
    "TEXT, Keywords TEXT)",
    "CREATE TABLE IF NOT EXISTS UpdateFlow(UpdateNo int, Website TEXT, SearchEngine TEXT, "
    "Keyword TEXT, SearchTime TIMESTAMP, Rank int, RankURL TEXT, Lang TEXT)",
    "CREATE TABLE IF NOT EXISTS config(name TEXT, value TEXT)",
    "CREATE TABLE IF NOT EXISTS Schedual(Website TEXT, Type INTEGER, Days INTEGER, StartTime "
    "TIME, StartMode INTEGER, LastRunDay DATE)",
};
} // namespace

QString SqlDb::DatabasePath()
{
    return QDir::homePath() + QLatin1String("/Documents/lumatrove/Lumatrove.DB");
}

SqlDb::SqlDb()
{
    m_DB = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"),
                                     QLatin1String(QSqlDatabase::defaultConnection));
    if (!m_DB.isValid()) {
        MessageBoxHook::warning(nullptr, QObject::tr("QSqlDatabase::addDatabase(QSQLITE)"),
                                m_DB.lastError().text());
        return;
    }

    const QString home = QDir::homePath();
    QDir().mkdir(home + QLatin1String("/Documents"));
    QDir().mkdir(home + QLatin1String("/Documents/lumatrove"));

    m_DB.setDatabaseName(DatabasePath());
    if (!m_DB.open()) {
        MessageBoxHook::warning(nullptr, QObject::tr("m_DB.open()"), m_DB.lastError().text());
        return;
    }

    QSqlQuery query(m_DB);
    bool first = true;
    for (const char* statement : kCreateStatements) {
        const bool ok = query.exec(QLatin1String(statement));
        // SQLite opens any file lazily; the first statement is where a file that is
        // not a database shows itself. Running on it would show an empty model and
        // could later overwrite the user's file, so it counts as a failed open.
        if (first && !ok) {
            const QString error = query.lastError().text();
            query.finish();
            query = QSqlQuery();
            m_DB.close();
            MessageBoxHook::warning(nullptr, QObject::tr("m_DB.open()"), error);
            return;
        }
        first = false;
    }

    QSqlError error;
    const QString version = ReadConfigValue(QStringLiteral("DB_VER"), error);
    if (error.isValid()) {
        FailedRead(error);
        return;
    }
    m_nDbVersion = version.toInt(nullptr, 10);
}

QString SqlDb::QueryConfigValue(QString name)
{
    QSqlError error;
    return ReadConfigValue(name, error);
}

QString SqlDb::ReadConfigValue(const QString& name, QSqlError& error)
{
    QSqlQuery query(m_DB);
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT value from config where name=?"));
    query.addBindValue(name);
    if (query.exec() && query.next())
        return query.value(0).toString();
    error = query.lastError();
    return QLatin1String("");
}

bool SqlDb::SetConfigValue(QString name, QVariant value)
{
    QSqlQuery query(m_DB);
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT name FROM config WHERE name=?"));
    query.addBindValue(name);
    query.exec();
    if (query.next()) {
        query.prepare(QStringLiteral("UPDATE config SET value=? WHERE name=?"));
        query.addBindValue(value);
        query.addBindValue(name);
    } else {
        query.prepare(QStringLiteral("INSERT INTO config(name, value) VALUES(?,?)"));
        query.addBindValue(name);
        query.addBindValue(value);
    }
    return query.exec();
}

void SqlDb::FailedRead(const QSqlError& error)
{
    m_DB.close();
    MessageBoxHook::warning(nullptr, QStringLiteral("Lumatrove"),
                            QObject::tr("Can not read the database %1: %2")
                                .arg(QDir::toNativeSeparators(DatabasePath()), error.text()));
}

// Loading ----------------------------------------------------------------------------

namespace {
// The load finds the fitting website and the series of a row through hashes instead of
// walking the lists for every row; the first series in list order wins, as in the
// linear searches.
struct SeriesKey {
    QString website;
    QString searchEngine;
    QString keyword;
    bool operator==(const SeriesKey& other) const
    {
        return keyword == other.keyword && searchEngine == other.searchEngine &&
               website == other.website;
    }
};

size_t qHash(const SeriesKey& key, size_t seed = 0)
{
    return qHashMulti(seed, key.website, key.searchEngine, key.keyword);
}

// A measurement fits when some website of its URL holds its keyword and an engine
// variant of its host and language.
struct FitKey {
    QString website;
    QString keyword;
    QString searchEngine;
    QString lang;
    bool operator==(const FitKey& other) const
    {
        return keyword == other.keyword && searchEngine == other.searchEngine &&
               lang == other.lang && website == other.website;
    }
};

size_t qHash(const FitKey& key, size_t seed = 0)
{
    return qHashMulti(seed, key.website, key.keyword, key.searchEngine, key.lang);
}

// Update numbers seen so far. Rows mostly come in rising order: while they do, a sorted
// vector answers; the first number out of order moves everything into a hash set.
class UpdateNumberSet
{
public:
    // False when the number was there already.
    bool insert(LTInt64 number)
    {
        if (!m_unordered) {
            if (m_sorted.empty() || number > m_sorted.back()) {
                m_sorted.push_back(number);
                return true;
            }
            if (std::binary_search(m_sorted.begin(), m_sorted.end(), number))
                return false;
            m_unordered = true;
            m_set.reserve(m_sorted.size() * 2);
            m_set.insert(m_sorted.begin(), m_sorted.end());
            std::vector<LTInt64>().swap(m_sorted);
        }
        return m_set.insert(number).second;
    }

private:
    bool m_unordered = false;
    std::vector<LTInt64> m_sorted;
    std::unordered_set<LTInt64> m_set;
};

void releaseSeries(std::vector<RANK_DATA*>& rankData)
{
    for (RANK_DATA* series : rankData) {
        if (series)
            series->FlowItems.clear();
        delete series;
    }
    rankData.clear();
}

// The update number of a stored row, when it is one the program can have written: a
// whole number within 32 bits (the writes bind it as a 32-bit int, and the column's
// integer affinity turns a number written as text into one). Text, fractions, NULL,
// bytes and numbers beyond 32 bits are not: read as 0 or cut to 32 bits they would pose
// as another row's number, and the load would see a repeat that the clean-up's
// statement, which compares the stored values, never removes; every load would then
// fail and the user would see nothing. Such rows are dropped.
bool readUpdateNo(const QVariant& value, LTInt64& number)
{
    switch (value.typeId()) {
    case QMetaType::LongLong:
    case QMetaType::Int:
        break;
    default:
        return false;
    }
    const qlonglong wide = value.toLongLong();
    if (wide < std::numeric_limits<qint32>::min() || wide > std::numeric_limits<qint32>::max())
        return false;
    number = wide;
    return true;
}

// A point keeps its rank in 16 bits. A stored value beyond that range is no rank the
// program wrote; cut down it would read as some other position, so it reads as a failed
// check (0), as a value that is no number does.
LTInt64 readRank(const QVariant& value)
{
    bool ok = false;
    const qlonglong wide = value.toLongLong(&ok);
    if (!ok || wide < std::numeric_limits<qint16>::min() ||
        wide > std::numeric_limits<qint16>::max())
        return 0;
    return wide;
}
} // namespace

bool SqlDb::LoadRankData(std::vector<WEBSITE>& websites, std::vector<RANK_DATA*>& rankData,
                         LTInt64& lastUpdateNo)
{
    if (!m_DB.isOpen())
        return true;
    // A scan that stops on an error has not reached the end of the rows.
    const auto failed = [&](const QSqlQuery& query) {
        const QSqlError error = query.lastError();
        websites.clear();
        releaseSeries(rankData);
        FailedRead(error);
        return false;
    };

    QSqlQuery query(m_DB);
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("select * from Website")))
        return failed(query);
    while (query.next()) {
        WEBSITE website;
        website.Website = query.value(0).toString();
        website.CreateTime = SqlValue::toDateTime(query.value(1));
        website.SearchEngines = ParseSearchEnginesString(query.value(2).toString());
        website.Keywords = ParseKeywordsString(query.value(3).toString());
        websites.push_back(website);
    }
    if (query.lastError().isValid())
        return failed(query);

    // Every measurement key that fits a website, with its series once it is known.
    QHash<FitKey, RANK_DATA*> fits;
    for (const WEBSITE& website : websites) {
        for (const QString& keyword : website.Keywords) {
            for (const SEARCH_ENGINE& engine : website.SearchEngines)
                fits.insert(FitKey{website.Website, keyword, engine.SearchEngine, engine.Lang},
                            nullptr);
        }
    }
    QHash<SeriesKey, RANK_DATA*> seriesIndex;
    for (RANK_DATA* series : rankData) {
        if (!series)
            continue;
        const SeriesKey key{series->Website, series->SearchEngine, series->Keyword};
        if (!seriesIndex.contains(key))
            seriesIndex.insert(key, series);
    }

    UpdateNumberSet updateNumbers;
    LTInt64 highest = 0;
    if (!query.exec(QStringLiteral("select * from UpdateFlow")))
        return failed(query);
    while (query.next()) {
        UPDATE_FLOW flow;
        if (!readUpdateNo(query.value(0), flow.UpdateNo))
            continue;
        flow.Website = query.value(1).toString();
        flow.SearchEngine = query.value(2).toString();
        flow.Keyword = query.value(3).toString();
        flow.SearchTime = SqlValue::toDateTime(query.value(4));
        flow.Rank = readRank(query.value(5));
        flow.RankURL = query.value(6).toString();
        flow.Lang = query.value(7).toString();

        // Repeats are tested before the fit, so a repeat among dropped rows counts too.
        if (!updateNumbers.insert(flow.UpdateNo)) {
            websites.clear();
            releaseSeries(rankData);
            return false;
        }
        if (flow.UpdateNo > highest)
            highest = flow.UpdateNo;

        const auto fit =
            fits.find(FitKey{flow.Website, flow.Keyword, flow.SearchEngine, flow.Lang});
        if (fit == fits.end())
            continue;
        RANK_DATA*& cached = fit.value();
        if (!cached) {
            // Another language of the same key may have started the series already.
            RANK_DATA*& series =
                seriesIndex[SeriesKey{flow.Website, flow.SearchEngine, flow.Keyword}];
            if (!series) {
                series = new RANK_DATA;
                series->Website = flow.Website;
                series->Keyword = flow.Keyword;
                series->SearchEngine = flow.SearchEngine;
                series->Lang = flow.Lang;
                rankData.push_back(series);
            }
            cached = series;
        }

        FLOW_ITEM item;
        item.UpdateNo = flow.UpdateNo;
        item.Rank = qint16(flow.Rank);
        item.SearchTime = flow.SearchTime;
        item.RankURL = flow.RankURL;
        // The ranking address mostly repeats from one day to the next: share its text.
        std::vector<FLOW_ITEM>& items = cached->FlowItems;
        if (!items.empty() && items.back().RankURL == item.RankURL)
            item.RankURL = items.back().RankURL;
        items.push_back(std::move(item));
    }
    if (query.lastError().isValid())
        return failed(query);
    lastUpdateNo = highest;

    if (m_nDbVersion == 0 && !UpgradeDatabase(1001, websites)) {
        qt_message_output(
            QtDebugMsg, QMessageLogContext(),
            QStringLiteral("UpgradeDatabase fail %1 %2 ").arg(m_nDbVersion).arg(1001));
    }
    return true;
}

bool SqlDb::UpgradeDatabase(int version, std::vector<WEBSITE>& websites)
{
    for (WEBSITE& website : websites) {
        for (SEARCH_ENGINE& engine : website.SearchEngines) {
            if (engine.Country == QLatin1String("USA"))
                engine.Country = QStringLiteral("United States");
        }
        QSqlQuery query(m_DB);
        query.prepare(QStringLiteral("update WEBSITE set searchengines=? WHERE website=?"));
        query.addBindValue(CombineSearchEnginesString(website.SearchEngines));
        query.addBindValue(website.Website);
        if (!query.exec())
            return false;
    }
    return SetConfigValue(QStringLiteral("DB_VER"), version);
}

void SqlDb::ClearRepeatedUpdateNo()
{
    QSqlQuery query(m_DB);
    query.exec(QStringLiteral("delete from UpdateFlow where rowid not in(select max(rowid) from "
                              "UpdateFlow group by UpdateNo)"));
}

// Schedules --------------------------------------------------------------------------

namespace {
// The Days column: the mask or day of month for types 1 and 2, 0 for type 0. Other
// types have no value here; the caller refuses them.
bool daysValue(const SCHEDUAL& schedual, QVariant& value)
{
    switch (schedual.Type) {
    case 0:
        value = 0;
        return true;
    case 1:
    case 2:
        value = int(schedual.Days);
        return true;
    default:
        return false;
    }
}
} // namespace

bool SqlDb::addSchedual(const SCHEDUAL& schedual)
{
    QVariant days;
    if (!daysValue(schedual, days))
        return false;
    QSqlQuery query(m_DB);
    query.prepare(QStringLiteral("INSERT INTO Schedual(Website, Type, Days, StartTime, "
                                 "StartMode) VALUES(?, ?, ?, ?, ?)"));
    query.addBindValue(schedual.Website);
    query.addBindValue(int(schedual.Type));
    query.addBindValue(days);
    query.addBindValue(SqlValue::fromTime(schedual.StartTime));
    query.addBindValue(int(schedual.StartMode));
    return query.exec();
}

bool SqlDb::UpdateSchedual(const SCHEDUAL& schedual)
{
    QVariant days;
    if (!daysValue(schedual, days))
        return false;
    QSqlQuery query(m_DB);
    query.prepare(QStringLiteral(
        "UPDATE Schedual SET Type=?, Days=?, StartTime=?, StartMode=? WHERE Website=?"));
    query.addBindValue(int(schedual.Type));
    query.addBindValue(days);
    query.addBindValue(SqlValue::fromTime(schedual.StartTime));
    query.addBindValue(int(schedual.StartMode));
    query.addBindValue(schedual.Website);
    return query.exec();
}

bool SqlDb::UpdateSchedualLastRunDay(const SCHEDUAL& schedual)
{
    QSqlQuery query(m_DB);
    query.prepare(QStringLiteral("UPDATE Schedual SET LastRunDay=? WHERE Website=?"));
    query.addBindValue(SqlValue::fromDate(schedual.LastRunDay));
    query.addBindValue(schedual.Website);
    return query.exec();
}

bool SqlDb::deleteSchedual(QString website)
{
    QSqlQuery query(m_DB);
    query.prepare(QStringLiteral("DELETE FROM Schedual WHERE Website=?"));
    query.addBindValue(website);
    return query.exec();
}

bool SqlDb::RenameWebsite(const QString& from, const QString& to, QString& error)
{
    for (const char* sql : {"UPDATE UpdateFlow SET Website=? WHERE Website=?",
                            "UPDATE Schedual SET Website=? WHERE Website=?"}) {
        QSqlQuery query(m_DB);
        bool done = query.prepare(QLatin1String(sql));
        if (done) {
            query.addBindValue(to);
            query.addBindValue(from);
            done = query.exec();
        }
        if (!done) {
            error = query.lastError().text();
            return false;
        }
    }
    return true;
}

void SqlDb::loadScheduals(std::vector<SCHEDUAL>& scheduals)
{
    if (!m_DB.isOpen())
        return;
    QSqlQuery query(m_DB);
    query.setForwardOnly(true);
    query.prepare(QStringLiteral(
        "SELECT Website, Type, Days, StartTime, StartMode, LastRunDay FROM Schedual"));
    const bool read = query.exec();
    while (read && query.next()) {
        SCHEDUAL schedual;
        schedual.Website = query.value(0).toString();
        schedual.Type = query.value(1).toInt();
        schedual.Days = query.value(2).toUInt();
        schedual.StartTime = SqlValue::toTime(query.value(3));
        schedual.StartMode = query.value(4).toInt();
        schedual.LastRunDay = SqlValue::toDate(query.value(5));
        scheduals.push_back(schedual);
    }
    // Read at start-up with the rest of the model: a damaged file fails the start.
    if (!read || query.lastError().isValid()) {
        scheduals.clear();
        FailedRead(query.lastError());
    }
}

// Proxies ----------------------------------------------------------------------------

bool SqlDb::isProxyExist(QString address, int port)
{
    QSqlQuery query(m_DB);
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT address, port FROM proxy WHERE address=? AND port=?"));
    query.addBindValue(address);
    query.addBindValue(port);
    query.exec();
    return query.next();
}

bool SqlDb::appendProxy(const QString& address, int port, const QString& country, QString type,
                        const QString& username, const QString& password, bool enabled)
{
    QSqlQuery query(m_DB);
    query.prepare(QStringLiteral("INSERT INTO proxy(address, port, type, country, username, "
                                 "password, enable) VALUES(?, ?, ?, ?, ?, ?, ?)"));
    query.addBindValue(address);
    query.addBindValue(port);
    query.addBindValue(type);
    query.addBindValue(country);
    query.addBindValue(username);
    query.addBindValue(password);
    query.addBindValue(SqlValue::fromBool(enabled));
    return query.exec();
}

bool SqlDb::enableProxy(const QString& address, int port, bool enabled)
{
    QSqlQuery query(m_DB);
    query.prepare(QStringLiteral("UPDATE proxy SET enable=? WHERE address=? AND port=?"));
    query.addBindValue(SqlValue::fromBool(enabled));
    query.addBindValue(address);
    query.addBindValue(port);
    return query.exec();
}

bool SqlDb::removeProxy(const QString& address, int port)
{
    QSqlQuery query(m_DB);
    query.prepare(QStringLiteral("DELETE FROM proxy WHERE address=? AND port=?"));
    query.addBindValue(address);
    query.addBindValue(port);
    return query.exec();
}

void SqlDb::loadProxies(QList<PROXY>& proxies)
{
    QSqlQuery query(m_DB);
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT * FROM proxy"));
    query.exec();
    while (query.next()) {
        PROXY proxy;
        proxy.address = query.value(0).toString();
        proxy.port = query.value(1).toInt();
        proxy.type = query.value(2).toString();
        proxy.country = query.value(3).toString();
        proxy.username = query.value(4).toString();
        proxy.password = query.value(5).toString();
        proxy.enable = SqlValue::toBool(query.value(6));
        proxies.append(proxy);
    }
}

// Measurements ---------------------------------------------------------------------------

namespace {
// Values in the column order of UpdateFlow; the language is the last column although it
// is the fourth field of the record.
QVariantList insertValues(const UPDATE_FLOW& flow)
{
    return {int(flow.UpdateNo),
            flow.Website,
            flow.SearchEngine,
            flow.Keyword,
            SqlValue::fromDateTime(flow.SearchTime),
            int(flow.Rank),
            flow.RankURL,
            flow.Lang};
}

// Values of the update statement: the columns, then the update number it selects by.
QVariantList updateValues(const UPDATE_FLOW& flow)
{
    return {
        flow.Website,   flow.SearchEngine, flow.Keyword, SqlValue::fromDateTime(flow.SearchTime),
        int(flow.Rank), flow.RankURL,      flow.Lang,    int(flow.UpdateNo)};
}

const char kInsertFlow[] = "insert into UpdateFlow values(?,?,?,?,?,?,?,?)";
const char kUpdateFlow[] = "UPDATE UpdateFlow SET Website=?,SearchEngine=?,keyword=?,"
                           "SearchTime=?,Rank=?,RankURL=?,Lang=? WHERE UpdateNo=?";

bool runBatch(const char* statement, QVariantList (*values)(const UPDATE_FLOW&),
              const std::vector<UPDATE_FLOW*>& flows, QString& error, QSqlQuery& query)
{
    query.prepare(QLatin1String(statement));
    QList<QVariantList> columns(8);
    for (const UPDATE_FLOW* flow : flows) {
        const QVariantList row = values(*flow);
        for (int i = 0; i < 8; ++i)
            columns[i].append(row.at(i));
    }
    for (const QVariantList& column : columns)
        query.addBindValue(column);
    if (query.execBatch(QSqlQuery::ValuesAsRows))
        return true;
    qDebug() << query.lastError();
    error = query.lastError().text();
    return false;
}

void runOnce(SqlDb& store, const char* statement, const QVariantList& values)
{
    QSqlQuery query(store.m_DB);
    query.prepare(QLatin1String(statement));
    for (const QVariant& value : values)
        query.addBindValue(value);
    query.exec();
}
} // namespace

bool SqlDb::BatchInsert(const std::vector<UPDATE_FLOW*>& flows, QString& error, QSqlQuery& query)
{
    return runBatch(kInsertFlow, insertValues, flows, error, query);
}

bool SqlDb::BatchUpdate(const std::vector<UPDATE_FLOW*>& flows, QString& error, QSqlQuery& query)
{
    return runBatch(kUpdateFlow, updateValues, flows, error, query);
}

void SqlDb::InsertToDataBase(UPDATE_FLOW& flow)
{
    runOnce(*this, kInsertFlow, insertValues(flow));
}

void SqlDb::UpdateToDataBase(const UPDATE_FLOW& flow)
{
    runOnce(*this, kUpdateFlow, updateValues(flow));
}
