#include "acq/core/poll_pacing.h"

PollPacing::PollPacing(Clock clock) : m_clock(orMonotonic(std::move(clock))) {}

void PollPacing::polled()
{
    m_lastPoll = m_clock();
    m_polled = true;
}

qint64 PollPacing::delayForNews() const
{
    if (!m_polled)
        return 0;
    const qint64 since = m_clock() - m_lastPoll;
    if (since >= kGapMs || since < 0)
        return 0;
    return 2 * kGapMs - since;
}
