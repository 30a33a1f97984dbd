#pragma once

class QApplication;

// The name of the single-instance lock.
#define LUMATROVE_LOCK_NAME "7d04c2b9-5e13-4a8f-b6c1-93f0ae2d7e65"

// The whole start-up on an existing application object: the single-instance lock, the
// application's identity, the main window, the event loop. Returns the exit code: 1 when
// another instance runs, 3 when the database cannot be opened or created, otherwise the
// event loop's result. Message boxes go through the installed MessageBoxHook.
int lumatroveMain(QApplication& app);
