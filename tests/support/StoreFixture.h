#pragma once

#include "MessageBoxWatcher.h"
#include "SqlDb.h"

#include <QStringList>
#include <QVariantList>

// Set-ups the application and editor tests share: a fresh HOME with an empty settings
// store, rows written straight into the store, and what came back from it.
namespace StoreFixture {

inline const QString kGoogleUs = QStringLiteral("www.google.com?English?United States");

// A new HOME for the next case; the settings store is told, as it keeps its folder.
void freshHome();
// Runs one statement with its bound values.
bool exec(SqlDb& store, const QString& sql, const QVariantList& binds = {});
// Every column of every row, in order; on failure one text starting "failed: ".
QVariantList values(SqlDb& store, const QString& sql, const QVariantList& binds = {});
// Adds one Website row to the store of the current HOME.
bool storeWebsite(const QString& url, const QString& engines = kGoogleUs,
                  const QString& keywords = QStringLiteral("a"), const QVariant& created = {});
// Adds "site0.example" ... with the keywords "shoes" and "boots".
void storeWebsites(int count);
// The texts of the boxes shown, in order.
QStringList texts(const MessageBoxWatcher& boxes);
// "<icon>|<title>|<text>" per box shown, e.g. "Warning|Lumatrove|Invalid URL.".
QStringList boxLines(const MessageBoxWatcher& boxes);

} // namespace StoreFixture
