#include "ResultPageFixture.h"

#include <QDir>
#include <QFile>
#include <QTextCodec>

namespace {

ResultPageFixture Load(const QDir& dir, const QString& name)
{
    ResultPageFixture fixture;
    QFile page(dir.filePath(name + QStringLiteral(".html")));
    QFile expected(dir.filePath(name + QStringLiteral(".expected")));
    if (!page.open(QIODevice::ReadOnly) || !expected.open(QIODevice::ReadOnly))
        return fixture;
    const QByteArray bytes = page.readAll();
    fixture.bytes = bytes.size();
    fixture.page = QTextCodec::codecForHtml(bytes)->toUnicode(bytes);

    const QStringList lines = QString::fromUtf8(expected.readAll()).split(QLatin1Char('\n'));
    for (const QString& line : lines) {
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const int blank = line.indexOf(QLatin1Char(' '));
        const QString key = line.left(blank);
        const QString value = line.mid(blank + 1);
        if (key == QLatin1String("engine")) {
            fixture.engine = FindSearchEngineType(value);
        } else if (key == QLatin1String("website")) {
            fixture.website = value;
        } else if (key == QLatin1String("pattern")) {
            fixture.pattern = value == QLatin1String("fallback") ? -1 : value.toInt();
        } else if (key == QLatin1String("result")) {
            fixture.result = value.toInt();
        } else if (key == QLatin1String("found") || key == QLatin1String("entry")) {
            if (value == QLatin1String("none"))
                continue;
            const int split = value.indexOf(QLatin1Char(' '));
            const int position = value.left(split).toInt();
            const QString link = value.mid(split + 1);
            if (key == QLatin1String("found")) {
                fixture.foundPosition = position;
                fixture.foundUrl = link;
            } else {
                fixture.entries.append(qMakePair(position, link));
            }
        } else {
            return ResultPageFixture();
        }
    }
    fixture.name = name;
    return fixture;
}

} // namespace

QList<ResultPageFixture> ResultPageFixture::loadAll(const QString& folder)
{
    QList<ResultPageFixture> fixtures;
    const QDir dir(folder);
    for (const QString& file : dir.entryList({QStringLiteral("*.html")}, QDir::Files, QDir::Name))
        fixtures.append(Load(dir, file.chopped(5)));
    return fixtures;
}
