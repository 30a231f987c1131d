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

// Tests point the program at a fresh folder; an empty text restores the real one.
void setForTesting(const QString &folder);

} // namespace ProgramFolder
