// An .ods spreadsheet: an input that is a zip is read as it is; any other is
// packed as the content.xml of one, so that the XML reader gets the
// mutations rather than the zip's headers.

#include "sheetfuzz.h"

#include "sheets/odssheet.h"

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    Fuzz::initialise(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input = Fuzz::bytes(data, size);
    const QString path =
        input.startsWith("PK")
            ? Fuzz::writeInput(QStringLiteral("soci.ods"), data, size)
            : SheetFuzz::zipOf(QStringLiteral("soci.ods"),
                               {{"mimetype", "application/vnd.oasis.opendocument.spreadsheet"}, {"content.xml", input}});
    SheetFuzz::check(path, OdsSheet::read);
    return 0;
}
