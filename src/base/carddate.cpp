#include "base/carddate.h"

namespace CardDate {

namespace {

template <typename Char>
std::optional<QDate> parse(const Char *text, qsizetype size)
{
    const auto blank = [](Char c) { return c == ' ' || c == '\t'; };
    qsizetype from = 0, to = size;
    while (from < to && blank(text[from]))
        ++from;
    while (to > from && blank(text[to - 1]))
        --to;
    int parts[3] = {0, 0, 0};
    int digits[3] = {0, 0, 0};
    int part = 0;
    Char separator = 0;
    for (qsizetype i = from; i < to; ++i) {
        const Char c = text[i];
        if (c == '/' || c == '.' || c == '-') {
            // The same separator twice: "1/2.1980" is no date.
            if (part == 2 || (separator && c != separator))
                return std::nullopt;
            separator = c;
            ++part;
        } else if (c >= '0' && c <= '9' && digits[part] < 4) {
            parts[part] = parts[part] * 10 + int(c - '0');
            ++digits[part];
        } else {
            return std::nullopt;
        }
    }
    if (part != 2 || digits[0] == 0 || digits[0] > 2 || digits[1] == 0 || digits[1] > 2 || digits[2] != 4)
        return std::nullopt;
    const QDate date(parts[2], parts[1], parts[0]);
    if (!date.isValid())
        return std::nullopt;
    return date;
}

} // namespace

QString text(const QDate &date)
{
    return date.toString(QStringLiteral("dd/MM/yyyy"));
}

std::optional<QDate> read(QStringView text)
{
    return parse(text.utf16(), text.size());
}

std::optional<QDate> read(QByteArrayView text)
{
    return parse(text.data(), text.size());
}

} // namespace CardDate
