#include "base/imagefiles.h"

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

bool writeJpeg(const QString &path, const QImage &image, int quality)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (!image.save(&file, "JPEG", quality)) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace ImageFiles
