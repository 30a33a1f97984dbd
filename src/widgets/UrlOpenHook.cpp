#include "UrlOpenHook.h"

#include <QDesktopServices>

namespace {
bool dispatch(const QUrl& url)
{
    if (UrlOpenHook* hook = UrlOpenHook::installed())
        return hook->open(url);
    return QDesktopServices::openUrl(url);
}

bool isWebAddress(const QUrl& url)
{
    const QString scheme = url.scheme();
    return url.isValid() && !url.host().isEmpty() &&
           (scheme.compare(QLatin1String("http"), Qt::CaseInsensitive) == 0 ||
            scheme.compare(QLatin1String("https"), Qt::CaseInsensitive) == 0);
}
} // namespace

UrlOpenHook::~UrlOpenHook() = default;

bool UrlOpenHook::openUrl(const QUrl& url)
{
    // Ranking URLs and news links come from outside: a javascript:, file: or data: address
    // there must not reach the desktop.
    if (!isWebAddress(url))
        return false;
    return dispatch(url);
}

bool UrlOpenHook::openLocalFolder(const QUrl& folder)
{
    if (!folder.isLocalFile())
        return false;
    return dispatch(folder);
}
