#include "base/imagefiles.h"

#include <QFileInfo>
#include <QImageReader>
#include <QSaveFile>

namespace ImageFiles {

QImage read(const QString &path, int maxSide)
{
    QImageReader reader(path);
    reader.setAutoTransform(true);
    const QSize size = reader.size();
    if (size.isValid() && (size.width() > maxSide || size.height() > maxSide))
        reader.setScaledSize(size.scaled(maxSide, maxSide, Qt::KeepAspectRatio));
    return reader.read();
}

namespace {
bool write(const QString &path, const QImage &image, const char *format, int quality)
{
    QSaveFile file(path);
    if (image.isNull() || !file.open(QIODevice::WriteOnly))
        return false;
    if (!image.save(&file, format, quality)) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}
} // namespace

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
