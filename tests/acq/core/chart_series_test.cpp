// The data series of a panel chart: holes, point counts, gaps for text that is not a number, and
// the largest value kept for an automatic axis.
#include "acq/core/chart_series.h"

#include <gtest/gtest.h>
#include <cmath>

namespace {

TEST(ChartSeries, PreparedDataAreHoles)
{
    ChartSeries s;
    s.reset(1);
    EXPECT_EQ(std::tuple(s.pointCount(), s.plottedCount(), s.isPlotted(1)),
              std::tuple(1, 0, false));
    EXPECT_TRUE(std::isnan(s.x(1)) && std::isnan(s.y(1)) && std::isnan(s.maximumY()));
}

TEST(ChartSeries, PointsArriveInOrder)
{
    ChartSeries s;
    s.reset(1);
    for (int k = 1; k <= 5; ++k)
        s.setPoint(k, 100 + k, k * 1.5);
    EXPECT_EQ(std::tuple(s.pointCount(), s.plottedCount(), s.isPlotted(6)),
              std::tuple(5, 5, false));
    EXPECT_EQ(std::tuple(s.x(3), s.y(5), s.maximumY()), std::tuple(103.0, 7.5, 7.5));
    EXPECT_TRUE(std::isnan(s.x(0)) && std::isnan(s.x(6)));
}

TEST(ChartSeries, TextThatIsNotANumberIsAGap)
{
    struct Case { const char *text; double value; };
    const Case numbers[] = {{"3.25", 3.25}, {" 12.0 ", 12.0}, {"-1", -1}, {"1e2", 100}};
    for (const Case &c : numbers)
        EXPECT_DOUBLE_EQ(ChartSeries::valueOf(QString::fromLatin1(c.text)), c.value) << c.text;
    for (const char *text : {"", "abc", "1,5", "Err", "nan", "inf", "1e999"})
        EXPECT_TRUE(std::isnan(ChartSeries::valueOf(QString::fromLatin1(text)))) << text;

    // The gap keeps its place: counts and indexes do not change, the maximum ignores it.
    ChartSeries s;
    s.reset(1);
    s.setPoint(1, 101, 2.0);
    s.setPoint(2, 102, ChartSeries::valueOf(QStringLiteral("x")));
    s.setPoint(3, 103, 1.0);
    EXPECT_EQ(std::tuple(s.pointCount(), s.plottedCount(), s.isPlotted(2), s.maximumY()),
              std::tuple(3, 3, true, 2.0));
    EXPECT_TRUE(std::isnan(s.y(2)));
}

TEST(ChartSeries, AnEarlierPointAgainShortensTheSeries)
{
    ChartSeries s;
    s.reset(1);
    for (int k = 1; k <= 4; ++k)
        s.setPoint(k, k, 10.0 * k);
    s.setPoint(4, 4, 15); // the last point again, lower and higher: the maximum is recounted
    EXPECT_DOUBLE_EQ(s.maximumY(), 30);
    s.setPoint(4, 4, 50);
    EXPECT_DOUBLE_EQ(s.maximumY(), 50);
    s.setPoint(2, 2, 5);
    EXPECT_EQ(std::tuple(s.pointCount(), s.maximumY()), std::tuple(2, 10.0));
    s.reset(0);
    EXPECT_EQ(s.pointCount(), 0);
}

} // namespace
