#include "SqlDb.h"

#include "MessageBoxHook.h"
#include "RankHistory.h"
#include "SqlValue.h"
#include "WebsiteColumns.h"

#include <QDir>
#include <QHash>
#include <QObject>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QtGlobal>

#include <sqlite3.h>

#ifdef Q_OS_UNIX
#include <dlfcn.h>
#endif

#include <algorithm>
#include <limits>
#include <memory>
#include <string>
#include <unordered_map>
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
    // The same-day rewrite of a measurement finds its row by number; without an index every
    // row of the run would scan the whole table. An older store gains it here.
    "CREATE INDEX IF NOT EXISTS UpdateFlow_UpdateNo ON UpdateFlow(UpdateNo)",
};

// Whether the Qt driver runs the very SQLite library linked into this program. Only then
// may the load hand the driver's sqlite3* to that library: a plugin built on a copy of its
// own (as Qt's installers ship it) keeps the connection in that copy's structures, which
// another copy must not touch, even one of the same version; so equal version texts prove
// nothing. Each copy hands back the address of its own version text: the plugin (the file
// that holds the driver's meta-object) is asked for sqlite3_sourceid as it resolves it,
// itself first and then what it links, and one library gives one address. A plugin that
// exports no such function holds a copy of its own. A program that puts its own copy in
// place of the plugin's is taken for two libraries: the slower way, never a wrong one.
bool driverSharesSqlite(const QSqlDriver* driver)
{
#ifdef Q_OS_UNIX
    Dl_info plugin;
    if (!driver || !dladdr(driver->metaObject(), &plugin) || !plugin.dli_fname)
        return false;
    void* library = dlopen(plugin.dli_fname, RTLD_LAZY | RTLD_NOLOAD);
    if (!library)
        return false;
    using SourceId = const char* (*)();
    const auto theirs = reinterpret_cast<SourceId>(dlsym(library, "sqlite3_sourceid"));
    const bool same = theirs && theirs() == sqlite3_sourceid();
    dlclose(library);
    return same;
#else
    Q_UNUSED(driver);
    return false;
#endif
}
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
    m_driverSharesSqlite = driverSharesSqlite(m_DB.driver());

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
// walking the lists for every row. A measurement fits when some website of its URL holds its
// keyword and an engine variant of its host and language.
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

namespace {
// Reads the columns of the current row of a scan as the Qt driver turns them into
// QVariants (integer, double, UTF-16 text, bytes, NULL as a null text), then converts
// them as the load's QVariant conversions do; text in the forms the program writes takes
// a short way that gives the same values.
class RowReader
{
public:
    explicit RowReader(sqlite3_stmt* statement) : m_statement(statement) {}

    QVariant value(int column) const
    {
        switch (sqlite3_column_type(m_statement, column)) {
        case SQLITE_INTEGER:
            return qlonglong(sqlite3_column_int64(m_statement, column));
        case SQLITE_FLOAT:
            return sqlite3_column_double(m_statement, column);
        case SQLITE_NULL:
            return QVariant(QMetaType::fromType<QString>());
        case SQLITE_BLOB:
            return QByteArray(static_cast<const char*>(sqlite3_column_blob(m_statement, column)),
                              sqlite3_column_bytes(m_statement, column));
        default:
            return utf16(column);
        }
    }

    bool updateNo(int column, LTInt64& number) const
    {
        if (sqlite3_column_type(m_statement, column) != SQLITE_INTEGER)
            return readUpdateNo(value(column), number);
        const qint64 wide = sqlite3_column_int64(m_statement, column);
        if (wide < std::numeric_limits<qint32>::min() || wide > std::numeric_limits<qint32>::max())
            return false;
        number = wide;
        return true;
    }

    LTInt64 rank(int column) const
    {
        if (sqlite3_column_type(m_statement, column) != SQLITE_INTEGER)
            return readRank(value(column));
        const qint64 wide = sqlite3_column_int64(m_statement, column);
        if (wide < std::numeric_limits<qint16>::min() || wide > std::numeric_limits<qint16>::max())
            return 0;
        return wide;
    }

    QDateTime dateTime(int column)
    {
        QDateTime result;
        if (sqlite3_column_type(m_statement, column) == SQLITE_TEXT) {
            const char* text =
                reinterpret_cast<const char*>(sqlite3_column_text(m_statement, column));
            if (m_dateTimes.read(text, sqlite3_column_bytes(m_statement, column), result))
                return result;
        }
        return SqlValue::toDateTime(value(column));
    }

    QString text(int column) const
    {
        if (sqlite3_column_type(m_statement, column) == SQLITE_TEXT) {
            const char* text =
                reinterpret_cast<const char*>(sqlite3_column_text(m_statement, column));
            const int size = sqlite3_column_bytes(m_statement, column);
            if (isAscii(text, size))
                return QString::fromLatin1(text, size);
        }
        return value(column).toString();
    }

