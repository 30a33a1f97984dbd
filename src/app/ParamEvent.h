#pragma once

#include "Records.h"

#include <QEvent>

// A posted request that carries one signed 64-bit value, such as the website to select
// after a rebuild.
class ParamEvent : public QEvent
{
public:
    explicit ParamEvent(LTInt64 param, QEvent::Type type = QEvent::Type(1001))
        : QEvent(type), m_nParam(param)
    {}

    LTInt64 m_nParam;
};
