#pragma once

#include "Records.h"

#include <QEvent>
#include <QString>

// Carries one progress value from a worker thread to the thread that owns the dialog.
class Event_SetProgress : public QEvent
{
public:
    static constexpr int Type = 1001;

    explicit Event_SetProgress(LTInt64 percent, QString message = QString())
        : QEvent(QEvent::Type(Type)), m_nPercent(percent), m_strMessage(message)
    {}

    LTInt64 m_nPercent;
    QString m_strMessage;
};
