#pragma once

#include "common/core/bridge_source.h"
#include "common/core/folder_stamp.h"

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
// Before all that, /dev is looked at: a tty that comes or goes makes or removes its device node
// there, which changes the folder's stamp. While the stamp stands since a settled answer (no USB
// tty, or all of them identified), that answer stands and sysfs is not read at all. As a device's
// node goes a moment before its sysfs link, an answer settles only once /dev has been quiet for
// kQuietSeconds.
class SerialPortInfoSource : public BridgeSource
{
public:
    // The ports that report IDs, from the enumerator (QSerialPortInfo by default).
    using Enumerate = std::function<QList<BridgeInfo>()>;

    SerialPortInfoSource();
    // A source over another tty class folder, device folder (none: sysfs is read at every
    // tick) and enumerator (tests).
    SerialPortInfoSource(QString classFolder, Enumerate enumerate, QString deviceFolder = QString());

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

    static constexpr int kQuietSeconds = FolderStamp::kQuietSeconds;

    // How many times the enumerator ran, and sysfs was read (figures, tests).
    int enumerations() const { return m_enumerations; }
    int sysfsReads() const { return m_sysfsReads; }

private:
    // Keeps `list` as the answer while the device folder's stamp stays `device`.
    void settle(const std::optional<FolderStamp> &device, const QList<BridgeInfo> &list) const;

    QString m_classFolder;
    Enumerate m_enumerate;
    QString m_deviceFolder;
    mutable int m_enumerations = 0;
    mutable int m_sysfsReads = 0;
    mutable std::optional<FolderStamp> m_settledStamp;
    mutable QList<BridgeInfo> m_settledList;
    mutable bool m_cached = false;
    mutable QByteArray m_cachedSignature;
    mutable QList<BridgeInfo> m_cachedList;
};
