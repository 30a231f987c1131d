#pragma once

#include "members/schedaanagrafica.h"

#include <QString>

#include <array>
#include <optional>
#include <vector>

// The rows of the search window and of the members-to-recontact summary: one
// line per member in fixed columns, each remembering the record it came from.
struct ResultRow
{
    QString text;
    qint64 index; // 0-based record index in the archive
};
using ResultRows = std::vector<ResultRow>;

namespace ResultRowFormat {

// Name to 30 characters, "  C.F. " and fiscal code to 16, "  Cel. " and mobile
// to 16, "  Qualifica: " and role to 24, "  Note: " and the whole notes; each
// field trimmed first, then padded with blanks or cut.
QString build(const char *record);

// Sorted by text, letters a-z compared as A-Z and everything else by code;
// rows that compare equal keep their order.
void sort(ResultRows &rows);

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
