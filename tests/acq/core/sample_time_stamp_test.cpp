#include "acq/core/sample_time_stamp.h"
#include "common/core/date_days.h"

#include <gtest/gtest.h>

namespace {

TEST(SampleTimeStamp, WholeAndFractionalIntervals)
{
    const double start = DateDays::fromDate(QDate(2013, 5, 1), QTime(10, 0, 0));
    const struct
    {
        float interval;
        int index;
        const char *expected;
    } cases[] = {
        {1.0f, 1, "2013-05-01 10:00:00"},     {1.0f, 6, "2013-05-01 10:00:05"},
        {2.0f, 3, "2013-05-01 10:00:04"},     {0.5f, 1, "2013-05-01 10:00:00:000"},
        {0.5f, 2, "2013-05-01 10:00:00:500"}, {0.5f, 12, "2013-05-01 10:00:05:500"},
        {0.1f, 11, "2013-05-01 10:00:01:000"}, {1.5f, 3, "2013-05-01 10:00:03:000"},
        {3600.0f, 15, "2013-05-02 00:00:00"}, {0.5f, 28802, "2013-05-01 14:00:00:500"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(fSampleTimeStamp(c.interval, c.index, start), QLatin1String(c.expected))
            << c.interval << " #" << c.index;
}

} // namespace
