#include "base/imagefiles.h"

#include "base/wholefile.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImageReader>

namespace ImageFiles {

bool plausiblePhotoSize(QSize size)
{
    return size.width() > 0 && size.height() > 0 && size.width() <= MaxPhotoSide && size.height() <= MaxPhotoSide
        && qint64(size.width()) * size.height() <= MaxPhotoPixels;
}

void limitDecoderMemory()
{
    // The JPEG decoder keeps a progressive file's whole coefficient set in
    // memory, sized by the header whatever the data holds; it honours this
    // limit and refuses a file that would need more.
    static const bool limited = [] {
        if (!qEnvironmentVariableIsSet("JPEGMEM"))
            qputenv("JPEGMEM", QByteArray::number(DecodeBudgetMB) + 'M');
        return true;
    }();
    Q_UNUSED(limited)
}

namespace {
QImage readFrom(QImageReader &reader, int maxSide)
{
    limitDecoderMemory();
    reader.setAutoTransform(true);
    reader.setAllocationLimit(DecodeBudgetMB);
    // These decoders check their allocations against the limit; others (GIF
    // among them) size their picture from data the header does not declare.
    static const QList<QByteArray> formats = {"jpeg", "png", "bmp"};
    if (!formats.contains(reader.format()))
        return {};
    const QSize size = reader.size();
    if (size.isValid()) {
        if (!plausiblePhotoSize(size))
            return {};
        if (size.width() > maxSide || size.height() > maxSide)
            reader.setScaledSize(size.scaled(maxSide, maxSide, Qt::KeepAspectRatio).expandedTo(QSize(1, 1)));
    }
    const QImage image = reader.read();
    if (image.isNull() || size.isValid())
        return image;
    // A decoder that could not tell the size beforehand.
    if (!plausiblePhotoSize(image.size()))
        return {};
    if (image.width() > maxSide || image.height() > maxSide)
        return image.scaled(image.size().scaled(maxSide, maxSide, Qt::KeepAspectRatio).expandedTo(QSize(1, 1)),
                            Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return image;
}
} // namespace

QImage read(const QString &path, int maxSide)
{
    // A named pipe or a device would block the reader for good.
    if (!QFileInfo(path).isFile())
        return {};
    QImageReader reader(path);
    return readFrom(reader, maxSide);
}

QImage decode(const QByteArray &bytes, int maxSide)
{
    QBuffer buffer;
    buffer.setData(bytes);
    QImageReader reader(&buffer);
    return readFrom(reader, maxSide);
}

namespace {
bool write(const QString &path, const QImage &image, const char *format, int quality)
{
    WholeFile file(path);
    return !image.isNull() && file.open() && image.save(file.device(), format, quality) && file.commit();
}
} // namespace

QByteArray encodeJpeg(const QImage &image, int quality)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (image.isNull() || !buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "JPEG", quality))
        return {};
    return bytes;
}

bool writeJpeg(const QString &path, const QImage &image, int quality)
{
    return write(path, image, "JPEG", quality);
}

bool writeByExtension(const QString &path, const QImage &image)
{
    const bool bitmap = QFileInfo(path).suffix().compare(QStringLiteral("bmp"), Qt::CaseInsensitive) == 0;
    return write(path, image, bitmap ? "BMP" : "JPEG", 90);
}

} // namespace ImageFiles
