#include "SearchQuery.h"

namespace {
// Characters besides the unreserved ones that stay unencoded in a query item.
const QByteArray kLeftUnencoded = QByteArrayLiteral("!$'()*,;:@/?");
} // namespace

QByteArray SearchQuery::Encode(const QString& text)
{
    return QUrl::toPercentEncoding(text, kLeftUnencoded);
}

QUrl SearchQuery::MakeUrl(const QString& base, const QList<Item>& items)
{
    QByteArray query;
    for (const Item& item : items) {
        if (!query.isEmpty())
            query += '&';
        query += Encode(item.first);
        query += '=';
        query += Encode(item.second);
    }
    QUrl url(base, QUrl::TolerantMode);
    // The text is fully encoded already; strict mode keeps every byte of it.
    url.setQuery(QString::fromLatin1(query), QUrl::StrictMode);
    return url;
}
