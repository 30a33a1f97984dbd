#pragma once

#include <QDate>
#include <QDateTime>
#include <QTime>
#include <QVariant>

// The one place that knows how dates, times and flags look in the database.
// Written: date-times "yyyy-MM-ddTHH:mm:ss", times "HH:mm:ss", dates "yyyy-MM-dd",
// null values as NULL. Read: those forms and the forms with milliseconds that older
// versions wrote; booleans from 1/0 and from 'true'/'false'.
namespace SqlValue {

QVariant fromDateTime(const QDateTime& value);
QVariant fromTime(const QTime& value);
QVariant fromDate(const QDate& value);
QVariant fromBool(bool value);

QDateTime toDateTime(const QVariant& value);
QTime toTime(const QVariant& value);
QDate toDate(const QVariant& value);
bool toBool(const QVariant& value);

} // namespace SqlValue
