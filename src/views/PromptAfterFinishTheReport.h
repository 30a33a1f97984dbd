#pragma once

#include <QString>

class QWidget;

// Tells the user where a report was saved (and offers to open that folder), or that
// writing it failed.
void PromptAfterFinishTheReport(QString path, bool ok, QWidget* parent);
