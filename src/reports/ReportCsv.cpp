#include "ReportCsv.h"

#include "MakerInfo.h"
#include "ReportFile.h"

#include <QAbstractItemModel>
#include <QStringList>
#include <QUrl>

namespace ReportCsv {

QString Cell(const QString& text)
{
    for (const QChar c : text) {
        if (c == QLatin1Char(',') || c == QLatin1Char('"') || c == QLatin1Char('\r') ||
            c == QLatin1Char('\n')) {
            QString quoted = text;
            quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
            return QLatin1Char('"') + quoted + QLatin1Char('"');
        }
    }
    return text;
}

QString FreeTextCell(const QString& text)
{
    static const QString formulaStarts = QStringLiteral("=+-@\t\r");
    if (!text.isEmpty() && formulaStarts.contains(text.front()))
        return Cell(QLatin1Char('\'') + text);
    return Cell(text);
}

QString Rule()
{
    return QStringLiteral("#===============================,,,,,,,,,\n");
}

QString Head(const WEBSITE& site, QDate updated)
{
    QString text;
    text += QLatin1String(",,,,,,,,,\n");
    text += Rule();
    text += Cell(QLatin1String("# ") + site.Website) + QLatin1String(",,,,,,,,,\n");
    text += QLatin1String("\"# Updated on ") + updated.toString(QStringLiteral("MM/dd/yyyy")) +
            QLatin1String("\",,,,,,,,,\n");
    text += QLatin1String("# Total keywords: ") + QString::number(qsizetype(site.Keywords.size())) +
            QLatin1String(",,,,,,,,,\n");
    text += Rule();
    text += QLatin1String("#,,,,,,,,,\n");
    text += QLatin1String("# Overview,,,,,,,,,\n");
    return text;
}

QString Tail()
{
    QString text = Rule();
    text += QLatin1String("# ,,,,,,,,,\n");
    text += QLatin1String("#Credit,,,,,,,,,\n");
    text += Cell(QLatin1String("Report generated with ") + QUrl(MakerInfo::HomePage()).host()) +
            QLatin1String(",,,,,,,,,\n");
    return text;
}

QString TableRows(QAbstractItemModel* model, const QList<int>& freeTextColumns)
{
    QString text;
    if (!model)
        return text;
    const int rows = model->rowCount();
    const int columns = model->columnCount();
    for (int r = 0; r < rows; ++r) {
        QStringList cells;
        for (int c = 0; c < columns; ++c) {
            const QString cell = model->index(r, c).data(Qt::DisplayRole).toString();
            cells << (freeTextColumns.contains(c) ? FreeTextCell(cell) : Cell(cell));
        }
        text += cells.join(QLatin1Char(',')) + QLatin1Char('\n');
    }
    return text;
}

QString EngineLabel(const SEARCH_ENGINE& engine)
{
    return Cell(engine.SearchEngine + QLatin1Char('_') + engine.Lang);
}

QByteArray Encode(const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() > 0xff)
            return QByteArrayLiteral("\xef\xbb\xbf") + text.toUtf8();
    }
    return text.toLatin1();
}

bool Write(const QString& path, const QString& text)
{
    return ReplaceReportFile(path, Encode(text));
}

} // namespace ReportCsv
