#include "documents/archivetable.h"

#include "base/blanks.h"
#include "base/fixedtext.h"
#include "base/wholefile.h"
#include "members/memberarchive.h"

#include <xlsxwriter.h>
#include <zip.h>

#include <QFileInfo>
#include <QTemporaryFile>

#include <array>
#include <cstdio>
#include <memory>
#include <string>

using S = TSchedaAnagrafica;

const std::array<ArchiveTable::Column, ArchiveTable::ColumnCount> &ArchiveTable::columns()
{
    static const std::array<Column, ColumnCount> table = {{
        {S::fCandidato, "Cognome e nome", 220, false, "Cognome e nome", 250},
        {S::fDataNasc, "Data nascita", 150, false, "Data nascita", 200},
        {S::fCittadinanza, "Cittadinanza", 200, false, "Cittadinanza", 250},
        {S::fLuogoNasc, "Luogo nascita", 200, true, "Luogo nascita", 280},
        {S::fIndirizzo, "Indirizzo residenza", 250, true, "Indirizzo residenza", 300},
        {S::fCitta, "Città", 220, true, "Città", 280},
        {S::fCap, "CAP", 100, true, "CAP", 180},
        {S::fSettore, "Qualifica", 200, false, "Qualifica", 280},
        {S::fCodFisc, "Codice fiscale", 180, false, "Codice fiscale", 250},
        {S::fPartitaIva, "Partita IVA", 150, true, "Partita IVA", 200},
        {S::fPatente, "Tessera n.", 200, false, "Tessera n.", 250},
        {S::fStudio, "Titolo di studio", 250, false, "Titolo di studio", 400},
        {S::fLingue, "Lingue conosciute", 250, false, "Lingue conosciute", 350},
        {S::fEmail, "E-mail", 220, true, "E-mail", 280},
        {S::fTel, "Tel. casa", 180, false, "Tel. casa", 220},
        {S::fCel, "Tel. cellulare", 180, true, "Tel. cellulare", 220},
        {S::fDocumento, "Documento", 280, false, "Documento", 300},
        {S::fEnteRil, "Ente di rilascio", 200, true, "Ente rilascio", 280},
        {S::fInizioTes, "Data rilascio", 150, true, "Data rilascio", 250},
        {S::fFineTes, "Data scadenza", 150, true, "Data scadenza", 250},
        {S::fEsperienze, "Quota associativa", 350, true, "Quota associativa", 400},
        {S::fCompetenze, "Data ammissione", 200, true, "Data ammissione", 250},
        {S::fDisponibilita, "Data cessazione", 150, true, "Data cessazione", 250},
        {S::fNote, "Note", 350, true, "Note", 400},
        {S::fRicontatta, "Da ricontattare", 120, true, "Da ricontattare", 160},
    }};
    return table;
}

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

double ArchiveTable::characterWidth(int pixels)
{
    // A column n characters wide shows n digits of 7 pixels each (the default
    // font's) and 5 pixels of margin.
    return qMax(0, pixels - 5) / 7.0;
}

template <typename F>
void ArchiveTable::forEachCell(qsizetype row, F &&f) const
{
    const char *lengths = m_arena.data() + m_starts[size_t(row)];
    const char *text = lengths + ColumnCount;
    for (int c = 0; c < ColumnCount; ++c) {
        const int size = static_cast<unsigned char>(lengths[c]);
        const auto edited =
            m_edits.isEmpty() ? m_edits.constEnd() : m_edits.constFind(quint64(row) * ColumnCount + quint64(c));
        f(c, text, size, edited != m_edits.constEnd() ? &*edited : nullptr);
        text += size;
    }
}

bool ArchiveTable::load()
{
    m_arena.clear();
    m_starts.clear();
    const auto count = MemberArchive().count();
    if (count)
        m_starts.reserve(size_t(*count));
    m_complete = MemberArchive().forEach([this](qint64, const char *record) {
        m_starts.push_back(m_arena.size());
        const size_t lengths = m_arena.size();
        m_arena.resize(lengths + ColumnCount);
        for (int c = 0; c < ColumnCount; ++c) {
            const QByteArrayView text = S::storedText(record, columns()[size_t(c)].field);
            m_arena[lengths + size_t(c)] = char(text.size());
            m_arena.insert(m_arena.end(), text.begin(), text.end());
        }
        return true;
    });
    // Records are never taken out of the archive, so a row keeps its member
    // and what was typed into it stays: loading again after an import adds
    // the new rows only.
    m_edits.removeIf([this](const auto &edit) { return qsizetype(edit.key() / ColumnCount) >= rowCount(); });
    return m_complete;
}

