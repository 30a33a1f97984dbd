#pragma once

#include "InstalledHook.h"

#include <QString>

class QWidget;

// Every file dialog of the program goes through the installed hook, so that tests can
// answer them without a modal dialog. Without a hook the real QFileDialog is shown.
class FileDialogHook : public InstalledHook<FileDialogHook>
{
public:
    virtual ~FileDialogHook();

    virtual QString getOpenFileName(QWidget* parent, const QString& caption, const QString& dir,
                                    const QString& filter) = 0;
    virtual QString getSaveFileName(QWidget* parent, const QString& caption, const QString& dir,
                                    const QString& filter) = 0;
    // Folders only.
    virtual QString getExistingDirectory(QWidget* parent, const QString& caption,
                                         const QString& dir) = 0;

    static QString openFileName(QWidget* parent, const QString& caption, const QString& dir,
                                const QString& filter);
    static QString saveFileName(QWidget* parent, const QString& caption, const QString& dir,
                                const QString& filter);
    static QString existingDirectory(QWidget* parent, const QString& caption, const QString& dir);
};
