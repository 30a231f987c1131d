#include "base/filelock.h"

#include <QByteArray>
#include <QDateTime>
#include <QFile>
#include <QString>

#ifdef Q_OS_WIN
#include <io.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
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

QByteArray stamp(QFile &file)
{
    BY_HANDLE_FILE_INFORMATION info = {};
    if (!GetFileInformationByHandle(handleOf(file), &info))
        return QByteArray();
    // 100 ns steps since 1601, as the system keeps them.
    const qint64 written = (qint64(info.ftLastWriteTime.dwHighDateTime) << 32) | info.ftLastWriteTime.dwLowDateTime;
    const qint64 now = (QDateTime::currentMSecsSinceEpoch() + 11644473600000LL) * 10000;
    if (now - written < 1000000)
        return QByteArray();
    QByteArray bytes;
    for (qint64 v : {qint64(info.nFileSizeHigh) << 32 | info.nFileSizeLow, written,
                     qint64(info.nFileIndexHigh) << 32 | info.nFileIndexLow})
        bytes.append(reinterpret_cast<const char *>(&v), sizeof v);
    return bytes;
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

QByteArray stamp(QFile &file)
{
    struct stat st = {};
    if (::fstat(file.handle(), &st) != 0)
        return QByteArray();
    // File times advance in the kernel's coarse ticks: a change made within
    // the same tick as the last one could leave them as they are.
    const qint64 changed = qint64(st.st_ctim.tv_sec) * 1000 + st.st_ctim.tv_nsec / 1000000;
    if (QDateTime::currentMSecsSinceEpoch() - changed < 100)
        return QByteArray();
    QByteArray bytes;
    for (qint64 v : {qint64(st.st_size), qint64(st.st_mtim.tv_sec), qint64(st.st_mtim.tv_nsec),
                     qint64(st.st_ctim.tv_sec), qint64(st.st_ctim.tv_nsec), qint64(st.st_ino), qint64(st.st_dev)})
        bytes.append(reinterpret_cast<const char *>(&v), sizeof v);
    return bytes;
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
