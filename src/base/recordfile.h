#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>

// A file of fixed-size records with no header. Every operation is one short
// session: open the file (creating it empty, in the same step, when it does
// not exist), lock it (shared to read, exclusive to write), do the work, flush
// writes to the disk, unlock and close. An existing file that cannot be opened
// or locked is an error and is never emptied or changed.
class RecordFile
{
public:
    RecordFile(const QString &path, int recordSize);

    const QString &path() const { return m_path; }
    int recordSize() const { return m_recordSize; }

    // Whole records only: a shorter trailing part is not a record.
    std::optional<qint64> count() const;
    std::optional<QByteArray> read(qint64 index) const;
    // Only an existing record can be overwritten.
    bool overwrite(qint64 index, const QByteArray &record);
    // Overwrites a record only while `unchanged` (when given) holds for what
    // is stored there, judged under the write lock: Changed, and nothing
    // written, when another copy of the program saved the record since this
    // one read it. `written` (when given) runs once the record is written and
    // synced, before the lock is released: files saved with the record
    // (photos) are written there, so that no other copy's save comes between
    // the check and them.
    enum class Replaced { Yes, Changed, Failed };
    Replaced replace(qint64 index, const QByteArray &record, const std::function<bool(const QByteArray &stored)> &unchanged,
                     const std::function<void()> &written = {});
    // Writes one or more whole records after the last whole record, all or
    // none of them; returns the index of the first.
    std::optional<qint64> append(const QByteArray &records);
    // The same for `count` records that `record(i)` makes one at a time, so
    // that however many there are only a block of them is in memory.
    std::optional<qint64> append(qint64 count, const std::function<QByteArray(qint64 i)> &record);

    // Visits every whole record in file order, reading `blockRecords` records
    // at a time; the visitor returns false to stop early. False on a read error
    // (the records visited before it stay visited). When the file gets shorter
    // meanwhile, the visit ends with the records that were still there.
    using Visitor = std::function<bool(qint64 index, const char *record)>;
    bool forEach(const Visitor &visit, int blockRecords = 128) const;

    // The same a block of records at a time, on `workers` threads side by side
    // (the caller's thread is one of them): each reads the blocks it takes, in
    // increasing order, into a buffer of its own and visits them there; the
    // visitor learns which worker (0 to workers - 1) calls it. The file is
    // locked only while a block is read, so a save in another copy of the
    // program waits for one block, not for the whole visit.
    using BlockVisitor = std::function<bool(int worker, qint64 first, const char *records, qint64 count)>;
    bool forEachBlock(const BlockVisitor &visit, int workers = 1, int blockRecords = 128) const;

    // How long an operation waits for another copy of the program to release
    // the file before it gives up with an error.
    static void setLockTimeout(int milliseconds);

    // Tests run this before every block of a visit but the first, with the
    // file unlocked.
    static void setBetweenBlocksForTesting(std::function<void()> hook);

private:
    QString m_path;
    int m_recordSize;
};
