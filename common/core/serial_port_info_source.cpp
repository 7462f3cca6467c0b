#include "common/core/serial_port_info_source.h"

#include <QFile>
#include <QSerialPortInfo>

#include <algorithm>
#include <cstring>
#include <vector>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QList<BridgeInfo> enumerateSerialPorts()
{
    QList<BridgeInfo> list;
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

// Whether the enumeration had the IDs of every USB tty (udev fills them in shortly after the
// device appears; until then the port shows without them and the next tick must look again).
bool identifiesAll(const QList<BridgeInfo> &list, const QStringList &usbNames)
{
    return std::all_of(usbNames.begin(), usbNames.end(), [&list](const QString &name) {
        return std::any_of(list.begin(), list.end(), [&name](const BridgeInfo &b) {
            return b.idsKnown && b.portPath.endsWith(QLatin1Char('/') + name);
        });
    });
}

} // namespace

SerialPortInfoSource::SerialPortInfoSource()
    : SerialPortInfoSource(QStringLiteral("/sys/class/tty"), enumerateSerialPorts,
                           QStringLiteral("/dev"))
{
}

SerialPortInfoSource::SerialPortInfoSource(QString classFolder, Enumerate enumerate,
                                           QString deviceFolder)
    : m_classFolder(std::move(classFolder)), m_enumerate(std::move(enumerate)),
      m_deviceFolder(std::move(deviceFolder))
{
}

void SerialPortInfoSource::settle(const std::optional<FolderStamp> &device,
                                  const QList<BridgeInfo> &list) const
{
    if (device && device->quietFor(kQuietSeconds)) {
        m_settledStamp = device;
        m_settledList = list;
    }
}

std::optional<QList<BridgeInfo>> SerialPortInfoSource::bridges() const
{
    const std::optional<FolderStamp> device = FolderStamp::of(m_deviceFolder);
    if (device && m_settledStamp && *device == *m_settledStamp)
        return m_settledList;
    m_settledStamp.reset();
    ++m_sysfsReads;
    const std::optional<UsbTtys> usb = usbTtys(m_classFolder);
    if (usb && usb->names.isEmpty()) {
        m_cached = false;
        settle(device, {});
        return QList<BridgeInfo>();
    }
    if (usb && m_cached && usb->signature == m_cachedSignature) {
        settle(device, m_cachedList);
        return m_cachedList;
    }

    ++m_enumerations;
    QList<BridgeInfo> list = m_enumerate ? m_enumerate() : QList<BridgeInfo>();
    m_cached = usb && identifiesAll(list, usb->names);
    if (m_cached) {
        m_cachedSignature = usb->signature;
        m_cachedList = list;
        settle(device, list);
    }
    return list;
}

std::optional<SerialPortInfoSource::UsbTtys> SerialPortInfoSource::usbTtys(const QString &classFolder)
{
    DIR *dir = ::opendir(QFile::encodeName(classFolder).constData());
    if (!dir)
        return std::nullopt;
    struct Entry
    {
        QString name;
        QByteArray target;
        ino_t node;
    };
    std::vector<Entry> entries;
    bool readable = true;
    char target[4096];
    while (const dirent *entry = ::readdir(dir)) {
        if (entry->d_name[0] == '.')
            continue;
        const ssize_t n = ::readlinkat(::dirfd(dir), entry->d_name, target, sizeof target - 1);
        if (n <= 0) {
            readable = false; // not a link: this folder cannot be told from its links
            break;
        }
        target[n] = '\0';
        // Every USB device lies below a bus folder named usb<n> (/sys/devices/.../usb1/1-2/...).
        if (!std::strstr(target, "/usb"))
            continue;
        // The node the link leads to: a device that is removed and plugged in again gets a new
        // one even at the same place.
        struct stat st {};
        if (::fstatat(::dirfd(dir), entry->d_name, &st, 0) != 0) {
            readable = false;
            break;
        }
        entries.push_back({QFile::decodeName(entry->d_name), QByteArray(target, int(n)), st.st_ino});
    }
    ::closedir(dir);
    if (!readable)
        return std::nullopt;
    std::sort(entries.begin(), entries.end(), [](const Entry &a, const Entry &b) { return a.name < b.name; });
    UsbTtys result;
    for (const Entry &e : entries) {
        result.names << e.name;
        result.signature += e.target + ' ' + QByteArray::number(quint64(e.node)) + '\n';
    }
    return result;
}
