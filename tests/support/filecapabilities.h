#pragma once

#include <QMetaType>
#include <QString>

// While alive, file permissions apply to this thread even when the tests run
// as root (as CI does): the capabilities that override them are dropped from
// the effective set and given back afterwards.
class HonourFilePermissions
{
public:
    HonourFilePermissions();
    ~HonourFilePermissions();
    HonourFilePermissions(const HonourFilePermissions &) = delete;
    HonourFilePermissions &operator=(const HonourFilePermissions &) = delete;

private:
    bool m_dropped = false;
};

// While alive, files written in a folder cannot be completed: either the
// folder refuses new files (no write permission, honoured even by root), or
// the disk is full (no file of the process can grow beyond `fullAt` bytes, as
// a full disk stops a file part way).
class FailingWrites
{
public:
    enum Kind { ReadOnlyFolder, FullDisk };
    FailingWrites(const QString &folder, Kind kind, long long fullAt = 16);
    // A test's data table of both kinds, in a column "failure".
    static void addRows();
    ~FailingWrites();
    FailingWrites(const FailingWrites &) = delete;
    FailingWrites &operator=(const FailingWrites &) = delete;

private:
    QString m_folder;
    Kind m_kind;
    HonourFilePermissions *m_permissions = nullptr;
    long long m_oldLimit = -1;
};

Q_DECLARE_METATYPE(FailingWrites::Kind)
