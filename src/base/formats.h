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

} // namespace Formats
