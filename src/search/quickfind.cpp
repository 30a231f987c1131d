#include "search/quickfind.h"

#include "base/fixedtext.h"

#include <array>

int QuickFind::next(const ResultRows &rows, int selected, const QString &text)
{
    const int count = int(rows.size());
    if (selected < 0 || selected >= count)
        selected = 0;
    const QString search = text.toLower();
    // A new text is looked for from the first row, that row included; the
    // same text again moves on from the row after the selected one.
    const bool again = search == m_last;
    m_last = search;
    if (search.isEmpty())
        return selected;
    const int start = again ? selected + 1 : 0;
    // Each row is decoded and lowered in one pass from its stored bytes into
    // the same buffer; every character of the code page lowers to one.
    static const std::array<QChar, 256> lowered = [] {
        std::array<QChar, 256> table;
        for (int b = 0; b < 256; ++b) {
            const char byte = char(b);
            table[size_t(b)] = FixedText::fromWindows1252(&byte, 1).toLower().at(0);
        }
        return table;
    }();
    QString row;
    for (int step = 0; step < count; ++step) {
        const int at = (start + step) % count;
        const QByteArrayView bytes = rows.bytes(size_t(at));
        row.resize(bytes.size());
        QChar *out = row.data();
        for (const char byte : bytes)
            *out++ = lowered[static_cast<unsigned char>(byte)];
        if (row.contains(search))
            return at;
    }
    return selected;
}
