#pragma once

#include <QtGlobal>

// The serial link's per-program differences, one column per program. Both programs run the same
// link code; only these values differ.
struct LinkSettings
{
    const char *program;
    // Ticks of tmrWait (200 ms each) to wait after "P" before the reply is read.
    qint32 waitAfterPresence;
    // Ticks of tmrWait after "U" before the first reply line is read.
    qint32 waitAfterUnits;
    // Ticks of tmrWait between the two reply lines of "U" (0: no wait).
    qint32 waitBetweenUnitLines;
    // Receive time-out: ticks of tmrRs (250 ms each) without a terminator.
    qint32 receiveTickLimit;
    // Whether the last reply line of "U" is kept as the unit reply.
    bool keepUnitReply;
    // Whether the program reopens the port in event mode for the memory dump.
    bool hasStartRead;

    static const LinkSettings &ventacq();
    static const LinkSettings &ventlink();
};

// Timer intervals of the link.
constexpr int kWaitTickMs = 200;    // tmrWait inside sRsWait
constexpr int kReceiveTickMs = 250; // tmrRs while the probe runs (and inside a lone receive)
