#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A report about to be written into a folder where someone planted a symbolic link, and
// the file outside that folder the link points to. Kinds:
// - "file": a link at the report's name to a file outside that holds other data;
// - "dangling": a link at the report's name to an outside file that does not exist yet;
// - "folder": no link at the name, but the report folder is itself a link to the outside
//   folder, which is legitimate and must keep taking reports.
class PlantedLink
{
public:
    PlantedLink(const QString& kind, const QString& folder, const QString& name);

    bool planted() const { return m_planted; }
    // Where the report is to be written.
    QString path() const { return m_path; }
    // Empty when the outside folder is as planted (plus the report, for a linked report
    // folder); otherwise what changed there.
    QString outsideChange() const;
    // The entries of the report folder, hidden ones included.
    QStringList folderEntries() const;

private:
    QString m_kind;
    QString m_folder;
    QString m_name;
    QTemporaryDir m_outside;
    QString m_path;
    bool m_planted = false;
};
