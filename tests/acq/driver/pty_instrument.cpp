#include "tests/acq/driver/pty_instrument.h"

#include <QSocketNotifier>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

PtyInstrument::PtyInstrument()
{
    m_master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (m_master < 0)
        return;
    if (grantpt(m_master) != 0 || unlockpt(m_master) != 0) {
        ::close(m_master);
        m_master = -1;
        return;
    }
    m_slavePath = QString::fromLocal8Bit(ptsname(m_master));
    m_slaveKeeper = ::open(ptsname(m_master), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (m_slaveKeeper >= 0) {
        termios tio{};
        tcgetattr(m_slaveKeeper, &tio);
        cfmakeraw(&tio);
        tcsetattr(m_slaveKeeper, TCSANOW, &tio);
    }
    reply = [](int i) {
        return QByteArray("AV;") + QByteArray::number(1.0 + 0.01 * i, 'f', 2) + ";21.5;10132;1\r\n";
    };
    m_notifier = new QSocketNotifier(m_master, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &PtyInstrument::onReadable);
}

PtyInstrument::~PtyInstrument()
{
    unplug();
}

void PtyInstrument::unplug()
{
    if (m_notifier) {
        m_notifier->setEnabled(false);
        delete m_notifier;
        m_notifier = nullptr;
    }
    if (m_slaveKeeper >= 0) {
        ::close(m_slaveKeeper);
        m_slaveKeeper = -1;
    }
    if (m_master >= 0) {
        ::close(m_master);
        m_master = -1;
    }
}

void PtyInstrument::onReadable()
{
    char buffer[256];
    for (;;) {
        const ssize_t got = ::read(m_master, buffer, sizeof buffer);
        if (got <= 0)
            break;
        m_received.append(buffer, int(got));
    }
    for (;;) {
        const qsizetype end = m_received.indexOf("\r\n");
        if (end < 0)
            break;
        const QByteArray line = m_received.left(end);
        m_received.remove(0, end + 2);
        if (line != "V")
            continue;
        const QByteArray answer = reply ? reply(m_requests) : QByteArray();
        ++m_requests;
        m_replies << answer;
        if (!answer.isEmpty() && ::write(m_master, answer.constData(), size_t(answer.size())) < 0)
            m_replies.last() = QByteArray(); // not written: the driver hears nothing
    }
}
