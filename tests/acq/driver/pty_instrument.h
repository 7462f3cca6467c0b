#pragma once

#include "tools/ventsim/pseudo_terminal.h"

#include <QSocketNotifier>
#include <functional>
#include <memory>

// The driver tests' one scripted instrument, for the replies the virtual instrument cannot give
// (chosen velocities and pressures, malformed lines): answers the i-th "V" request (0-based) with
// reply(i), line end included; an empty reply is silence.
class PtyInstrument
{
public:
    PtyInstrument()
    {
        if (!m_pty.open(19200, nullptr))
            return;
        m_notifier = std::make_unique<QSocketNotifier>(m_pty.masterFd(), QSocketNotifier::Read);
        QObject::connect(m_notifier.get(), &QSocketNotifier::activated, m_notifier.get(),
                         [this] { onReadable(); });
    }

    bool isOpen() const { return m_pty.isOpen(); }
    QString portPath() const { return m_pty.slavePath(); }
    int requests() const { return m_requests; }
    // The port vanishes under the driver.
    void unplug()
    {
        m_notifier.reset();
        m_pty.close();
    }

    std::function<QByteArray(int)> reply = [](int i) {
        return "AV;" + QByteArray::number(1.0 + 0.01 * i, 'f', 2) + ";21.5;10132;1\r\n";
    };

private:
    void onReadable()
    {
        m_pty.readAvailable(&m_received);
        for (qsizetype end; (end = m_received.indexOf("\r\n")) >= 0; m_received.remove(0, end + 2)) {
            if (m_received.left(end) != "V")
                continue;
            const QByteArray answer = reply(m_requests++);
            m_pty.write(answer.constData(), answer.size());
        }
    }

    PseudoTerminal m_pty;
    std::unique_ptr<QSocketNotifier> m_notifier;
    QByteArray m_received;
    int m_requests = 0;
};
