#pragma once

#include "Records.h"

#include <QByteArray>
#include <QDate>
#include <QString>

class QAbstractItemModel;

// The pieces both CSV reports share. Texts are Latin-1, lines end with a line feed and
// nothing is quoted.
namespace ReportCsv {

QByteArray Rule();
// The eight lines above and the four below every report.
QByteArray Head(const WEBSITE& site, QDate updated);
QByteArray Tail();
// The display texts of the model's cells, one line per row.
QByteArray TableRows(QAbstractItemModel* model);
// An engine variant's host and language joined by "_".
QByteArray EngineLabel(const SEARCH_ENGINE& engine);
// Replaces the file at path; true when every byte reached it.
bool Write(const QString& path, const QByteArray& text);

} // namespace ReportCsv
