#pragma once

#include <QByteArray>
#include <QString>

// Length-prefixed text fields of the record files: one length byte n, then
// `capacity` bytes of which the first n hold the text in Windows-1252.
namespace FixedText {

// Windows-1252, with "?" for every character the code page cannot hold
// (a character outside the Basic Multilingual Plane becomes a single "?").
QByteArray toWindows1252(const QString &text);
QString fromWindows1252(const char *bytes, qsizetype size);
// Decodes into room for `size` characters.
void decodeInto(const char *bytes, qsizetype size, QChar *out);

// Writes a field of capacity+1 bytes at `field`: the text without blanks at its
// ends, encoded and cut to the capacity; the unused bytes are zeroed.
void write(char *field, int capacity, const QString &text);

// Reads a field; a length byte larger than the capacity is clamped to it.
QString read(const char *field, int capacity);

} // namespace FixedText
