#include "UrlOpenWatcher.h"

UrlOpenWatcher::UrlOpenWatcher() : m_previous(UrlOpenHook::install(this)) {}

UrlOpenWatcher::~UrlOpenWatcher()
{
    UrlOpenHook::install(m_previous);
}

bool UrlOpenWatcher::open(const QUrl& url)
{
    m_urls << url;
    return true;
}
