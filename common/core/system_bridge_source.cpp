#include "common/core/system_bridge_source.h"

#include "common/core/serial_port_info_source.h"
#include "common/core/virtual_bridge_registry.h"

SystemBridgeSource::SystemBridgeSource()
    : SystemBridgeSource(std::make_unique<SerialPortInfoSource>(),
                         std::make_unique<VirtualBridgeRegistry>())
{
}

SystemBridgeSource::SystemBridgeSource(std::unique_ptr<BridgeSource> usb,
                                       std::unique_ptr<BridgeSource> virtuals)
    : m_usb(std::move(usb)), m_virtuals(std::move(virtuals))
{
}

SystemBridgeSource::~SystemBridgeSource() = default;

std::optional<QList<BridgeInfo>> SystemBridgeSource::bridges() const
{
    auto list = m_usb ? m_usb->bridges() : std::optional<QList<BridgeInfo>>(QList<BridgeInfo>());
    if (!list)
        return std::nullopt;
    if (m_virtuals) {
        // A registry that cannot be read hides no real bridge.
        if (const auto virtuals = m_virtuals->bridges())
            list->append(*virtuals);
    }
    return list;
}
