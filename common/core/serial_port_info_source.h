#pragma once

#include "common/core/bridge_source.h"

// The USB serial ports of the system (QSerialPortInfo): every port that reports a vendor and a
// product ID is a bridge. Ports without them (built-in UARTs) are not bridges.
class SerialPortInfoSource : public BridgeSource
{
public:
    std::optional<QList<BridgeInfo>> bridges() const override;
};
