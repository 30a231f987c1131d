#pragma once

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QLocale>
#include <QString>

#include <utility>

// The process-wide formats: dates as day/month/year with two-digit day and
// month and four-digit year, and the comma as decimal separator.
namespace Formats {

// Made once at start-up: numbers turn into text, and back, with ",".
void applyProcessWide();

// The date separator of the user's locale ("/" on Italian systems).
QChar dateSeparator();

// Qt's own dialogs (open and save, print) write dates, sizes and numbers in
// the system locale, which Qt reads from the environment once, while the
// application object is made. Made just before it, this makes the system
// locale Italian whatever the desktop's language; gone (just after), it puts
// the environment back, so that the programs opened from here keep the
// user's. The date separator stays the user's.
class ItalianSystemLocale
{
public:
    ItalianSystemLocale();
    ~ItalianSystemLocale();
    ItalianSystemLocale(const ItalianSystemLocale &) = delete;
    ItalianSystemLocale &operator=(const ItalianSystemLocale &) = delete;

    // The locale the user's dates follow, as the environment names it.
    static QLocale userDates();

private:
    QList<std::pair<const char *, QByteArray>> m_before; // null: was not set
};

// "dd/mm/yyyy" with the locale's date separator.
QString shortDate(const QDate &date);

// A count with its noun, in the singular for one: "1 socio", "1.234 soci"
// (thousands grouped as in Italian).
QString count(qint64 n, const QString &one, const QString &many);

} // namespace Formats
