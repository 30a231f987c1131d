#include "checks/codicefiscale.h"

namespace {

// Values of the characters "0" to "Z": digits, the seven signs ":" to "@"
// (worth 0), then the letters.
constexpr int kOdd[43] = {
    1, 0, 5, 7, 9, 13, 15, 17, 19, 21,                // 0-9
    0, 0, 0, 0, 0, 0, 0,                              // : ; < = > ? @
    1, 0, 5, 7, 9, 13, 15, 17, 19, 21, 2, 4, 18, 20,  // A-N
    11, 3, 6, 8, 12, 14, 16, 10, 22, 25, 24, 23,      // O-Z
};
constexpr int kEven[43] = {
    0, 1, 2, 3, 4, 5, 6, 7, 8, 9,
    0, 0, 0, 0, 0, 0, 0,
    0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13,
    14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25,
};

} // namespace

bool CodFiscValido(const QString &code)
{
    if (code.size() != 16)
        return false;
    int sum = 0;
    for (int p = 1; p <= 15; ++p) {
        const int c = code.at(p - 1).unicode();
        if (c < '0' || c > 'Z')
            return false;
        sum += (p % 2 == 1) ? kOdd[c - '0'] : kEven[c - '0'];
    }
    return code.at(15) == QChar(u'A' + sum % 26);
}

namespace FiscalCode {

namespace {

// A digit of the code, also where a letter stands for it.
int codeDigit(QChar c)
{
    static const QString stand = QStringLiteral("LMNPQRSTUV");
    if (c >= u'0' && c <= u'9')
        return c.unicode() - u'0';
    return int(stand.indexOf(c));
}

// The day of the month with 40 added for a woman; -1 when it cannot be read.
int codeDay(const QString &code)
{
    const int d1 = codeDigit(code.at(9)), d2 = codeDigit(code.at(10));
    return d1 < 0 || d2 < 0 ? -1 : d1 * 10 + d2;
}

} // namespace

std::optional<QDate> birthDate(const QString &code, const QDate &reference)
{
    if (!CodFiscValido(code))
        return std::nullopt;
    static const QString months = QStringLiteral("ABCDEHLMPRST");
    const int y1 = codeDigit(code.at(6)), y2 = codeDigit(code.at(7));
    const int month = int(months.indexOf(code.at(8))) + 1;
    const int day = codeDay(code);
    if (y1 < 0 || y2 < 0 || month < 1 || day < 0)
        return std::nullopt;
    const QDate recent(2000 + y1 * 10 + y2, month, day % 40);
    if (recent.isValid() && recent <= reference)
        return recent;
    const QDate earlier(1900 + y1 * 10 + y2, month, day % 40);
    if (!earlier.isValid())
        return std::nullopt;
    return earlier;
}

std::optional<QChar> sex(const QString &code)
{
    if (!CodFiscValido(code))
        return std::nullopt;
    const int day = codeDay(code);
    if (day < 0 || day % 40 == 0 || day % 40 > 31)
        return std::nullopt;
    return day > 40 ? QChar(u'F') : QChar(u'M');
}

} // namespace FiscalCode
