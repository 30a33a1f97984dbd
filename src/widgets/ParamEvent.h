#pragma once

#include "Records.h"

#include <QEvent>

// The requests the main window serves: rebuild the hub from the database and select a
// website (a ParamEvent), and run an update of the selected website.
constexpr int EVENT_RebuildHub = 1001;
constexpr int EVENT_UpdateSelectedWebsite = 1002;

// A posted request that carries one signed 64-bit value, such as the website to select
// after a rebuild.
class ParamEvent : public QEvent
{
public:
    explicit ParamEvent(LTInt64 param, QEvent::Type type = QEvent::Type(EVENT_RebuildHub))
        : QEvent(type), m_nParam(param)
    {}

    LTInt64 m_nParam;
};
