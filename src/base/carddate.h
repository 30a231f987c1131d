#pragma once

#include <QByteArrayView>
#include <QDate>
#include <QString>
#include <QStringView>

#include <optional>

// The dates the program keeps in its files: day, month and year, written
// "05/03/2026", and read as they are found typed on a card: day and month of
// one or two digits, a four-digit year, "/", "." or "-" between them, blanks
// around. Anything else (a year alone, two-digit years, words, no such day)
// is no date.
namespace CardDate {

QString text(const QDate &date);

std::optional<QDate> read(QStringView text);
// The same for a field's stored bytes (the date's characters are ASCII).
std::optional<QDate> read(QByteArrayView text);

} // namespace CardDate
