#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

// Pictures on disk: photos of members and of register pages.
namespace ImageFiles {

// No camera makes a still larger than this: 200-megapixel phone sensors give
// 16320 x 12240, 150-megapixel medium-format backs 14204 x 10652, panoramas
// stitched in the camera reach about 30000 pixels across.
inline constexpr int MaxPhotoSide = 30000;
inline constexpr qint64 MaxPhotoPixels = 200'000'000;
// The most one decoded picture, or a JPEG decoder's working memory, may take.
inline constexpr int DecodeBudgetMB = 256;

// Whether a picture of this size can be a photo at all.
bool plausiblePhotoSize(QSize size);

// Reads JPEG, PNG and BMP files, recognised by their content, upright as the
// camera's orientation tag says. A picture larger than `maxSide` on a side is
// decoded reduced to fit (never below one pixel on a side). A null image when
// the file is missing, damaged, of another format, or declares or decodes to
// a size no camera makes; nothing is ever decoded beyond the budget above.
QImage read(const QString &path, int maxSide = 4096);
// The same from the bytes of a picture file.
QImage decode(const QByteArray &bytes, int maxSide = 4096);

// Bounds the JPEG decoder's working memory for the whole process. Called at
// start-up, before any other thread runs, and again (at no cost) by read().
void limitDecoderMemory();

// A JPEG file's bytes; empty for a null image.
QByteArray encodeJpeg(const QImage &image, int quality = 90);

// Writes a JPEG, replacing any earlier file; false when it cannot be written.
bool writeJpeg(const QString &path, const QImage &image, int quality = 90);

// Writes in the format the file's extension names (BMP for ".bmp", JPEG for
// anything else); false when it cannot be written.
bool writeByExtension(const QString &path, const QImage &image);

} // namespace ImageFiles
