#pragma once

#include <QtGlobal>
#include <functional>

class QTimer;

// Waits that let the event loop run: timer ticks, port events and user input are delivered while
// they wait, and they burn no CPU (the loop sleeps until the next event). A wait returns when its
// condition holds, when its clock (a running QTimer) has stopped, or when the abort flag is set,
// whichever comes first; so no wait outlives its clock.
class EventWait
{
public:
    enum class Result { Done, ClockStopped, Aborted };

    static Result until(const std::function<bool()> &done, const QTimer *clock,
                        const bool *abort = nullptr);

    // Lets the event loop run for about count x 100 ms (count < 1 returns at once).
    static void delay(int count, const bool *abort = nullptr);
};

// The start-up pause: about count tenths of a second with the event loop running.
void sDelay(qint16 count);
