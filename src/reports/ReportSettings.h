#pragma once

#include "RankHub.h"

#include <QString>

// The report settings as the running hub has them; the program's defaults when no hub
// is current.
QString ReportSetting(SETTINGS index);

// The folder reports are written to, absolute: a relative setting (the default "./") is
// taken from the program's data folder, where the database lives, not from wherever the
// program happened to be started.
QString ReportOutputFolder(const QString& setting);
QString ReportOutputFolder();
