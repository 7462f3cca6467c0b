#include "common/core/date_days.h"
#include "common/core/field_split.h"

#include <gtest/gtest.h>

namespace {

TEST(DateDays, DayNumbersCountFrom18991230)
{
    EXPECT_DOUBLE_EQ(DateDays::fromDate(QDate(1899, 12, 30)), 0.0);
    EXPECT_DOUBLE_EQ(DateDays::fromDate(QDate(1900, 1, 1)), 2.0);
    EXPECT_DOUBLE_EQ(DateDays::fromDate(QDate(2013, 5, 1)), 41395.0);
    EXPECT_DOUBLE_EQ(DateDays::fromDate(QDate(2013, 5, 1), QTime(12, 0)), 41395.5);
    EXPECT_EQ(DateDays::toDateTime(41395.75).time(), QTime(18, 0));
    EXPECT_EQ(DateDays::toDateTime(41395.75).date(), QDate(2013, 5, 1));
}

TEST(DateDays, FormatsWallClockToTheNearestSecond)
{
    const double start = DateDays::fromDate(QDate(2013, 5, 1), QTime(10, 0, 0));
    EXPECT_EQ(DateDays::format(DateDays::addSeconds(start, 5)), QStringLiteral("2013-05-01 10:00:05"));
    // Many small additions must not drift below the second.
    double t = start;
    for (int i = 0; i < 3600; ++i)
        t = DateDays::addSeconds(t, 1);
    EXPECT_EQ(DateDays::format(t), QStringLiteral("2013-05-01 11:00:00"));
    EXPECT_EQ(DateDays::format(DateDays::addSeconds(start, 14 * 3600 + 1)),
              QStringLiteral("2013-05-02 00:00:01"));
    EXPECT_DOUBLE_EQ(DateDays::secondsOfDay(start), 36000.0);
    EXPECT_EQ(DateDays::format(start, QStringLiteral("MM-dd HH:mm")), QStringLiteral("05-01 10:00"));
}

TEST(DateDays, NowIsWholeSeconds)
{
    const double now = DateDays::nowWholeSeconds();
    const double seconds = DateDays::secondsOfDay(now);
    EXPECT_NEAR(seconds, std::round(seconds), 1e-4);
}

TEST(FieldSplit, CountsAndFieldsFromOne)
{
    QStringList fields;
    EXPECT_EQ(fSplit(QString(), QLatin1Char(','), &fields), 0);
    EXPECT_EQ(fSplit(QStringLiteral("abc"), QLatin1Char(','), &fields), 1);
    EXPECT_EQ(fSplit(QStringLiteral("3.25,120.5,10132,1"), QLatin1Char(','), &fields), 4);
    EXPECT_EQ(fields.at(2), QStringLiteral("10132"));
    EXPECT_EQ(fSplit(QStringLiteral("a;b;"), QLatin1Char(';'), &fields), 3);
    EXPECT_EQ(fields.last(), QString());

    const FieldSplit split(QStringLiteral("001;3.25"), QLatin1Char(';'));
    EXPECT_EQ(split.field(1), QStringLiteral("001"));
    EXPECT_EQ(split.field(2), QStringLiteral("3.25"));
    EXPECT_EQ(split.field(3), QString()); // a missing field reads as empty
    EXPECT_EQ(split.field(0), QString());
    EXPECT_EQ(split.field(-7), QString());
}

} // namespace
