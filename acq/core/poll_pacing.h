#pragma once

#include "common/core/monotonic_clock.h"

#include <QtGlobal>

// Spaces out the polls of a run when the driver has news more often than a few times a second.
// Each poll costs about the same whatever its batch holds (a table scroll, a redraw, a file
// write), so at 10 samples a second one poll for every few samples takes half the processor
// time of one poll for each, and the tables and charts still move about four times a second.
//
// News that comes kGapMs or more after the start of the last poll is polled at once; a run at
// a sample every 0.3 s or slower is polled as before. Sooner news waits for the first news
// after the gap, so the poll comes with a sample the driver had to wake up for anyway; when no
// more news comes, it is polled at the latest twice the gap after the last poll.
class PollPacing
{
public:
    using Clock = MonotonicClock;
    static constexpr qint64 kGapMs = 250;

    // Without a clock, the system's monotonic clock.
    explicit PollPacing(Clock clock = Clock());

    // A new run: its first news is polled at once.
    void restart() { m_polled = false; }
    // A poll starts.
    void polled();
    // The driver has news: when to poll it, in milliseconds from now. 0: at once. Otherwise the
    // latest moment; a poll already due sooner stays as it is.
    qint64 delayForNews() const;

private:
    Clock m_clock;
    qint64 m_lastPoll = 0;
    bool m_polled = false;
};
