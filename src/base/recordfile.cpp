#include "base/recordfile.h"

#include "base/backups.h"
#include "base/filelock.h"
#include "base/wholefile.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QMetaObject>
#include <QThread>

#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

namespace {

int g_lockTimeout = 5000;

std::function<void()> &betweenBlocks()
{
    static std::function<void()> hook;
    return hook;
}

std::mutex g_reporterMutex;
std::function<void(const QString &, qint64)> g_recoveryReporter;

QString journalOf(const QString &path)
{
    return path + QStringLiteral(".incompleto");
}

bool lockWithin(QFile &file, FileLock::Mode mode)
{
    QDeadlineTimer deadline(g_lockTimeout);
    while (!FileLock::tryLock(file, mode)) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(10);
    }
    return true;
}

// The journal of an append: the file's length before it, on the first line,
// then the bytes of a part record at its end, which the records overwrite.
QByteArray journalText(QFile &file, int recordSize)
{
    const qint64 whole = file.size() / recordSize * recordSize;
    QByteArray tail;
    if (whole < file.size() && file.seek(whole))
        tail = file.read(file.size() - whole);
    return QByteArray::number(file.size()) + '\n' + tail;
}

// Puts the file back as its journal says: Failed when it could not be
// written, Unsound when the journal says nothing sound.
enum class Restore { Done, Failed, Unsound };
Restore restoreFrom(const QByteArray &journal, QFile &file, int recordSize, qint64 *removed = nullptr)
{
    const qsizetype line = journal.indexOf('\n');
    bool ok = false;
    const qint64 length = line > 0 ? journal.left(line).toLongLong(&ok) : -1;
    const QByteArray tail = journal.mid(line + 1);
    if (!ok || length < 0 || tail.size() >= recordSize || tail.size() > length)
        return Restore::Unsound;
    if (removed)
        *removed = qMax<qint64>(0, file.size() - length + recordSize - 1) / recordSize;
    if (length > file.size())
        return Restore::Done; // nothing of the append is left to take away
    Backups::beforeRecordWrite(file, length - tail.size(), file.size() - length + tail.size());
    return file.resize(length - tail.size()) && file.seek(length - tail.size()) && file.write(tail) == tail.size()
            && FileLock::syncToDisk(file)
        ? Restore::Done
        : Restore::Failed;
}

// An append that never finished leaves its journal: the file goes back to
// the length it had before. Under the write lock, so that an append still
// under way in another copy of the program is waited for, not undone.
void recoverInterruptedAppend(const QString &path, int recordSize)
{
    const QString journal = journalOf(path);
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite | QIODevice::ExistingOnly | QIODevice::Unbuffered)
        || !lockWithin(file, FileLock::Exclusive))
        return;
    qint64 removed = 0;
    bool cut = true;
    QFile text(journal);
    if (text.open(QIODevice::ReadOnly)) {
        const QByteArray said = text.read(64 + recordSize);
        text.close();
        // A journal that says nothing sound cannot tell where to cut: it is dropped.
        cut = restoreFrom(said, file, recordSize, &removed) != Restore::Failed;
        if (cut && QFile::remove(journal))
            FileLock::syncFolder(QFileInfo(path).absolutePath());
    }
    FileLock::unlock(file);
    if (!cut || removed == 0)
        return;
    std::function<void(const QString &, qint64)> reporter;
    {
        std::lock_guard<std::mutex> lock(g_reporterMutex);
        reporter = g_recoveryReporter;
    }
    if (!reporter)
        return;
    if (QCoreApplication *app = QCoreApplication::instance())
        QMetaObject::invokeMethod(app, [reporter, path, removed] { reporter(path, removed); }, Qt::QueuedConnection);
    else
        reporter(path, removed);
}

