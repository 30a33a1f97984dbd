#pragma once

#include "Records.h"

#include <QSqlDatabase>
#include <QString>
#include <QVariant>

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

    // The database file's path for the current user.
    static QString DatabasePath();

    QSqlDatabase m_DB;
    // Schema version from the config row "DB_VER"; -1 when construction stopped
    // before the database could be read.
    qint32 m_nDbVersion = -1;
};
