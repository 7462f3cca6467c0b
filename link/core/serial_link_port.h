#pragma once

#include "link/core/link_port.h"

#include <functional>

struct LinkState;
struct PortTables;

// The download's port over the program's serial link, and the instrument scan of the port list.
// (Waits for the serial-link module; until then no port can be opened.)
class SerialLinkPort : public LinkPort
{
public:
    explicit SerialLinkPort(LinkState &state) : m_state(state) {}

    qint16 fRsAutoConnect(const QString &) override { return 1; }
    QString unitReply() const override { return QString(); }
    qint16 fRsStartRead() override { return -20000; }
    qint16 fRsClose() override { return -10000; }
    void abort() override {}

    std::function<bool(PortTables &)> instrumentScan()
    {
        return [](PortTables &) { return false; };
    }

private:
    LinkState &m_state;
};
