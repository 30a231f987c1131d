#include "search/resultrows.h"

#include "base/blanks.h"
#include "members/memberarchive.h"

#include <algorithm>

using S = TSchedaAnagrafica;

namespace ResultRowFormat {

namespace {
QString column(const QString &text, int width)
{
    return Blanks::trimmed(text).leftJustified(width, u' ', true);
}

QString sortKey(const QString &text)
{
    return Blanks::upperAscii(text);
}
} // namespace

QString build(const QString &candidato, const QString &codFisc, const QString &cel, const QString &settore,
              const QString &note)
{
    return column(candidato, 30) + QStringLiteral("  C.F. ") + column(codFisc, 16) + QStringLiteral("  Cel. ")
        + column(cel, 16) + QStringLiteral("  Qualifica: ") + column(settore, 24) + QStringLiteral("  Note: ")
        + Blanks::trimmed(note);
}

QString build(const char *record)
{
    return build(S::field(record, S::fCandidato), S::field(record, S::fCodFisc), S::field(record, S::fCel),
                 S::field(record, S::fSettore), S::field(record, S::fNote));
}

void sort(ResultRows &rows)
{
    // One key per row, computed once: sorting compares each row many times.
    std::vector<std::pair<QString, size_t>> keys;
    keys.reserve(rows.size());
    for (size_t i = 0; i < rows.size(); ++i)
        keys.emplace_back(sortKey(rows[i].text), i);
    std::stable_sort(keys.begin(), keys.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    ResultRows sorted;
    sorted.reserve(rows.size());
    for (const auto &k : keys)
        sorted.push_back(std::move(rows[k.second]));
    rows = std::move(sorted);
}

} // namespace ResultRowFormat

namespace MemberSearch {

int activeFilters(const SearchFilters &filters)
{
    return int(std::count_if(filters.begin(), filters.end(), [](const QString &f) { return !Blanks::isBlank(f); }));
}

std::optional<ResultRows> find(const SearchFilters &filters)
{
    // Only the active filters are tested, each against its own field.
    std::vector<std::pair<S::FieldId, QString>> active;
    for (size_t i = 0; i < filters.size(); ++i)
        if (!Blanks::isBlank(filters[i]))
            active.emplace_back(SearchFields[i], filters[i].toLower());

    ResultRows rows;
    const bool ok = MemberArchive().forEach([&](qint64 index, const char *record) {
        for (const auto &[field, text] : active)
            if (!S::field(record, field).toLower().contains(text))
                return true;
        rows.push_back({ResultRowFormat::build(record), index});
        return true;
    });
    if (!ok)
        return std::nullopt;
    ResultRowFormat::sort(rows);
    return rows;
}

ResultRows toRecontact()
{
    ResultRows rows;
    MemberArchive().forEach([&](qint64 index, const char *record) {
        if (S::field(record, S::fRicontatta) != S::RicontattaNo)
            rows.push_back({ResultRowFormat::build(record), index});
        return true;
    });
    ResultRowFormat::sort(rows);
    return rows;
}

} // namespace MemberSearch
