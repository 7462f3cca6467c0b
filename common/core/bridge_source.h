#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>
#include <optional>

// One USB-to-serial bridge as the system reports it.
struct BridgeInfo
{
    // False when the bridge's vendor and product IDs could not be read.
    bool idsKnown = true;
    quint16 vendorId = 0;
    quint16 productId = 0;
    // The serial number as read from the bridge (prefix letter included, spaces kept).
    QString serialNumber;
    // The device path of the bridge's port; empty when the system gave it none.
    QString portPath;

    bool operator==(const BridgeInfo &o) const
    {
        return idsKnown == o.idsKnown && vendorId == o.vendorId && productId == o.productId
            && serialNumber == o.serialNumber && portPath == o.portPath;
    }
};

// Where the bridges come from: the system's serial ports, the virtual instruments that ventsim
// registers, or a test's own list.
class BridgeSource
{
public:
    virtual ~BridgeSource() = default;
    // The bridges attached now, in the system's order; no value when the list cannot be read.
    virtual std::optional<QList<BridgeInfo>> bridges() const = 0;
};
