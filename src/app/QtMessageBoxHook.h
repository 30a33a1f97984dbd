#pragma once

#include "MessageBoxHook.h"

// The application's message-box hook: real modal QMessageBox dialogs.
class QtMessageBoxHook : public MessageBoxHook
{
public:
    int show(const Request& request) override;
};
