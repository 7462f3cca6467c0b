#pragma once

#include "common/core/io_failure.h"

#include <QString>
#include <QtGlobal>

// The probe of the serial link made at the start of a live run: finds the baud rate at which the
// instrument answers on the chosen port.
class ConnectionProbe
{
public:
    struct Result
    {
        qint16 status = -10000; // -10000 when the instrument answered, else the link's status
        qint32 baudRate = 0;    // the rate it answered at
        IoFailure failure;      // the port and the system's reason when it could not be opened
    };

    virtual ~ConnectionProbe() = default;

    // `portNumber` is the stored port number, `portPath` the device path of the chosen port.
    virtual Result autoConnect(qint16 portNumber, const QString &portPath) = 0;
};
