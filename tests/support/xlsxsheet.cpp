#include "support/xlsxsheet.h"

#include <zip.h>

#include <QFile>

#include <QRegularExpression>
#include <QXmlStreamReader>

#include <cmath>
#include <memory>

namespace {

using Zip = std::unique_ptr<zip_t, void (*)(zip_t *)>;

// A part of the workbook, or an empty array with `found` false when it is
// missing or does not unpack with the right checksum.
QByteArray part(const Zip &zip, const char *name, bool *found = nullptr)
{
    if (found)
        *found = false;
    zip_file_t *file = zip_fopen(zip.get(), name, 0);
    if (!file)
        return QByteArray();
    // Far more than any workbook of the tests, and bounded whatever the
    // file claims.
    QByteArray bytes;
    QByteArray buffer(1 << 16, Qt::Uninitialized);
    zip_int64_t got = 0;
    while (bytes.size() < (256 << 20) && (got = zip_fread(file, buffer.data(), zip_uint64_t(buffer.size()))) > 0)
        bytes += buffer.left(got);
    const bool whole = zip_fclose(file) == 0 && got == 0;
    if (found)
        *found = whole;
    return bytes;
}

// _xHHHH_ stands for the character of that code, read from left to right.
QString unescaped(const QString &text)
{
    static const QRegularExpression escape(QStringLiteral("_x([0-9A-Fa-f]{4})_"));
    QString out;
    qsizetype from = 0;
    for (auto it = escape.globalMatch(text); it.hasNext();) {
        const auto match = it.next();
        out += QStringView(text).mid(from, match.capturedStart() - from);
        out += QChar(char16_t(match.captured(1).toUShort(nullptr, 16)));
        from = match.capturedEnd();
    }
    return out + text.mid(from);
}

// The text of an <si> or <is> element: its <t>, or the <t> of each run.
QString stringItem(QXmlStreamReader &xml)
{
    const QString element = xml.name().toString();
    QString text;
    while (xml.readNext() != QXmlStreamReader::Invalid) {
        if (xml.isEndElement() && xml.name() == element)
            break;
        if (xml.isStartElement() && xml.name() == u"t")
            text += xml.readElementText();
        else if (xml.isStartElement() && (xml.name() == u"rPh" || xml.name() == u"phoneticPr"))
            xml.skipCurrentElement();
    }
    return unescaped(text);
}

int columnOf(QStringView reference)
{
    int column = 0;
    for (QChar c : reference) {
        if (!c.isUpper())
            break;
        column = column * 26 + (c.unicode() - 'A' + 1);
    }
    return column - 1;
}

const QHash<int, QString> &builtInFormats()
{
    static const QHash<int, QString> formats = {{0, QStringLiteral("General")}, {1, QStringLiteral("0")},
                                                {2, QStringLiteral("0.00")},    {14, QStringLiteral("mm-dd-yy")},
                                                {49, QStringLiteral("@")}};
    return formats;
}

} // namespace

QString XlsxSheet::reference(int row, int column)
{
    QString letters;
    for (int c = column + 1; c > 0; c = (c - 1) / 26)
        letters.prepend(QChar(u'A' + (c - 1) % 26));
    return letters + QString::number(row + 1);
}

const XlsxSheet::Cell *XlsxSheet::cell(int row, int column) const
{
    const auto it = cells.constFind(reference(row, column));
    return it == cells.constEnd() ? nullptr : &*it;
}

int XlsxSheet::rowCount() const
{
    int rows = 0;
    for (auto it = cells.constBegin(); it != cells.constEnd(); ++it) {
        const qsizetype digits = it.key().indexOf(QRegularExpression(QStringLiteral("[0-9]")));
        rows = qMax(rows, QStringView(it.key()).mid(digits).toInt());
    }
    return rows;
}

int XlsxSheet::columnPixels(int column) const
{
    // The spreadsheet programs' rounding for a font whose digits are 7 pixels wide.
    return int(std::trunc((256 * columnWidths.value(column) + std::trunc(128.0 / 7)) / 256 * 7));
}

