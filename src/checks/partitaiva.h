#pragma once

#include <QString>

// True when the number has 11 characters, all digits, and the eleventh is the
// check digit of the first ten.
bool PartitaIvaValida(const QString &number);

// The VAT office of a three-digit office code ("058" is "Roma 1"); empty for a
// code not in the table.
QString UfficioIva(const QString &officeCode);
