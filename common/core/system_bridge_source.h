#pragma once

#include "common/core/bridge_source.h"

#include <memory>

// The production source: the system's USB serial ports followed by the virtual instruments that
// ventsim registers, so a virtual instrument appears exactly like a plugged-in one.
class SystemBridgeSource : public BridgeSource
{
public:
    SystemBridgeSource();
    SystemBridgeSource(std::unique_ptr<BridgeSource> usb, std::unique_ptr<BridgeSource> virtuals);
    ~SystemBridgeSource() override;

    std::optional<QList<BridgeInfo>> bridges() const override;

private:
    std::unique_ptr<BridgeSource> m_usb;
    std::unique_ptr<BridgeSource> m_virtuals;
};
