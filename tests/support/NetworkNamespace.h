#pragma once

#include <QString>
#include <QStringList>

// A private network and mount namespace for a test program: loopback only, and a hosts
// file of our own in which the search engines' host names resolve to 127.0.0.1, so the
// checks reach the fake engine by the real names on port 80 and parallel test programs
// never meet. Root makes it directly, a normal user inside a user namespace of its own
// (as root there); where the kernel refuses both, the tests that need it skip with reason().
namespace NetworkNamespace {

// The host names the private hosts file maps to loopback.
QStringList engineHosts();

// Call first thing in main(), before any thread or the application object exists.
void enter(const QStringList& extraHosts = {});

bool active();
// Why the namespace is not active (empty while active).
QString reason();

} // namespace NetworkNamespace

// Skips the current test function unless the namespace is active.
#define LT_REQUIRE_NETNS()                                                                         \
    do {                                                                                           \
        if (!NetworkNamespace::active())                                                           \
            QSKIP(qPrintable(NetworkNamespace::reason()));                                         \
    } while (false)
