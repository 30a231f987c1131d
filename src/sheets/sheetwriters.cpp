#include "sheets/sheetwriters.h"

#include "base/blanks.h"
#include "base/fixedtext.h"
#include "base/wholefile.h"

#include <xlsxwriter.h>
#include <zip.h>

#include <QFileInfo>
#include <QTemporaryFile>

#include <array>
#include <cstdio>
#include <memory>
#include <string>

namespace SheetWriters {

namespace {

void escapeInto(QByteArray &out, const char *text, qsizetype size)
{
    for (qsizetype i = 0; i < size; ++i) {
        switch (text[i]) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        default: out += text[i];
        }
    }
}

// A cell's text as a workbook holds it: UTF-8 XML text, in which a control
// character XML cannot carry is written _xHHHH_, as the spreadsheet programs
// read it back, and the underscore of a typed "_xHHHH_" is written _x005F_ so
// that the text comes back as typed. Tab and line feed stay as they are.
class WorkbookText
{
public:
    const char *text() const { return m_text.c_str(); }

    // Stored text, a byte a character.
    void set(const char *text, int size)
    {
        static const auto utf8 = [] {
            std::array<std::string, 256> table;
            for (int b = 0; b < 256; ++b) {
                const char byte = char(b);
                table[size_t(b)] = escaped(char16_t(b))
                    ? escape(char16_t(b))
                    : FixedText::fromWindows1252(&byte, 1).toStdString();
            }
            return table;
        }();
        m_text.clear();
        for (int i = 0; i < size; ++i) {
            const auto at = [&](int ahead) { return i + ahead < size ? char16_t(text[i + ahead]) : u'\0'; };
            if (text[i] == '_' && looksEscaped(at))
                m_text += escape(u'_');
            else
                m_text += utf8[static_cast<unsigned char>(text[i])];
        }
    }

    // Typed text: any character, not only those of the archive's code page.
    void set(const QString &typed)
    {
        QString out;
        for (qsizetype i = 0; i < typed.size(); ++i) {
            const char16_t c = typed.at(i).unicode();
            const auto at = [&](int ahead) { return i + ahead < typed.size() ? typed.at(i + ahead).unicode() : u'\0'; };
            if (escaped(c) || (c == u'_' && looksEscaped(at)))
                out += QString::fromStdString(escape(c));
            else
                out += QChar(c);
        }
        m_text = out.toStdString();
    }

private:
    static bool escaped(char16_t c) { return (c < 0x20 && c != u'\t' && c != u'\n') || c == 0xFFFE || c == 0xFFFF; }

    static std::string escape(char16_t c)
    {
        char code[8];
        std::snprintf(code, sizeof code, "_x%04X_", unsigned(c));
        return code;
    }

