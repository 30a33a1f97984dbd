#pragma once

#include "InstalledHook.h"

#include <QString>

class QObject;

// Every message box of the program goes through the installed hook. The application
// installs one that shows a real QMessageBox; tests install one that records the box
// and answers it, so that nothing modal ever blocks them. Layers below the widgets
// (the store, the checker) reach message boxes only through here.
class MessageBoxHook : public InstalledHook<MessageBoxHook>
{
public:
    enum Icon { NoIcon, Information, Warning, Critical, Question };

    // Button values equal QMessageBox::StandardButton, so the widget layer can pass
    // them through unchanged.
    enum Button : int {
        NoButton = 0x00000000,
        Ok = 0x00000400,
        Save = 0x00000800,
        Open = 0x00002000,
        Yes = 0x00004000,
        No = 0x00010000,
        Cancel = 0x00400000,
    };

    struct Request {
        Icon icon = NoIcon;
        QObject* parent = nullptr; // a QWidget when the caller has one
        QString title;
        QString text;
        int buttons = Ok;
        int defaultButton = NoButton;
    };

    virtual ~MessageBoxHook();
    // Shows (or answers) the box and returns the button pressed.
    virtual int show(const Request& request) = 0;

    // Shows a box through the installed hook. Without a hook the box is written to the
    // debug output and the default button (else Ok) is the answer.
    static int showMessage(const Request& request);
    static int warning(QObject* parent, const QString& title, const QString& text, int buttons = Ok,
                       int defaultButton = NoButton);
    static int information(QObject* parent, const QString& title, const QString& text,
                           int buttons = Ok, int defaultButton = NoButton);
    static int question(QObject* parent, const QString& title, const QString& text,
                        int buttons = Yes | No, int defaultButton = NoButton);
    static int critical(QObject* parent, const QString& title, const QString& text,
                        int buttons = Ok, int defaultButton = NoButton);
};
