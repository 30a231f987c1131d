#include "search/quickfind.h"

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
    for (int step = 0; step < count; ++step) {
        const int row = (start + step) % count;
        if (rows.text(size_t(row)).toLower().contains(search))
            return row;
    }
    return selected;
}
