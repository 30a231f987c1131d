#pragma once

#include <QString>

// Blanks are every character with code 0 to 32: spaces and control characters.
namespace Blanks {

// Removes blanks at both ends; nothing inside the text changes.
QString trimmed(const QString &text);

// True when the text holds nothing but blanks (or nothing at all).
bool isBlank(const QString &text);

// Turns a-z into A-Z and changes no other character.
QString upperAscii(const QString &text);

} // namespace Blanks
