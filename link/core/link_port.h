#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

// What a download needs of the serial link. The program's implementation drives the serial-link
// module; tests use a scripted one.
class LinkPort
{
public:
    virtual ~LinkPort() = default;

    // The connection probe on `port` (a device path): finds the baud rate and reads the unit
    // reply. -10000, 1 (open error), 3 (no answer), or the failing operation's code. Lets the
    // event loop run while it waits; ends early after abort().
    virtual qint16 fRsAutoConnect(const QString &port) = 0;
    // The last line received after the unit command, terminator included.
    virtual QString unitReply() const = 0;
    // Reopens the port of the probe in event mode and sends the dump command. -10000, -20000
    // (the port could not be reopened) or 3 (the command could not be sent; the port is closed).
    virtual qint16 fRsStartRead() = 0;
    // Closes the port: -10000, or 2 when closing failed. Closing a closed port is no error.
    virtual qint16 fRsClose() = 0;
    // Ends a running probe at once (its waits end as time-outs).
    virtual void abort() = 0;

    // Event mode: received bytes, in arrival order.
    std::function<void(const QByteArray &)> onReceived;
    // Event mode: the CTS line changed, or the port failed (the device went away).
    std::function<void()> onLineFault;
};
