#include "base/formats.h"

#include <QLocale>

#include <optional>

namespace Formats {

void applyProcessWide()
{
    // Italian numbers use the comma; the program's texts are all Italian too.
    QLocale italian(QLocale::Italian, QLocale::Italy);
    italian.setNumberOptions(QLocale::OmitGroupSeparator);
    QLocale::setDefault(italian);
}

namespace {

// The user's own date locale, once the system locale has been made Italian.
std::optional<QLocale> &userDateLocale()
{
    static std::optional<QLocale> locale;
    return locale;
}

// The variables that name the locale of each kind of data, and the one
// that names them all.
const char *const kCategories[] = {"LC_NUMERIC", "LC_TIME", "LC_MONETARY", "LC_MEASUREMENT", "LC_MESSAGES"};

} // namespace

ItalianSystemLocale::ItalianSystemLocale()
{
    // As the system reads them: LC_ALL before LC_TIME before LANG.
    QByteArray dates = qgetenv("LC_ALL");
    if (dates.isEmpty())
        dates = qgetenv("LC_TIME");
    if (dates.isEmpty())
        dates = qgetenv("LANG");
    userDateLocale() = QLocale(QString::fromLatin1(dates.split('.').value(0).split('@').value(0)));

    for (const char *name : {"LC_ALL", "LANG"})
        m_before.append({name, qEnvironmentVariableIsSet(name) ? qgetenv(name) : QByteArray()});
    for (const char *name : kCategories)
        m_before.append({name, qEnvironmentVariableIsSet(name) ? qgetenv(name) : QByteArray()});
    // LC_ALL would outrank the Italian categories: what it named for every
    // kind of data (the character set among them) is named by LANG instead.
    if (qEnvironmentVariableIsSet("LC_ALL")) {
        qputenv("LANG", qgetenv("LC_ALL"));
        qunsetenv("LC_ALL");
    }
    for (const char *name : kCategories)
        qputenv(name, "it_IT.UTF-8");
}

ItalianSystemLocale::~ItalianSystemLocale()
{
    (void)QLocale::system(); // read once, now that the environment names Italian
    for (const auto &[name, value] : m_before)
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value);
}

QLocale ItalianSystemLocale::userDates()
{
    return userDateLocale().value_or(QLocale::system());
}

QChar dateSeparator()
{
    // The first character of the user's short date format that is not a
    // letter of the pattern separates its parts.
    const QString pattern = ItalianSystemLocale::userDates().dateFormat(QLocale::ShortFormat);
    for (QChar c : pattern)
        if (!c.isLetter() && !c.isSpace() && c != u'\'')
            return c;
    return u'/';
}

QString shortDate(const QDate &date)
{
    const QChar sep = dateSeparator();
    return QStringLiteral("%1%2%3%4%5")
        .arg(date.day(), 2, 10, QChar(u'0'))
        .arg(sep)
        .arg(date.month(), 2, 10, QChar(u'0'))
        .arg(sep)
        .arg(date.year(), 4, 10, QChar(u'0'));
}

QString count(qint64 n, const QString &one, const QString &many)
{
    return QLocale(QLocale::Italian).toString(n) + u' ' + (n == 1 ? one : many);
}

} // namespace Formats
