// The page scroll bar of a data panel without the widget: every branch of the rebuild, the
// value-changed clamps of both panels and how a cursor row is brought into the page. Expected
// values are worked out by hand from the paging rules (base -32750).
#include "acq/core/page_scroll.h"

#include <gtest/gtest.h>

namespace {

constexpr int kMin = PageMath::kScrollBase;

TEST(PageScroll, RebuildWithMoreSamplesThanAPage)
{
    // 100 samples, 60 per page.
    struct Case { int cursorRow; int value; };
    // Row 59 would give min + 58, beyond the maximum: the bar's range holds it at the maximum,
    // whose page (40..99) shows row 59.
    const Case cases[] = {{1, kMin}, {0, kMin}, {2, kMin + 1}, {41, kMin + 40}, {59, kMin + 40},
                          {60, kMin}, {75, kMin + 15}, {100, kMin + 40}};
    for (const Case &c : cases) {
        PageScroll p(PageScroll::Limit::ReceivedCount);
        const PageScroll::Rebuild r = p.rebuild(100, 1, 60, c.cursorRow, 100);
        EXPECT_TRUE(r.fits);
        EXPECT_FALSE(r.shown) << "a disabled bar moves no page";
        // 60 per page > 41 positions: the large change is 100 - 60.
        const PageScroll::Bar &b = p.bar();
        EXPECT_EQ(std::tuple(b.minimum, b.maximum, b.value, b.smallChange, b.largeChange, b.enabled),
                  std::tuple(kMin, -32710, c.value, 1, 40, true)) << c.cursorRow;
        // First point + 1, corrected by the first cursor move.
        EXPECT_EQ(std::pair(p.pageStart(), p.pageEnd()), std::pair(2, 60));
    }
    PageScroll long_(PageScroll::Limit::None);
    long_.rebuild(1000, 1, 60, 1, 1000);
    EXPECT_EQ(long_.bar().largeChange, 60);
    EXPECT_EQ(long_.bar().maximum, kMin + 940);
}

TEST(PageScroll, RebuildWithFewerSamplesThanAPageDisables)
{
    PageScroll p(PageScroll::Limit::ReceivedCount);
    p.rebuild(100, 1, 60, 75, 100); // enabled, value min + 15
    const PageScroll::Rebuild r = p.rebuild(59, 1, 60, 1, 59);
    EXPECT_FALSE(r.fits);
    // The bar was enabled: going back to the minimum runs the handler once.
    EXPECT_EQ(r.shown, 1);
    EXPECT_EQ(std::tuple(p.bar().value, p.bar().enabled, p.pageStart()),
              std::tuple(kMin, false, 1));
}

TEST(PageScroll, RebuildWithLessThanOnePointPerPage)
{
    // A range shorter than half an interval: 0 points per page, counted as 1.
    PageScroll p(PageScroll::Limit::None);
    EXPECT_TRUE(p.rebuild(10, 1, 0, 5, 10).fits);
    // Cursor 5 >= 1 point: value min + 5 - 1.
    EXPECT_EQ(std::tuple(p.bar().maximum, p.pagePoints(), p.bar().largeChange, p.bar().value),
              std::tuple(kMin + 10, 1, 1, kMin + 4));
}

TEST(PageScroll, RebuildOfAnEnabledBarMovesThePage)
{
    // After the graph parameters changed: the bar is enabled, so the new value shows its page.
    PageScroll p(PageScroll::Limit::ReceivedCount);
    p.rebuild(100, 1, 60, 1, 100);
    const PageScroll::Rebuild r = p.rebuild(100, 1, 30, 75, 100);
    EXPECT_EQ(r.shown, 45);
    EXPECT_EQ(std::pair(p.pageStart(), p.pageEnd()), std::pair(45, 74));
    // The same value again moves nothing.
    EXPECT_FALSE(p.rebuild(100, 1, 30, 75, 100).shown);
}

TEST(PageScroll, ValueChangedClampsPerPanel)
{
    PageScroll velocity(PageScroll::Limit::ReceivedCount);
    PageScroll flow(PageScroll::Limit::None);
    velocity.rebuild(100, 1, 60, 1, 100);
    flow.rebuild(100, 1, 60, 1, 100);
    // At the maximum: page 40..99.
    EXPECT_EQ(velocity.setValue(kMin + 40, 100), 40);
    EXPECT_EQ(std::pair(velocity.pageStart(), velocity.pageEnd()), std::pair(40, 99));
    // After "New" only one sample counts as received: the velocity page always starts at 1,
    // the flow-rate page still follows the old curve.
    EXPECT_EQ(velocity.setValue(kMin + 30, 1), 1);
    EXPECT_EQ(flow.setValue(kMin + 30, 1), 30);
    EXPECT_EQ(flow.pageEnd(), 89);
    // Below the minimum is pulled up, and page start 0 becomes 1.
    EXPECT_EQ(flow.setValue(kMin - 100, 1), 1);
    EXPECT_EQ(flow.bar().value, kMin);
    // Disabled: the value moves, the page does not.
    flow.setEnabled(false);
    EXPECT_FALSE(flow.setValue(kMin + 10, 100));
    EXPECT_EQ(std::pair(flow.bar().value, flow.pageStart()), std::pair(kMin + 10, 1));
    EXPECT_FALSE(flow.valueChanged(100));
    // Unchanged value: no handler.
    flow.setEnabled(true);
    EXPECT_FALSE(flow.setValue(kMin + 10, 100));
    EXPECT_EQ(flow.valueChanged(100), 10);
}

TEST(PageScroll, BringRowIntoPage)
{
    PageScroll p(PageScroll::Limit::ReceivedCount);
    p.rebuild(100, 1, 60, 1, 100);
    EXPECT_FALSE(p.bringIntoPage(1, 100)); // the first cursor move corrects the page start
    EXPECT_EQ(std::pair(p.pageStart(), p.pageEnd()), std::pair(1, 60));
    EXPECT_FALSE(p.bringIntoPage(60, 100)); // inside the page
    // One past the end: row 61 is beyond the bar's 41 positions, so the bar goes to its maximum
    // and the page is the last one.
    EXPECT_EQ(p.bringIntoPage(61, 100), 40);
    EXPECT_EQ(std::tuple(p.bar().value, p.pageStart(), p.pageEnd()), std::tuple(kMin + 40, 40, 99));
    // Back before the page: the page starts at the row.
    EXPECT_EQ(p.bringIntoPage(30, 100), 29);
    EXPECT_EQ(p.pageStart(), 29);
    EXPECT_EQ(p.bringIntoPage(1, 100), 1);
    EXPECT_EQ(p.bar().value, kMin);

    // 1000 samples: row 100 is min + 100 - 1; row 1000 >= 941 positions: the maximum.
    PageScroll q(PageScroll::Limit::ReceivedCount);
    q.rebuild(1000, 1, 60, 1, 1000);
    q.bringIntoPage(1, 1000);
    EXPECT_EQ(q.bringIntoPage(100, 1000), 99);
    EXPECT_EQ(q.bar().value, kMin + 99);
    EXPECT_EQ(q.bringIntoPage(1000, 1000), 940);
    EXPECT_EQ(q.bar().value, kMin + 940);
}

TEST(PageScroll, BringRowIntoPageWithDisabledBarMovesOnlyTheFields)
{
    PageScroll p(PageScroll::Limit::ReceivedCount);
    p.rebuild(59, 1, 60, 1, 59); // fewer than a page: disabled
    EXPECT_FALSE(p.bringIntoPage(1, 59));
    EXPECT_EQ(std::tuple(p.pageStart(), p.pageEnd(), p.bar().value), std::tuple(1, 60, kMin));
}

} // namespace
