#include "FileDialogHook.h"

#include <QFileDialog>

namespace {
FileDialogHook* s_hook = nullptr;
}

FileDialogHook::~FileDialogHook() = default;

FileDialogHook* FileDialogHook::install(FileDialogHook* hook)
{
    FileDialogHook* previous = s_hook;
    s_hook = hook;
    return previous;
}

FileDialogHook* FileDialogHook::installed()
{
    return s_hook;
}

QString FileDialogHook::openFileName(QWidget* parent, const QString& caption, const QString& dir,
                                     const QString& filter)
{
    if (s_hook)
        return s_hook->getOpenFileName(parent, caption, dir, filter);
    return QFileDialog::getOpenFileName(parent, caption, dir, filter);
}

QString FileDialogHook::saveFileName(QWidget* parent, const QString& caption, const QString& dir,
                                     const QString& filter)
{
    if (s_hook)
        return s_hook->getSaveFileName(parent, caption, dir, filter);
    return QFileDialog::getSaveFileName(parent, caption, dir, filter);
}

QString FileDialogHook::existingDirectory(QWidget* parent, const QString& caption,
                                          const QString& dir)
{
    if (s_hook)
        return s_hook->getExistingDirectory(parent, caption, dir);
    return QFileDialog::getExistingDirectory(parent, caption, dir, QFileDialog::ShowDirsOnly);
}
