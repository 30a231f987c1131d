#pragma once

#include <QString>

// The folder that holds the executable: every file of the program lives in it
// or below it, so that copying the folder moves or backs up everything.
namespace ProgramFolder {

// The folder with a trailing native separator.
QString path();

// path() followed by a relative name; '/' in the name becomes the native separator.
QString file(const QString &relativeName);

// Makes sure a sub-folder (and any missing parent) exists; returns whether it does.
bool ensureFolder(const QString &relativeName);

// Whether a name makes a file directly in a folder of the program on every
// system: no path separator or other character a file name cannot hold, no
// final dot or blank, no device name (with or without an extension), and at
// most 255 bytes as the file system stores it.
bool portableFileName(const QString &name);

// Tests point the program at a fresh folder; an empty text restores the real one.
void setForTesting(const QString &folder);

} // namespace ProgramFolder
