#pragma once

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace venttest {

// The tests often run as root, and root reads and writes whatever the permission bits say. While
// an object of this class lives, the calling thread (the one that runs the code under test) lacks
// that override, so a read-only folder or an unreadable file is what it is for root too. Does
// nothing for other users, whom the bits bind anyway.
class PermissionsBindRoot
{
public:
    PermissionsBindRoot()
    {
        if (geteuid() != 0)
            return;
        m_header.version = _LINUX_CAPABILITY_VERSION_3;
        m_header.pid = 0;
        if (syscall(SYS_capget, &m_header, m_saved) != 0)
            return;
        __user_cap_data_struct reduced[2] = {m_saved[0], m_saved[1]};
        reduced[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
        m_active = syscall(SYS_capset, &m_header, reduced) == 0;
    }
    ~PermissionsBindRoot()
    {
        if (m_active)
            syscall(SYS_capset, &m_header, m_saved);
    }
    PermissionsBindRoot(const PermissionsBindRoot &) = delete;
    PermissionsBindRoot &operator=(const PermissionsBindRoot &) = delete;

    // False when permissions still do not bind (root without the right to drop the override).
    bool binds() const { return geteuid() != 0 || m_active; }

private:
    __user_cap_header_struct m_header{};
    __user_cap_data_struct m_saved[2]{};
    bool m_active = false;
};

} // namespace venttest
