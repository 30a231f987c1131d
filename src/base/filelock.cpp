#include "base/filelock.h"

#include <QFile>
#include <QString>

#ifdef Q_OS_WIN
#include <io.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace FileLock {

#ifdef Q_OS_WIN

namespace {
HANDLE handleOf(QFileDevice &file)
{
    return reinterpret_cast<HANDLE>(_get_osfhandle(file.handle()));
}
} // namespace

bool tryLock(QFile &file, Mode mode)
{
    OVERLAPPED whole = {};
    const DWORD flags = LOCKFILE_FAIL_IMMEDIATELY | (mode == Exclusive ? LOCKFILE_EXCLUSIVE_LOCK : 0);
    return LockFileEx(handleOf(file), flags, 0, MAXDWORD, MAXDWORD, &whole);
}

void unlock(QFile &file)
{
    OVERLAPPED whole = {};
    UnlockFileEx(handleOf(file), 0, MAXDWORD, MAXDWORD, &whole);
}

bool syncToDisk(QFileDevice &file)
{
    return file.flush() && FlushFileBuffers(handleOf(file));
}

void syncFolder(const QString &)
{
    // NTFS journals the creation of a file with its folder entry.
}

#else

bool tryLock(QFile &file, Mode mode)
{
    return ::flock(file.handle(), (mode == Exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB) == 0;
}

void unlock(QFile &file)
{
    ::flock(file.handle(), LOCK_UN);
}

bool syncToDisk(QFileDevice &file)
{
    return file.flush() && ::fsync(file.handle()) == 0;
}

void syncFolder(const QString &folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

#endif

} // namespace FileLock
