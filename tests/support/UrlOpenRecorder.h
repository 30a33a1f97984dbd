#pragma once

#include "UrlOpenHook.h"

#include <QList>

// Stands in for the desktop's browser while it lives: records every address opened.
class UrlOpenRecorder : public UrlOpenHook
{
public:
    UrlOpenRecorder();
    ~UrlOpenRecorder() override;

    bool open(const QUrl& url) override;
    const QList<QUrl>& opened() const { return m_opened; }

private:
    UrlOpenHook* m_previous;
    QList<QUrl> m_opened;
};
