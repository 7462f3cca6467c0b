#include "acq/core/graph_params.h"

#include <gtest/gtest.h>

namespace {

TEST(GraphParams, OpeningSelectsTheOptionThatMatchesTheRange)
{
    const struct
    {
        qint32 range;
        int selected;
        const char *texts[4];
    } cases[] = {
        {60, 0, {"60", "1", "1", "1"}},        {1, 0, {"1", "1", "1", "1"}},
        {120, 1, {"10", "2", "1", "1"}},       {3600, 1, {"10", "60", "1", "1"}},
        {7200, 2, {"10", "1", "2", "1"}},      {86400, 2, {"10", "1", "24", "1"}},
        {172800, 3, {"10", "1", "1", "2"}},    {90, -1, {"10", "1", "1", "1"}},
        {2592000, 3, {"10", "1", "1", "30"}},
    };
    for (const auto &c : cases) {
        const GraphParams::XRangeView v = GraphParams::smLoadCboXRange(c.range);
        EXPECT_EQ(v.selected, c.selected) << c.range;
        for (int o = 0; o < 4; ++o) {
            EXPECT_EQ(v.texts[size_t(o)], QLatin1String(c.texts[o])) << c.range << " option " << o;
            EXPECT_EQ(v.enabled[size_t(o)], o == c.selected) << c.range << " option " << o;
        }
    }
}

TEST(GraphParams, HorizontalEntryMustBeAWholeNumberInsideItsOptionsRange)
{
    EXPECT_EQ(GraphParams::xRangeSeconds(GraphParams::Minutes, QStringLiteral("5")), 300);
    EXPECT_EQ(GraphParams::xRangeSeconds(GraphParams::Minutes, QStringLiteral("10")), 600);
    EXPECT_EQ(GraphParams::xRangeSeconds(GraphParams::Seconds, QStringLiteral("60")), 60);
    EXPECT_EQ(GraphParams::xRangeSeconds(GraphParams::Hours, QStringLiteral("24")), 86400);
    EXPECT_EQ(GraphParams::xRangeSeconds(GraphParams::Days, QStringLiteral("30")), 2592000);
    for (const char *bad : {"0", "-5", "61", "2.5", "abc", "", "1e1"})
        EXPECT_FALSE(GraphParams::xRangeSeconds(GraphParams::Seconds, QLatin1String(bad)).has_value()) << bad;
    EXPECT_FALSE(GraphParams::xRangeSeconds(GraphParams::Hours, QStringLiteral("25")).has_value());
    EXPECT_FALSE(GraphParams::xRangeSeconds(GraphParams::Days, QStringLiteral("31")).has_value());
    EXPECT_FALSE(GraphParams::xRangeSeconds(4, QStringLiteral("1")).has_value());
}

TEST(GraphParams, ListsAndVelocityMaximum)
{
    EXPECT_EQ(GraphParams::xRangeList(GraphParams::Hours).size(), 24);
    EXPECT_EQ(GraphParams::xRangeList(GraphParams::Days).last(), QStringLiteral("30"));
    EXPECT_EQ(GraphParams::yRangeList(1).first(), QStringLiteral("100"));
    EXPECT_EQ(GraphParams::yRangeList(0).last(), QStringLiteral("60"));
    EXPECT_FLOAT_EQ(GraphParams::yUpperLimit(0), 100.0f);
    EXPECT_FLOAT_EQ(GraphParams::yUpperLimit(1), 20000.0f);
    EXPECT_DOUBLE_EQ(*GraphParams::velYMaxFromText(QStringLiteral("12.34")), 12.3);
    EXPECT_DOUBLE_EQ(*GraphParams::velYMaxFromText(QStringLiteral("12.35")), 12.4);
    EXPECT_FALSE(GraphParams::velYMaxFromText(QStringLiteral("x")).has_value());
}

} // namespace
