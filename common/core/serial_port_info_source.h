#pragma once

#include "common/core/bridge_source.h"

#include <QByteArray>
#include <QStringList>
#include <functional>

// The USB serial ports of the system (QSerialPortInfo): every port that reports a vendor and a
// product ID is a bridge. Ports without them (built-in UARTs) are not bridges.
//
// The list is asked for every second (tmrUSB), and QSerialPortInfo reads every tty device of the
// system through udev each time: dozens of virtual consoles and UARTs, hundreds of system calls,
// more than the rest of a live run together. So the tty links of sysfs (/sys/class/tty, one link
// per tty to its place in the device tree) are read first, which costs one directory read:
// - no tty below a USB bus: there is no bridge, nothing is enumerated;
// - the same USB ttys at the same places as at the last enumeration, none of them re-created
//   (a re-plugged device gets a new sysfs node), and that enumeration had the IDs of every one
//   of them: its list is still the answer;
// - otherwise (a change, IDs that udev had not filled in yet, sysfs unreadable): enumerate.
class SerialPortInfoSource : public BridgeSource
{
public:
    // The ports that report IDs, from the enumerator (QSerialPortInfo by default).
    using Enumerate = std::function<QList<BridgeInfo>()>;

    SerialPortInfoSource();
    // A source over another tty class folder and enumerator (tests).
    SerialPortInfoSource(QString classFolder, Enumerate enumerate);

    std::optional<QList<BridgeInfo>> bridges() const override;

    // The ttys of a class folder that hang on a USB bus, sorted by name, with a signature of
    // their places and sysfs nodes. None when the folder cannot be read or holds an entry that
    // is not a link.
    struct UsbTtys
    {
        QStringList names;
        QByteArray signature;
    };
    static std::optional<UsbTtys> usbTtys(const QString &classFolder);

    // How many times the enumerator ran (figures, tests).
    int enumerations() const { return m_enumerations; }

private:
    QString m_classFolder;
    Enumerate m_enumerate;
    mutable int m_enumerations = 0;
    mutable bool m_cached = false;
    mutable QByteArray m_cachedSignature;
    mutable QList<BridgeInfo> m_cachedList;
};
