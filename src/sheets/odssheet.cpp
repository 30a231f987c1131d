#include "sheets/odssheet.h"

#include "base/carddate.h"
#include "sheets/sheetxml.h"
#include "sheets/sheetzip.h"

#include <limits>

using namespace SpreadsheetFile;

namespace {

qint64 repeatCount(const QString &text)
{
    bool ok = false;
    const qint64 n = text.toLongLong(&ok);
    return ok && n > 0 ? n : 1;
}

class Reader : ZippedSheetReader
{
public:
    using ZippedSheetReader::ZippedSheetReader;

    Result read()
    {
        if (!m_zip.open())
            return failure();
        const auto device = m_zip.part(QStringLiteral("content.xml"));
        if (!device)
            return failure();
        SheetXml xml(device.get());
        if (!readFirstTable(xml) || m_sink.tooMany() || m_zip.tooLarge())
            return failure();
        return {true, {}, QStringLiteral("foglio di calcolo OpenDocument (.ods)")};
    }

private:
    bool readFirstTable(SheetXml &xml)
    {
        while (xml.next()) {
            if (xml.isStart() && xml.is(QLatin1StringView("table")))
                return readTable(xml);
        }
        return !xml.failed(); // a document without tables has no rows
    }

    bool readTable(SheetXml &xml)
    {
        const int tableDepth = xml.depth();
        qint64 number = 0;
        while (!m_sink.over() && xml.next()) {
            if (xml.isEnd() && xml.depth() < tableDepth)
                return true;
            if (!xml.isStart())
                continue;
            if (xml.is(QLatin1StringView("table-row"))) {
                const qint64 times = repeatCount(xml.attribute(QLatin1StringView("number-rows-repeated")));
                if (!readRow(xml))
                    return false;
                // Empty rows are only counted, however many they claim to be.
                m_sink.deliverRepeated(number + 1, times, m_cells);
                number = number > std::numeric_limits<qint64>::max() - times ? number : number + times;
            } else if (xml.is(QLatin1StringView("table-columns")) || xml.is(QLatin1StringView("table-column"))
                       || xml.is(QLatin1StringView("shapes")) || xml.is(QLatin1StringView("named-expressions"))) {
                xml.skipElement();
            }
        }
        return m_sink.over() || !xml.failed();
    }

    bool readRow(SheetXml &xml)
    {
        m_cells.clear();
        const int rowDepth = xml.depth();
        while (xml.next()) {
            if (xml.isEnd() && xml.depth() < rowDepth)
                return true;
            if (xml.isStart()
                && (xml.is(QLatin1StringView("table-cell")) || xml.is(QLatin1StringView("covered-table-cell")))) {
                const qint64 times = repeatCount(xml.attribute(QLatin1StringView("number-columns-repeated")));
                const QString text = readCell(xml);
                if (text.isEmpty()) {
                    m_cells.skip(times);
                } else {
                    qint64 placed = 0;
                    for (; placed < times && m_cells.nextColumn() < m_limits.columns; ++placed)
                        m_cells.append(text);
                    m_cells.skip(times - placed); // past the limit, the rest are left out
                }
            }
        }
        return false;
    }

    // The cell's text as the sheet shows it, or as its value says.
    QString readCell(SheetXml &xml)
    {
        const QString type = xml.attribute(QLatin1StringView("value-type"));
        const QString value = xml.attribute(QLatin1StringView("value"));
        const QString dateValue = xml.attribute(QLatin1StringView("date-value"));
        const int cellDepth = xml.depth();
        QString shown;
        int paragraphs = 0;
        int paragraphDepth = 0; // inside a text:p while deeper than this
        const auto add = [&](QStringView piece) {
            if (shown.size() < m_limits.cellChars)
                shown += piece.left(m_limits.cellChars - shown.size());
        };
        while (xml.next()) {
            if (xml.isEnd()) {
                if (xml.depth() < cellDepth)
                    break;
                if (xml.depth() < paragraphDepth)
                    paragraphDepth = 0;
            } else if (xml.isStart()) {
                if (xml.is(QLatin1StringView("annotation"))) {
                    xml.skipElement(); // a comment on the cell is not its content
                } else if (xml.is(QLatin1StringView("p")) && paragraphDepth == 0) {
                    if (paragraphs++ > 0)
                        add(u"\n");
                    paragraphDepth = xml.depth();
                } else if (paragraphDepth == 0) {
                    continue;
                } else if (xml.is(QLatin1StringView("s"))) {
                    const qint64 spaces = qMin<qint64>(repeatCount(xml.attribute(QLatin1StringView("c"))),
                                                       m_limits.cellChars);
                    add(QString(qsizetype(spaces), u' '));
                } else if (xml.is(QLatin1StringView("tab"))) {
                    add(u"\t");
                } else if (xml.is(QLatin1StringView("line-break"))) {
                    add(u"\n");
                }
            } else if (paragraphDepth > 0) {
                add(xml.text());
            }
        }
        if (type == QLatin1String("date")) {
            const QDate date = QDate::fromString(dateValue.left(10), Qt::ISODate);
            if (date.isValid())
                return CardDate::text(date);
        } else if (type == QLatin1String("float")) {
            bool ok = false;
            const double number = value.toDouble(&ok);
            if (ok) {
                // Plain digits as shown keep their leading zeros; anything
                // else shown (a rounded or scientific figure) gives way to the value.
                bool digits = !shown.isEmpty();
                for (QChar c : shown)
                    digits = digits && c.isDigit() && c.unicode() < 128;
                bool same = false;
                if (digits && shown.toDouble(&same) == number && same)
                    return shown;
                return numberText(number);
            }
        }
        return shown;
    }

};

} // namespace

Result OdsSheet::read(const QString &path, const RowVisitor &visit, const Limits &limits)
{
    return Reader(path, visit, limits).read();
}
