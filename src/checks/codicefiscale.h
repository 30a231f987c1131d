#pragma once

#include <QString>

// True when the sixteenth character of an Italian fiscal code (16 characters,
// capitals) is the check character of the first fifteen. Only the check
// character is tested; a character without a value (outside "0"-"Z") makes the
// code wrong.
bool CodFiscValido(const QString &code);
