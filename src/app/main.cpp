#include "QtMessageBoxHook.h"
#include "SqlDb.h"

#include <QApplication>
#include <QTextStream>

// Until the main window exists the program only proves that its store opens.
int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Brindlecor"));
    QApplication::setApplicationName(QStringLiteral("Lumatrove"));

    QtMessageBoxHook hook;
    MessageBoxHook::install(&hook);

    int exitCode = 0;
    {
        SqlDb store;
        QTextStream out(stdout);
        if (store.m_DB.isOpen()) {
            out << "Lumatrove: database open at " << SqlDb::DatabasePath() << " (schema version "
                << store.m_nDbVersion << ")\n";
        } else {
            MessageBoxHook::warning(nullptr, QStringLiteral("Lumatrove"),
                                    QStringLiteral("Can not open or create the database."));
            exitCode = 3;
        }
    }
    MessageBoxHook::install(nullptr);
    return exitCode;
}
