#pragma once

#include "base/progress.h"

#include <QByteArray>
#include <QSaveFile>
#include <QString>

#include <functional>

// A file replaced whole or not at all. The new content goes to a temporary
// file beside it, is flushed, checked and synced to the disk, and only then
// takes the old file's place; a failure anywhere (a full disk, a file-size
// limit, a kill) leaves the earlier file as it was. QSaveFile alone is not
// enough: with Qt 6.4 its commit() reports success when writing its buffered
// tail failed, and leaves an empty file behind.
class WholeFile
{
public:
    explicit WholeFile(const QString &path);
    ~WholeFile();
    WholeFile(const WholeFile &) = delete;
    WholeFile &operator=(const WholeFile &) = delete;

    bool open();
    bool write(const char *data, qint64 size);
    bool write(const QByteArray &bytes) { return write(bytes.constData(), bytes.size()); }
    // For encoders that write to a device themselves; commit() finds out
    // whether what they wrote reached the file.
    QIODevice *device() { return &m_file; }
    // False, and the earlier file untouched, when anything went wrong since
    // open().
    bool commit();

    // The whole content in one call.
    static bool write(const QString &path, const QByteArray &bytes);
    // A copy of a regular file (never a pipe or a device, which could block
    // for good), replacing any earlier copy only once it is complete.
    // `progress` learns the bytes copied so far and the total after each
    // piece; it answers false to stop, and the earlier copy stays.
    static bool copy(const QString &source, const QString &target, const Progress &progress = {});

private:
    QSaveFile m_file;
    bool m_failed = false;
};
