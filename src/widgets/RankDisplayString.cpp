#include "RankDisplayString.h"

#include <QObject>

namespace {

// high - low for low < high, exact over the whole signed range: the difference of two
// arbitrary 64-bit values does not fit a signed 64-bit value, but always an unsigned one.
quint64 Distance(LTInt64 low, LTInt64 high)
{
    return quint64(high) - quint64(low);
}

} // namespace

QString RankDisplayString(LTInt64 rank)
{
    if (rank > 100)
        return QStringLiteral(">100");
    if (rank <= 0)
        return QStringLiteral("-");
    return QString::number(rank);
}

QString RankChangeDisplayString(LTInt64 current, LTInt64 reference, QColor& color)
{
    if (current == 0 || reference == 0) {
        color = QColor(); // invalid: no colour of its own
        return QStringLiteral("-");
    }
    if (current == reference) {
        color = QColor(72, 72, 72);
        return QStringLiteral("0");
    }
    if (current < reference) {
        color = QColor(102, 201, 72);
        return QObject::tr("+") + QString::number(Distance(current, reference));
    }
    color = QColor(239, 117, 70);
    return QObject::tr("-") + QString::number(Distance(reference, current));
}
