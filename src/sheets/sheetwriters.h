#pragma once

#include "base/progress.h"

#include <QByteArrayView>
#include <QList>
#include <QString>

#include <functional>

// The two spreadsheet files an export writes, for any table of text cells:
// Windows-1252 HTML that spreadsheet programs open as a worksheet (.xls), and
// an Office Open XML workbook (.xlsx). Both are written whole or not at all:
// `progress` learns the rows written so far and may stop the writing, which
// leaves the earlier file as it was (the answer is then false).
namespace SheetWriters {

struct Column
{
    QString header;
    int htmlWidth;     // the width attribute of the HTML heading
    double characters; // the workbook column's width, in characters of its default font
};

// One cell: its stored Windows-1252 text, or (when not null) what the user
// typed instead, written without its surrounding blanks.
using Cell = std::function<void(int column, QByteArrayView stored, const QString *typed)>;

struct Table
{
    QString name; // of the worksheet
    QList<Column> columns;
    qsizetype rows = 0;
    // Calls `cell` for each cell of `row`, in column order.
    std::function<void(qsizetype row, const Cell &cell)> forEachCell;
};

// One line of HTML: the header row bold with the columns' widths, every data
// cell marked as text (leading zeros kept, nothing taken for a formula) and
// its &, < and > escaped.
bool writeHtml(const QString &path, const Table &table, const Progress &progress = {});
// A workbook of one worksheet: header row bold and frozen and repeated on
// every printed page, landscape A4, the columns' widths, and every data cell
// a text cell holding the value exactly as typed (never a number, a date or
// a formula). Rows go to disk as they are written, whatever the table's size.
bool writeWorkbook(const QString &path, const Table &table, const Progress &progress = {});

// The width of a workbook column, in characters of the default font, that
// shows as many pixels as a grid column.
double characterWidth(int pixels);

} // namespace SheetWriters
