#include "ReportCsv.h"

#include "MakerInfo.h"

#include <QAbstractItemModel>
#include <QFile>
#include <QStringList>
#include <QUrl>

namespace ReportCsv {

QByteArray Rule()
{
    return QByteArrayLiteral("#===============================,,,,,,,,,\n");
}

QByteArray Head(const WEBSITE& site, QDate updated)
{
    QByteArray text;
    text += ",,,,,,,,,\n";
    text += Rule();
    text += "# " + site.Website.toLatin1() + ",,,,,,,,,\n";
    text += "\"# Updated on " + updated.toString(QStringLiteral("MM/dd/yyyy")).toLatin1() +
            "\",,,,,,,,,\n";
    text +=
        "# Total keywords: " + QByteArray::number(qsizetype(site.Keywords.size())) + ",,,,,,,,,\n";
    text += Rule();
    text += "#,,,,,,,,,\n";
    text += "# Overview,,,,,,,,,\n";
    return text;
}

QByteArray Tail()
{
    QByteArray text = Rule();
    text += "# ,,,,,,,,,\n";
    text += "#Credit,,,,,,,,,\n";
    text +=
        "Report generated with " + QUrl(MakerInfo::HomePage()).host().toLatin1() + ",,,,,,,,,\n";
    return text;
}

QByteArray TableRows(QAbstractItemModel* model)
{
    QByteArray text;
    if (!model)
        return text;
    const int rows = model->rowCount();
    const int columns = model->columnCount();
    for (int r = 0; r < rows; ++r) {
        QStringList cells;
        for (int c = 0; c < columns; ++c)
            cells << model->index(r, c).data(Qt::DisplayRole).toString();
        text += cells.join(QLatin1Char(',')).toLatin1() + '\n';
    }
    return text;
}

bool Write(const QString& path, const QByteArray& text)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const qint64 written = file.write(text);
    // A full disk shows only when the buffer is flushed.
    const bool flushed = file.flush();
    return written == text.size() && flushed;
}

QByteArray EngineLabel(const SEARCH_ENGINE& engine)
{
    return (engine.SearchEngine + QLatin1Char('_') + engine.Lang).toLatin1();
}

} // namespace ReportCsv
