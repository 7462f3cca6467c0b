#pragma once

#include "acq/core/connection_probe.h"
#include "common/core/serial_link.h"

struct AppState;

// The start-of-run probe over the serial link: fRsAutoConnect on the chosen port.
class SerialLinkProbe : public ConnectionProbe
{
public:
    explicit SerialLinkProbe(SerialLink &link) : m_link(link) {}

    Result autoConnect(qint16 portNumber, const QString &portPath) override;

    // The link's fields in ventacq: statusCode, portNumber, baudRate, serialTicks, waitTicks,
    // portPath and the "Enable USB" option of AppState.
    static LinkFields fieldsOf(AppState &state);

private:
    SerialLink &m_link;
};
