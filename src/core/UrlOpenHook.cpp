#include "UrlOpenHook.h"

#include <QDesktopServices>

namespace {
UrlOpenHook* g_hook = nullptr;
}

UrlOpenHook::~UrlOpenHook()
{
    if (g_hook == this)
        g_hook = nullptr;
}

UrlOpenHook* UrlOpenHook::install(UrlOpenHook* hook)
{
    UrlOpenHook* previous = g_hook;
    g_hook = hook;
    return previous;
}

UrlOpenHook* UrlOpenHook::installed()
{
    return g_hook;
}

bool UrlOpenHook::openUrl(const QUrl& url)
{
    if (g_hook)
        return g_hook->open(url);
    return QDesktopServices::openUrl(url);
}
