// Points per page, time windows, label forms, the forward jump and the mouse index of the data
// panels. Expected values are worked out by hand from the paging rules.
#include "acq/core/page_math.h"

#include <gtest/gtest.h>
#include <cmath>
#include <limits>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(PageMath, PagePointsRoundHalvesToEven)
{
    struct Case { qint32 range; float interval; int expected; };
    const Case cases[] = {
        {60, 1.0f, 60}, {5, 2.0f, 2}, {7, 2.0f, 4}, {9, 2.0f, 4}, {11, 2.0f, 6},
        {60, 0.5f, 120}, {60, 0.1f, 600}, {1, 2.0f, 0}, {1, 1.5f, 1}, {86400, 7.0f, 12343},
        {60, 0.0f, 0}, {60, -1.0f, 0},
    };
    for (const Case &c : cases)
        EXPECT_EQ(PageMath::pagePoints(c.range, c.interval), c.expected) << c.range << "/" << c.interval;
    EXPECT_EQ(PageMath::pagePoints(60, std::numeric_limits<float>::quiet_NaN()), 0);
    EXPECT_EQ(PageMath::pagePoints(2000000000, 1e-6f), 0); // does not fit
}

TEST(PageMath, LabelFormByRange)
{
    using L = PageMath::TimeLabel;
    struct Case { qint32 range; L label; const char *pattern; };
    const Case cases[] = {
        {1, L::Seconds, "HH:mm:ss"},     {599, L::Seconds, "HH:mm:ss"},
        {600, L::Minutes, "HH:mm"},      {86400, L::Minutes, "HH:mm"},
        {86401, L::DateMinutes, "MM-dd HH:mm"}, {2592000, L::DateMinutes, "MM-dd HH:mm"},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(PageMath::timeLabel(c.range), c.label) << c.range;
        EXPECT_EQ(PageMath::timeLabelPattern(PageMath::timeLabel(c.range)), QString::fromLatin1(c.pattern));
    }
}

TEST(PageMath, TickStepsAreClockSteps)
{
    struct Case { double span; double step; };
    const Case cases[] = {
        {61, 10}, {62, 10}, {11, 2}, {600, 120}, {3601, 600}, {86401, 21600},
        {2592000, 432000}, {2.0, 0.5}, {0.3, 0.05}, {1e9, 2592000.0 * 78},
    };
    for (const Case &c : cases)
        EXPECT_DOUBLE_EQ(PageMath::timeTickStep(c.span), c.step) << c.span;
    EXPECT_DOUBLE_EQ(PageMath::timeTickStep(0), 1);
    EXPECT_DOUBLE_EQ(PageMath::timeTickStep(kNaN), 1);
}

TEST(PageMath, ForwardJumpOnlyPastTheRightEnd)
{
    // Range 60, interval 1, start second S = 43200: window S+1 .. S+62 after the start.
    const double s = 43200;
    EXPECT_FALSE(PageMath::forwardJump(s + 62, s + 62, 62, 60, 1.0f, s, 1.0f, 10, 60));
    EXPECT_FALSE(PageMath::forwardJump(kNaN, s + 62, 62, 60, 1.0f, s, 1.0f, 10, 60));
    const auto w = PageMath::forwardJump(s + 63, s + 62, 63, 60, 1.0f, s, 1.0f, 10, 60);
    ASSERT_TRUE(w);
    // origin' = (63 - 60) x 1 + S - 1 = S + 2; the window moves on by the grid spacing, so the
    // newest sample lies g - interval = 9 s before the right end.
    EXPECT_EQ(std::pair(w->minimum, w->maximum), std::pair(s + 12, s + 72));
    // A spacing that is not whole is rounded (halves to even).
    const auto w2 = PageMath::forwardJump(s + 63, s + 62, 63, 60, 1.0f, s, 1.0f, 2.5, 60);
    ASSERT_TRUE(w2);
    EXPECT_DOUBLE_EQ(w2->minimum, s + 4);
}

TEST(PageMath, DragIndexIsClampedBeforeConversion)
{
    const double x1 = 43201; // sample 1, interval 1, 100 samples
    struct Case { double x; int index; bool move; };
    const Case cases[] = {
        {43201, 1, false},     // on sample 1: selected, the marker stays
        {43210.4, 10, true},   // nearest sample 10
        {43210.5, 10, true},   // halves to even
        {43211.5, 12, true},
        {43300, 100, true},    // the last sample
        {43301, 100, false},   // past the end: the last sample, marker stays
        {1e300, 100, false},   // far past: clamped as a double, no overflow
        {43200.4, 0, false},   // before sample 1: nothing
        {-1e300, 0, false},
        {kNaN, 0, false},      // outside the plot
    };
    for (const Case &c : cases) {
        const PageMath::DragIndex d = PageMath::dragIndex(c.x, x1, 1.0f, 100);
        EXPECT_EQ(std::pair(d.index, d.moveMarker), std::pair(c.index, c.move)) << c.x;
    }
    EXPECT_EQ(PageMath::dragIndex(43210, x1, 1.0f, 0).index, 0); // nothing plotted
    EXPECT_EQ(PageMath::dragIndex(43210, kNaN, 1.0f, 5).index, 0);
    EXPECT_EQ(PageMath::dragIndex(43210, x1, 0.0f, 5).index, 0);
}

TEST(PageMath, ReleaseIndexIsClampedIntoTheRun)
{
    const double x1 = 43201;
    struct Case { double x; int index; };
    const Case cases[] = {
        {43201, 1}, {43250.2, 50}, {43300, 100}, {43400, 100}, {1e300, 100},
        {43100, 1}, {-1e300, 1}, {kNaN, 0},
    };
    for (const Case &c : cases)
        EXPECT_EQ(PageMath::releaseIndex(c.x, x1, 1.0f, 100), c.index) << c.x;
    // Interval 0.5 s: 2 samples per second.
    EXPECT_EQ(PageMath::releaseIndex(x1 + 10, x1, 0.5f, 100), 21);
    EXPECT_EQ(PageMath::releaseIndex(x1, x1, 1.0f, 0), 0);
}

TEST(PageMath, AutomaticAxisMaximum)
{
    struct Case { double largest; double top; };
    const Case cases[] = {
        {120.5, 150}, {100, 120}, {3.25, 4}, {0.9, 1}, {950, 1000}, {1e6, 1.2e6},
        {0, 1}, {-5, 1}, {kNaN, 1},
    };
    for (const Case &c : cases)
        EXPECT_DOUBLE_EQ(PageMath::autoAxisMaximum(c.largest), c.top) << c.largest;
}

} // namespace
