#include "SqlValue.h"

#include <QFileInfo>
#include <QMetaType>

namespace {
const char kDateTimeFormat[] = "yyyy-MM-ddTHH:mm:ss";
const char kTimeFormat[] = "HH:mm:ss";
const char kDateFormat[] = "yyyy-MM-dd";

bool isNull(const QVariant& value)
{
    return !value.isValid() || value.isNull();
}

// The number of count decimal digits at text; -1 when one is no digit.
int digits(const char* text, int count)
{
    int number = 0;
    for (int i = 0; i < count; ++i) {
        const unsigned digit = unsigned(text[i]) - '0';
        if (digit > 9)
            return -1;
        number = number * 10 + int(digit);
    }
    return number;
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

bool StoredDateTimes::read(const char* text, qsizetype size, QDateTime& value)
{
    // "yyyy-MM-ddTHH:mm:ss", optionally ".zzz". Other texts (blanks, other separators,
    // hour 24, fractions of other lengths) take the general reading.
    if (size != 19 && size != 23)
        return false;
    if (text[4] != '-' || text[7] != '-' || text[10] != 'T' || text[13] != ':' || text[16] != ':')
        return false;
    const int year = digits(text, 4);
    const int month = digits(text + 5, 2);
    const int day = digits(text + 8, 2);
    const int hour = digits(text + 11, 2);
    const int minute = digits(text + 14, 2);
    const int second = digits(text + 17, 2);
    int msec = 0;
    if (size == 23) {
        if (text[19] != '.')
            return false;
        msec = digits(text + 20, 3);
    }
    if (year < 1 || month < 0 || day < 0 || hour < 0 || hour > 23 || minute < 0 || minute > 59 ||
        second < 0 || second > 59 || msec < 0 || !QDate::isValid(year, month, day))
        return false;

    const QDate date(year, month, day);
    const qint64 key = date.toJulianDay() * 24 + hour;
    if (m_last.key != key) {
        const auto known = m_hours.constFind(key);
        m_last = known != m_hours.cend() ? known.value() : resolve(key, date, hour);
    }
    if (m_last.plain) {
        value = QDateTime::fromMSecsSinceEpoch(
            m_last.startMSecs + (minute * 60 + second) * 1000 + msec, Qt::LocalTime);
    } else {
        value = QDateTime(date, QTime(hour, minute, second, msec), Qt::LocalTime);
    }
    return true;
}

StoredDateTimes::Hour StoredDateTimes::resolve(qint64 key, QDate date, int hour)
{
    // An hour is plain when its first and last millisecond lie 3599999 ms apart with the
    // same offset and summer-time state, and the hours an hour before and after its start
    // are other hours: no skipped or repeated local time falls into it. Its values are
    // then the start plus the time within the hour, as the zone itself would place them.
    Hour result;
    result.key = key;
    const QDateTime first(date, QTime(hour, 0), Qt::LocalTime);
    const QDateTime last(date, QTime(hour, 59, 59, 999), Qt::LocalTime);
    // Far from the present the zone is not asked the same way for both; those take the
    // constructor for every value.
    if (date.year() > 1970 && date.year() < 2038 && first.isValid() && last.isValid() &&
        first.date() == date && first.time() == QTime(hour, 0) &&
        last.time() == QTime(hour, 59, 59, 999) && first.offsetFromUtc() == last.offsetFromUtc() &&
        first.isDaylightTime() == last.isDaylightTime()) {
        const qint64 start = first.toMSecsSinceEpoch();
        const auto hourOf = [](const QDateTime& local) {
            return local.date().toJulianDay() * 24 + local.time().hour();
        };
        result.plain =
            last.toMSecsSinceEpoch() - start == 3599999 &&
            hourOf(QDateTime::fromMSecsSinceEpoch(start - 3600000, Qt::LocalTime)) == key - 1 &&
            hourOf(QDateTime::fromMSecsSinceEpoch(start + 3600000, Qt::LocalTime)) == key + 1;
        result.startMSecs = start;
    }
    m_hours.insert(key, result);
    return result;
}

void pinLocalTimeZone()
{
    if (qEnvironmentVariableIsSet("TZ") || !QFileInfo::exists(QStringLiteral("/etc/localtime")))
        return;
    qputenv("TZ", ":/etc/localtime");
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
