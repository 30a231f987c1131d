#pragma once

#include "sheets/sheetrows.h"

// Text with separators, as spreadsheet programs save it: quotes around a cell
// that holds a separator, a quote or a line break. Italian programs write ";"
// and Windows-1252; others "," or tabs and UTF-8, with or without its mark,
// or (Excel's "Unicode text") UTF-16 with tabs.
class CsvSheet
{
public:
    enum class Encoding { Utf8, Utf16LE, Utf16BE, Windows1252 };
    struct Dialect
    {
        Encoding encoding = Encoding::Utf8;
        char separator = ';';
        int markBytes = 0; // the byte-order mark the text starts with
    };

    // Reads the file through once: the mark says the encoding; without one,
    // text that is valid UTF-8 throughout is UTF-8, anything else
    // Windows-1252. The separator is the most frequent of ";" "," and tab
    // outside quotes in the first row that has any (";" when none has).
    static std::optional<Dialect> dialect(const QString &path);
    static QString describe(const Dialect &dialect);

    static SpreadsheetFile::Result read(const QString &path, const SpreadsheetFile::RowVisitor &visit,
                                        const SpreadsheetFile::Limits &limits = SpreadsheetFile::Limits());
};
