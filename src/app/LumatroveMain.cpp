#include "LumatroveMain.h"

#include "IsOnlyOneAppInstance.h"
#include "MakerInfo.h"
#include "MessageBoxHook.h"
#include "RMainWindow.h"
#include "RankMain.h"

#include <QApplication>
#include <QIcon>

int lumatroveMain(QApplication& app)
{
    if (!IsOnlyOneAppInstance(LUMATROVE_LOCK_NAME))
        return 1;

    app.setOrganizationName(MakerInfo::OrganizationName());
    app.setOrganizationDomain(MakerInfo::OrganizationDomain());
    app.setApplicationName(QStringLiteral("Lumatrove"));
    app.setWindowIcon(QIcon(QStringLiteral(":/Resources/lumatrove_icon.png")));

    int exitCode = 0;
    {
        RMainWindow window(nullptr);
        s_wndRMainWindow = &window;
        if (window.Hub()->m_Sqldb.m_DB.isOpen()) {
            window.resize(1000, 580);
            window.setWindowTitle(RankMain::GetWindowTitle());
            window.show();
            exitCode = app.exec();
        } else {
            MessageBoxHook::warning(nullptr, QStringLiteral("Lumatrove"),
                                    QStringLiteral("Can not open or create the database."));
            exitCode = 3;
        }
    }
    return exitCode;
}
