#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

// What every target needs: an application object for Qt's plugins, and a
// program folder of its own where the input is written as a file.
namespace Fuzz {

// Starts an offscreen application once, and points the program folder at a
// fresh temporary folder.
void initialise(int *argc, char ***argv);

// Writes the input as `name` in the program folder; returns the full path.
QString writeInput(const QString &name, const uint8_t *data, size_t size);

inline QByteArray bytes(const uint8_t *data, size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
}

} // namespace Fuzz