    // Whether the column reads as the given text; answered without building a QString
    // for ASCII text.
    bool textEquals(int column, const QString& other) const
    {
        if (sqlite3_column_type(m_statement, column) == SQLITE_TEXT) {
            const char* text =
                reinterpret_cast<const char*>(sqlite3_column_text(m_statement, column));
            const int size = sqlite3_column_bytes(m_statement, column);
            if (isAscii(text, size))
                return other == QLatin1String(text, size);
        }
        return other == value(column).toString();
    }

    // The stored bytes of text columns, each with its length, as one key; false when a
    // column holds no text (such rows are matched by their converted values alone).
    bool rawKey(std::initializer_list<int> columns, std::string& key) const
    {
        key.clear();
        for (int column : columns) {
            if (sqlite3_column_type(m_statement, column) != SQLITE_TEXT)
                return false;
            const char* text =
                reinterpret_cast<const char*>(sqlite3_column_text(m_statement, column));
            const int size = sqlite3_column_bytes(m_statement, column);
            key.append(reinterpret_cast<const char*>(&size), sizeof size);
            key.append(text, std::size_t(size));
        }
        return true;
    }

private:
    static bool isAscii(const char* text, int size)
    {
        for (int i = 0; i < size; ++i) {
            if (static_cast<unsigned char>(text[i]) >= 0x80)
                return false;
        }
        return true;
    }

    // Text as the driver reads it: SQLite's own conversion to UTF-16.
    QString utf16(int column) const
    {
        const void* text = sqlite3_column_text16(m_statement, column);
        return QString(static_cast<const QChar*>(text),
                       sqlite3_column_bytes16(m_statement, column) / int(sizeof(QChar)));
    }

    sqlite3_stmt* m_statement;
    SqlValue::StoredDateTimes m_dateTimes;
};

// Reads the columns of the current row of a QSqlQuery scan: the way for a driver whose
// handle this program's SQLite library must not touch.
class QueryRowReader
{
public:
    explicit QueryRowReader(const QSqlQuery& query) : m_query(query) {}

    bool updateNo(int column, LTInt64& number) const
    {
        return readUpdateNo(m_query.value(column), number);
    }
    LTInt64 rank(int column) const { return readRank(m_query.value(column)); }
    QDateTime dateTime(int column) const { return SqlValue::toDateTime(m_query.value(column)); }
    QString text(int column) const { return m_query.value(column).toString(); }
    bool textEquals(int column, const QString& other) const { return other == text(column); }

    // As RowReader::rawKey, from the UTF-16 text the driver gives.
    bool rawKey(std::initializer_list<int> columns, std::string& key) const
    {
        key.clear();
        for (int column : columns) {
            const QVariant value = m_query.value(column);
            const QString text = value.toString();
            if (value.typeId() != QMetaType::QString || text.isNull())
                return false;
            const qsizetype size = text.size();
            key.append(reinterpret_cast<const char*>(&size), sizeof size);
            key.append(reinterpret_cast<const char*>(text.constData()),
                       std::size_t(size) * sizeof(QChar));
        }
        return true;
    }

private:
    const QSqlQuery& m_query;
};

// Turns the rank rows, as either reader gives them, into points of their series.
class RankRowCollector
{
public:
    RankRowCollector(QHash<FitKey, RANK_DATA*>& fits, std::vector<RANK_DATA*>& rankData)
        : m_fits(fits), m_seriesIndex(rankData)
    {}

    // False when the row's update number was met before.
    template <class Row> bool add(Row& row);

    LTInt64 highest() const { return m_highest; }

private:
    // The address of each series' newest point, side by side: reading it from the end of
    // every series' own list costs a cache miss per row.
    struct LastAddress {
        QString url;
        bool any = false;
    };
    // Raw key bytes -> its series, or null when the key fits no website. Each update run
    // writes its keys in the same order, so the key that followed a key last time is
    // tried before the hash.
    struct KeyEntry {
        const std::string* key = nullptr;
        RANK_DATA* series = nullptr;
        int addressSlot = -1;
        KeyEntry* next = nullptr;
    };

    int addressSlot(RANK_DATA* series)
    {
        const auto known = m_addressSlots.constFind(series);
        if (known != m_addressSlots.cend())
            return known.value();
        LastAddress last;
        last.any = !series->FlowItems.empty();
        if (last.any)
            last.url = series->FlowItems.back().RankURL;
        m_lastAddresses.push_back(last);
        m_addressSlots.insert(series, int(m_lastAddresses.size() - 1));
        return int(m_lastAddresses.size() - 1);
    }

