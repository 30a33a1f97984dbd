#include "RankHub.h"

#include <QFile>

namespace {
RankHub* g_current = nullptr;
}

RankHub::~RankHub()
{
    if (g_current == this)
        g_current = nullptr;
}

RankHub* RankHub::Current()
{
    return g_current;
}

void RankHub::SetCurrent(RankHub* hub)
{
    g_current = hub;
}

QStringList RankHub::ReadPatternFile(const QString& path)
{
    QStringList patterns;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return patterns;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    for (int i = 1; i < lines.size() && patterns.size() < REGEXP_Count; i += 2)
        patterns.append(lines.at(i));
    return patterns;
}
