// An .xlsx workbook: an input that is a zip is read as it is; any other is
// cut at "\n--\n" into the first sheet, its shared strings and its styles,
// packed into a workbook with the usual relationships, so that the XML
// readers get the mutations rather than the zip's headers.

#include "sheetfuzz.h"

#include "sheets/xlsxsheet.h"

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    Fuzz::initialise(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input = Fuzz::bytes(data, size);
    QString path;
    if (input.startsWith("PK")) {
        path = Fuzz::writeInput(QStringLiteral("soci.xlsx"), data, size);
    } else {
        QList<QByteArray> parts = input.split('\n');
        QByteArray sheet, strings, styles;
        QByteArray *into = &sheet;
        for (const QByteArray &line : parts) {
            if (line == "--" && into != &styles) {
                into = into == &sheet ? &strings : &styles;
                continue;
            }
            *into += line + '\n';
        }
        path = SheetFuzz::zipOf(
            QStringLiteral("soci.xlsx"),
            {{"_rels/.rels",
              "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\"><Relationship "
              "Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument\" "
              "Target=\"xl/workbook.xml\"/></Relationships>"},
             {"xl/workbook.xml",
              "<workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
              "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"><sheets><sheet "
              "name=\"Soci\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>"},
             {"xl/_rels/workbook.xml.rels",
              "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
              "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
              "worksheet\" Target=\"worksheets/sheet1.xml\"/><Relationship Id=\"rId2\" Type=\"http://"
              "schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings\" "
              "Target=\"sharedStrings.xml\"/><Relationship Id=\"rId3\" Type=\"http://schemas.openxmlformats.org/"
              "officeDocument/2006/relationships/styles\" Target=\"/xl/styles.xml\"/></Relationships>"},
             {"xl/worksheets/sheet1.xml", sheet},
             {"xl/sharedStrings.xml", strings},
             {"xl/styles.xml", styles}});
    }
    SheetFuzz::check(path, XlsxSheet::read);
    return 0;
}
