#pragma once

#include <QByteArray>
#include <QList>

// Takes the single-instance lock of the given name for the life of the process. False only
// when another process holds it; any other failure lets the start go on.
bool IsOnlyOneAppInstance(char const* name);

namespace InstanceLock {

enum Result {
    Locked,        // this process now holds the lock
    HeldElsewhere, // another process holds it
    NoLock,        // no candidate file could be opened or locked
};

// Where the lock file may live, in the order they are tried: the system's run folder, the
// user's runtime folder, the temporary folder with the user's id in the name. The system
// folder alone is not enough: an ordinary user cannot create files there, and then every
// launch would run.
QList<QByteArray> CandidatePaths(char const* name);

// Tries the paths in order and locks the first file that opens. The descriptor is kept
// open (and returned through fd) for as long as the lock is to be held.
Result Take(const QList<QByteArray>& paths, int* fd = nullptr);

} // namespace InstanceLock
