#pragma once

#include <QHash>
#include <QList>
#include <QString>

// The first worksheet of a .xlsx workbook read back as a spreadsheet program
// reads it, as far as the tests look: the cells with their type, text and
// style, the styles' bold font and number format, the frozen pane and the
// column widths. Strings come back decoded, _xHHHH_ escapes included.
struct XlsxSheet
{
    struct Cell
    {
        QString type;  // the cell's t attribute: "s", "inlineStr", "n", "str", "b", "e" or empty
        QString value; // a string cell's text, or the value as written
        int style = 0;
        bool isString() const { return type == u"s" || type == u"inlineStr"; }
    };
    struct Style
    {
        bool bold = false;
        QString numberFormat; // the format code: "@" for text, "General", ...
    };

    // Empty when the file was read; otherwise what went wrong.
    QString error;
    QString name;
    QHash<QString, Cell> cells; // by reference, "A1"
    QList<Style> styles;        // the cell formats, by index
    int frozenRows = 0;         // rows above a frozen pane
    QString paneState;
    QHash<int, double> columnWidths; // in characters, by column from 0
    bool landscape = false;          // printed across the page
    int paperSize = 0;               // the printer's paper code: 9 for A4
    QString printTitles;             // the rows every printed page repeats: "'Sheet'!$1:$1"

    static XlsxSheet read(const QString &path);

    static QString reference(int row, int column); // from 0: (0, 0) is "A1"
    const Cell *cell(int row, int column) const;
    Style style(const Cell &c) const { return styles.value(c.style); }
    // The rows that hold at least one cell, counted from the first to the last.
    int rowCount() const;
    // A column's width in pixels, as the spreadsheet programs draw it.
    int columnPixels(int column) const;
};
