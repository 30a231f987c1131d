#include "register/registerbook.h"

#include "base/blanks.h"
#include "base/imagefiles.h"
#include "base/programfolder.h"
#include "base/wholefile.h"

#include <QDir>
#include <QFile>
#include <QPainter>

#include <algorithm>

const QString RegisterBook::Extension = QStringLiteral(".qvl");
const QString RegisterBook::PhotoFolder = QStringLiteral("Foto_Gruppo");

RegisterBook::RegisterBook(const QString &path, const QString &name)
    : m_file(path, TPaginaRegistro::RecordSize)
    , m_name(Blanks::trimmed(name))
{
}

QStringList RegisterBook::entries()
{
    QDir folder(ProgramFolder::path());
    QStringList names = folder.entryList({QStringLiteral("*") + Extension}, QDir::Files, QDir::Name | QDir::IgnoreCase);
    // Only what ends exactly in ".qvl": the pattern also matches other cases.
    names.erase(std::remove_if(names.begin(), names.end(), [](const QString &n) { return !n.endsWith(Extension); }),
                names.end());
    return names;
}

QString RegisterBook::pathFor(const QString &name)
{
    return ProgramFolder::path() + Blanks::trimmed(name) + Extension;
}

bool RegisterBook::acceptableName(const QString &name)
{
    // The longest file the name makes is a page photo of a ten-digit page
    // number, "<book>_Foto_X_1234567890.jpg". A name starting with a dot
    // would make a hidden book, never listed.
    const QString longestPhoto = name + QStringLiteral("_Foto_A_1234567890.jpg");
    return ProgramFolder::portableFileName(name) && ProgramFolder::portableFileName(longestPhoto)
        && !name.startsWith(u'.') && !name.contains(QStringLiteral(".."));
}

RegisterBook::Created RegisterBook::create(const QString &name)
{
    QFile file(pathFor(name));
    if (file.exists())
        return Created::Exists;
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return file.exists() ? Created::Exists : Created::Failed;
    file.close();
    return Created::Yes;
}

std::optional<qint64> RegisterBook::count() const
{
    return m_file.count();
}

std::optional<TPaginaRegistro> RegisterBook::read(qint64 page) const
{
    const auto bytes = m_file.read(page - 1);
    if (!bytes)
        return std::nullopt;
    return TPaginaRegistro::fromBytes(bytes->constData());
}

bool RegisterBook::overwrite(qint64 page, const TPaginaRegistro &content)
{
    return m_file.overwrite(page - 1, content.toBytes());
}

RecordFile::Replaced RegisterBook::replace(qint64 page, const TPaginaRegistro &content, const TPaginaRegistro *loaded,
                                           const FileStates &loadedPhotos, const std::function<void()> &written)
{
    if (!loaded)
        return m_file.replace(page - 1, content.toBytes(), {}, written);
    // Compared as both would be written: unused bytes and blanks do not count.
    const QByteArray expected = loaded->toBytes();
    return m_file.replace(
        page - 1, content.toBytes(),
        [&](const QByteArray &stored) {
            return TPaginaRegistro::fromBytes(stored.constData()).toBytes() == expected && loadedPhotos.unchanged();
        },
        written);
}

std::optional<qint64> RegisterBook::append(const TPaginaRegistro &content)
{
    const auto index = m_file.append(content.toBytes());
    if (!index)
        return std::nullopt;
    return *index + 1;
}

QString RegisterBook::photoPath(QChar slot, const QString &pageNumber) const
{
    return ProgramFolder::path() + PhotoFolder + QDir::separator() + m_name + QStringLiteral("_Foto_") + slot
        + QStringLiteral("_") + Blanks::trimmed(pageNumber) + QStringLiteral(".jpg");
}

QStringList RegisterBook::photoPaths(const QString &pageNumber) const
{
    QStringList paths;
    for (int s = 0; s < TPaginaRegistro::SlotCount; ++s)
        paths << photoPath(TPaginaRegistro::letter(s), pageNumber);
    return paths;
}

QString RegisterBook::previewPath(QChar slot) const
{
    return ProgramFolder::path() + PhotoFolder + QDir::separator() + m_name + QStringLiteral("_Anteprima_") + slot
        + QStringLiteral(".jpg");
}

QImage RegisterBook::pagePhoto(const QImage &picture)
{
    // Drawn over the whole area, proportions not kept, on a transparent canvas.
    QImage canvas(PhotoSize, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    if (!picture.isNull()) {
        QPainter painter(&canvas);
        painter.drawImage(0, 0, picture.scaled(PhotoSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    }
    return canvas;
}

bool RegisterBook::writePhoto(const QString &path, const QImage &pagePhoto)
{
    return writePhotoFile(path, encodePhoto(pagePhoto));
}

QByteArray RegisterBook::encodePhoto(const QImage &picture)
{
    return ImageFiles::encodeJpeg(picture.size() == PhotoSize ? picture : pagePhoto(picture));
}

bool RegisterBook::writePhotoFile(const QString &path, const QByteArray &jpeg)
{
    ProgramFolder::ensureFolder(PhotoFolder);
    return !jpeg.isEmpty() && WholeFile::write(path, jpeg);
}

QImage RegisterBook::readPhoto(const QString &path)
{
    ProgramFolder::ensureFolder(PhotoFolder);
    return ImageFiles::read(path);
}
