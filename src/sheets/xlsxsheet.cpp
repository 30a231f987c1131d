#include "sheets/xlsxsheet.h"

#include "base/carddate.h"
#include "sheets/sheetxml.h"
#include "sheets/sheetzip.h"

#include <QHash>

#include <vector>

using namespace SpreadsheetFile;

namespace {

constexpr int kMaxRelationships = 10000;
constexpr int kMaxStyles = 100000;

QString folderOf(const QString &part)
{
    const qsizetype slash = part.lastIndexOf(u'/');
    return slash < 0 ? QString() : part.left(slash + 1);
}

// A relationship's target as a part name: absolute from the zip's root, or
// relative to the folder of the part that names it.
QString resolve(const QString &folder, const QString &target)
{
    QStringList parts;
    const QString path = target.startsWith(u'/') ? target.mid(1) : folder + target;
    for (const QString &piece : path.split(u'/', Qt::SkipEmptyParts)) {
        if (piece == QLatin1String(".."))
            parts.removeLast();
        else if (piece != QLatin1String("."))
            parts << piece;
    }
    return parts.join(u'/');
}

QString relationshipsOf(const QString &part)
{
    return folderOf(part) + QStringLiteral("_rels/") + part.mid(folderOf(part).size()) + QStringLiteral(".rels");
}

struct Relationship
{
    QString id, type, target;
};

std::vector<Relationship> relationships(SheetZip &zip, const QString &part)
{
    std::vector<Relationship> list;
    const auto device = zip.part(relationshipsOf(part));
    if (!device)
        return list;
    SheetXml xml(device.get());
    while (xml.next() && list.size() < size_t(kMaxRelationships)) {
        if (xml.isStart() && xml.is(QLatin1StringView("Relationship"))
            && xml.attribute(QLatin1StringView("TargetMode")) != QLatin1String("External"))
            list.push_back({xml.attribute(QLatin1StringView("Id")), xml.attribute(QLatin1StringView("Type")),
                            resolve(folderOf(part), xml.attribute(QLatin1StringView("Target")))});
    }
    return list;
}

QString targetOfType(const std::vector<Relationship> &list, QLatin1StringView typeEnd)
{
    for (const Relationship &r : list)
        if (r.type.endsWith(typeEnd))
            return r.target;
    return QString();
}

// Texts kept one after the other in one buffer: a workbook may hold a
// great many.
class SharedStrings
{
public:
    qsizetype size() const { return qsizetype(m_starts.size()); }
    QString at(qsizetype i) const
    {
        if (i < 0 || i >= size())
            return QString();
        const qsizetype start = m_starts[size_t(i)];
        const qsizetype end = i + 1 < size() ? qsizetype(m_starts[size_t(i) + 1]) : m_text.size();
        return m_text.mid(start, end - start);
    }
    void add(const QString &text)
    {
        m_starts.push_back(quint32(m_text.size()));
        m_text += text;
    }
    qsizetype chars() const { return m_text.size(); }

private:
    QString m_text;
    std::vector<quint32> m_starts;
};

class Reader : ZippedSheetReader
{
public:
    using ZippedSheetReader::ZippedSheetReader;

    Result read()
    {
        if (!m_zip.open())
            return fail();
        QString workbook = targetOfType(relationships(m_zip, QString()), QLatin1StringView("/officeDocument"));
        if (workbook.isEmpty())
            workbook = QStringLiteral("xl/workbook.xml");
        const QString sheetId = readWorkbook(workbook);
        if (sheetId.isNull())
            return fail();
        const auto links = relationships(m_zip, workbook);
        QString sheet;
        for (const Relationship &r : links)
            if (r.id == sheetId)
                sheet = r.target;
        if (sheet.isEmpty())
            return fail();
        const QString styles = targetOfType(links, QLatin1StringView("/styles"));
        if (!styles.isEmpty() && !readStyles(styles))
            return fail();
        const QString strings = targetOfType(links, QLatin1StringView("/sharedStrings"));
        if (!strings.isEmpty() && !readSharedStrings(strings))
            return fail();
        if (!readSheet(sheet))
            return fail();
        return {true, {}, QStringLiteral("cartella di lavoro Excel (.xlsx)")};
    }

private:
    Result fail() const { return failure(m_tooLarge); }

