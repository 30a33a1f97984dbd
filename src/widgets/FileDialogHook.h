#pragma once

#include <QString>

class QWidget;

// Every file dialog of the program goes through the installed hook, so that tests can
// answer them without a modal dialog. Without a hook the real QFileDialog is shown.
class FileDialogHook
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

    // Installs the hook for the whole process; returns the previous one. Ownership stays
    // with the caller.
    static FileDialogHook* install(FileDialogHook* hook);
    static FileDialogHook* installed();

    static QString openFileName(QWidget* parent, const QString& caption, const QString& dir,
                                const QString& filter);
    static QString saveFileName(QWidget* parent, const QString& caption, const QString& dir,
                                const QString& filter);
    static QString existingDirectory(QWidget* parent, const QString& caption, const QString& dir);
};
