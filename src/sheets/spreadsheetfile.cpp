#include "sheets/spreadsheetfile.h"

#include "sheets/csvsheet.h"
#include "sheets/htmltablesheet.h"
#include "sheets/odssheet.h"
#include "sheets/sheetzip.h"
#include "sheets/xlsxsheet.h"

#include <QFile>
#include <QFileInfo>

namespace SpreadsheetFile {

std::optional<Format> detect(const QString &path, QString *reason)
{
    const auto fail = [reason](const QString &why) {
        if (reason)
            *reason = why;
        return std::nullopt;
    };
    // A named pipe or a device would keep the program waiting for good.
    const QFileInfo info(path);
    if (info.exists() && !info.isFile())
        return fail(QStringLiteral("Quello scelto non è un file ordinario (è una cartella, un dispositivo o un canale di "
                                   "comunicazione) e non può essere importato."));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("Il file non può essere aperto: accertarsi che esista e di avere il permesso di "
                                   "leggerlo."));
    const QByteArray head = file.read(4096);
    if (head.startsWith("PK\x03\x04")) {
        file.close();
        SheetZip zip(path, Limits());
        if (!zip.open())
            return fail(unreadable());
        if (zip.has(QStringLiteral("content.xml")))
            return Format::Ods;
        if (zip.has(QStringLiteral("xl/workbook.xml")) || zip.has(QStringLiteral("_rels/.rels")))
            return Format::Xlsx;
        return fail(unreadable());
    }
    if (head.startsWith("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1"))
        return fail(QStringLiteral("Il file è nel vecchio formato binario di Excel: aprirlo con il foglio di calcolo, "
                                   "salvarlo come .xlsx, .ods o .csv e importare quel file."));
    if (head.startsWith("\xFF\xFE") || head.startsWith("\xFE\xFF"))
        return Format::Csv; // Unicode text, as Excel saves it
    qsizetype at = head.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    while (at < head.size() && static_cast<unsigned char>(head.at(at)) <= 32)
        ++at;
    const QByteArray start = head.mid(at, 16).toLower();
    if (start.startsWith("<html") || start.startsWith("<!doctype html") || start.startsWith("<table"))
        return Format::HtmlTable;
    // Text has no zero bytes; pictures, documents and other programs' files do.
    if (head.contains('\0') || head.startsWith("%PDF"))
        return fail(unreadable());
    return Format::Csv;
}

Result read(const QString &path, const RowVisitor &visit, const Limits &limits)
{
    QString reason;
    const auto format = detect(path, &reason);
    if (!format)
        return {false, reason, {}};
    switch (*format) {
    case Format::Csv: return CsvSheet::read(path, visit, limits);
    case Format::Xlsx: return XlsxSheet::read(path, visit, limits);
    case Format::Ods: return OdsSheet::read(path, visit, limits);
    case Format::HtmlTable: return HtmlTableSheet::read(path, visit, limits);
    }
    return {false, unreadable(), {}};
}

} // namespace SpreadsheetFile
