#include "ui/recordnavigation.h"

#include "ui/messages.h"

#include <QtGlobal>

namespace RecordNavigation {

void go(Move move, qint64 shown, const Window &window)
{
    const auto count = window.count();
    if (!count)
        Messages::error(window.errorText);
    if (!count || (move == Move::Previous && shown == 1))
        return;
    if (*count == 0) {
        if (move == Move::Next)
            window.forget();
        Messages::information(window.emptyText);
        return;
    }
    switch (move) {
    case Move::First:
        window.show(1);
        break;
    case Move::Last:
        window.show(*count);
        break;
    case Move::Next:
        if (shown < *count)
            window.show(shown + 1);
        break;
    case Move::Previous:
        window.show(shown == 0 ? 1 : qMin(shown - 1, *count));
        break;
    }
}

} // namespace RecordNavigation
