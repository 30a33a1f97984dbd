#pragma once

#include "RankHub.h"

#include <QString>

// The report settings as the running hub has them; the program's defaults when no hub
// is current.
QString ReportSetting(SETTINGS index);
