#include "PromptAfterFinishTheReport.h"

#include "MessageBoxHook.h"
#include "UrlOpenHook.h"

#include <QUrl>
#include <QWidget>

void PromptAfterFinishTheReport(QString path, bool ok, QWidget* parent)
{
    const QString title = QStringLiteral("Lumatrove");
    if (!ok) {
        MessageBoxHook::warning(parent, title, QStringLiteral("print report failed."));
        return;
    }

    const int slash = path.lastIndexOf(QLatin1Char('/'));
    const QString folder = path.left(slash);
    const QString name = path.mid(slash + 1);
    const QString text =
        QStringLiteral("Report <b>%1</b> was saved in folder <b>%2</b>!<br><p>Click "
                       "<b>open</b> to view the folder!</p>")
            .arg(name, folder);
    const int answer = MessageBoxHook::information(
        parent, title, text, MessageBoxHook::Open | MessageBoxHook::Ok, MessageBoxHook::Open);
    if (answer == MessageBoxHook::Open) {
        // Paths here are absolute ("/home/..."): prefixing "file:///" would give four
        // slashes and a folder the file manager cannot find.
        UrlOpenHook::openLocalFolder(folder.startsWith(QLatin1Char('/'))
                                         ? QUrl::fromLocalFile(folder)
                                         : QUrl(QStringLiteral("file:///") + folder));
    }
}