    // The relationship of the first sheet; null when there is none.
    QString readWorkbook(const QString &part)
    {
        const auto device = m_zip.part(part);
        if (!device)
            return QString();
        SheetXml xml(device.get());
        while (xml.next()) {
            if (!xml.isStart())
                continue;
            if (xml.is(QLatin1StringView("workbookPr"))) {
                const QString base = xml.attribute(QLatin1StringView("date1904"));
                m_from1904 = base == QLatin1String("1") || base == QLatin1String("true");
            } else if (xml.is(QLatin1StringView("sheet"))) {
                // r:id, whatever the prefix of the relationships' namespace.
                for (const QXmlStreamAttribute &a : xml.attributes())
                    if (a.name() == QLatin1String("id") && !a.namespaceUri().isEmpty())
                        return a.value().toString();
                return QString();
            }
        }
        return QString();
    }

    bool readStyles(const QString &part)
    {
        const auto device = m_zip.part(part);
        if (!device)
            return !m_zip.tooLarge();
        SheetXml xml(device.get());
        QHash<int, QString> formats;
        bool inCellXfs = false;
        while (xml.next()) {
            if (xml.isStart() && xml.is(QLatin1StringView("numFmt")) && formats.size() < kMaxStyles) {
                formats.insert(xml.attribute(QLatin1StringView("numFmtId")).toInt(),
                               xml.attribute(QLatin1StringView("formatCode")));
            } else if (xml.is(QLatin1StringView("cellXfs"))) {
                inCellXfs = xml.isStart();
            } else if (inCellXfs && xml.isStart() && xml.is(QLatin1StringView("xf"))
                       && m_looks.size() < size_t(kMaxStyles)) {
                const int id = xml.attribute(QLatin1StringView("numFmtId")).toInt();
                m_looks.push_back(XlsxSheet::lookOfFormat(id, formats.value(id)));
            }
        }
        return !xml.failed();
    }

    bool readSharedStrings(const QString &part)
    {
        const auto device = m_zip.part(part);
        if (!device)
            return !m_zip.tooLarge();
        SheetXml xml(device.get());
        QString text;
        bool inText = false;
        while (xml.next()) {
            if (xml.isStart() && xml.is(QLatin1StringView("si"))) {
                text.clear();
            } else if (xml.isStart() && xml.is(QLatin1StringView("rPh"))) {
                xml.skipElement(); // the reading aid of East Asian texts
            } else if (xml.is(QLatin1StringView("t"))) {
                inText = xml.isStart();
            } else if (xml.isText() && inText) {
                if (text.size() < m_limits.cellChars)
                    text += xml.text().left(m_limits.cellChars - text.size());
            } else if (xml.isEnd() && xml.is(QLatin1StringView("si"))) {
                if (m_strings.size() >= m_limits.sharedStrings
                    || m_strings.chars() + text.size() > m_limits.sharedChars) {
                    m_tooLarge = true;
                    return false;
                }
                m_strings.add(text);
            }
        }
        return !xml.failed();
    }

    QString cellText(QStringView type, int style, const QString &value, const QString &inlineText) const
    {
        if (type == QLatin1String("s"))
            return m_strings.at(value.trimmed().toLongLong());
        if (type == QLatin1String("inlineStr"))
            return inlineText;
        if (type == QLatin1String("str") || type == QLatin1String("e"))
            return value;
        if (type == QLatin1String("b"))
            return value.trimmed() == QLatin1String("1") ? QStringLiteral("VERO") : QStringLiteral("FALSO");
        if (type == QLatin1String("d")) {
            const QDate date = QDate::fromString(value.left(10), Qt::ISODate);
            return date.isValid() ? CardDate::text(date) : value;
        }
        bool isNumber = false;
        const double number = value.trimmed().toDouble(&isNumber);
        if (!isNumber)
            return value;
        const XlsxSheet::NumberLook look =
            style >= 0 && size_t(style) < m_looks.size() ? m_looks[size_t(style)] : XlsxSheet::NumberLook();
        if (look.kind == XlsxSheet::NumberLook::Date) {
            if (const auto date = dateFromSerial(number, m_from1904))
                return CardDate::text(*date);
        } else if (look.kind == XlsxSheet::NumberLook::Padded && number >= 0 && number < 1e15
                   && number == qint64(number)) {
            return QString::number(qint64(number)).rightJustified(look.digits, u'0');
        }
        return numberText(number);
    }

    // "BC12" is column 54 (from 0); -1 for a reference without letters, or
    // too far to the right to matter.
    static int columnOf(const QString &reference)
    {
        int column = 0;
        qsizetype i = 0;
        for (; i < reference.size() && reference.at(i).isLetter(); ++i) {
            const char16_t c = reference.at(i).toUpper().unicode();
            if (c < u'A' || c > u'Z' || i >= 3)
                return -1;
            column = column * 26 + (c - u'A' + 1);
        }
        return i == 0 ? -1 : column - 1;
    }

