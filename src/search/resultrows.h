#pragma once

#include "members/schedaanagrafica.h"

#include <QString>

#include <array>
#include <memory>
#include <optional>
#include <vector>

// One row of the search window and of the members-to-recontact summary: a
// line per member in fixed columns, and the record it came from.
struct ResultRow
{
    QString text;
    qint64 index; // 0-based record index in the archive
};

class ResultRows;
namespace ResultRowFormat {
void sort(ResultRows &rows);
void sortTogether(ResultRows &first, ResultRows &&second);
} // namespace ResultRowFormat

// The rows of a result list. A search may list every member of a large
// archive, so the texts are kept as the archive stores them, one byte a
// character (Windows-1252), back to back in one buffer; a row's text is
// decoded when it is shown, printed or looked through by the quick find.
class ResultRows
{
public:
    class const_iterator
    {
    public:
        const_iterator(const ResultRows *rows, size_t row) : m_rows(rows), m_row(row) {}
        ResultRow operator*() const { return m_rows->at(m_row); }
        const_iterator &operator++()
        {
            ++m_row;
            return *this;
        }
        bool operator==(const const_iterator &other) const { return m_row == other.m_row; }
        bool operator!=(const const_iterator &other) const { return m_row != other.m_row; }

    private:
        const ResultRows *m_rows;
        size_t m_row;
    };

    size_t size() const { return m_entries.size(); }
    bool empty() const { return m_entries.empty(); }
    QString text(size_t row) const;
    // The row's text as stored, one byte a character in Windows-1252.
    QByteArrayView bytes(size_t row) const { return {m_entries[row].text, m_entries[row].size}; }
    qint64 index(size_t row) const { return m_entries[row].index; }
    ResultRow at(size_t row) const { return {text(row), index(row)}; }
    ResultRow operator[](size_t row) const { return at(row); }
    ResultRow back() const { return at(size() - 1); }
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, size()}; }

    void push_back(const ResultRow &row);
    // The row of a member read from the archive.
    void appendRecord(const char *record, qint64 index);

    struct Entry
    {
        const char *text;
        qint64 size;
        qint64 index;
    };

private:
    friend void ResultRowFormat::sort(ResultRows &rows);
    friend void ResultRowFormat::sortTogether(ResultRows &first, ResultRows &&second);

    // Room for `size` more bytes of text at the end of the last chunk.
    char *room(qsizetype size);

    // The texts, in chunks that never move once written.
    std::vector<std::unique_ptr<char[]>> m_chunks;
    char *m_chunkStart = nullptr;
    char *m_free = nullptr;
    char *m_end = nullptr;
    std::vector<Entry> m_entries;
};

namespace ResultRowFormat {

// Name to 30 characters, "  C.F. " and fiscal code to 16, "  Cel. " and mobile
// to 16, "  Qualifica: " and role to 24, "  Note: " and the whole notes; each
// field trimmed first, then padded with blanks or cut.
QString build(const char *record);

// Sorted by text, letters a-z compared as A-Z and everything else by code;
// rows that compare equal keep the order of their records.
void sort(ResultRows &rows);
// The rows of `second` moved to `first`, and all of them sorted as sort()
// sorts: each list on a thread of its own, then the two merged.
void sortTogether(ResultRows &first, ResultRows &&second);

} // namespace ResultRowFormat

// The ten filters of the search window, in the order of its fields.
inline constexpr std::array<TSchedaAnagrafica::FieldId, 10> SearchFields = {
    TSchedaAnagrafica::fCandidato, TSchedaAnagrafica::fDataNasc, TSchedaAnagrafica::fCittadinanza,
    TSchedaAnagrafica::fLuogoNasc, TSchedaAnagrafica::fCodFisc, TSchedaAnagrafica::fSettore,
    TSchedaAnagrafica::fLingue, TSchedaAnagrafica::fPatente, TSchedaAnagrafica::fCel, TSchedaAnagrafica::fNote,
};
using SearchFilters = std::array<QString, 10>;

namespace MemberSearch {

// A filter is active when it holds more than blanks.
int activeFilters(const SearchFilters &filters);

// Every member in whose fields each active filter occurs, as typed and
// without regard to case; every member when no filter is active. Sorted.
// Nothing when the archive cannot be read.
std::optional<ResultRows> find(const SearchFilters &filters);

// Every member whose call-back field holds anything but "No". Sorted. What was
// read before a failure when the archive cannot be read to the end.
ResultRows toRecontact();

} // namespace MemberSearch
