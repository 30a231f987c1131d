// A members archive of any length and content written to both export files:
// each is written, and every cell of the workbook reads back as the grid
// shows it, whatever bytes the archive holds.

#include "fuzzsupport.h"

#include "base/programfolder.h"
#include "documents/archivetable.h"
#include "members/memberarchive.h"
#include "support/xlsxsheet.h"

#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    Fuzz::initialise(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Fuzz::writeInput(MemberArchive::FileName, data, size);
    ArchiveTable table;
    if (!table.load() || table.rowCount() != qsizetype(size) / TSchedaAnagrafica::RecordSize)
        std::abort();
    // What a user types into the grid goes out as typed, too: the first
    // record's note as the second record's postcode.
    if (table.rowCount() > 1)
        table.setCell(1, 6, table.cell(0, 23));

    if (!table.writeSpreadsheet(ProgramFolder::file(QStringLiteral("Archivio_Soci.xls"))))
        std::abort();
    const QString path = ProgramFolder::file(QStringLiteral("Archivio_Soci.xlsx"));
    if (!table.writeWorkbook(path))
        std::abort();
    const XlsxSheet sheet = XlsxSheet::read(path);
    if (!sheet.error.isEmpty() || sheet.rowCount() > table.rowCount() + 1)
        std::abort();
    for (qsizetype row = 0; row < table.rowCount(); ++row) {
        for (int c = 0; c < ArchiveTable::ColumnCount; ++c) {
            const QString expected = table.cell(row, c);
            const XlsxSheet::Cell *cell = sheet.cell(int(row) + 1, c);
            if (expected.isEmpty() ? cell && !cell->value.isEmpty()
                                   : !cell || !cell->isString() || cell->value != expected)
                std::abort();
        }
    }
    return 0;
}
