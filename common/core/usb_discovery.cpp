#include "common/core/usb_discovery.h"

qint16 UsbDiscovery::fUsbProbe() const
{
    return fUsbProbe(m_source.bridges());
}

qint16 UsbDiscovery::fUsbProbe(const std::optional<QList<BridgeInfo>> &bridges)
{
    if (!bridges || bridges->isEmpty())
        return kNoBridge;
    qint16 verdict = kNoBridge;
    for (const BridgeInfo &b : *bridges) {
        if (!b.idsKnown)
            verdict = kUnreadable;
        else if (b.vendorId != kInstrumentVendorId)
            verdict = kForeignVendor;
        else if (b.productId != kInstrumentProductId)
            verdict = kOtherProduct;
        else
            return kInstrument; // another bridge listed after it must not hide it
    }
    return verdict;
}

QString UsbDiscovery::fSerialText(const BridgeInfo &bridge)
{
    if (!bridge.idsKnown)
        return QString();
    const QString &serial = bridge.serialNumber;
    if (bridge.productId == kInstrumentProductId) {
        if (!serial.isEmpty()
            && (serial.front() == QLatin1Char('J') || serial.front() == QLatin1Char('C')
                || serial.front() == QLatin1Char('U')))
            return serial.mid(1);
        return serial;
    }
    if (bridge.productId == kStockProductId)
        return serial.mid(1);
    return QString();
}

void UsbDiscovery::sUsbListPorts(PortTables &tables) const
{
    sUsbListPorts(m_source.bridges(), tables);
}

void UsbDiscovery::sUsbListPorts(const std::optional<QList<BridgeInfo>> &bridges,
                                 PortTables &tables)
{
    tables.clear();
    if (!bridges)
        return;
    int slot = PortTables::kFirstSlot;
    for (const BridgeInfo &b : *bridges) {
        if (slot > PortTables::kLastSlot)
            break;
        if (b.portPath.isEmpty())
            continue;
        tables.gPortNames[slot] = b.portPath;
        tables.gSerialNos[slot] = fSerialText(b);
        ++slot;
    }
}

UsbRefresh UsbDiscovery::refresh(PortTables &tables, const QStringList &listed) const
{
    return refresh(m_source.bridges(), tables, listed);
}

UsbRefresh UsbDiscovery::refresh(const std::optional<QList<BridgeInfo>> &bridges,
                                 PortTables &tables, const QStringList &listed)
{
    UsbRefresh r;
    r.verdict = fUsbProbe(bridges);
    if (r.verdict != kInstrument) {
        tables.clear();
        r.cleared = true;
        return r;
    }
    sUsbListPorts(bridges, tables);
    for (int slot = PortTables::kFirstSlot; slot <= PortTables::kLastSlot; ++slot) {
        const QString &serial = tables.gSerialNos[slot];
        if (!serial.isEmpty() && !listed.contains(serial) && !r.added.contains(serial))
            r.added.append(serial);
    }
    return r;
}

void UsbDiscovery::applyToList(const UsbRefresh &refresh, QStringList &list)
{
    if (refresh.cleared)
        list.clear();
    for (const QString &serial : refresh.added) {
        if (!list.contains(serial))
            list.append(serial);
    }
}

QString UsbDiscovery::fResolvePort(const QString &serialText) const
{
    if (serialText.isEmpty())
        return QString();
    PortTables tables;
    sUsbListPorts(m_source.bridges(), tables);
    return portForSerial(tables, serialText);
}

QString UsbDiscovery::portForSerial(const PortTables &tables, const QString &serialText)
{
    if (serialText.isEmpty())
        return QString();
    for (int slot = PortTables::kFirstSlot; slot <= PortTables::kLastSlot; ++slot) {
        if (tables.gSerialNos[slot] == serialText && !tables.gPortNames[slot].isEmpty())
            return tables.gPortNames[slot];
    }
    return QString();
}
