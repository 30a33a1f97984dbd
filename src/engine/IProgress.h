#pragma once

#include <QString>

// The progress sink of an update run; the progress dialog implements it.
class IProgress
{
public:
    virtual ~IProgress() = default;
    // The fraction of checks finished, 0 to 1.
    virtual void SetProgress(float fraction) = 0;
    virtual void SetCurrentMessage(QString message) { Q_UNUSED(message); }
    // The run is over.
    virtual void EndProgress() = 0;
};
