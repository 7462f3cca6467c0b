#pragma once

#include "common/core/status_codes.h"
#include "link/core/link_port.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>

namespace linktest {

// A port whose answers are set by the test: the probe's result (and something to do during it),
// the unit reply, the results of starting to read and of closing. Received bytes are pushed with
// send() and reach the session only while the port is open.
class ScriptedLinkPort : public LinkPort
{
public:
    qint16 fRsAutoConnect(const QString &port) override
    {
        probedPorts << port;
        if (duringProbe)
            duringProbe();
        return probeResult;
    }
    QString unitReply() const override { return reply; }
    qint16 fRsStartRead() override
    {
        ++startReads;
        open = startReadResult == status::kSuccess;
        return startReadResult;
    }
    qint16 fRsClose() override
    {
        ++closes;
        open = false;
        return closeResult;
    }
    void abort() override { ++aborts; }

    void send(const QByteArray &bytes)
    {
        if (open && onReceived)
            onReceived(bytes);
    }

    QStringList probedPorts;
    std::function<void()> duringProbe;
    qint16 probeResult = status::kSuccess;
    QString reply = QStringLiteral("\nm/s;m3/h;kPa;C\r");
    qint16 startReadResult = status::kSuccess;
    qint16 closeResult = status::kSuccess;
    int startReads = 0;
    int closes = 0;
    int aborts = 0;
    bool open = false;
};

} // namespace linktest
