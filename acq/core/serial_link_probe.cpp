#include "acq/core/serial_link_probe.h"

#include "acq/core/app_state.h"
#include "common/core/status_codes.h"

ConnectionProbe::Result SerialLinkProbe::autoConnect(qint16 portNumber, const QString &portPath)
{
    Result r;
    r.status = portPath.isEmpty() ? m_link.fRsAutoConnect(portNumber)
                                  : m_link.fRsAutoConnect(portPath);
    r.baudRate = m_link.gRsBaud();
    if (r.status != status::kSuccess)
        r.failure = m_link.lastOpenFailure();
    return r;
}

LinkFields SerialLinkProbe::fieldsOf(AppState &state)
{
    LinkFields f;
    f.status = &state.statusCode;
    f.port = &state.portNumber;
    f.baud = &state.baudRate;
    f.receiveTicks = &state.serialTicks;
    f.waitTicks = &state.waitTicks;
    f.portPath = &state.portPath;
    f.enableUsb = &state.usbEnable;
    return f;
}
