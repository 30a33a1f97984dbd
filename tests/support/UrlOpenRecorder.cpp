#include "UrlOpenRecorder.h"

UrlOpenRecorder::UrlOpenRecorder() : m_previous(UrlOpenHook::install(this)) {}

UrlOpenRecorder::~UrlOpenRecorder()
{
    UrlOpenHook::install(m_previous);
}

bool UrlOpenRecorder::open(const QUrl& url)
{
    m_opened.append(url);
    return true;
}
