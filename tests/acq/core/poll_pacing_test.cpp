// News from the driver is polled at once unless the last poll started less than a quarter of a
// second before; then it waits for later news, or at most until half a second after that poll.
#include "acq/core/poll_pacing.h"

#include <gtest/gtest.h>

TEST(PollPacing, NewsSoonAfterAPollWaitsForLaterNewsOrHalfASecond)
{
    qint64 now = 1000;
    PollPacing pacing([&now] { return now; });
    EXPECT_EQ(pacing.delayForNews(), 0) << "the first news of a run";
    pacing.polled();
    // clock (ms) at the news; milliseconds until the poll at the latest
    const struct { qint64 ms; qint64 delay; } news[] = {
        {1000, 500}, {1100, 400}, {1249, 251}, {1250, 0}, {9000, 0},
        {999, 0}, // a clock that went back never holds news
    };
    for (const auto &n : news) {
        now = n.ms;
        EXPECT_EQ(pacing.delayForNews(), n.delay) << n.ms;
    }
    now = 1010;
    pacing.restart();
    EXPECT_EQ(pacing.delayForNews(), 0) << "a new run";
}
