#pragma once

#include "MessageBoxWatcher.h"
#include "Records.h"
#include "UrlOpenWatcher.h"

#include <QList>
#include <QPair>
#include <QTemporaryDir>
#include <QVariantList>

class QTableWidget;
class QWidget;
class SqlDb;

// The websites and rank histories the page tests build by hand, and the store rows the
// tests of pages inside the hub start from.
namespace PageFixture {

// A website created on 2026-03-04 08:00 with one engine variant per host, in that order:
// the Google ones for the United States in English, the others as `country`/`lang`.
WEBSITE website(const QString& url, const QStringList& hosts, const QStringList& keywords,
                const QString& country = QStringLiteral("United States"),
                const QString& lang = QStringLiteral("English"));

// Owns the histories a page reads.
struct Histories {
    std::vector<RANK_DATA*> list;
    ~Histories();
    // Points are (day, rank), oldest first, each checked at noon; its ranking URL is
    // "<url>/<host>/<rank>".
    RANK_DATA* add(const QString& url, const QString& host, const QString& keyword,
                   const QList<QPair<QDate, int>>& points);
    // The ranks given, oldest first, one day apart, the newest on `newest`.
    RANK_DATA* daily(const QString& url, const QString& host, const QString& keyword,
                     const QList<int>& ranks, QDate newest);
};

// What a report run needs: the message boxes and the browser watched, and a new empty
// folder for the report.
struct ReportRun {
    MessageBoxWatcher boxes;
    UrlOpenWatcher browser;
    QTemporaryDir folder;
    QStringList files() const;
};

// Adds one row to a table of the store.
bool insert(SqlDb& store, const QString& table, const QVariantList& values);

// The texts of one table row, column by column; "<none>" where the cell holds no item.
QStringList rowTexts(QTableWidget* table, int row);
// The row whose first cell reads `first`, or an empty list.
QStringList rowOf(QTableWidget* table, const QString& first);
QString labelText(QWidget& parent, const QString& name);

} // namespace PageFixture
