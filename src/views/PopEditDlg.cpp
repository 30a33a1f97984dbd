#include "PopEditDlg.h"

#include "AddWebsiteView.h"

#include <QDialog>
#include <QVBoxLayout>

void PopEditDlg(QWidget* parent, const WEBSITE* website, PageHub* hub)
{
    auto* editor = new AddWebsiteView(nullptr, hub, website);
    editor->ui.label->setText(QStringLiteral("Edit Website"));
    editor->ui.label_14->setText(QStringLiteral(
        "Edit a website and correlative keywords and continue monitoring its SERPs"));

    QDialog dialog(parent, Qt::FramelessWindowHint);
    auto* layout = new QVBoxLayout(&dialog);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(editor);
    dialog.setModal(true);
    dialog.setFixedSize(parent->size());
    dialog.move(parent->mapToGlobal(QPoint(0, 0)));
    dialog.exec();

    parent->setVisible(true);
    // The editor goes with the dialog, its parent since it was laid out.
}
