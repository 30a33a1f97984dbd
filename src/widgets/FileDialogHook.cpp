#include "FileDialogHook.h"

#include <QFileDialog>

FileDialogHook::~FileDialogHook() = default;

QString FileDialogHook::openFileName(QWidget* parent, const QString& caption, const QString& dir,
                                     const QString& filter)
{
    if (FileDialogHook* hook = installed())
        return hook->getOpenFileName(parent, caption, dir, filter);
    return QFileDialog::getOpenFileName(parent, caption, dir, filter);
}

QString FileDialogHook::saveFileName(QWidget* parent, const QString& caption, const QString& dir,
                                     const QString& filter)
{
    if (FileDialogHook* hook = installed())
        return hook->getSaveFileName(parent, caption, dir, filter);
    return QFileDialog::getSaveFileName(parent, caption, dir, filter);
}

QString FileDialogHook::existingDirectory(QWidget* parent, const QString& caption,
                                          const QString& dir)
{
    if (FileDialogHook* hook = installed())
        return hook->getExistingDirectory(parent, caption, dir);
    return QFileDialog::getExistingDirectory(parent, caption, dir, QFileDialog::ShowDirsOnly);
}
