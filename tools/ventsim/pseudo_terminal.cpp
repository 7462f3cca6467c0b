#include "tools/ventsim/pseudo_terminal.h"

#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace {

struct SpeedRate
{
    speed_t speed;
    qint32 baud;
};

constexpr std::array<SpeedRate, 13> kSpeeds = {{
    {B300, 300}, {B600, 600}, {B1200, 1200}, {B2400, 2400}, {B4800, 4800}, {B9600, 9600},
    {B19200, 19200}, {B38400, 38400}, {B57600, 57600}, {B115200, 115200}, {B230400, 230400},
    {B460800, 460800}, {B921600, 921600},
}};

QString systemError(const char *what)
{
    return QStringLiteral("%1: %2").arg(QLatin1String(what), QString::fromLocal8Bit(std::strerror(errno)));
}

} // namespace

PseudoTerminal::~PseudoTerminal()
{
    close();
}

qint32 PseudoTerminal::baudFromSpeed(unsigned speed)
{
    for (const auto &s : kSpeeds) {
        if (s.speed == speed)
            return s.baud;
    }
    return 0;
}

unsigned PseudoTerminal::speedFromBaud(qint32 baud)
{
    for (const auto &s : kSpeeds) {
        if (s.baud == baud)
            return s.speed;
    }
    return B9600;
}

bool PseudoTerminal::open(qint32 baud, QString *error)
{
    close();
    const auto fail = [&](const char *what) {
        if (error)
            *error = systemError(what);
        close();
        return false;
    };
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_master < 0)
        return fail("posix_openpt");
    if (::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0)
        return fail("unlockpt");
    char name[128] = {};
    if (::ptsname_r(m_master, name, sizeof name) != 0)
        return fail("ptsname");
    m_slavePath = QString::fromLocal8Bit(name);
    m_slave = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_slave < 0)
        return fail("open slave");
    termios t {};
    if (::tcgetattr(m_slave, &t) != 0)
        return fail("tcgetattr");
    ::cfmakeraw(&t);
    t.c_cflag |= CLOCAL | CREAD;
    ::cfsetispeed(&t, speedFromBaud(baud));
    ::cfsetospeed(&t, speedFromBaud(baud));
    if (::tcsetattr(m_slave, TCSANOW, &t) != 0)
        return fail("tcsetattr");
    return true;
}

void PseudoTerminal::close()
{
    if (m_slave >= 0)
        ::close(m_slave);
    if (m_master >= 0)
        ::close(m_master);
    m_slave = -1;
    m_master = -1;
}

qint32 PseudoTerminal::lineBaud() const
{
    if (m_master < 0)
        return 0;
    termios t {};
    if (::tcgetattr(m_master, &t) != 0)
        return 0;
    return baudFromSpeed(unsigned(::cfgetospeed(&t)));
}

bool PseudoTerminal::readAvailable(QByteArray *out)
{
    if (m_master < 0)
        return false;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(m_master, buffer, sizeof buffer);
        if (n > 0) {
            out->append(buffer, int(n));
            continue;
        }
        if (n == 0)
            return true;
        if (errno == EINTR)
            continue;
        return errno == EAGAIN || errno == EWOULDBLOCK;
    }
}

qint64 PseudoTerminal::write(const char *data, qint64 size)
{
    if (m_master < 0)
        return -1;
    for (;;) {
        const ssize_t n = ::write(m_master, data, size_t(size));
        if (n >= 0)
            return n;
        if (errno == EINTR)
            continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK)
            return 0;
        return -1;
    }
}
