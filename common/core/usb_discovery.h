#pragma once

#include "common/core/bridge_source.h"
#include "common/core/port_tables.h"

#include <QStringList>

// What one tmrUSB tick found: the verdict of fUsbProbe, whether the instrument list must be
// emptied (no instrument attached), and the serial texts to append to the list.
struct UsbRefresh
{
    qint16 verdict = 0;
    bool cleared = false;
    QStringList added;
};

// USB bridge discovery (USBSet): is an instrument bridge attached, which port does each bridge
// have, and which serial text is shown for it. Works over any BridgeSource; the programs use
// SystemBridgeSource, tests their own.
class UsbDiscovery
{
public:
    // Identities the logic tests.
    static constexpr quint16 kInstrumentVendorId = 0x1764;
    static constexpr quint16 kInstrumentProductId = 0x0008;
    static constexpr quint16 kStockVendorId = 0x10C4;
    static constexpr quint16 kStockProductId = 0xEA60;

    // Verdicts of fUsbProbe.
    static constexpr qint16 kNoBridge = 0;
    static constexpr qint16 kUnreadable = 3;
    static constexpr qint16 kInstrument = 4;
    static constexpr qint16 kForeignVendor = 5;
    static constexpr qint16 kOtherProduct = 6;

    explicit UsbDiscovery(const BridgeSource &source) : m_source(source) {}

    // Is an instrument bridge attached? 4 when any bridge has the instrument's vendor and product
    // IDs, whatever else is attached before or after it; otherwise the verdict of the last bridge
    // examined (3 its IDs unreadable, 5 another vendor, 6 the instrument's vendor with another
    // product), or 0 when there is no bridge or the list cannot be read.
    qint16 fUsbProbe() const;
    static qint16 fUsbProbe(const std::optional<QList<BridgeInfo>> &bridges);

    // Fills the port tables: slot i (from 1) holds the port path and the serial text of the i-th
    // bridge that has a port; at most 15 bridges. Bridges without a port are skipped.
    void sUsbListPorts(PortTables &tables) const;
    static void sUsbListPorts(const std::optional<QList<BridgeInfo>> &bridges, PortTables &tables);

    // The serial text shown for a bridge: product 8 drops a first "J", "C" or "U"; the stock
    // product ea60 drops its first character whatever it is; other products have none.
    static QString fSerialText(const BridgeInfo &bridge);

    // One tmrUSB tick over one snapshot of the bridges: without an instrument both tables are
    // cleared (and the program's list must be emptied); otherwise the tables are rebuilt and the
    // serial texts that are not in `listed` yet are returned, each once.
    UsbRefresh refresh(PortTables &tables, const QStringList &listed) const;
    static UsbRefresh refresh(const std::optional<QList<BridgeInfo>> &bridges, PortTables &tables,
                              const QStringList &listed);
    // Applies a refresh to a program's instrument list (what cobPort shows).
    static void applyToList(const UsbRefresh &refresh, QStringList &list);

    // The port of the instrument with this serial text, resolved from the bridges attached at
    // the moment of the call (not from a list index, which changes as the tables are rebuilt).
    // Empty when no attached bridge shows that serial text.
    QString fResolvePort(const QString &serialText) const;
    // The same over tables already filled.
    static QString portForSerial(const PortTables &tables, const QString &serialText);

private:
    const BridgeSource &m_source;
};
