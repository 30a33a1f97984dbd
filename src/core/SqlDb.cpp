#include "SqlDb.h"

#include "MessageBoxHook.h"

#include <QDir>
#include <QObject>
#include <QSqlError>
#include <QSqlQuery>

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

    m_nDbVersion = QueryConfigValue(QStringLiteral("DB_VER")).toInt(nullptr, 10);
}

QString SqlDb::QueryConfigValue(QString name)
{
    QSqlQuery query(m_DB);
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT value from config where name=?"));
    query.addBindValue(name);
    query.exec();
    if (query.next())
        return query.value(0).toString();
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