// One open-lock-close session on the file.
class Session
{
public:
    Session(const QString &path, FileLock::Mode mode, int recordSize)
        : m_file(path)
    {
        if (QFileInfo::exists(journalOf(path)))
            recoverInterruptedAppend(path, recordSize);
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
        m_locked = m_file.isOpen() && lockWithin(m_file, mode);
        return m_locked;
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

void RecordFile::setRecoveryReporter(std::function<void(const QString &, qint64)> reporter)
{
    std::lock_guard<std::mutex> lock(g_reporterMutex);
    g_recoveryReporter = std::move(reporter);
}

QString RecordFile::journalPath() const
{
    return journalOf(m_path);
}

void RecordFile::setBetweenBlocksForTesting(std::function<void()> hook)
{
    betweenBlocks() = std::move(hook);
}

std::optional<qint64> RecordFile::count() const
{
    Session session(m_path, FileLock::Shared, m_recordSize);
    if (!session.ok())
        return std::nullopt;
    return session.file().size() / m_recordSize;
}

std::optional<QByteArray> RecordFile::read(qint64 index) const
{
    Session session(m_path, FileLock::Shared, m_recordSize);
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
    Session session(m_path, FileLock::Exclusive, m_recordSize);
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

namespace {

// Writes `count` records at the end of the whole records, a block at a time;
// the index of the first, or nothing when any of them could not be written
// or `progress`, told after each block, stopped the writing (`stopped` then
// says so).
std::optional<qint64> writeAtEnd(QFile &file, int recordSize, qint64 count,
                                 const std::function<QByteArray(qint64 i)> &record, const Progress &progress = {},
                                 bool *stopped = nullptr)
{
    constexpr qsizetype BlockBytes = 1 << 20;
    const qint64 index = file.size() / recordSize;
    Backups::beforeRecordWrite(file, index * recordSize, count * recordSize);
    bool written = file.seek(index * recordSize);
    QByteArray block;
    block.reserve(BlockBytes + recordSize);
    for (qint64 i = 0; written && i < count; ++i) {
        const QByteArray next = record(i);
        written = next.size() == recordSize;
        block += next;
        if (written && (block.size() >= BlockBytes || i + 1 == count)) {
            written = file.write(block) == block.size();
            block.clear();
            if (written && progress && !progress(i + 1, count)) {
                if (stopped)
                    *stopped = true;
                return std::nullopt;
            }
        }
    }
    if (!written || !FileLock::syncToDisk(file))
        return std::nullopt;
    return index;
}

} // namespace

std::optional<qint64> RecordFile::append(qint64 count, const std::function<QByteArray(qint64 i)> &record)
{
    if (count <= 0)
        return std::nullopt;
    Session session(m_path, FileLock::Exclusive, m_recordSize);
    if (!session.ok())
        return std::nullopt;
    QFile &file = session.file();
    const qint64 before = file.size();
    const auto index = writeAtEnd(file, m_recordSize, count, record);
    // A full disk may have taken part of the records: none of them stays.
    if (!index)
        file.resize(before);
    return index;
}

bool RecordFile::withWriteLock(const std::function<bool(Locked &)> &work)
{
    Session session(m_path, FileLock::Exclusive, m_recordSize);
    if (!session.ok())
        return false;
    Locked locked(session.file(), m_recordSize);
    return work(locked);
}

RecordFile::Appended RecordFile::appendAll(const std::function<qint64(const Locked &)> &plan,
                                           const std::function<QByteArray(qint64 i)> &record,
                                           const std::function<bool(qint64 first, qint64 count)> &done,
                                           qint64 *first, const Progress &progress)
{
    Session session(m_path, FileLock::Exclusive, m_recordSize);
    if (!session.ok())
        return Appended::Failed;
    QFile &file = session.file();
    const qint64 count = plan(Locked(file, m_recordSize));
    if (count <= 0)
        return Appended::Nothing;
    const QString journal = journalPath();
    const QByteArray before = journalText(file, m_recordSize);
    if (!WholeFile::write(journal, before))
        return Appended::Failed;
    bool stopped = false;
    const auto index = writeAtEnd(file, m_recordSize, count, record, progress, &stopped);
    // The journal goes last, and only once the records may stay: while it is
    // there, the records after its length are not the file's.
    if (index && (!done || done(*index, count)) && QFile::remove(journal)) {
        FileLock::syncFolder(QFileInfo(m_path).absolutePath());
        if (first)
            *first = *index;
        return Appended::Yes;
    }
    // A cut that fails leaves the journal, for the next operation to cut.
    const bool cut = restoreFrom(before, file, m_recordSize) == Restore::Done;
    if (cut)
        QFile::remove(journal);
    return stopped && cut ? Appended::Stopped : Appended::Failed;
}

qint64 RecordFile::Locked::count() const
{
    return m_file.size() / m_recordSize;
}

std::optional<QByteArray> RecordFile::Locked::read(qint64 first, qint64 count) const
{
    if (first < 0 || count < 0 || first + count > this->count() || !m_file.seek(first * m_recordSize))
        return std::nullopt;
    QByteArray records = m_file.read(count * m_recordSize);
    if (records.size() != count * m_recordSize)
        return std::nullopt;
    return records;
}

bool RecordFile::Locked::forEach(const Visitor &visit) const
{
    constexpr qint64 Block = 128;
    const qint64 total = count();
    for (qint64 first = 0; first < total; first += Block) {
        const auto records = read(first, qMin(Block, total - first));
        if (!records)
            return false;
        for (qint64 i = 0; i * m_recordSize < records->size(); ++i)
            if (!visit(first + i, records->constData() + i * m_recordSize))
                return true;
    }
    return true;
}

QByteArray RecordFile::Locked::stamp() const
{
    return FileLock::stamp(m_file);
}

bool RecordFile::Locked::truncate(qint64 count)
{
    const qint64 length = count * m_recordSize;
    if (count < 0 || length > m_file.size())
        return false;
    Backups::beforeRecordWrite(m_file, length, m_file.size() - length);
    return m_file.resize(length) && FileLock::syncToDisk(m_file);
}

QByteArray RecordFile::stamp() const
{
    Session session(m_path, FileLock::Shared, m_recordSize);
    return session.ok() ? FileLock::stamp(session.file()) : QByteArray();
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
        Session session(m_path, FileLock::Shared, m_recordSize);
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
        Session session(m_path, FileLock::Shared, m_recordSize);
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
