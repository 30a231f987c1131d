#pragma once

#include "base/progress.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>

class QFile;

// A file of fixed-size records with no header. Every operation is one short
// session: open the file (creating it empty, in the same step, when it does
// not exist), lock it (shared to read, exclusive to write), do the work, flush
// writes to the disk, unlock and close. An existing file that cannot be opened
// or locked is an error and is never emptied or changed.
class RecordFile
{
public:
    RecordFile(const QString &path, int recordSize);

    using Visitor = std::function<bool(qint64 index, const char *record)>;

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

    // The file as an operation holding its write lock sees it.
    class Locked
    {
    public:
        qint64 count() const;
        // Records first to first + count - 1, or nothing when they are not all there.
        std::optional<QByteArray> read(qint64 first, qint64 count) const;
        bool forEach(const Visitor &visit) const;
        // Size and times of the last change: equal stamps mean that no copy of
        // the program wrote between them.
        QByteArray stamp() const;
        // Cuts the file back to `count` whole records, synced.
        bool truncate(qint64 count);

    private:
        friend class RecordFile;
        Locked(QFile &file, int recordSize)
            : m_file(file)
            , m_recordSize(recordSize)
        {
        }
        QFile &m_file;
        int m_recordSize;
    };
    // Runs `work` with the file locked for writing; false when the file
    // cannot be opened or locked, or when `work` says so.
    bool withWriteLock(const std::function<bool(Locked &file)> &work);

    // An append of many records that must never stay in part. Under one write
    // lock: `plan` sees the file as it is and answers how many records to
    // write (none: nothing is written); a journal beside the file notes its
    // length; the records are written and synced; `done` (when given) is told
    // where they went and may still refuse them; then the journal goes. A
    // kill or a power cut before that leaves the journal, and the next
    // operation on the file, by any copy of the program, cuts the file back
    // to its length (see setRecoveryReporter). `progress` (when given) learns
    // after every block how many records are written; when it answers false
    // the file is cut back as after a failure, and the answer is Stopped.
    enum class Appended { Yes, Nothing, Failed, Stopped };
    Appended appendAll(const std::function<qint64(const Locked &file)> &plan,
                       const std::function<QByteArray(qint64 i)> &record,
                       const std::function<bool(qint64 first, qint64 count)> &done, qint64 *first,
                       const Progress &progress = {});
    // The file's stamp (see Locked::stamp); empty when it cannot be read.
    QByteArray stamp() const;
    // The journal of an unfinished appendAll.
    QString journalPath() const;
    // Who hears that records of an interrupted append were taken away (the
    // file's path and how many); called on the thread of the program's windows.
    static void setRecoveryReporter(std::function<void(const QString &path, qint64 records)> reporter);

    // Visits every whole record in file order, reading `blockRecords` records
    // at a time; the visitor returns false to stop early. False on a read error
    // (the records visited before it stay visited). When the file gets shorter
    // meanwhile, the visit ends with the records that were still there.
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
