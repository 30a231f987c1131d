#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// What some files held when a window read the record they go with (a
// member's photo, a page's slot photos), so that its save can tell whether
// another copy of the program wrote one of them since. A file is known by its
// size and a digest of its bytes; a missing file is a state too, and so is
// one that cannot be read.
class FileStates
{
public:
    // No files: nothing can have changed.
    FileStates() = default;
    // Notes what the files hold now.
    explicit FileStates(const QStringList &paths);

    // Whether every file still holds what it held when noted.
    bool unchanged() const;

    // A file larger than this is known by its size, its time of change and
    // the digest of this much of its start: reading it all could take long,
    // and no photo the program writes comes near it.
    static constexpr qint64 DigestLimit = 64 * 1024 * 1024;

private:
    static QByteArray stateOf(const QString &path);

    QStringList m_paths;
    QList<QByteArray> m_states;
};
