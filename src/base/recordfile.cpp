#include "base/recordfile.h"

#include "base/filelock.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>

namespace {

int g_lockTimeout = 5000;

std::function<void()> &betweenBlocks()
{
    static std::function<void()> hook;
    return hook;
}

// One open-lock-close session on the file.
class Session
{
public:
    Session(const QString &path, FileLock::Mode mode)
        : m_file(path)
    {
        const bool existed = QFileInfo::exists(path);
        // Opening for reading and writing creates a missing file and never
        // truncates an existing one, in one step: two copies creating the file
        // at the same moment both get it. Unbuffered, so that every byte is
        // written before the lock is released.
        if (!m_file.open(QIODevice::ReadWrite | QIODevice::Unbuffered))
            return;
        if (!existed)
            FileLock::syncFolder(QFileInfo(path).absolutePath());
        lock(mode);
    }

    ~Session()
    {
        unlock();
        m_file.close();
    }

    Session(const Session &) = delete;
    Session &operator=(const Session &) = delete;

    // Waits up to the lock timeout for other copies of the program.
    bool lock(FileLock::Mode mode)
    {
        if (!m_file.isOpen())
            return false;
        QDeadlineTimer deadline(g_lockTimeout);
        while (!FileLock::tryLock(m_file, mode)) {
            if (deadline.hasExpired())
                return false;
            QThread::msleep(10);
        }
        m_locked = true;
        return true;
    }

    void unlock()
    {
        if (m_locked)
            FileLock::unlock(m_file);
        m_locked = false;
    }

    bool ok() const { return m_locked; }
    QFile &file() { return m_file; }

private:
    QFile m_file;
    bool m_locked = false;
};

} // namespace

RecordFile::RecordFile(const QString &path, int recordSize)
    : m_path(path)
    , m_recordSize(recordSize)
{
}

void RecordFile::setLockTimeout(int milliseconds)
{
    g_lockTimeout = milliseconds;
}

int RecordFile::lockTimeout()
{
    return g_lockTimeout;
}

void RecordFile::setBetweenBlocksForTesting(std::function<void()> hook)
{
    betweenBlocks() = std::move(hook);
}

std::optional<qint64> RecordFile::count() const
{
    Session session(m_path, FileLock::Shared);
    if (!session.ok())
        return std::nullopt;
    return session.file().size() / m_recordSize;
}

std::optional<QByteArray> RecordFile::read(qint64 index) const
{
    Session session(m_path, FileLock::Shared);
    if (!session.ok() || index < 0 || !session.file().seek(index * m_recordSize))
        return std::nullopt;
    QByteArray record = session.file().read(m_recordSize);
    if (record.size() != m_recordSize)
        return std::nullopt;
    return record;
}

bool RecordFile::overwrite(qint64 index, const QByteArray &record)
{
    if (index < 0 || record.size() != m_recordSize)
        return false;
    Session session(m_path, FileLock::Exclusive);
    if (!session.ok() || index >= session.file().size() / m_recordSize)
        return false;
    QFile &file = session.file();
    return file.seek(index * m_recordSize) && file.write(record) == m_recordSize
        && FileLock::syncToDisk(file);
}

std::optional<qint64> RecordFile::append(const QByteArray &record)
{
    if (record.size() != m_recordSize)
        return std::nullopt;
    Session session(m_path, FileLock::Exclusive);
    if (!session.ok())
        return std::nullopt;
    QFile &file = session.file();
    const qint64 index = file.size() / m_recordSize;
    if (!file.seek(index * m_recordSize) || file.write(record) != m_recordSize
        || !FileLock::syncToDisk(file))
        return std::nullopt;
    return index;
}

bool RecordFile::forEach(const Visitor &visit, int chunkRecords) const
{
    return forEachBlock(
        [&](qint64 first, const char *records, qint64 count) {
            for (qint64 i = 0; i < count; ++i)
                if (!visit(first + i, records + i * m_recordSize))
                    return false;
            return true;
        },
        chunkRecords);
}

bool RecordFile::forEachBlock(const BlockVisitor &visit, int chunkRecords) const
{
    // Ordinary reads into a buffer, never a mapping: another program may
    // shorten the file meanwhile (the locks bind only this program), and a
    // mapping would then fault on the lost pages.
    Session session(m_path, FileLock::Shared);
    if (!session.ok())
        return false;
    QFile &file = session.file();
    const qint64 total = file.size() / m_recordSize;
    const qint64 chunk = qMax(1, chunkRecords);
    QByteArray buffer(qMin(chunk, qMax<qint64>(total, 1)) * m_recordSize, Qt::Uninitialized);

    qint64 index = 0;
    while (index < total) {
        if (index > 0 && !session.lock(FileLock::Shared))
            return false;
        const qint64 wanted = qMin(chunk, total - index);
        const qint64 got = file.seek(index * m_recordSize) ? file.read(buffer.data(), wanted * m_recordSize) : -1;
        session.unlock();
        if (got < 0)
            return false;
        const qint64 records = got / m_recordSize;
        if (records > 0 && !visit(index, buffer.constData(), records))
            return true;
        if (records < wanted)
            return true; // the file ended sooner than it did when the visit began
        index += records;
        if (betweenBlocks() && index < total)
            betweenBlocks()();
    }
    return true;
}
