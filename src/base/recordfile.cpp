#include "base/recordfile.h"

#include "base/backups.h"
#include "base/filelock.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <atomic>
#include <thread>
#include <vector>

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
        // Only reading needs no more than reading, so that a read-only archive
        // or book (a locked share, a read-only medium) can still be browsed.
        // Otherwise, opening for reading and writing creates a missing file
        // and never truncates an existing one, in one step: two copies
        // creating the file at the same moment both get it. Unbuffered, so
        // that every byte is written before the lock is released.
        const QIODevice::OpenMode access = existed && mode == FileLock::Shared ? QIODevice::ReadOnly : QIODevice::ReadWrite;
        if (!m_file.open(access | QIODevice::Unbuffered))
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
    return replace(index, record, {}) == Replaced::Yes;
}

RecordFile::Replaced RecordFile::replace(qint64 index, const QByteArray &record,
                                         const std::function<bool(const QByteArray &)> &unchanged,
                                         const std::function<void()> &written)
{
    if (index < 0 || record.size() != m_recordSize)
        return Replaced::Failed;
    Session session(m_path, FileLock::Exclusive);
    if (!session.ok() || index >= session.file().size() / m_recordSize)
        return Replaced::Failed;
    QFile &file = session.file();
    if (unchanged) {
        if (!file.seek(index * m_recordSize))
            return Replaced::Failed;
        const QByteArray stored = file.read(m_recordSize);
        if (stored.size() != m_recordSize)
            return Replaced::Failed;
        if (!unchanged(stored))
            return Replaced::Changed;
    }
    Backups::beforeRecordWrite(file, index * m_recordSize, m_recordSize);
    if (!file.seek(index * m_recordSize) || file.write(record) != m_recordSize || !FileLock::syncToDisk(file))
        return Replaced::Failed;
    if (written)
        written();
    return Replaced::Yes;
}

std::optional<qint64> RecordFile::append(const QByteArray &records)
{
    if (records.size() % m_recordSize != 0)
        return std::nullopt;
    return append(records.size() / m_recordSize,
                  [&](qint64 i) { return records.mid(i * m_recordSize, m_recordSize); });
}

std::optional<qint64> RecordFile::append(qint64 count, const std::function<QByteArray(qint64 i)> &record)
{
    constexpr qsizetype BlockBytes = 1 << 20;
    if (count <= 0)
        return std::nullopt;
    Session session(m_path, FileLock::Exclusive);
    if (!session.ok())
        return std::nullopt;
    QFile &file = session.file();
    const qint64 before = file.size();
    const qint64 index = before / m_recordSize;
    Backups::beforeRecordWrite(file, index * m_recordSize, count * m_recordSize);
    bool written = file.seek(index * m_recordSize);
    QByteArray block;
    block.reserve(BlockBytes + m_recordSize);
    for (qint64 i = 0; written && i < count; ++i) {
        const QByteArray next = record(i);
        written = next.size() == m_recordSize;
        block += next;
        if (written && (block.size() >= BlockBytes || i + 1 == count)) {
            written = file.write(block) == block.size();
            block.clear();
        }
    }
    if (!written || !FileLock::syncToDisk(file)) {
        // A full disk may have taken part of the records: none of them stays.
        file.resize(before);
        return std::nullopt;
    }
    return index;
}

bool RecordFile::forEach(const Visitor &visit, int blockRecords) const
{
    return forEachBlock(
        [&](int, qint64 first, const char *records, qint64 count) {
            for (qint64 i = 0; i < count; ++i)
                if (!visit(first + i, records + i * m_recordSize))
                    return false;
            return true;
        },
        1, blockRecords);
}

bool RecordFile::forEachBlock(const BlockVisitor &visit, int workers, int blockRecords) const
{
    qint64 total = 0;
    {
        Session session(m_path, FileLock::Shared);
        if (!session.ok())
            return false;
        total = session.file().size() / m_recordSize;
    }
    const qint64 block = qMax(1, blockRecords);
    const qint64 blocks = (total + block - 1) / block;
    std::atomic<qint64> next{0};
    std::atomic<bool> stop{false};
    std::atomic<bool> failed{false};

    // Ordinary reads into a buffer, never a mapping: another program may
    // shorten the file meanwhile (the locks bind only this program), and a
    // mapping would then fault on the lost pages. Each worker has the file
    // open on its own, as locks belong to an open file.
    const auto work = [&](int worker) {
        Session session(m_path, FileLock::Shared);
        session.unlock();
        QByteArray buffer(qMin(block, qMax<qint64>(total, 1)) * m_recordSize, Qt::Uninitialized);
        for (qint64 b = next++; b < blocks && !stop; b = next++) {
            if (b > 0 && betweenBlocks())
                betweenBlocks()();
            const qint64 first = b * block;
            const qint64 wanted = qMin(block, total - first);
            qint64 got = -1;
            if (session.lock(FileLock::Shared)) {
                QFile &file = session.file();
                got = file.seek(first * m_recordSize) ? file.read(buffer.data(), wanted * m_recordSize) : -1;
                session.unlock();
            }
            if (got < 0) {
                failed = true;
                stop = true;
                return;
            }
            const qint64 records = got / m_recordSize;
            // Short: the file ended sooner than it did when the visit began.
            if ((records > 0 && !visit(worker, first, buffer.constData(), records)) || records < wanted)
                stop = true;
        }
    };
    std::vector<std::thread> helpers;
    for (int worker = 1; worker < workers && worker < blocks; ++worker)
        helpers.emplace_back(work, worker);
    work(0);
    for (std::thread &helper : helpers)
        helper.join();
    return !failed;
}
