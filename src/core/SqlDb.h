#pragma once

#include "Records.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QVariant>

#include <vector>

class QSqlError;
class QSqlQuery;

// The store: one SQLite file under the user's Documents folder, on Qt's default
// connection. One store per central widget; building a new store registers the default
// connection again, which disables the handle of the store built before.
class SqlDb
{
public:
    SqlDb();
    SqlDb(const SqlDb&) = delete;
    SqlDb& operator=(const SqlDb&) = delete;

    QString QueryConfigValue(QString name);
    bool SetConfigValue(QString name, QVariant value);

    // Loading. Appends every website and every rank series to the caller's lists and
    // hands back the highest update number. False when an update number occurs twice:
    // both lists are then emptied and the caller clears the repeats and loads again. Also
    // false, with both lists emptied, when the file cannot be read to its end: the store
    // has then warned and closed its handle, as after a failed open. A closed store loads
    // nothing and gives true. A version-0 store is upgraded on the way.
    bool LoadRankData(std::vector<WEBSITE>& websites, std::vector<RANK_DATA*>& rankData,
                      LTInt64& lastUpdateNo);
    // How the last load read the rank rows: on the driver's own SQLite handle (true), or
    // through QSqlQuery (false), as it does where the driver runs a SQLite library other
    // than the one this program links.
    bool LoadReadDriverHandle() const { return m_loadReadDriverHandle; }
    // For tests and benchmarks: loads read the rank rows through QSqlQuery even where
    // they could read them on the driver's handle.
    static void SetQueryLoadForTests(bool on);
    bool UpgradeDatabase(int version, std::vector<WEBSITE>& websites);
    // Keeps, of each update number, the row inserted last.
    void ClearRepeatedUpdateNo();

    // Measurements of an update run, written on the caller's query inside the caller's
    // transaction. On failure the driver's error text is handed back.
    bool BatchInsert(const std::vector<UPDATE_FLOW*>& flows, QString& error, QSqlQuery& query);
    bool BatchUpdate(const std::vector<UPDATE_FLOW*>& flows, QString& error, QSqlQuery& query);
    void InsertToDataBase(UPDATE_FLOW& flow);
    void UpdateToDataBase(const UPDATE_FLOW& flow);

    // Moves a website's measurements and schedule to its new URL, on the caller's
    // transaction (the editor renames the Website row itself). On failure the driver's
    // error text is handed back.
    bool RenameWebsite(const QString& from, const QString& to, QString& error);

    // Schedules, one row per website.
    bool addSchedual(const SCHEDUAL& schedual);
    bool UpdateSchedual(const SCHEDUAL& schedual);
    bool UpdateSchedualLastRunDay(const SCHEDUAL& schedual);
    bool deleteSchedual(QString website);
    void loadScheduals(std::vector<SCHEDUAL>& scheduals);

    // Proxies, identified by (address, port).
    bool isProxyExist(QString address, int port);
    bool appendProxy(const QString& address, int port, const QString& country, QString type,
                     const QString& username, const QString& password, bool enabled);
    bool enableProxy(const QString& address, int port, bool enabled);
    bool removeProxy(const QString& address, int port);
    void loadProxies(QList<PROXY>& proxies);

    // The database file's path for the current user.
    static QString DatabasePath();

    QSqlDatabase m_DB;
    // Schema version from the config row "DB_VER"; -1 when construction stopped
    // before the database could be read.
    qint32 m_nDbVersion = -1;

private:
    // Whether the driver runs the SQLite library linked into this program; found at open.
    bool m_driverSharesSqlite = false;
    bool m_loadReadDriverHandle = false;

    // As QueryConfigValue; a failed read sets error.
    QString ReadConfigValue(const QString& name, QSqlError& error);
    // A statement of the start-up could not read the file (a damaged database). Going on
    // would show part of the data as all of it and write into the damaged file, so the
    // store warns, naming the file and the driver's message, and closes its handle:
    // start-up then ends as for a database that cannot be opened.
    void FailedRead(const QSqlError& error);
};
