#include "support/filecapabilities.h"

#ifdef __linux__
#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

constexpr unsigned kOverrides = (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH) | (1u << CAP_FOWNER);

bool adjust(bool drop)
{
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2] = {};
    if (syscall(SYS_capget, &header, data) != 0)
        return false;
    if (drop)
        data[0].effective &= ~kOverrides;
    else
        data[0].effective |= (data[0].permitted & kOverrides);
    return syscall(SYS_capset, &header, data) == 0;
}

} // namespace

HonourFilePermissions::HonourFilePermissions()
    : m_dropped(geteuid() == 0 && adjust(true))
{
}

HonourFilePermissions::~HonourFilePermissions()
{
    if (m_dropped)
        adjust(false);
}

#else

HonourFilePermissions::HonourFilePermissions() = default;
HonourFilePermissions::~HonourFilePermissions() = default;

#endif
