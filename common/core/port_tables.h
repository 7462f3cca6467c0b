#pragma once

#include <QString>
#include <array>

// The attached instruments: slot i (1 to 15) of both tables describes one bridge, its port and the
// serial text shown to the user. Slot 0 and unused slots are empty. On Linux a port name is the
// device path of the port (/dev/ttyUSB0, a pseudo-terminal of the virtual instrument).
struct PortTables
{
    static constexpr int kSlots = 16;
    static constexpr int kFirstSlot = 1;
    static constexpr int kLastSlot = 15;

    std::array<QString, kSlots> gPortNames;
    std::array<QString, kSlots> gSerialNos;

    void clear()
    {
        gPortNames.fill(QString());
        gSerialNos.fill(QString());
    }
    bool operator==(const PortTables &o) const
    {
        return gPortNames == o.gPortNames && gSerialNos == o.gSerialNos;
    }
};
