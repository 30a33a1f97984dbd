#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>

#include <sqlite3.h>

// Whether the Qt driver of a connection runs the SQLite library that the calling program
// links, told by behaviour alone: memory that the driver's SQLite takes shows in this
// library's figures only when they are one library. -1 when this library keeps no memory
// figures.
inline int driverRunsLinkedSqlite(const QSqlDatabase& db)
{
    void* probe = sqlite3_malloc(1024);
    const bool counting = sqlite3_memory_used() > 0;
    sqlite3_free(probe);
    if (!counting)
        return -1;
    const sqlite3_int64 start = sqlite3_memory_used();
    sqlite3_memory_highwater(1);
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("SELECT randomblob(16000000)")) || !query.next())
        return -1;
    return sqlite3_memory_highwater(0) - start >= 16000000 ? 1 : 0;
}