    // Whether the characters from an underscore on read as an escape.
    template <typename At>
    static bool looksEscaped(At at)
    {
        if (at(1) != u'x' || at(6) != u'_')
            return false;
        for (int k = 2; k < 6; ++k) {
            const char16_t c = at(k);
            if (!((c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F')))
                return false;
        }
        return true;
    }

    std::string m_text;
};

// Whether every part of a finished workbook is there to its end. The library
// does not report failed writes of its own temporary files, which a full disk
// would leave cut short: each part must unpack with its checksum right and
// end with the closing tag of its root element.
bool workbookIsWhole(const QString &path)
{
    int error = 0;
    const std::unique_ptr<zip_t, void (*)(zip_t *)> zip(
        zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY | ZIP_CHECKCONS, &error), zip_discard);
    if (!zip)
        return false;
    const zip_int64_t parts = zip_get_num_entries(zip.get(), 0);
    QByteArray buffer(1 << 16, Qt::Uninitialized);
    for (zip_int64_t i = 0; i < parts; ++i) {
        zip_file_t *part = zip_fopen_index(zip.get(), zip_uint64_t(i), 0);
        if (!part)
            return false;
        QByteArray head;
        QByteArray tail;
        zip_int64_t got;
        while ((got = zip_fread(part, buffer.data(), zip_uint64_t(buffer.size()))) > 0) {
            if (head.size() < 512)
                head += buffer.left(qMin<zip_int64_t>(got, 512));
            tail = (tail + buffer.left(got)).right(64);
        }
        // A wrong checksum shows as a failed read at the end.
        if (zip_fclose(part) != 0 || got < 0)
            return false;
        // The root element: the first tag that is neither the declaration
        // nor a comment.
        qsizetype at = 0;
        while ((at = head.indexOf('<', at)) >= 0 && (head.mid(at + 1, 1) == "?" || head.mid(at + 1, 1) == "!"))
            ++at;
        if (at < 0)
            return false;
        qsizetype end = at + 1;
        while (end < head.size() && !QByteArrayView(" \t\r\n/>").contains(head.at(end)))
            ++end;
        if (!tail.trimmed().endsWith("</" + head.mid(at + 1, end - at - 1) + '>'))
            return false;
    }
    return parts > 0;
}

} // namespace

double characterWidth(int pixels)
{
    // A column n characters wide shows n digits of 7 pixels each (the default
    // font's) and 5 pixels of margin.
    return qMax(0, pixels - 5) / 7.0;
}

bool writeHtml(const QString &path, const Table &table, const Progress &progress)
{
    const QByteArray head =
        "<html xmlns:o=\"urn:schemas-microsoft-com:office:office\" xmlns:x=\"urn:schemas-microsoft-com:office:excel\" "
        "xmlns=\"http://www.w3.org/TR/REC-html40\"><head>"
        "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\">"
        "<!--[if gte mso 9]><xml><x:ExcelWorkbook><x:ExcelWorksheets><x:ExcelWorksheet>"
        "<x:Name>" + FixedText::toWindows1252(table.name) + "</x:Name><x:WorksheetOptions><x:Selected/><x:Panes><x:Pane><x:Number>1</x:Number>"
        "<x:ActiveRow>3</x:ActiveRow></x:Pane></x:Panes><x:ProtectContents>False</x:ProtectContents>"
        "<x:ProtectObjects>False</x:ProtectObjects><x:ProtectScenarios>False</x:ProtectScenarios>"
        "</x:WorksheetOptions></x:ExcelWorksheet></x:ExcelWorksheets></x:ExcelWorkbook></xml><![endif]-->"
        "</head><body><table x:str><tr>";
    // Every data cell is marked as text: postcodes and telephones keep their
    // leading zeros, and no member's text is taken for a formula.
    static const QByteArray cellStart =
        "<td style=\"text-align: left; mso-number-format:'\\@';\" sdnum=\"1040;0;@\">";

    WholeFile file(path);
    if (!file.open())
        return false;
    QByteArray out = head;
    for (const Column &c : table.columns)
        out += "<td style=\"text-align: left; font-weight: bold;\" width=" + QByteArray::number(c.htmlWidth) + '>'
            + FixedText::toWindows1252(c.header) + "</td>";
    out += "</tr>";
    constexpr qsizetype kFlushAt = 4 << 20;
    for (qsizetype row = 0; row < table.rows; ++row) {
        out += "<tr>";
        table.forEachCell(row, [&](int, QByteArrayView stored, const QString *typed) {
            out += cellStart;
            if (typed) {
                const QByteArray bytes = FixedText::toWindows1252(Blanks::trimmed(*typed));
                escapeInto(out, bytes.constData(), bytes.size());
            } else {
                escapeInto(out, stored.data(), stored.size());
            }
            out += "</td>";
        });
        out += "</tr>";
        if (out.size() >= kFlushAt) {
            if (!file.write(out))
                return false;
            out.clear();
        }
        if (progress && !progress(row + 1, table.rows))
            return false;
    }
    out += "</table></body></html>";
    return file.write(out) && file.commit();
}

bool writeWorkbook(const QString &path, const Table &table, const Progress &progress)
{
    // The library writes to a path of its own: a temporary file beside the
    // target, on the same disk as its own temporary files, which takes the
    // earlier workbook's place only once it is known whole.
    const QFileInfo target(path);
    QTemporaryFile temporary(target.absolutePath() + QStringLiteral("/~") + target.fileName()
                             + QStringLiteral(".XXXXXX"));
    if (!temporary.open())
        return false;
    temporary.close();
    const QByteArray workbookPath = QFile::encodeName(temporary.fileName());
    QByteArray folder = QFile::encodeName(target.absolutePath());

    // Constant memory: each row goes to disk as it is written, whatever the
    // size of the archive.
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    options.tmpdir = folder.data();
    lxw_workbook *book = workbook_new_opt(workbookPath.constData(), &options);
    if (!book)
        return false;
    const QByteArray name = table.name.toUtf8();
    lxw_worksheet *sheet = workbook_add_worksheet(book, name.constData());
    lxw_format *bold = workbook_add_format(book);
    lxw_format *text = workbook_add_format(book);
    bool written = sheet && bold && text;
    if (written) {
        format_set_bold(bold);
        format_set_num_format(text, "@"); // text: the value as typed
        worksheet_freeze_panes(sheet, 1, 0);
        // Printed on A4, the wide rows go across the page and every page
        // repeats the header row.
        worksheet_set_paper(sheet, 9);
        worksheet_set_landscape(sheet);
        written = worksheet_repeat_rows(sheet, 0, 0) == LXW_NO_ERROR;
        for (qsizetype c = 0; c < table.columns.size() && written; ++c) {
            const Column &column = table.columns.at(c);
            written = worksheet_set_column(sheet, lxw_col_t(c), lxw_col_t(c), column.characters, text) == LXW_NO_ERROR
                && worksheet_write_string(sheet, 0, lxw_col_t(c), column.header.toUtf8().constData(), bold)
                    == LXW_NO_ERROR;
        }
    }
    WorkbookText cell;
    for (qsizetype row = 0; row < table.rows && written; ++row) {
        table.forEachCell(row, [&](int c, QByteArrayView stored, const QString *typed) {
            if (!written)
                return;
            if (typed)
                cell.set(Blanks::trimmed(*typed));
            else
                cell.set(stored.data(), int(stored.size()));
            written = worksheet_write_string(sheet, lxw_row_t(row + 1), lxw_col_t(c), cell.text(), text)
                == LXW_NO_ERROR;
        });
        written = written && (!progress || progress(row + 1, table.rows));
    }
    // Closing writes the file, and frees the workbook in any case.
    const bool closed = workbook_close(book) == LXW_NO_ERROR;
    return written && closed && workbookIsWhole(temporary.fileName()) && WholeFile::copy(temporary.fileName(), path);
}

} // namespace SheetWriters
