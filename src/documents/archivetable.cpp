#include "documents/archivetable.h"

#include "base/blanks.h"
#include "base/fixedtext.h"
#include "base/wholefile.h"
#include "members/memberarchive.h"


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

} // namespace

bool ArchiveTable::load()
{
    m_arena.clear();
    m_starts.clear();
    m_edits.clear();
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

bool ArchiveTable::writeSpreadsheet(const QString &path) const
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
        const char *lengths = m_arena.data() + m_starts[size_t(row)];
        const char *text = lengths + ColumnCount;
        for (int c = 0; c < ColumnCount; ++c) {
            const int size = static_cast<unsigned char>(lengths[c]);
            out += cellStart;
            const auto edited =
                m_edits.isEmpty() ? m_edits.constEnd() : m_edits.constFind(quint64(row) * ColumnCount + quint64(c));
            if (edited != m_edits.constEnd()) {
                const QByteArray typed = FixedText::toWindows1252(Blanks::trimmed(*edited));
                escapeInto(out, typed.constData(), typed.size());
            } else {
                escapeInto(out, text, size);
            }
            text += size;
            out += "</td>";
        }
        out += "</tr>";
        if (out.size() >= kFlushAt) {
            if (!file.write(out))
                return false;
            out.clear();
        }
    }
    out += "</table></body></html>";
    return file.write(out) && file.commit();
}
