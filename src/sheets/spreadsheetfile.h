#pragma once

#include "sheets/sheetrows.h"

#include <optional>

// The first sheet of a spreadsheet file as rows of cell texts, handed to a
// visitor one row at a time, so that a file of any size never sits whole in
// memory. The files come from anywhere: whatever sizes a file claims, the
// rows, the columns, the length of a cell and the bytes unpacked from a zip
// are bounded, and a file that cannot be read gives a plain reason.
//
// The formats (each with its own reader): text with separators (.csv, .txt),
// Office Open XML workbooks (.xlsx), OpenDocument spreadsheets (.ods) and the
// HTML table of the program's own export (Archivio_Soci.xls).
namespace SpreadsheetFile {

enum class Format { Csv, Xlsx, Ods, HtmlTable };

// The format by the file's first bytes, whatever its name says; nothing for a
// file that is none of them (an empty file reads as text with no rows).
std::optional<Format> detect(const QString &path, QString *reason = nullptr);

Result read(const QString &path, const RowVisitor &visit, const Limits &limits = Limits());

} // namespace SpreadsheetFile
