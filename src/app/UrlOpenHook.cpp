#include "UrlOpenHook.h"

#include <QDesktopServices>

namespace {
UrlOpenHook* s_hook = nullptr;
}

UrlOpenHook::~UrlOpenHook() = default;

UrlOpenHook* UrlOpenHook::install(UrlOpenHook* hook)
{
    UrlOpenHook* previous = s_hook;
    s_hook = hook;
    return previous;
}

UrlOpenHook* UrlOpenHook::installed()
{
    return s_hook;
}

bool UrlOpenHook::openUrl(const QUrl& url)
{
    if (s_hook)
        return s_hook->open(url);
    return QDesktopServices::openUrl(url);
}
