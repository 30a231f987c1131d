#pragma once

#include "sheets/sheetrows.h"

// An OpenDocument spreadsheet (.ods): the first table of content.xml. A cell
// gives the text it shows (text:p, with its spaces, tabs and line breaks),
// a date cell dd/mm/yyyy, a number its digits as shown when they are plain
// digits (the padded postcode 00184) and its value otherwise. Rows and cells
// repeated by a count are repeated up to the limits; empty ones cost nothing
// however many they claim to be.
class OdsSheet
{
public:
    static SpreadsheetFile::Result read(const QString &path, const SpreadsheetFile::RowVisitor &visit,
                                        const SpreadsheetFile::Limits &limits = SpreadsheetFile::Limits());
};
