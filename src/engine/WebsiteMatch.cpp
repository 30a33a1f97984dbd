#include "WebsiteMatch.h"

#include <QRegExp>
#include <QStringList>
#include <QUrlQuery>

QString TrimUrl(QString url)
{
    url = url.trimmed();
    // Greedy: a minimal optional prefix would match nothing. Its dots match any character,
    // so "www" and the character after it go wherever they stand.
    const QRegExp prefix(QStringLiteral("(?:http://|https://|www.|http://www.|https://www.)?"),
                         Qt::CaseInsensitive);
    url = prefix.replaceIn(url, QString());
    if (url.endsWith(QLatin1Char('/')))
        url.chop(1);
    return url;
}

bool HostIsParent(const QString& host, const QString& parentHost)
{
    const QStringList labels = host.split(QLatin1Char('.'));
    const QStringList parentLabels = parentHost.split(QLatin1Char('.'));
    if (labels.size() < parentLabels.size())
        return false;
    for (int k = 1; k <= parentLabels.size(); ++k) {
        if (labels.at(labels.size() - k) != parentLabels.at(parentLabels.size() - k))
            return false;
    }
    return true;
}

bool PathIsParent(const QString& path, const QString& parentPath)
{
    const QStringList parts = path.split(QLatin1Char('/'));
    const QStringList parentParts = parentPath.split(QLatin1Char('/'));
    if (parts.size() < parentParts.size())
        return false;
    for (int k = 0; k < parentParts.size(); ++k) {
        if (parts.at(k) != parentParts.at(k))
            return false;
    }
    return true;
}

bool UrlIsParent(const QUrl& parent, const QUrl& child)
{
    if (!HostIsParent(child.host(), parent.host()))
        return false;
    if (!PathIsParent(child.path(), parent.path()))
        return false;
    const auto childItems = QUrlQuery(child).queryItems();
    for (const auto& item : QUrlQuery(parent).queryItems()) {
        if (!childItems.contains(item))
            return false;
    }
    return true;
}

bool AccurateMatch(const QUrl& a, const QUrl& b)
{
    return a == b;
}

bool IsIncludeWebsite(const QString& website, const QString& link)
{
    const QUrl linkUrl(QLatin1String("http://") + link);
    const QUrl websiteUrl(QLatin1String("http://") + website);
    if (QUrlQuery(websiteUrl).queryItems().isEmpty() && websiteUrl.path().isEmpty())
        return UrlIsParent(websiteUrl, linkUrl);
    return AccurateMatch(websiteUrl, linkUrl);
}