    bool readSheet(const QString &part)
    {
        const auto device = m_zip.part(part);
        if (!device)
            return false;
        SheetXml xml(device.get());
        qint64 number = 0;
        bool inRow = false;
        // The cell being read.
        int column = -1, style = 0;
        QString type, value, inlineText;
        enum { None, Value, Inline } collecting = None;
        bool inCell = false;
        while (!m_sink.over() && xml.next()) {
            if (xml.isStart()) {
                if (xml.is(QLatin1StringView("row"))) {
                    bool ok = false;
                    const qint64 r = xml.attribute(QLatin1StringView("r")).toLongLong(&ok);
                    number = ok && r > number ? r : number + 1;
                    inRow = true;
                    m_cells.clear();
                } else if (inRow && xml.is(QLatin1StringView("c"))) {
                    const QString reference = xml.attribute(QLatin1StringView("r"));
                    column = reference.isEmpty() ? m_cells.nextColumn() : columnOf(reference);
                    type = xml.attribute(QLatin1StringView("t"));
                    style = xml.attribute(QLatin1StringView("s")).toInt();
                    value.clear();
                    inlineText.clear();
                    inCell = true;
                } else if (inCell && xml.is(QLatin1StringView("v"))) {
                    collecting = Value;
                } else if (inCell && xml.is(QLatin1StringView("t"))) {
                    collecting = Inline;
                } else if (xml.is(QLatin1StringView("rPh")) || xml.is(QLatin1StringView("f"))) {
                    xml.skipElement();
                }
            } else if (xml.isText()) {
                QString &target = collecting == Value ? value : inlineText;
                if (collecting != None && target.size() < m_limits.cellChars)
                    target += xml.text().left(m_limits.cellChars - target.size());
            } else if (xml.is(QLatin1StringView("v")) || xml.is(QLatin1StringView("t"))) {
                collecting = None;
            } else if (inCell && xml.is(QLatin1StringView("c"))) {
                inCell = false;
                if (column >= 0)
                    m_cells.set(column, cellText(type, style, value, inlineText));
                else
                    m_cells.skip(1);
            } else if (inRow && xml.is(QLatin1StringView("row"))) {
                inRow = false;
                m_sink.deliver(number, m_cells);
            } else if (xml.is(QLatin1StringView("sheetData"))) {
                break;
            }
        }
        if (m_sink.tooMany())
            return false;
        return m_sink.stopped() || !xml.failed();
    }

    std::vector<XlsxSheet::NumberLook> m_looks;
    SharedStrings m_strings;
    bool m_from1904 = false;
    bool m_tooLarge = false;
};

} // namespace

XlsxSheet::NumberLook XlsxSheet::lookOfFormat(int id, const QString &code)
{
    // The built-in formats that show dates (those from 27 on are the East
    // Asian ones); 18-21 and 45-47 show times only.
    if ((id >= 14 && id <= 17) || id == 22 || (id >= 27 && id <= 36) || (id >= 50 && id <= 58))
        return {NumberLook::Date, 0};
    if (code.isEmpty())
        return {};
    // The part for positive numbers, without quoted texts, [colours and
    // locales], escaped characters and padding.
    QString bare;
    bool quoted = false, bracketed = false;
    const QString first = code.section(u';', 0, 0);
    for (qsizetype i = 0; i < first.size(); ++i) {
        const QChar c = first.at(i);
        if (quoted) {
            quoted = c != u'"';
        } else if (bracketed) {
            bracketed = c != u']';
        } else if (c == u'"') {
            quoted = true;
        } else if (c == u'[') {
            bracketed = true;
        } else if (c == u'\\' || c == u'_' || c == u'*') {
            ++i;
        } else {
            bare += c.toLower();
        }
    }
    if (bare == QLatin1String("general") || bare == QLatin1String("standard") || bare == QLatin1String("@"))
        return {};
    if (bare.size() >= 2 && bare.count(u'0') == bare.size())
        return {NumberLook::Padded, int(bare.size())};
    if (bare.contains(u'd') || bare.contains(u'y')
        || (bare.contains(u'm') && !bare.contains(u'h') && !bare.contains(u's')))
        return {NumberLook::Date, 0};
    return {};
}

Result XlsxSheet::read(const QString &path, const RowVisitor &visit, const Limits &limits)
{
    return Reader(path, visit, limits).read();
}
