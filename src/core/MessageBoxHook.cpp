#include "MessageBoxHook.h"

#include <QDebug>

namespace {
int showBox(MessageBoxHook::Icon icon, QObject* parent, const QString& title, const QString& text,
            int buttons, int defaultButton)
{
    MessageBoxHook::Request request;
    request.icon = icon;
    request.parent = parent;
    request.title = title;
    request.text = text;
    request.buttons = buttons;
    request.defaultButton = defaultButton;
    return MessageBoxHook::showMessage(request);
}
} // namespace

MessageBoxHook::~MessageBoxHook()
{
    if (installed() == this)
        install(nullptr);
}

int MessageBoxHook::showMessage(const Request& request)
{
    if (MessageBoxHook* hook = installed())
        return hook->show(request);
    qWarning().noquote() << "message box without a hook:" << request.title << "-" << request.text;
    return request.defaultButton != NoButton ? request.defaultButton : Ok;
}

int MessageBoxHook::warning(QObject* parent, const QString& title, const QString& text, int buttons,
                            int defaultButton)
{
    return showBox(Warning, parent, title, text, buttons, defaultButton);
}

int MessageBoxHook::information(QObject* parent, const QString& title, const QString& text,
                                int buttons, int defaultButton)
{
    return showBox(Information, parent, title, text, buttons, defaultButton);
}

int MessageBoxHook::question(QObject* parent, const QString& title, const QString& text,
                             int buttons, int defaultButton)
{
    return showBox(Question, parent, title, text, buttons, defaultButton);
}

int MessageBoxHook::critical(QObject* parent, const QString& title, const QString& text,
                             int buttons, int defaultButton)
{
    return showBox(Critical, parent, title, text, buttons, defaultButton);
}
