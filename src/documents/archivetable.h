#pragma once

#include "base/progress.h"
#include "members/schedaanagrafica.h"
#include "sheets/sheetwriters.h"

#include <QHash>
#include <QString>

#include <array>
#include <optional>
#include <vector>

// The whole members archive as the export shows and writes it: one row a
// record, in file order, the 25 exported fields trimmed. The texts are kept
// as their Windows-1252 bytes, packed one after the other (a hundred thousand
// members fit in a few tens of megabytes); a cell becomes a string only when
// it is shown. What the user types into a cell is kept beside the records and
// reaches the spreadsheet only, never the archive.
class ArchiveTable
{
public:
    static constexpr int ColumnCount = 25;
    struct Column
    {
        TSchedaAnagrafica::FieldId field;
        const char *header;      // the grid's heading
        int width;               // the grid's width
        bool editable;
        const char *fileHeader;  // the spreadsheet's heading
        int fileWidth;
    };
    static const std::array<Column, ColumnCount> &columns();

    // Reads every record; false when the archive could not be read to the
    // end (the rows read so far stay). What was typed into the rows still
    // there is kept.
    bool load();
    // Whether the last load read the whole archive.
    bool complete() const { return m_complete; }

    qsizetype rowCount() const { return qsizetype(m_starts.size()); }
    QString cell(qsizetype row, int column) const;
    void setCell(qsizetype row, int column, const QString &text);

    // Archivio_Soci.xls and Archivio_Soci.xlsx: the worksheet "Archivio
    // Soci" with the spreadsheet's headings, the .xls with their widths and
    // the workbook with the grid's; what was typed replaces the stored text.
    bool writeSpreadsheet(const QString &path, const Progress &progress = {}) const;
    bool writeWorkbook(const QString &path, const Progress &progress = {}) const;

private:
    SheetWriters::Table sheet() const;
    QByteArray cellBytes(qsizetype row, int column) const;
    // Calls f(column, bytes, size, edited) for each cell of a row in turn:
    // the stored Windows-1252 text, and what the user typed into the cell
    // instead (null when nothing).
    template <typename F>
    void forEachCell(qsizetype row, F &&f) const;

    // Per record: 25 length bytes, then the 25 texts.
    std::vector<char> m_arena;
    std::vector<quint64> m_starts;
    QHash<quint64, QString> m_edits; // row * ColumnCount + column
    bool m_complete = false;
};
