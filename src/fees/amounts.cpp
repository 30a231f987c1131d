#include "fees/amounts.h"

#include <QLocale>

namespace Amounts {

Parsed parse(const QString &text)
{
    QString t;
    for (QChar c : text)
        if (!c.isSpace())
            t += c;
    // The currency, before or after: "€", "euro", "EUR".
    for (const QString &currency : {QStringLiteral("€"), QStringLiteral("euro"), QStringLiteral("eur")}) {
        if (t.startsWith(currency, Qt::CaseInsensitive)) {
            t.remove(0, currency.size());
            break;
        }
        if (t.endsWith(currency, Qt::CaseInsensitive)) {
            t.chop(currency.size());
            break;
        }
    }
    if (t.isEmpty())
        return {std::nullopt, Problem::Empty};
    bool negative = false;
    if (t.startsWith(u'-')) {
        negative = true;
        t.remove(0, 1);
    }
    // The decimal mark: the last "," (as Italian writes), or a last "." with
    // one or two digits after it ("30.00"); every other "." groups thousands
    // ("1.250", "1.000.000").
    qsizetype mark = t.lastIndexOf(u',');
    const qsizetype point = t.lastIndexOf(u'.');
    if (point > mark && (mark >= 0 || t.size() - point - 1 <= 2))
        mark = point;
    const QString whole = mark < 0 ? t : t.left(mark);
    const QString decimals = mark < 0 ? QString() : t.mid(mark + 1);
    if (mark >= 0 && (decimals.isEmpty() || decimals.size() > 2))
        return {std::nullopt, Problem::NotAnAmount};
    QString digits;
    for (qsizetype i = 0; i < whole.size(); ++i) {
        const QChar c = whole.at(i);
        if (c.isDigit() && c.unicode() < 128) {
            digits += c;
            continue;
        }
        // A thousands point: after a digit, before groups of three.
        qsizetype after = 0;
        for (qsizetype j = i + 1; j < whole.size() && whole.at(j) != u'.'; ++j)
            ++after;
        if (c != u'.' || i == 0 || after != 3)
            return {std::nullopt, Problem::NotAnAmount};
    }
    for (QChar c : decimals)
        if (!(c.isDigit() && c.unicode() < 128))
            return {std::nullopt, Problem::NotAnAmount};
    if (digits.isEmpty())
        return {std::nullopt, Problem::NotAnAmount};
    if (digits.size() > 9) // past a million euro whatever follows
        return {std::nullopt, negative ? Problem::Negative : Problem::TooLarge};
    const qint64 cents = digits.toLongLong() * 100 + (decimals.isEmpty() ? 0 : decimals.leftJustified(2, u'0').toInt());
    if (negative && cents > 0)
        return {std::nullopt, Problem::Negative};
    if (cents > Largest)
        return {std::nullopt, Problem::TooLarge};
    if (cents == 0)
        return {qint64(0), Problem::Zero};
    return {cents, Problem::None};
}

QString problemText(Problem problem)
{
    switch (problem) {
    case Problem::None: return QString();
    case Problem::Empty: return QStringLiteral("Attenzione: indicare l'importo versato.");
    case Problem::NotAnAmount:
        return QStringLiteral("Attenzione: l'importo non è valido. Scrivere la cifra in euro, per esempio 30 oppure "
                              "30,00.");
    case Problem::Negative: return QStringLiteral("Attenzione: l'importo non può essere negativo.");
    case Problem::Zero: return QStringLiteral("L'importo è zero. Si vuole registrare ugualmente il versamento?");
    case Problem::TooLarge: return QStringLiteral("Attenzione: l'importo non può superare 1.000.000 di euro.");
    }
    return QString();
}

QString figures(qint64 cents)
{
    const QLocale italian(QLocale::Italian);
    return italian.toString(cents / 100) + u',' + QStringLiteral("%1").arg(cents % 100, 2, 10, QChar(u'0'));
}

namespace {

// 1 to 999 in words.
QString hundreds(int n)
{
    static const char *const units[] = {"",         "uno",      "due",         "tre",         "quattro",
                                        "cinque",   "sei",      "sette",       "otto",        "nove",
                                        "dieci",    "undici",   "dodici",      "tredici",     "quattordici",
                                        "quindici", "sedici",   "diciassette", "diciotto",    "diciannove"};
    static const char *const tens[] = {"", "", "venti", "trenta", "quaranta", "cinquanta", "sessanta", "settanta",
                                       "ottanta", "novanta"};
    QString out;
    const int h = n / 100;
    const int rest = n % 100;
    if (h > 0)
        out += (h == 1 ? QString() : QString::fromLatin1(units[h])) + QStringLiteral("cento");
    if (rest == 0)
        return out;
    QString r;
    if (rest < 20) {
        r = QString::fromLatin1(units[rest]);
    } else {
        r = QString::fromLatin1(tens[rest / 10]);
        const int u = rest % 10;
        // "ventuno", "trentotto": the tens lose their last vowel.
        if (u == 1 || u == 8)
            r.chop(1);
        r += QString::fromLatin1(units[u]);
    }
    // "centootto" keeps both o's; "centottanta" drops one.
    if (h > 0 && rest >= 80 && rest < 90)
        out.chop(1);
    out += r;
    return out;
}

} // namespace

QString words(qint64 cents)
{
    const qint64 euro = cents / 100;
    QString text;
    if (euro == 0) {
        text = QStringLiteral("zero");
    } else {
        const int millions = int(euro / 1'000'000);
        const int thousands = int(euro / 1000 % 1000);
        const int rest = int(euro % 1000);
        if (millions > 0)
            text += millions == 1 ? QStringLiteral("unmilione") : hundreds(millions) + QStringLiteral("milioni");
        if (thousands > 0)
            text += thousands == 1 ? QStringLiteral("mille") : hundreds(thousands) + QStringLiteral("mila");
        text += hundreds(rest);
        // "ventitré": a final "tre" of a compound takes the accent.
        if (text.endsWith(QStringLiteral("tre")) && text.size() > 3)
            text = text.left(text.size() - 3) + QStringLiteral("tré");
    }
    return text + u'/' + QStringLiteral("%1").arg(cents % 100, 2, 10, QChar(u'0')) + QStringLiteral(" euro");
}

} // namespace Amounts