    QHash<FitKey, RANK_DATA*>& m_fits;
    RankDataIndex m_seriesIndex;
    std::vector<LastAddress> m_lastAddresses;
    QHash<RANK_DATA*, int> m_addressSlots;
    std::unordered_map<std::string, KeyEntry> m_seriesOfKey;
    KeyEntry* m_previous = nullptr;
    std::string m_rawKey;
    UpdateNumberSet m_updateNumbers;
    LTInt64 m_highest = 0;
};

template <class Row> bool RankRowCollector::add(Row& row)
{
    LTInt64 updateNo = 0;
    if (!row.updateNo(0, updateNo))
        return true;
    // Repeats are tested before the fit, so a repeat among dropped rows counts too.
    if (!m_updateNumbers.insert(updateNo))
        return false;
    if (updateNo > m_highest)
        m_highest = updateNo;

    RANK_DATA* found = nullptr;
    KeyEntry* entry = nullptr;
    const bool keyed = row.rawKey({1, 2, 3, 7}, m_rawKey);
    if (keyed) {
        if (m_previous && m_previous->next && *m_previous->next->key == m_rawKey) {
            entry = m_previous->next;
        } else {
            const auto known = m_seriesOfKey.find(m_rawKey);
            if (known != m_seriesOfKey.end())
                entry = &known->second;
        }
    }
    if (entry) {
        found = entry->series;
    } else {
        const QString website = row.text(1);
        const QString searchEngine = row.text(2);
        const QString keyword = row.text(3);
        const QString lang = row.text(7);
        const auto fit = m_fits.find(FitKey{website, keyword, searchEngine, lang});
        if (fit != m_fits.end()) {
            RANK_DATA*& cached = fit.value();
            if (!cached) {
                // Another language of the same key may have started the series already.
                cached = m_seriesIndex.Assign(website, searchEngine, keyword, lang);
            }
            found = cached;
        }
        if (keyed) {
            auto& added = *m_seriesOfKey.emplace(m_rawKey, KeyEntry()).first;
            added.second.key = &added.first;
            added.second.series = found;
            if (found)
                added.second.addressSlot = addressSlot(found);
            entry = &added.second;
        }
    }
    if (m_previous)
        m_previous->next = entry;
    m_previous = entry;
    if (!found)
        return true;

    FLOW_ITEM item;
    item.UpdateNo = updateNo;
    item.Rank = qint16(row.rank(5));
    item.SearchTime = row.dateTime(4);
    // The ranking address mostly repeats from one day to the next: share its text.
    LastAddress& last =
        m_lastAddresses[std::size_t(entry ? entry->addressSlot : addressSlot(found))];
    if (last.any && row.textEquals(6, last.url)) {
        item.RankURL = last.url;
    } else {
        item.RankURL = row.text(6);
        last.url = item.RankURL;
    }
    last.any = true;
    found->FlowItems.push_back(std::move(item));
    return true;
}

// Set only by tests (SqlDb::SetQueryLoadForTests).
bool g_queryLoadForTests = false;

} // namespace

void SqlDb::SetQueryLoadForTests(bool on)
{
    g_queryLoadForTests = on;
}

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
    const auto repeated = [&]() {
        websites.clear();
        releaseSeries(rankData);
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
    RankRowCollector collector(fits, rankData);

    // The rank rows are most of the file: where the driver runs the SQLite library linked
    // here, they are read on the driver's own handle, without a QVariant per column, and
    // each distinct key is turned into text and matched once. Every value reads as the
    // driver would give it (RowReader).
    sqlite3* handle = nullptr;
    if (m_driverSharesSqlite && !g_queryLoadForTests) {
        const QVariant driverHandle = m_DB.driver()->handle();
        if (driverHandle.isValid() && qstrcmp(driverHandle.typeName(), "sqlite3*") == 0)
            handle = *static_cast<sqlite3* const*>(driverHandle.constData());
    }
    m_loadReadDriverHandle = handle != nullptr;
    if (!handle) {
        if (!query.exec(QStringLiteral("select * from UpdateFlow")))
            return failed(query);
        QueryRowReader row(query);
        while (query.next()) {
            if (!collector.add(row))
                return repeated();
        }
        if (query.lastError().isValid())
            return failed(query);
    } else {
        query.finish();
        sqlite3_stmt* statement = nullptr;
        const int prepared =
            sqlite3_prepare_v2(handle, "select * from UpdateFlow", -1, &statement, nullptr);
        std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> finalizer(statement,
                                                                        sqlite3_finalize);
        const auto scanFailed = [&](int code) {
            const QString message = QString::fromUtf8(sqlite3_errmsg(handle));
            finalizer.reset(); // the handle closes only without open statements
            websites.clear();
            releaseSeries(rankData);
            FailedRead(QSqlError(QStringLiteral("Unable to fetch row"), message,
                                 QSqlError::ConnectionError, QString::number(code)));
            return false;
        };
        if (prepared != SQLITE_OK)
            return scanFailed(prepared);
        RowReader row(statement);
        int step;
        while ((step = sqlite3_step(statement)) == SQLITE_ROW) {
            if (!collector.add(row))
                return repeated();
        }
        // An error is no end of the rows.
        if (step != SQLITE_DONE)
            return scanFailed(step);
    }
    lastUpdateNo = collector.highest();

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
