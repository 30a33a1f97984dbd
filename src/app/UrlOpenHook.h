#pragma once

#include <QUrl>

// Every web page the program opens in the desktop's browser goes through the installed
// hook. The application uses the default (QDesktopServices); tests install one that
// records the address instead of starting a browser.
class UrlOpenHook
{
public:
    virtual ~UrlOpenHook();
    // Opens (or records) the address; true when it was handed to a browser.
    virtual bool open(const QUrl& url) = 0;

    // Installs the hook for the whole process and returns the previous one (null: the
    // desktop's browser). Ownership stays with the caller.
    static UrlOpenHook* install(UrlOpenHook* hook);
    static UrlOpenHook* installed();

    // Opens the address through the installed hook, else in the desktop's browser.
    static bool openUrl(const QUrl& url);
};
