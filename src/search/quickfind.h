#pragma once

#include "search/resultrows.h"

// The quick find of the result lists: the first row holding the text, and
// with the same text again the next one, wrapping round to the first.
class QuickFind
{
public:
    void reset() { m_last.clear(); }

    // The row to select, starting from `selected` (-1 for none); the same row
    // when nothing matches. The list must not be empty.
    int next(const ResultRows &rows, int selected, const QString &text);

private:
    QString m_last;
};