XlsxSheet XlsxSheet::read(const QString &path)
{
    XlsxSheet sheet;
    int zipError = 0;
    const Zip zip(zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY | ZIP_CHECKCONS, &zipError), zip_discard);
    if (!zip) {
        sheet.error = QStringLiteral("not a zip file");
        return sheet;
    }
    bool found = false;

    // The first sheet's name.
    QXmlStreamReader workbook(part(zip, "xl/workbook.xml", &found));
    while (found && !workbook.atEnd()) {
        if (workbook.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (workbook.name() == u"sheet" && sheet.name.isEmpty())
            sheet.name = workbook.attributes().value(QStringLiteral("name")).toString();
        else if (workbook.name() == u"definedName"
                 && workbook.attributes().value(QStringLiteral("name")) == u"_xlnm.Print_Titles")
            sheet.printTitles = workbook.readElementText();
    }
    if (!found || sheet.name.isEmpty()) {
        sheet.error = QStringLiteral("no sheet in xl/workbook.xml");
        return sheet;
    }

    QStringList shared;
    const QByteArray sharedBytes = part(zip, "xl/sharedStrings.xml", &found);
    if (found) {
        QXmlStreamReader xml(sharedBytes);
        while (!xml.atEnd())
            if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"si")
                shared << stringItem(xml);
        if (xml.hasError()) {
            sheet.error = QStringLiteral("xl/sharedStrings.xml: ") + xml.errorString();
            return sheet;
        }
    }

    {
        QXmlStreamReader xml(part(zip, "xl/styles.xml", &found));
        QHash<int, QString> formats = builtInFormats();
        QList<bool> boldFonts;
        QString section;
        while (found && !xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement)
                continue;
            const auto a = xml.attributes();
            if (xml.name() == u"numFmt") {
                formats.insert(a.value(QStringLiteral("numFmtId")).toInt(),
                               a.value(QStringLiteral("formatCode")).toString());
            } else if (xml.name() == u"fonts" || xml.name() == u"cellXfs" || xml.name() == u"cellStyleXfs") {
                section = xml.name().toString();
            } else if (xml.name() == u"font" && section == u"fonts") {
                boldFonts << false;
            } else if (xml.name() == u"b" && section == u"fonts" && !boldFonts.isEmpty()) {
                boldFonts.last() = a.value(QStringLiteral("val")) != u"0" && a.value(QStringLiteral("val")) != u"false";
            } else if (xml.name() == u"xf" && section == u"cellXfs") {
                sheet.styles << Style{boldFonts.value(a.value(QStringLiteral("fontId")).toInt()),
                                      formats.value(a.value(QStringLiteral("numFmtId")).toInt(),
                                                    QStringLiteral("?"))};
            }
        }
        if (!found || xml.hasError()) {
            sheet.error = QStringLiteral("xl/styles.xml: ") + xml.errorString();
            return sheet;
        }
    }

    QXmlStreamReader xml(part(zip, "xl/worksheets/sheet1.xml", &found));
    Cell *current = nullptr;
    while (found && !xml.atEnd()) {
        const auto token = xml.readNext();
        if (token == QXmlStreamReader::EndElement && xml.name() == u"c") {
            current = nullptr;
            continue;
        }
        if (token != QXmlStreamReader::StartElement)
            continue;
        const auto a = xml.attributes();
        if (xml.name() == u"pageSetup") {
            sheet.landscape = a.value(QStringLiteral("orientation")) == u"landscape";
            sheet.paperSize = a.value(QStringLiteral("paperSize")).toInt();
        } else if (xml.name() == u"pane") {
            sheet.frozenRows = a.value(QStringLiteral("ySplit")).toInt();
            sheet.paneState = a.value(QStringLiteral("state")).toString();
        } else if (xml.name() == u"col") {
            const int last = qMin(a.value(QStringLiteral("max")).toInt(), 16384); // the widest sheet
            for (int c = a.value(QStringLiteral("min")).toInt(); c <= last; ++c)
                sheet.columnWidths.insert(c - 1, a.value(QStringLiteral("width")).toDouble());
        } else if (xml.name() == u"c") {
            const QString ref = a.value(QStringLiteral("r")).toString();
            current = &sheet.cells[ref];
            current->type = a.value(QStringLiteral("t")).toString();
            current->style = a.value(QStringLiteral("s")).toInt();
            if (columnOf(ref) < 0)
                sheet.error = QStringLiteral("a cell without a reference");
        } else if (current && xml.name() == u"v") {
            const QString v = xml.readElementText();
            current->value = current->type == u"s" ? shared.value(v.toInt()) : v;
        } else if (current && xml.name() == u"is") {
            current->value = stringItem(xml);
        }
    }
    if (!found || xml.hasError())
        sheet.error = QStringLiteral("xl/worksheets/sheet1.xml: ") + xml.errorString();
    return sheet;
}
