#pragma once

#include "Records.h"

class PageHub;
class QWidget;

// Lays the website wizard, in edit mode for the website, over the parent page in a modal
// frameless dialog and returns once the wizard has closed it; the parent page is then
// shown again, which takes the side panel back from the wizard.
void PopEditDlg(QWidget* parent, const WEBSITE* website, PageHub* hub);
