#include "base/filelock.h"

#include <QFile>

#ifdef Q_OS_WIN
#include <io.h>
#include <windows.h>
#else
#include <sys/file.h>
#include <unistd.h>
#endif

namespace FileLock {

#ifdef Q_OS_WIN

namespace {
HANDLE handleOf(QFile &file)
{
    return reinterpret_cast<HANDLE>(_get_osfhandle(file.handle()));
}
} // namespace

bool tryLockExclusive(QFile &file)
{
    OVERLAPPED whole = {};
    return LockFileEx(handleOf(file), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0,
                      MAXDWORD, MAXDWORD, &whole);
}

void unlock(QFile &file)
{
    OVERLAPPED whole = {};
    UnlockFileEx(handleOf(file), 0, MAXDWORD, MAXDWORD, &whole);
}

bool syncToDisk(QFile &file)
{
    return file.flush() && FlushFileBuffers(handleOf(file));
}

#else

bool tryLockExclusive(QFile &file)
{
    return ::flock(file.handle(), LOCK_EX | LOCK_NB) == 0;
}

void unlock(QFile &file)
{
    ::flock(file.handle(), LOCK_UN);
}

bool syncToDisk(QFile &file)
{
    return file.flush() && ::fsync(file.handle()) == 0;
}

#endif

} // namespace FileLock
