#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QUrl>

#include <utility>

// Query strings of the result-page addresses. Engines have always been sent items
// encoded the way older Qt did it: UTF-8, percent-encoded, with a fixed set of
// delimiters left as they are. "+" is not among them: engines read a bare "+" as a
// blank, so "c++" would be searched as "c".
class SearchQuery
{
public:
    using Item = std::pair<QString, QString>;

    // One key or value, encoded; "&" and "=" inside it are always encoded.
    static QByteArray Encode(const QString& text);

    // The base address (parsed tolerantly) with its query replaced by the items, in the
    // given order, as "key=value" joined by "&".
    static QUrl MakeUrl(const QString& base, const QList<Item>& items);
};
