#include "search/resultrows.h"

#include "base/blanks.h"
#include "base/fixedtext.h"
#include "members/memberarchive.h"

#include <algorithm>
#include <iterator>
#include <functional>
#include <thread>

using S = TSchedaAnagrafica;

namespace ResultRowFormat {

namespace {

// The stored text of a field without blanks at its ends, as bytes.
QByteArrayView storedText(const char *record, S::FieldId id)
{
    const S::Field &f = S::fields()[id];
    const char *text = record + f.offset + 1;
    qsizetype begin = 0;
    qsizetype end = qMin<int>(static_cast<unsigned char>(record[f.offset]), f.capacity);
    while (begin < end && static_cast<unsigned char>(text[begin]) <= 32)
        ++begin;
    while (end > begin && static_cast<unsigned char>(text[end - 1]) <= 32)
        --end;
    return QByteArrayView(text + begin, end - begin);
}

// Decodes into `out` and pads with blanks (or cuts) to `width` characters.
QChar *put(QChar *out, QByteArrayView bytes, qsizetype width)
{
    const qsizetype used = width < 0 ? bytes.size() : qMin(bytes.size(), width);
    FixedText::decodeInto(bytes.data(), used, out);
    out += used;
    for (qsizetype i = used; i < width; ++i)
        *out++ = u' ';
    return out;
}

QChar *put(QChar *out, QLatin1String text)
{
    for (char c : text)
        *out++ = QLatin1Char(c);
    return out;
}

} // namespace

QString build(const char *record)
{
    // Straight from the record's bytes into one string: this runs once for
    // every member of the archive.
    static const QLatin1String cf("  C.F. "), cel("  Cel. "), role("  Qualifica: "), note("  Note: ");
    const QByteArrayView notes = storedText(record, S::fNote);
    QString row(30 + cf.size() + 16 + cel.size() + 16 + role.size() + 24 + note.size() + notes.size(),
                Qt::Uninitialized);
    QChar *out = row.data();
    out = put(out, storedText(record, S::fCandidato), 30);
    out = put(out, cf);
    out = put(out, storedText(record, S::fCodFisc), 16);
    out = put(out, cel);
    out = put(out, storedText(record, S::fCel), 16);
    out = put(out, role);
    out = put(out, storedText(record, S::fSettore), 24);
    out = put(out, note);
    put(out, notes, -1);
    return row;
}

namespace {

char16_t upper(char16_t c)
{
    return (c >= u'a' && c <= u'z') ? char16_t(c - (u'a' - u'A')) : c;
}

// The first four characters of `text` from `from` on, capitals for a-z, packed
// so that comparing the numbers compares the characters. A missing character
// counts as 0, before every other: a shorter text sorts first.
quint64 packed(const QString &text, qsizetype from)
{
    quint64 key = 0;
    for (qsizetype i = from; i < from + 4; ++i)
        key = (key << 16) | (i < text.size() ? upper(text.at(i).unicode()) : 0);
    return key;
}

bool lessIgnoringCase(QStringView a, QStringView b)
{
    const qsizetype n = qMin(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t ca = upper(a.at(i).unicode());
        const char16_t cb = upper(b.at(i).unicode());
        if (ca != cb)
            return ca < cb;
    }
    return a.size() < b.size();
}

} // namespace

void sort(ResultRows &rows)
{
    // Most rows differ in their first twelve characters (the name): compare
    // those as three numbers, and only the rest character by character.
    struct Entry
    {
        quint64 head[3];
        size_t row;
    };
    constexpr qsizetype kHead = 12;
    std::vector<Entry> entries;
    entries.reserve(rows.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        const QString &text = rows[i].text;
        entries.push_back({{packed(text, 0), packed(text, 4), packed(text, 8)}, i});
    }
    const auto less = [&rows](const Entry &a, const Entry &b) {
        for (int k = 0; k < 3; ++k)
            if (a.head[k] != b.head[k])
                return a.head[k] < b.head[k];
        const QString &ta = rows[a.row].text;
        const QString &tb = rows[b.row].text;
        if (ta.size() <= kHead || tb.size() <= kHead)
            return ta.size() < tb.size();
        return lessIgnoringCase(QStringView(ta).sliced(kHead), QStringView(tb).sliced(kHead));
    };
    // A long list is sorted in two halves side by side, then merged; the
    // merge takes from the first half on ties, so equal rows keep file order.
    const auto middle = entries.begin() + std::ptrdiff_t(entries.size() / 2);
    if (entries.size() >= 20000) {
        std::thread firstHalf([&] { std::stable_sort(entries.begin(), middle, less); });
        std::stable_sort(middle, entries.end(), less);
        firstHalf.join();
    } else {
        std::stable_sort(entries.begin(), middle, less);
        std::stable_sort(middle, entries.end(), less);
    }
    std::vector<Entry> merged;
    merged.reserve(entries.size());
    std::merge(entries.begin(), middle, middle, entries.end(), std::back_inserter(merged), less);
    ResultRows sorted;
    sorted.reserve(rows.size());
    for (const Entry &e : merged)
        sorted.push_back(std::move(rows[e.row]));
    rows = std::move(sorted);
}

} // namespace ResultRowFormat

namespace MemberSearch {

int activeFilters(const SearchFilters &filters)
{
    return int(std::count_if(filters.begin(), filters.end(), [](const QString &f) { return !Blanks::isBlank(f); }));
}

namespace {

// The rows of the members that pass `listed`, sorted. Two workers read and
// test the archive side by side; each keeps its rows in file order, and the
// two lists are merged back into file order before the sort.
std::optional<ResultRows> collect(const std::function<bool(const char *record)> &listed)
{
    ResultRows found[2];
    const bool ok = MemberArchive().forEachBlock(
        [&](int worker, qint64 first, const char *records, qint64 count) {
            ResultRows &rows = found[worker];
            for (qint64 i = 0; i < count; ++i) {
                const char *record = records + i * S::RecordSize;
                if (listed(record))
                    rows.push_back({ResultRowFormat::build(record), first + i});
            }
            return true;
        },
        2);
    ResultRows rows;
    rows.reserve(found[0].size() + found[1].size());
    std::merge(std::make_move_iterator(found[0].begin()), std::make_move_iterator(found[0].end()),
               std::make_move_iterator(found[1].begin()), std::make_move_iterator(found[1].end()),
               std::back_inserter(rows), [](const ResultRow &a, const ResultRow &b) { return a.index < b.index; });
    ResultRowFormat::sort(rows);
    if (!ok)
        return std::nullopt;
    return rows;
}

} // namespace

std::optional<ResultRows> find(const SearchFilters &filters)
{
    // Only the active filters are tested, each against its own field.
    std::vector<std::pair<S::FieldId, QString>> active;
    for (size_t i = 0; i < filters.size(); ++i)
        if (!Blanks::isBlank(filters[i]))
            active.emplace_back(SearchFields[i], filters[i].toLower());
    return collect([&active](const char *record) {
        for (const auto &[field, text] : active)
            if (!S::field(record, field).contains(text, Qt::CaseInsensitive))
                return false;
        return true;
    });
}

ResultRows toRecontact()
{
    const auto rows = collect([](const char *record) {
        return S::field(record, S::fRicontatta) != S::RicontattaNo;
    });
    return rows ? *rows : ResultRows();
}

} // namespace MemberSearch
