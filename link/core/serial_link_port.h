#pragma once

#include "common/core/serial_link.h"
#include "common/core/system_bridge_source.h"
#include "common/core/usb_discovery.h"
#include "link/core/link_port.h"

#include <QObject>
#include <functional>
#include <memory>

struct LinkState;
struct PortTables;

// The download's port over the program's serial link (ventlink's column of the link settings),
// and the instrument discovery behind the port list.
//
// The link's receive event hands each character on; a CTS change or a port failure (the cable
// was pulled) is a line fault, which the download ends with code 3.
class SerialLinkPort : public QObject, public LinkPort
{
    Q_OBJECT
public:
    // Uses the system's bridges (USB serial ports and running virtual instruments), or `source`.
    explicit SerialLinkPort(LinkState &state, std::unique_ptr<BridgeSource> source = nullptr,
                            QObject *parent = nullptr);
    ~SerialLinkPort() override;

    qint16 fRsAutoConnect(const QString &port) override;
    QString unitReply() const override;
    qint16 fRsStartRead() override;
    qint16 fRsClose() override;
    void abort() override;

    // One tmrUSB tick: fills the tables; false when no instrument is attached.
    bool scanInstruments(PortTables &tables) const;
    // The port of the instrument with this serial text among the bridges attached now.
    QString resolvePort(const QString &serial) const;

    SerialLink &link() { return *m_link; }

private:
    // The port and the system's reason when the last operation could not open it, for the
    // message that follows.
    void noteOpenFailure();

    LinkState &m_state;
    std::unique_ptr<BridgeSource> m_source;
    UsbDiscovery m_discovery;
    SerialLink *m_link;
};
