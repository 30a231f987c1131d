#include "members/memberarchive.h"

#include "base/blanks.h"
#include "base/imagefiles.h"
#include "base/programfolder.h"
#include "members/placeholderphoto.h"

#include <QDir>

const QString MemberArchive::FileName = QStringLiteral("Archivio_Anagrafico.pro");
const QString MemberArchive::PhotoFolder = QStringLiteral("Anagrafica");
const QString MemberArchive::ErrorText = QStringLiteral(
    "Attenzione: il sistema non permette di accedere all'archivio.\n\r\n\r"
    "Accertarsi di possedere i privilegi di scrittura nella cartella di installazione del programma.");

MemberArchive::MemberArchive()
    : m_file(ProgramFolder::file(FileName), TSchedaAnagrafica::RecordSize)
{
}

std::optional<qint64> MemberArchive::count() const
{
    return m_file.count();
}

std::optional<TSchedaAnagrafica> MemberArchive::read(qint64 index) const
{
    const auto bytes = m_file.read(index);
    if (!bytes)
        return std::nullopt;
    return TSchedaAnagrafica::fromBytes(bytes->constData());
}

bool MemberArchive::overwrite(qint64 index, const TSchedaAnagrafica &scheda)
{
    return m_file.overwrite(index, scheda.toBytes());
}

RecordFile::Replaced MemberArchive::replace(qint64 index, const TSchedaAnagrafica &scheda,
                                            const TSchedaAnagrafica *loaded, const FileStates &loadedPhoto,
                                            const std::function<void()> &written)
{
    if (!loaded)
        return m_file.replace(index, scheda.toBytes(), {}, written);
    // Compared as both would be written: unused bytes and blanks do not count.
    const QByteArray expected = loaded->toBytes();
    return m_file.replace(
        index, scheda.toBytes(),
        [&](const QByteArray &stored) {
            return TSchedaAnagrafica::fromBytes(stored.constData()).toBytes() == expected && loadedPhoto.unchanged();
        },
        written);
}

std::optional<qint64> MemberArchive::append(const TSchedaAnagrafica &scheda)
{
    return m_file.append(scheda.toBytes());
}

std::optional<qint64> MemberArchive::append(qint64 count, const std::function<TSchedaAnagrafica(qint64 i)> &member)
{
    return m_file.append(count, [&](qint64 i) { return member(i).toBytes(); });
}

bool MemberArchive::forEach(const RecordFile::Visitor &visit) const
{
    return m_file.forEach(visit);
}

bool MemberArchive::forEachBlock(const RecordFile::BlockVisitor &visit, int workers) const
{
    return m_file.forEachBlock(visit, workers);
}

QString MemberArchive::photoPath(const QString &recordNumber)
{
    return ProgramFolder::path() + PhotoFolder + QDir::separator() + QStringLiteral("Scheda_Anagrafica_")
        + Blanks::trimmed(recordNumber) + QStringLiteral(".jpg");
}

QImage MemberArchive::loadPhoto(const QString &recordNumber)
{
    ProgramFolder::ensureFolder(PhotoFolder);
    const QImage photo = ImageFiles::read(photoPath(recordNumber));
    return photo.isNull() ? placeholderPhoto() : photo;
}

bool MemberArchive::savePhoto(const QString &recordNumber, const QImage &photo)
{
    ProgramFolder::ensureFolder(PhotoFolder);
    return ImageFiles::writeJpeg(photoPath(recordNumber), photo.isNull() ? placeholderPhoto() : photo);
}
