// An HTML table of any content, as the program's own Archivio_Soci.xls is
// read back: every row within the limits, then imported.

#include "sheetfuzz.h"

#include "sheets/htmltablesheet.h"

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    Fuzz::initialise(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    SheetFuzz::check(Fuzz::writeInput(QStringLiteral("Archivio_Soci.xls"), data, size), HtmlTableSheet::read);
    const QString text = QString::fromLatin1(reinterpret_cast<const char *>(data), qsizetype(size));
    if (HtmlTableSheet::unescaped(text).size() > text.size())
        std::abort();
    return 0;
}
