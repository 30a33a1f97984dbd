#pragma once

#include "Records.h"

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>

class QAbstractItemModel;

// The pieces both CSV reports share. Lines end with a line feed; a cell is quoted only when
// it holds a comma, a double quote or a line break, so plain reports read as they always
// did.
namespace ReportCsv {

// A cell as written: enclosed in double quotes, inner ones doubled, when it needs it.
QString Cell(const QString& text);
// A cell of text the user typed or a search engine returned: one that a spreadsheet would
// take for a formula gets a leading "'" first.
QString FreeTextCell(const QString& text);

QString Rule();
// The eight lines above and the four below every report.
QString Head(const WEBSITE& site, QDate updated);
QString Tail();
// The display texts of the model's cells, one line per row; the columns listed hold free
// text, the others the program's own texts.
QString TableRows(QAbstractItemModel* model, const QList<int>& freeTextColumns);
// An engine variant's host and language joined by "_".
QString EngineLabel(const SEARCH_ENGINE& engine);
// Latin-1 when every character has a Latin-1 form, else UTF-8 behind a byte-order mark.
QByteArray Encode(const QString& text);
// Replaces the file at path with the encoded text, all at once: on any failure the file
// is left as it was (or absent), and a link at path is replaced, never written through.
// True when every byte reached it.
bool Write(const QString& path, const QString& text);

} // namespace ReportCsv
