#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>

// A file of fixed-size records with no header. Every operation is one short
// session: open the file (creating it empty only when it does not exist), take
// an exclusive lock, do the work, flush writes to the disk, unlock and close.
// An existing file that cannot be opened or locked is an error and is never
// emptied or changed.
class RecordFile
{
public:
    RecordFile(const QString &path, int recordSize);

    const QString &path() const { return m_path; }
    int recordSize() const { return m_recordSize; }

    // Whole records only: a shorter trailing part is not a record.
    std::optional<qint64> count() const;
    std::optional<QByteArray> read(qint64 index) const;
    bool overwrite(qint64 index, const QByteArray &record);
    // Writes after the last whole record; returns the new record's index.
    std::optional<qint64> append(const QByteArray &record);

    // Visits every whole record in file order, reading `chunkRecords` records at
    // a time; the visitor returns false to stop early. False on a read error
    // (the records visited before it stay visited).
    using Visitor = std::function<bool(qint64 index, const char *record)>;
    bool forEach(const Visitor &visit, int chunkRecords = 1024) const;

    // The same a block of records at a time: `count` records one after the
    // other from `records`, the first being record `first`.
    using BlockVisitor = std::function<bool(qint64 first, const char *records, qint64 count)>;
    bool forEachBlock(const BlockVisitor &visit, int chunkRecords = 1024) const;

    // How long an operation waits for another copy of the program to release
    // the file before it gives up with an error.
    static void setLockTimeout(int milliseconds);
    static int lockTimeout();

    // forEach maps the file where it can; tests turn that off to cover the
    // plain reading that serves where it cannot.
    static void setMappingForTesting(bool enabled);

private:
    QString m_path;
    int m_recordSize;
};
