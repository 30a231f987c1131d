#include "support/filecapabilities.h"

#include <QFile>
#include <QTest>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

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

FailingWrites::FailingWrites(const QString &folder, Kind kind, long long fullAt)
    : m_folder(folder)
    , m_kind(kind)
{
    if (kind == ReadOnlyFolder) {
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        m_permissions = new HonourFilePermissions;
        return;
    }
#ifdef Q_OS_UNIX
    // A write past the limit fails with an error instead of ending the process.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    m_oldLimit = static_cast<long long>(limit.rlim_cur);
    limit.rlim_cur = rlim_t(fullAt);
    setrlimit(RLIMIT_FSIZE, &limit);
#else
    Q_UNUSED(fullAt)
#endif
}

void FailingWrites::addRows()
{
    QTest::addColumn<Kind>("failure");
    QTest::newRow("read-only folder") << ReadOnlyFolder;
    QTest::newRow("disk full") << FullDisk;
}

FailingWrites::~FailingWrites()
{
    if (m_kind == ReadOnlyFolder) {
        delete m_permissions;
        QFile::setPermissions(m_folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        return;
    }
#ifdef Q_OS_UNIX
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = rlim_t(m_oldLimit);
    setrlimit(RLIMIT_FSIZE, &limit);
#endif
}
