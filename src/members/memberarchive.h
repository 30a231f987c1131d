#pragma once

#include "base/filestates.h"
#include "base/recordfile.h"
#include "members/schedaanagrafica.h"

#include <QImage>
#include <QString>

#include <optional>
#include <functional>

// The members archive: Archivio_Anagrafico.pro in the program folder, and each
// member's photo in the folder Anagrafica, named after the record number (the
// 1-based position of the record, which never changes).
class MemberArchive
{
public:
    static const QString FileName;
    static const QString PhotoFolder;
    // The message of every failure to reach the archive.
    static const QString ErrorText;

    MemberArchive();

    std::optional<qint64> count() const;
    // 0-based index; record number = index + 1.
    std::optional<TSchedaAnagrafica> read(qint64 index) const;
    bool overwrite(qint64 index, const TSchedaAnagrafica &scheda);
    // Overwrites the record only while it still holds `loaded`, the member as
    // the window read it, and its photo file is still as `loadedPhoto` noted
    // it (whatever both hold when `loaded` is null). `written` runs after the
    // record is written, still under its lock: the photo is written there.
    RecordFile::Replaced replace(qint64 index, const TSchedaAnagrafica &scheda, const TSchedaAnagrafica *loaded,
                                 const FileStates &loadedPhoto = {}, const std::function<void()> &written = {});
    // Returns the new member's index.
    std::optional<qint64> append(const TSchedaAnagrafica &scheda);
    // Appends `count` members, `member(i)` giving the i-th, in one locked
    // write, all or none; returns the index of the first. Nothing to append
    // is a failure.
    std::optional<qint64> append(qint64 count, const std::function<TSchedaAnagrafica(qint64 i)> &member);
    // Every record in file order, undecoded, a block at a time.
    bool forEach(const RecordFile::Visitor &visit) const;
    // Every record, undecoded, on `workers` threads side by side.
    bool forEachBlock(const RecordFile::BlockVisitor &visit, int workers) const;

    // The file itself, for what needs its lock across several steps.
    RecordFile &file() { return m_file; }

    // The photo of a record number given as the card shows it (blanks at the
    // ends do not count).
    static QString photoPath(const QString &recordNumber);
    // The member's photo, or the placeholder when it cannot be read.
    static QImage loadPhoto(const QString &recordNumber);
    static bool savePhoto(const QString &recordNumber, const QImage &photo);

private:
    RecordFile m_file;
};
