// Text with separators of any content, as the member import reads it: the
// encoding and separator found, every row within the limits, then imported.

#include "sheetfuzz.h"

#include "sheets/csvsheet.h"

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    Fuzz::initialise(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    SheetFuzz::check(Fuzz::writeInput(QStringLiteral("soci.csv"), data, size), CsvSheet::read);
    return 0;
}
