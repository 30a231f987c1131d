#pragma once

#include <QImage>
#include <QString>

// Pictures on disk: photos of members and of register pages.
namespace ImageFiles {

// Reads JPEG, BMP and the other formats Qt knows, upright as the camera's
// orientation tag says. A picture larger than `maxSide` on a side is decoded
// reduced to fit, so a huge photo cannot exhaust memory. A null image when the
// file is missing, damaged or not a picture.
QImage read(const QString &path, int maxSide = 4096);

// Writes a JPEG, replacing any earlier file; false when it cannot be written.
bool writeJpeg(const QString &path, const QImage &image, int quality = 90);

// Writes in the format the file's extension names (BMP for ".bmp", JPEG for
// anything else); false when it cannot be written.
bool writeByExtension(const QString &path, const QImage &image);

} // namespace ImageFiles
