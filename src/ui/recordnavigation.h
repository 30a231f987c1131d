#pragma once

#include <QString>

#include <functional>
#include <optional>

// The four moves of a window that shows one record of a file at a time (the
// members archive, a register book): first, last, next, previous. Records
// count from 1; 0 stands for a record on screen that is not in the file yet.
namespace RecordNavigation {

enum class Move { First, Last, Next, Previous };

struct Window
{
    // The number of records; nothing when the file could not be read.
    std::function<std::optional<qint64>()> count;
    // Shows record n.
    std::function<void(qint64 n)> show;
    // The window no longer stands on a record of the file.
    std::function<void()> forget;
    // Said when the file has no record, and when it cannot be read.
    QString emptyText;
    QString errorText;
};

// Makes the move from record `shown`: nothing past either end, nothing back
// from record 1, record 1 from a record not in the file yet.
void go(Move move, qint64 shown, const Window &window);

} // namespace RecordNavigation
