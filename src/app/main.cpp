#include "LumatroveMain.h"
#include "QtMessageBoxHook.h"
#include "SqlValue.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    SqlValue::pinLocalTimeZone(); // before any thread starts
    QApplication app(argc, argv);
    QtMessageBoxHook hook;
    MessageBoxHook::install(&hook);
    const int exitCode = lumatroveMain(app);
    MessageBoxHook::install(nullptr);
    return exitCode;
}
