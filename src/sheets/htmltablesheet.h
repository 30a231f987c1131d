#pragma once

#include "sheets/sheetrows.h"

// The HTML table that spreadsheet programs open as a sheet, as the program's
// own export writes it (Archivio_Soci.xls): one line of Windows-1252 (or of
// the charset its meta line names), the first table's rows and cells. The
// data cells the current export writes are marked as text and have &, < and
// > escaped; the cells of older exports hold their texts as typed, "<" and
// all, up to the cell's end tag.
class HtmlTableSheet
{
public:
    static SpreadsheetFile::Result read(const QString &path, const SpreadsheetFile::RowVisitor &visit,
                                        const SpreadsheetFile::Limits &limits = SpreadsheetFile::Limits());

    // Replaces the character references (&amp; &lt; &gt; &quot; &apos;
    // &nbsp; &#NNN; &#xHH;) with their characters.
    static QString unescaped(const QString &text);
};
