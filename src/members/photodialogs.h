#pragma once

#include <QImage>

#include <optional>

class QWidget;

// The photo file dialogs shared by the member card and the capture window.
namespace PhotoDialogs {

// Asks for a JPEG or bitmap file and reads it, reduced to `maxSide` on its
// longer side. Nothing when the user cancelled; a null image when the file
// could not be read.
std::optional<QImage> load(QWidget *parent, int maxSide = 4096);

enum class SaveResult { Cancelled, Saved, Failed };
// Asks for a file name (proposing "Vori.jpg", ".jpg" added when none is typed)
// and writes the picture at its own resolution.
SaveResult save(QWidget *parent, const QImage &image);

} // namespace PhotoDialogs
