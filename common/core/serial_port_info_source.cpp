#include "common/core/serial_port_info_source.h"

#include <QSerialPortInfo>

std::optional<QList<BridgeInfo>> SerialPortInfoSource::bridges() const
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
