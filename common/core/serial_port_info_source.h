#pragma once

#include "common/core/bridge_source.h"

// The USB serial ports of the system (QSerialPortInfo): every port that reports a vendor and a
// product ID is a bridge. Ports without them (built-in UARTs) are not bridges.
//
// The list is asked for every second (tmrUSB), and QSerialPortInfo reads every tty device of the
// system through udev each time (dozens of virtual consoles and UARTs, a few hundred system
// calls). So the tty links of sysfs are looked at first: when no tty device hangs on a USB bus
// there is no bridge, and the full enumeration is skipped. With a USB serial device attached, or
// when sysfs cannot be read, every call enumerates as before.
class SerialPortInfoSource : public BridgeSource
{
public:
    std::optional<QList<BridgeInfo>> bridges() const override;

    // Whether any entry of a tty class folder (/sys/class/tty: one link per tty device, to its
    // place in the device tree) links below a USB bus; none when the folder cannot be read.
    static std::optional<bool> anyUsbTty(const QString &classFolder);
};