QByteArray ArchiveTable::cellBytes(qsizetype row, int column) const
{
    const size_t start = m_starts[size_t(row)];
    size_t at = start + ColumnCount;
    for (int c = 0; c < column; ++c)
        at += static_cast<unsigned char>(m_arena[start + size_t(c)]);
    return QByteArray(m_arena.data() + at, static_cast<unsigned char>(m_arena[start + size_t(column)]));
}

QString ArchiveTable::cell(qsizetype row, int column) const
{
    const auto edited = m_edits.constFind(quint64(row) * ColumnCount + quint64(column));
    if (edited != m_edits.constEnd())
        return *edited;
    const QByteArray bytes = cellBytes(row, column);
    return FixedText::fromWindows1252(bytes.constData(), bytes.size());
}

void ArchiveTable::setCell(qsizetype row, int column, const QString &text)
{
    m_edits.insert(quint64(row) * ColumnCount + quint64(column), text);
}

bool ArchiveTable::writeSpreadsheet(const QString &path, const Progress &progress) const
{
    static const QByteArray head =
        "<html xmlns:o=\"urn:schemas-microsoft-com:office:office\" xmlns:x=\"urn:schemas-microsoft-com:office:excel\" "
        "xmlns=\"http://www.w3.org/TR/REC-html40\"><head>"
        "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\">"
        "<!--[if gte mso 9]><xml><x:ExcelWorkbook><x:ExcelWorksheets><x:ExcelWorksheet>"
        "<x:Name>Archivio Soci</x:Name><x:WorksheetOptions><x:Selected/><x:Panes><x:Pane><x:Number>1</x:Number>"
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
    for (const Column &c : columns())
        out += "<td style=\"text-align: left; font-weight: bold;\" width=" + QByteArray::number(c.fileWidth) + '>'
            + FixedText::toWindows1252(QString::fromUtf8(c.fileHeader)) + "</td>";
    out += "</tr>";
    constexpr qsizetype kFlushAt = 4 << 20;
    for (qsizetype row = 0; row < rowCount(); ++row) {
        out += "<tr>";
        forEachCell(row, [&](int, const char *text, int size, const QString *edited) {
            out += cellStart;
            if (edited) {
                const QByteArray typed = FixedText::toWindows1252(Blanks::trimmed(*edited));
                escapeInto(out, typed.constData(), typed.size());
            } else {
                escapeInto(out, text, size);
            }
            out += "</td>";
        });
        out += "</tr>";
        if (out.size() >= kFlushAt) {
            if (!file.write(out))
                return false;
            out.clear();
        }
        if (progress && !progress(row + 1, rowCount()))
            return false;
    }
    out += "</table></body></html>";
    return file.write(out) && file.commit();
}

bool ArchiveTable::writeWorkbook(const QString &path, const Progress &progress) const
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
    lxw_worksheet *sheet = workbook_add_worksheet(book, "Archivio Soci");
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
        for (int c = 0; c < ColumnCount && written; ++c) {
            const Column &column = columns()[size_t(c)];
            written = worksheet_set_column(sheet, lxw_col_t(c), lxw_col_t(c), characterWidth(column.width), text)
                    == LXW_NO_ERROR
                && worksheet_write_string(sheet, 0, lxw_col_t(c), column.fileHeader, bold) == LXW_NO_ERROR;
        }
    }
    WorkbookText cell;
    for (qsizetype row = 0; row < rowCount() && written; ++row) {
        forEachCell(row, [&](int c, const char *stored, int size, const QString *edited) {
            if (!written)
                return;
            if (edited)
                cell.set(Blanks::trimmed(*edited));
            else
                cell.set(stored, size);
            written = worksheet_write_string(sheet, lxw_row_t(row + 1), lxw_col_t(c), cell.text(), text)
                == LXW_NO_ERROR;
        });
        written = written && (!progress || progress(row + 1, rowCount()));
    }
    // Closing writes the file, and frees the workbook in any case.
    const bool closed = workbook_close(book) == LXW_NO_ERROR;
    return written && closed && workbookIsWhole(temporary.fileName()) && WholeFile::copy(temporary.fileName(), path);
}
