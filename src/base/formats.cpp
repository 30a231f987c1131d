#include "base/formats.h"

#include <QLocale>

namespace Formats {

void applyProcessWide()
{
    // Italian numbers use the comma; the program's texts are all Italian too.
    QLocale italian(QLocale::Italian, QLocale::Italy);
    italian.setNumberOptions(QLocale::OmitGroupSeparator);
    QLocale::setDefault(italian);
}

QChar dateSeparator()
{
    // The first character of the system's short date format that is not a
    // letter of the pattern separates its parts.
    const QString pattern = QLocale::system().dateFormat(QLocale::ShortFormat);
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
