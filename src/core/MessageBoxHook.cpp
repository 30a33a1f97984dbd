#include "MessageBoxHook.h"

#include <QDebug>

namespace {
MessageBoxHook* g_hook = nullptr;

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
    if (g_hook == this)
        g_hook = nullptr;
}

MessageBoxHook* MessageBoxHook::install(MessageBoxHook* hook)
{
    MessageBoxHook* previous = g_hook;
    g_hook = hook;
    return previous;
}

MessageBoxHook* MessageBoxHook::installed()
{
    return g_hook;
}

int MessageBoxHook::showMessage(const Request& request)
{
    if (g_hook)
        return g_hook->show(request);
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
