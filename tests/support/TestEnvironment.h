#pragma once

#include <QString>

// Gives a test program its own HOME and XDG folders. prepare() runs before the
// application object exists; freshHome() moves HOME to a new empty folder, for test
// cases that need a first start of their own.
namespace TestEnvironment {

void prepare();
QString freshHome();
QString root();

} // namespace TestEnvironment
