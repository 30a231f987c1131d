#pragma once

#include "base/filestates.h"
#include "base/recordfile.h"
#include "register/paginaregistro.h"

#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>

#include <optional>

// A register book: the file "<book>.qvl" in the program folder, one page of
// 5320 bytes after the other (page n is record n - 1), and the pages' photos
// in the folder Foto_Gruppo, named after the book.
class RegisterBook
{
public:
    static const QString Extension;   // ".qvl"
    static const QString PhotoFolder; // "Foto_Gruppo"
    static constexpr QSize PhotoSize{282, 366};
    // Pictures for a slot are read no larger than this on a side: enough
    // for a smooth page photo, and small whatever the camera made.
    static constexpr int PhotoReadSide = 2 * 366;

    RegisterBook(const QString &path, const QString &name);

    // The books of the program folder, "<book>.qvl" each, in alphabetical order.
    static QStringList entries();
    // The book file of a name: program folder + name + ".qvl".
    static QString pathFor(const QString &name);
    // A name that makes a file directly in the program folder on every
    // system: no path separator, no character a file name cannot hold, no
    // "..", no final dot, not a device name.
    static bool acceptableName(const QString &name);
    enum class Created { Yes, Exists, Failed };
    // Creates the empty book file; never touches an existing one.
    static Created create(const QString &name);

    const QString &path() const { return m_file.path(); }
    const QString &name() const { return m_name; }

    std::optional<qint64> count() const;
    // Page numbers count from 1.
    std::optional<TPaginaRegistro> read(qint64 page) const;
    bool overwrite(qint64 page, const TPaginaRegistro &content);
    // Overwrites the page only while it still holds `loaded`, the page as the
    // window read it, and its photo files are still as `loadedPhotos` noted
    // them (whatever all hold when `loaded` is null). `written` runs after the
    // page is written, still under its lock: the photos are written there.
    RecordFile::Replaced replace(qint64 page, const TPaginaRegistro &content, const TPaginaRegistro *loaded,
                                 const FileStates &loadedPhotos = {}, const std::function<void()> &written = {});
    // Returns the new page's number.
    std::optional<qint64> append(const TPaginaRegistro &content);

    // "<book>_Foto_<X>_<page>.jpg" and "<book>_Anteprima_<X>.jpg" in Foto_Gruppo.
    QString photoPath(QChar slot, const QString &pageNumber) const;
    // The photos of a page's slots A to H.
    QStringList photoPaths(const QString &pageNumber) const;
    QString previewPath(QChar slot) const;

    // A slot's picture as every page photo is written: stretched to 282 x 366
    // with smooth scaling.
    static QImage pagePhoto(const QImage &picture);
    // Writes a picture already made by pagePhoto(); false when it cannot.
    static bool writePhoto(const QString &path, const QImage &pagePhoto);
    // The same in two steps: the JPEG bytes of a page photo (made from the
    // picture first when it is not one), then the file.
    static QByteArray encodePhoto(const QImage &picture);
    static bool writePhotoFile(const QString &path, const QByteArray &jpeg);
    // A page photo, or a null image when it cannot be read.
    static QImage readPhoto(const QString &path);

private:
    RecordFile m_file;
    QString m_name;
};
