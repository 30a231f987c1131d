#pragma once

#include <QString>

#include <optional>

// The access password: kept scrambled, as two capital hexadecimal digits a
// character, in the key Valore of section Accesso of the INI file
// "unins000.dll" in the program folder.
namespace PasswordStore {

inline const QString FileName = QStringLiteral("unins000.dll");
// What the program is installed with.
inline const QString FirstAccessPassword = QStringLiteral("lucernaoctavia");

// Each character as the low 8 bits of its code, at most 255 characters.
QString scramble(const QString &password);
// Nothing when the text is not hexadecimal; a trailing odd digit is ignored.
std::optional<QString> unscramble(const QString &hex);

// A password as it is stored and compared: a-z in capitals, blanks at the
// ends removed.
QString normalised(const QString &typed);

// Whether a new password can be stored at all: no character above code 255,
// at most 255 characters.
bool storable(const QString &password);

// The stored password, unscrambled and trimmed; an empty text when the file
// or the key is missing; nothing when the file cannot be read or the value
// is not hexadecimal.
std::optional<QString> stored();
// Writes the scrambled password as the only change to the file.
bool store(const QString &password);

} // namespace PasswordStore
