#include "documents/archivetable.h"

#include "base/blanks.h"
#include "base/fixedtext.h"
#include "members/memberarchive.h"

#include <array>

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

SheetWriters::Table ArchiveTable::sheet() const
{
    SheetWriters::Table table;
    table.name = QStringLiteral("Archivio Soci");
    for (const Column &c : columns())
        table.columns.append({QString::fromUtf8(c.fileHeader), c.fileWidth, SheetWriters::characterWidth(c.width)});
    table.rows = rowCount();
    table.forEachCell = [this](qsizetype row, const SheetWriters::Cell &cell) {
        forEachCell(row, [&cell](int c, const char *text, int size, const QString *edited) {
            cell(c, QByteArrayView(text, size), edited);
        });
    };
    return table;
}

bool ArchiveTable::writeSpreadsheet(const QString &path, const Progress &progress) const
{
    return SheetWriters::writeHtml(path, sheet(), progress);
}

bool ArchiveTable::writeWorkbook(const QString &path, const Progress &progress) const
{
    return SheetWriters::writeWorkbook(path, sheet(), progress);
}
