#include "link/core/serial_link_port.h"

#include "common/core/status_codes.h"
#include "common/core/io_failure.h"
#include "link/core/link_state.h"

SerialLinkPort::SerialLinkPort(LinkState &state, std::unique_ptr<BridgeSource> source,
                               QObject *parent)
    : QObject(parent), m_state(state),
      m_source(source ? std::move(source) : std::make_unique<SystemBridgeSource>()),
      m_discovery(*m_source), m_link(new SerialLink(LinkSettings::ventlink(), this))
{
    LinkFields fields;
    fields.enableUsb = &m_state.flags.enableUsb;
    m_link->bind(fields);
    connect(m_link, &SerialLink::characterReceived, this, [this](char c) {
        if (onReceived)
            onReceived(QByteArray(1, c));
    });
    connect(m_link, &SerialLink::ctsChanged, this, [this] {
        if (onLineFault)
            onLineFault();
    });
    connect(m_link, &SerialLink::portError, this, [this] {
        if (onLineFault)
            onLineFault();
    });
}

SerialLinkPort::~SerialLinkPort()
{
    // A probe still on the stack ends at once; the link goes when the event loop is back.
    m_link->abort();
    m_link->fRsClose();
    if (m_link->isBusy()) {
        m_link->setParent(nullptr);
        m_link->deleteLater();
    }
}

qint16 SerialLinkPort::fRsAutoConnect(const QString &port)
{
    const qint16 r = m_link->fRsAutoConnect(port);
    noteOpenFailure();
    return r;
}

void SerialLinkPort::noteOpenFailure()
{
    m_state.statusDetail = describeIoFailure(m_link->lastOpenFailure(), m_state.texts,
                                             m_state.languageOffset);
}

QString SerialLinkPort::unitReply() const
{
    return m_link->gUnitReply();
}

qint16 SerialLinkPort::fRsStartRead()
{
    const qint16 result = m_link->fRsStartRead();
    noteOpenFailure();
    // A dump command that could not be sent, or a port that failed while it was sent, is a link
    // error now; otherwise the download would wait for a dump that never comes.
    if (result == status::kSuccess
        && (m_link->gLinkStatus() != status::kSuccess || !m_link->isOpen())) {
        m_link->fRsClose();
        return SerialLink::kCommError;
    }
    return result;
}

qint16 SerialLinkPort::fRsClose()
{
    return m_link->fRsClose();
}

void SerialLinkPort::abort()
{
    m_link->abort();
}

bool SerialLinkPort::scanInstruments(PortTables &tables) const
{
    return !m_discovery.refresh(tables, QStringList()).cleared;
}

QString SerialLinkPort::resolvePort(const QString &serial) const
{
    return m_discovery.fResolvePort(serial);
}
