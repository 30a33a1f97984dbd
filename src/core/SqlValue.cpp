#include "SqlValue.h"

#include <QMetaType>

namespace {
const char kDateTimeFormat[] = "yyyy-MM-ddTHH:mm:ss";
const char kTimeFormat[] = "HH:mm:ss";
const char kDateFormat[] = "yyyy-MM-dd";

bool isNull(const QVariant& value)
{
    return !value.isValid() || value.isNull();
}
} // namespace

namespace SqlValue {

QVariant fromDateTime(const QDateTime& value)
{
    if (!value.isValid())
        return QVariant(QMetaType(QMetaType::QString));
    return value.toString(QLatin1String(kDateTimeFormat));
}

QVariant fromTime(const QTime& value)
{
    if (!value.isValid())
        return QVariant(QMetaType(QMetaType::QString));
    return value.toString(QLatin1String(kTimeFormat));
}

QVariant fromDate(const QDate& value)
{
    if (!value.isValid())
        return QVariant(QMetaType(QMetaType::QString));
    return value.toString(QLatin1String(kDateFormat));
}

QVariant fromBool(bool value)
{
    return value ? 1 : 0;
}

QDateTime toDateTime(const QVariant& value)
{
    if (isNull(value))
        return QDateTime();
    if (value.metaType().id() == QMetaType::QDateTime)
        return value.toDateTime();
    const QString text = value.toString().trimmed();
    // Local time as held: no zone suffix is written, none is interpreted.
    QDateTime result = QDateTime::fromString(text, Qt::ISODateWithMs);
    if (!result.isValid())
        result = QDateTime::fromString(text, Qt::ISODate);
    if (!result.isValid()) {
        QString spaced = text;
        if (spaced.size() > 10 && spaced.at(10) == QLatin1Char(' ')) {
            spaced[10] = QLatin1Char('T');
            result = QDateTime::fromString(spaced, Qt::ISODateWithMs);
        }
    }
    if (result.isValid() && result.timeSpec() != Qt::LocalTime)
        result = QDateTime(result.date(), result.time(), Qt::LocalTime);
    return result;
}

QTime toTime(const QVariant& value)
{
    if (isNull(value))
        return QTime();
    if (value.metaType().id() == QMetaType::QTime)
        return value.toTime();
    const QString text = value.toString().trimmed();
    QTime result = QTime::fromString(text, Qt::ISODateWithMs);
    if (!result.isValid())
        result = QTime::fromString(text, Qt::ISODate);
    return result;
}

QDate toDate(const QVariant& value)
{
    if (isNull(value))
        return QDate();
    if (value.metaType().id() == QMetaType::QDate)
        return value.toDate();
    const QString text = value.toString().trimmed();
    QDate result = QDate::fromString(text, Qt::ISODate);
    if (!result.isValid() && text.size() > 10) {
        // A date-time written where a date was expected.
        result = QDate::fromString(text.left(10), Qt::ISODate);
    }
    return result;
}

bool toBool(const QVariant& value)
{
    if (isNull(value))
        return false;
    const QString text = value.toString().trimmed();
    if (text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
        return true;
    if (text.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
        return false;
    bool ok = false;
    const qlonglong number = text.toLongLong(&ok);
    return ok && number != 0;
}

} // namespace SqlValue
