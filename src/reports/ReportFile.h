#pragma once

#include <QByteArray>
#include <QString>

// How the reports touch the file system. The report folder may be shared with other users
// or synced, so an entry there is never opened by name for writing: a link planted at a
// report's name would send the report into whatever file it points to.

// Replaces the entry at path with a regular file holding content, whole or not at all. The
// bytes go to a new file created beside it (never an existing entry), which is then renamed
// over path: a link there is replaced, its target left as it was. An existing regular file
// keeps its permissions, and one the user may not write stays as it is; so does a folder.
// True when every byte reached the file now at path.
bool ReplaceReportFile(const QString& path, const QByteArray& content);

// The bytes of the file at path when it is a regular file of at most maxBytes that can be
// read; empty for anything else (a FIFO, a device, a folder, a larger file), which is never
// waited on or read.
QByteArray ReadRegularFile(const QString& path, qint64 maxBytes);
