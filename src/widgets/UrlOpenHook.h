#pragma once

#include "InstalledHook.h"

#include <QUrl>

// Every web page the program opens in the desktop's browser, and the report folder it
// opens in the file manager, goes through the installed hook. The application uses the default
// (QDesktopServices); tests install one that records the address instead of starting a browser.
class UrlOpenHook : public InstalledHook<UrlOpenHook>
{
public:
    virtual ~UrlOpenHook();
    // Opens (or records) the address; true when it was handed to a browser.
    virtual bool open(const QUrl& url) = 0;

    // Opens a web address through the installed hook, else in the desktop's browser.
    // Anything but an http or https address with a host is ignored (false).
    static bool openUrl(const QUrl& url);
    // Opens a local folder (a file URL) the same way, for the file manager; anything else
    // is ignored (false).
    static bool openLocalFolder(const QUrl& folder);
};
