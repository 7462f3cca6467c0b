#include "common/core/date_days.h"

#include <cmath>

namespace {
constexpr qint64 kMsPerDay = 86400000;

// Splits a day number into whole days and milliseconds of the day, rounded to the millisecond.
void split(double days, qint64 *wholeDays, qint64 *ms)
{
    const double total = std::round(days * double(kMsPerDay));
    const double day = std::floor(total / double(kMsPerDay));
    *wholeDays = static_cast<qint64>(day);
    *ms = static_cast<qint64>(total - day * double(kMsPerDay));
}
} // namespace

QDateTime DateDays::toDateTime(double days)
{
    if (!std::isfinite(days) || std::fabs(days) > 3.0e6)
        return QDateTime();
    qint64 whole = 0;
    qint64 ms = 0;
    split(days, &whole, &ms);
    // Built in UTC so that a wall-clock time inside a daylight-saving gap is kept as it is.
    return QDateTime(epoch().addDays(whole), QTime(0, 0).addMSecs(int(ms)), Qt::UTC);
}

double DateDays::fromDate(QDate date, QTime time)
{
    return double(epoch().daysTo(date)) + double(time.msecsSinceStartOfDay()) / double(kMsPerDay);
}

double DateDays::fromDateTime(const QDateTime &dateTime)
{
    return fromDate(dateTime.date(), dateTime.time());
}

double DateDays::nowWholeSeconds()
{
    const QDateTime now = QDateTime::currentDateTime();
    const QTime t = now.time();
    return fromDate(now.date(), QTime(t.hour(), t.minute(), t.second()));
}

double DateDays::addSeconds(double days, double seconds)
{
    return days + seconds / 86400.0;
}

double DateDays::secondsOfDay(double days)
{
    if (!std::isfinite(days))
        return 0.0;
    qint64 whole = 0;
    qint64 ms = 0;
    split(days, &whole, &ms);
    return double(ms) / 1000.0;
}

QString DateDays::format(double days, const QString &pattern)
{
    if (!std::isfinite(days) || std::fabs(days) > 3.0e6)
        return QString();
    const double seconds = std::round(days * 86400.0);
    return toDateTime(seconds / 86400.0).toString(pattern);
}
