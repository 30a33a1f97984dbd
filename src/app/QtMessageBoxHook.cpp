#include "QtMessageBoxHook.h"

#include <QMessageBox>
#include <QWidget>

int QtMessageBoxHook::show(const Request& request)
{
    QWidget* parent = qobject_cast<QWidget*>(request.parent);
    const auto buttons = QMessageBox::StandardButtons(request.buttons);
    const auto defaultButton = QMessageBox::StandardButton(request.defaultButton);
    switch (request.icon) {
    case Information:
        return QMessageBox::information(parent, request.title, request.text, buttons,
                                        defaultButton);
    case Question:
        return QMessageBox::question(parent, request.title, request.text, buttons, defaultButton);
    case Critical:
        return QMessageBox::critical(parent, request.title, request.text, buttons, defaultButton);
    case Warning:
        return QMessageBox::warning(parent, request.title, request.text, buttons, defaultButton);
    case NoIcon:
        break;
    }
    QMessageBox box(QMessageBox::NoIcon, request.title, request.text, buttons, parent);
    box.setDefaultButton(defaultButton);
    return box.exec();
}
