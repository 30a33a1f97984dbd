#pragma once

#include <QFile>

// The peak resident size of this process in kB since the last FreshPeakKb(); -1 without
// /proc.
inline qint64 PeakKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly | QIODevice::Text))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

// The peak resident size of this process in kB (VmHWM), started anew at the present size
// where the kernel allows it (writing 5 to clear_refs); where it does not, the peak so far
// stays the base, a weaker check. -1 without /proc.
inline qint64 FreshPeakKb(bool* reset = nullptr)
{
    QFile clearRefs(QStringLiteral("/proc/self/clear_refs"));
    const bool cleared = clearRefs.open(QIODevice::WriteOnly) && clearRefs.write("5") == 1;
    clearRefs.close();
    if (reset)
        *reset = cleared;
    return PeakKb();
}
