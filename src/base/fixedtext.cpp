#include "base/fixedtext.h"

#include "base/blanks.h"

#include <array>
#include <cstring>

namespace {

// Bytes 0x80-0x9F of Windows-1252. The five bytes the code page leaves
// undefined stand for the control character of the same code, as on Windows.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char encodeChar(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return char(c);
    for (int i = 0; i < 32; ++i)
        if (kHighControls[i] == c)
            return char(0x80 + i);
    return '?';
}

} // namespace

namespace FixedText {

QByteArray toWindows1252(const QString &text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            bytes.append('?');
            ++i;
            continue;
        }
        bytes.append(encodeChar(c.unicode()));
    }
    return bytes;
}

void decodeInto(const char *bytes, qsizetype size, QChar *out)
{
    // One look-up a byte: searches decode every row of a large archive.
    static const auto table = [] {
        std::array<char16_t, 256> t{};
        for (int b = 0; b < 256; ++b)
            t[size_t(b)] = (b >= 0x80 && b < 0xA0) ? kHighControls[b - 0x80] : char16_t(b);
        return t;
    }();
    for (qsizetype i = 0; i < size; ++i)
        out[i] = QChar(table[static_cast<unsigned char>(bytes[i])]);
}

QString fromWindows1252(const char *bytes, qsizetype size)
{
    QString text(size, Qt::Uninitialized);
    decodeInto(bytes, size, text.data());
    return text;
}

void write(char *field, int capacity, const QString &text)
{
    const QByteArray bytes = toWindows1252(Blanks::trimmed(text)).left(capacity);
    std::memset(field, 0, size_t(capacity) + 1);
    field[0] = char(static_cast<unsigned char>(bytes.size()));
    std::memcpy(field + 1, bytes.constData(), size_t(bytes.size()));
}

QString read(const char *field, int capacity)
{
    const int length = qMin<int>(static_cast<unsigned char>(field[0]), capacity);
    return fromWindows1252(field + 1, length);
}

} // namespace FixedText
