#pragma once

#include <QDate>
#include <QString>

#include <optional>

// True when the sixteenth character of an Italian fiscal code (16 characters,
// capitals) is the check character of the first fifteen. Only the check
// character is tested; a character without a value (outside "0"-"Z") makes the
// code wrong.
bool CodFiscValido(const QString &code);

// What a valid fiscal code says of its holder. The day counts 40 more for a
// woman; a letter of LMNPQRSTUV stands for a digit where two people would
// otherwise share a code.
namespace FiscalCode {

// The birth date, in the latest century that does not put it after
// `reference`; nothing for a code that is not valid or an impossible
// date.
std::optional<QDate> birthDate(const QString &code, const QDate &reference);
// 'M' or 'F'; nothing for a code that is not valid or an impossible day.
std::optional<QChar> sex(const QString &code);

} // namespace FiscalCode
