#pragma once

#include <QDate>
#include <QDateTime>
#include <QHash>
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
// Reads many stored date-times: text (UTF-8) in one of the two forms written is parsed
// without a QString, and the local time zone is asked once per distinct hour instead of
// once per value. read() is false for any other text, which toDateTime then reads; its
// values equal what toDateTime gives for the same text.
class StoredDateTimes
{
public:
    bool read(const char* text, qsizetype size, QDateTime& value);

private:
    struct Hour {
        qint64 key = -1;       // Julian day * 24 + hour
        qint64 startMSecs = 0; // the hour's start since the epoch, when plain
        bool plain = false;    // one offset and no change of summer time in the hour
    };
    Hour resolve(qint64 key, QDate date, int hour);

    Hour m_last;
    QHash<qint64, Hour> m_hours;
};
QTime toTime(const QVariant& value);
QDate toDate(const QVariant& value);
bool toBool(const QVariant& value);

// Local date-times are built from stored text for every row of a load. With TZ unset the
// C library checks the status of /etc/localtime at each conversion, a system call per
// row; naming that same default zone explicitly (":/etc/localtime", which Qt also takes
// for the system zone) keeps its rules loaded. Nothing changes when TZ is set or the file
// is missing. Call before any other thread runs: it sets the environment.
void pinLocalTimeZone();

} // namespace SqlValue
