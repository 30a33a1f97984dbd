#include "PlantedLink.h"

#include <QDir>
#include <QFile>

namespace {

const QByteArray kKept = "not this report\n";
const char* const kVictim = "victim";

QStringList Entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                  QDir::NoDotAndDotDot);
}

} // namespace

PlantedLink::PlantedLink(const QString& kind, const QString& folder, const QString& name)
    : m_kind(kind), m_folder(folder), m_name(name)
{
    const QString victim = m_outside.filePath(QLatin1String(kVictim));
    if (kind != QLatin1String("dangling")) {
        QFile file(victim);
        if (!file.open(QIODevice::WriteOnly) || file.write(kKept) != kKept.size())
            return;
    }
    if (kind == QLatin1String("folder")) {
        const QString linked = QDir(folder).filePath(QStringLiteral("linked"));
        m_path = QDir(linked).filePath(name);
        m_planted = QFile::link(m_outside.path(), linked);
    } else {
        m_path = QDir(folder).filePath(name);
        m_planted = QFile::link(victim, m_path);
    }
}

QString PlantedLink::outsideChange() const
{
    const QString victim = m_outside.filePath(QLatin1String(kVictim));
    QStringList expected{QLatin1String(kVictim)};
    if (m_kind == QLatin1String("dangling"))
        expected.clear();
    else if (m_kind == QLatin1String("folder"))
        expected.append(m_name);
    expected.sort();
    const QStringList seen = Entries(m_outside.path());
    if (seen != expected)
        return QStringLiteral("outside folder holds %1").arg(seen.join(QLatin1Char(' ')));
    QFile file(victim);
    if (m_kind != QLatin1String("dangling") &&
        (!file.open(QIODevice::ReadOnly) || file.readAll() != kKept))
        return QStringLiteral("the file the link points to changed");
    return QString();
}

QStringList PlantedLink::folderEntries() const
{
    return Entries(m_folder);
}
