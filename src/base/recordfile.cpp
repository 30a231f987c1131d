#include "base/recordfile.h"

#include "base/filelock.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>

namespace {

int g_lockTimeout = 5000;
bool g_mapping = true;

// One open-lock-close session on the file.
class Session
{
public:
    explicit Session(const QString &path)
        : m_file(path)
    {
        if (QFileInfo::exists(path)) {
            // ReadWrite never truncates an existing file.
            if (!m_file.open(QIODevice::ReadWrite | QIODevice::ExistingOnly))
                return;
        } else if (!m_file.open(QIODevice::ReadWrite | QIODevice::NewOnly)) {
            return;
        }
        QDeadlineTimer deadline(g_lockTimeout);
        while (!FileLock::tryLockExclusive(m_file)) {
            if (deadline.hasExpired()) {
                m_file.close();
                return;
            }
            QThread::msleep(10);
        }
        m_locked = true;
    }

    ~Session()
    {
        if (m_locked)
            FileLock::unlock(m_file);
    }

    Session(const Session &) = delete;
    Session &operator=(const Session &) = delete;

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

void RecordFile::setMappingForTesting(bool enabled)
{
    g_mapping = enabled;
}

std::optional<qint64> RecordFile::count() const
{
    Session session(m_path);
    if (!session.ok())
        return std::nullopt;
    return session.file().size() / m_recordSize;
}

std::optional<QByteArray> RecordFile::read(qint64 index) const
{
    Session session(m_path);
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
    Session session(m_path);
    if (!session.ok() || index > session.file().size() / m_recordSize)
        return false;
    QFile &file = session.file();
    return file.seek(index * m_recordSize) && file.write(record) == m_recordSize
        && FileLock::syncToDisk(file);
}

std::optional<qint64> RecordFile::append(const QByteArray &record)
{
    if (record.size() != m_recordSize)
        return std::nullopt;
    Session session(m_path);
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
    Session session(m_path);
    if (!session.ok())
        return false;
    QFile &file = session.file();
    const qint64 total = file.size() / m_recordSize;
    const qint64 chunk = qMax(1, chunkRecords);

    // Mapped a window at a time, records are read in place: a reader that looks
    // at a few fields touches only those, not every byte of the file. Where the
    // file cannot be mapped, it is read a chunk at a time.
    qint64 index = 0;
    while (g_mapping && index < total) {
        const qint64 records = qMin(chunk * 4, total - index);
        uchar *mapped = file.map(index * m_recordSize, records * m_recordSize);
        if (!mapped)
            break;
        const bool goOn = visit(index, reinterpret_cast<const char *>(mapped), records);
        file.unmap(mapped);
        if (!goOn)
            return true;
        index += records;
    }

    QByteArray buffer(chunk * m_recordSize, Qt::Uninitialized);
    if (index < total && !file.seek(index * m_recordSize))
        return false;
    while (index < total) {
        const qint64 records = qMin(chunk, total - index);
        const qint64 bytes = records * m_recordSize;
        if (file.read(buffer.data(), bytes) != bytes)
            return false;
        if (!visit(index, buffer.constData(), records))
            return true;
        index += records;
    }
    return true;
}
