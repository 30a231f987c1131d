#pragma once

#include "sheets/sheetrows.h"

// An Office Open XML workbook (.xlsx): the first sheet of the workbook, found
// through its relationships; texts from the shared strings or the cells
// themselves; numbers as the cell's format shows them where it matters to a
// register: a date format gives dd/mm/yyyy, a format of zeros ("00000") pads
// the number (the postcode 00184 stored as 184), booleans read VERO and FALSO.
class XlsxSheet
{
public:
    static SpreadsheetFile::Result read(const QString &path, const SpreadsheetFile::RowVisitor &visit,
                                        const SpreadsheetFile::Limits &limits = SpreadsheetFile::Limits());

    // How a number format shows a number: as a date, padded with zeros to
    // `digits`, or as it is.
    struct NumberLook
    {
        enum Kind { Plain, Date, Padded } kind = Plain;
        int digits = 0;
    };
    static NumberLook lookOfFormat(int id, const QString &code);
};
