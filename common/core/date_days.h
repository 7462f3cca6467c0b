#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>

// Dates as days since 1899-12-30 (a double: the whole part is the day, the fraction the time of
// day), in local wall-clock time. Arithmetic on them is wall-clock arithmetic: adding 5 seconds
// adds 5/86400 whatever daylight saving does.
class DateDays
{
public:
    static QDate epoch() { return QDate(1899, 12, 30); }

    // Wall-clock date and time of a day number, to the nearest millisecond.
    static QDateTime toDateTime(double days);
    static double fromDateTime(const QDateTime &dateTime);
    static double fromDate(QDate date, QTime time = QTime(0, 0));

    // The current local time as a day number, to whole seconds.
    static double nowWholeSeconds();

    // days + seconds.
    static double addSeconds(double days, double seconds);
    // The seconds since midnight of the day number, to the millisecond.
    static double secondsOfDay(double days);

    // Text of the day number in a Qt pattern, rounded to the nearest second first
    // (default "yyyy-MM-dd HH:mm:ss"; MM is the month).
    static QString format(double days, const QString &pattern = QStringLiteral("yyyy-MM-dd HH:mm:ss"));
};
