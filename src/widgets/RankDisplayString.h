#pragma once

#include "Records.h"

#include <QColor>
#include <QString>

// The one text form of a rank: the position 1..100, ">100" when the website was not among
// the first 100 results, "-" when there is no rank (0, a failed check).
QString RankDisplayString(LTInt64 rank);

// The text of the change from the reference rank (the older one) to the current rank and
// the colour it is shown in: "+n" improved (green), "-n" dropped (orange), "0" equal (grey),
// plain "-" when either rank is 0, with the invalid colour (no colour of its own).
// The colour is always overwritten.
QString RankChangeDisplayString(LTInt64 current, LTInt64 reference, QColor& color);
