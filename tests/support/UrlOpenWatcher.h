#pragma once

#include "UrlOpenHook.h"

#include <QList>
#include <QUrl>

// Stands in for the browser while it lives: records every address the program opens.
class UrlOpenWatcher : public UrlOpenHook
{
public:
    UrlOpenWatcher();
    ~UrlOpenWatcher() override;

    bool open(const QUrl& url) override;

    const QList<QUrl>& urls() const { return m_urls; }
    void clear() { m_urls.clear(); }

private:
    UrlOpenHook* m_previous;
    QList<QUrl> m_urls;
};
