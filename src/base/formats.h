#pragma once

#include <QDate>
#include <QString>

// The process-wide formats: dates as day/month/year with two-digit day and
// month and four-digit year, and the comma as decimal separator.
namespace Formats {

// Made once at start-up: numbers turn into text, and back, with ",".
void applyProcessWide();

// The date separator of the user's locale ("/" on Italian systems).
QChar dateSeparator();

// "dd/mm/yyyy" with the locale's date separator.
QString shortDate(const QDate &date);

// A count with its noun, in the singular for one: "1 socio", "1.234 soci"
// (thousands grouped as in Italian).
QString count(qint64 n, const QString &one, const QString &many);

} // namespace Formats
