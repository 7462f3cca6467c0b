#include "common/core/serial_port_info_source.h"

#include <QFile>
#include <QSerialPortInfo>

#include <cstring>

#include <dirent.h>
#include <unistd.h>

std::optional<QList<BridgeInfo>> SerialPortInfoSource::bridges() const
{
    QList<BridgeInfo> list;
    if (anyUsbTty(QStringLiteral("/sys/class/tty")) == false)
        return list;
    const auto ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo &info : ports) {
        if (!info.hasVendorIdentifier() && !info.hasProductIdentifier())
            continue;
        BridgeInfo b;
        b.idsKnown = info.hasVendorIdentifier() && info.hasProductIdentifier();
        b.vendorId = info.vendorIdentifier();
        b.productId = info.productIdentifier();
        b.serialNumber = info.serialNumber();
        b.portPath = info.systemLocation();
        list.append(b);
    }
    return list;
}

std::optional<bool> SerialPortInfoSource::anyUsbTty(const QString &classFolder)
{
    DIR *dir = ::opendir(QFile::encodeName(classFolder).constData());
    if (!dir)
        return std::nullopt;
    bool usb = false;
    char target[4096];
    while (const dirent *entry = ::readdir(dir)) {
        if (entry->d_name[0] == '.')
            continue;
        // Every USB device lies below a bus folder named usb<n> (/sys/devices/.../usb1/1-2/...).
        // An entry that is not a link cannot be told: enumerate.
        const ssize_t n = ::readlinkat(::dirfd(dir), entry->d_name, target, sizeof target - 1);
        if (n > 0)
            target[n] = '\0';
        if (n <= 0 || std::strstr(target, "/usb")) {
            usb = true;
            break;
        }
    }
    ::closedir(dir);
    return usb;
}
