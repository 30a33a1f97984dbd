#pragma once

#include <QUrl>

// Every web page the program opens in the desktop's browser goes through the installed
// hook. Without a hook the desktop services open it; tests install one that records the
// address, so that no browser is ever started.
class UrlOpenHook
{
public:
    virtual ~UrlOpenHook();
    // Opens (or records) the address; true when it was handed on.
    virtual bool open(const QUrl& url) = 0;

    // Installs the hook for the whole process; returns the previous one. Ownership stays
    // with the caller.
    static UrlOpenHook* install(UrlOpenHook* hook);
    static UrlOpenHook* installed();

    // Opens the address through the installed hook, else through the desktop services.
    static bool openUrl(const QUrl& url);
};
