#include "search/resultrows.h"

#include "base/blanks.h"
#include "base/fixedtext.h"
#include "members/memberarchive.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <functional>
#include <thread>

using S = TSchedaAnagrafica;

namespace {

// The longest row: every field at its widest, and notes of 250 characters.
constexpr qsizetype kLongestRow = 30 + 7 + 16 + 7 + 16 + 13 + 24 + 8 + 250;

// Writes `bytes` padded with blanks (or cut) to `width`; all of them when
// `width` is negative. Returns the end of what it wrote.
char *put(char *out, QByteArrayView bytes, qsizetype width = -1)
{
    const qsizetype used = width < 0 ? bytes.size() : qMin(bytes.size(), width);
    std::memcpy(out, bytes.data(), size_t(used));
    out += used;
    if (used < width) {
        std::memset(out, ' ', size_t(width - used));
        out += width - used;
    }
    return out;
}

// Writes the row of `record` at `out`, which has room for the longest row,
// straight from the record's bytes: this runs once for every member a search
// lists. Returns the end of the row.
char *buildInto(char *out, const char *record)
{
    out = put(out, S::storedText(record, S::fCandidato), 30);
    out = put(out, "  C.F. ");
    out = put(out, S::storedText(record, S::fCodFisc), 16);
    out = put(out, "  Cel. ");
    out = put(out, S::storedText(record, S::fCel), 16);
    out = put(out, "  Qualifica: ");
    out = put(out, S::storedText(record, S::fSettore), 24);
    out = put(out, "  Note: ");
    return put(out, S::storedText(record, S::fNote));
}

} // namespace

char *ResultRows::room(qsizetype size)
{
    // Rows moved away take their chunks with them: a list moved from starts
    // a chunk of its own.
    if (m_chunks.empty() || m_end - m_free < size) {
        // A new chunk, twice the last up to a megabyte, so that a short list
        // takes little; the rest of the last one stays unused.
        const qsizetype chunk = qMax(size, qBound(qsizetype(16 << 10), 2 * (m_end - m_chunkStart), qsizetype(1 << 20)));
        m_chunks.emplace_back(new char[size_t(chunk)]);
        m_chunkStart = m_free = m_chunks.back().get();
        m_end = m_free + chunk;
    }
    return m_free;
}

QString ResultRows::text(size_t row) const
{
    const QByteArrayView text = bytes(row);
    return FixedText::fromWindows1252(text.data(), text.size());
}

void ResultRows::push_back(const ResultRow &row)
{
    const QByteArray text = FixedText::toWindows1252(row.text);
    char *out = room(text.size());
    std::memcpy(out, text.constData(), size_t(text.size()));
    m_free = out + text.size();
    m_entries.push_back({out, text.size(), row.index});
}

void ResultRows::appendRecord(const char *record, qint64 index)
{
    char *out = room(kLongestRow);
    m_free = buildInto(out, record);
    m_entries.push_back({out, m_free - out, index});
}

namespace ResultRowFormat {

QString build(const char *record)
{
    char row[kLongestRow];
    return FixedText::fromWindows1252(row, buildInto(row, record) - row);
}

namespace {

// The place of each byte's character in the order of the list: a-z share
// the place of A-Z, every other character comes by its code once decoded.
// Place 0 stands for no character at all, which sorts before every other.
const std::array<unsigned char, 256> &places()
{
    static const std::array<unsigned char, 256> table = [] {
        std::array<char16_t, 256> code{};
        for (int b = 0; b < 256; ++b) {
            const char byte = char(b);
            const char16_t c = FixedText::fromWindows1252(&byte, 1).at(0).unicode();
            code[size_t(b)] = (c >= u'a' && c <= u'z') ? char16_t(c - (u'a' - u'A')) : c;
        }
        std::array<char16_t, 256> ordered = code;
        std::sort(ordered.begin(), ordered.end());
        const auto last = std::unique(ordered.begin(), ordered.end());
        std::array<unsigned char, 256> place{};
        for (size_t b = 0; b < 256; ++b)
            place[b] = static_cast<unsigned char>(1 + (std::lower_bound(ordered.begin(), last, code[b]) - ordered.begin()));
        return place;
    }();
    return table;
}

// The rows of two lists sorted into one, each list keyed and sorted on a
// thread of its own, then the two merged from both ends at once.
//
// Each row gets a key of the places of its first 64 characters, side by side
// with the row's number: with real names, rows that share a name still differ
// within those, so nearly every comparison is one memcmp over memory close at
// hand. The rest of the text decides only ties, and equal texts go by record.
std::vector<ResultRows::Entry> sortedEntries(const ResultRows::Entry *first, size_t firstCount,
                                             const ResultRows::Entry *second, size_t secondCount)
{
    using Entry = ResultRows::Entry;
    constexpr qsizetype kKey = 64;
    struct Keyed
    {
        unsigned char key[kKey];
        quint32 row; // in the two lists one after the other
    };
    const auto &place = places();
    const auto entry = [&](quint32 row) -> const Entry & {
        return row < firstCount ? first[row] : second[row - firstCount];
    };
    const auto less = [&](const Keyed &a, const Keyed &b) {
        if (const int c = std::memcmp(a.key, b.key, kKey))
            return c < 0;
        const Entry &ea = entry(a.row), &eb = entry(b.row);
        const qsizetype n = qMin(ea.size, eb.size);
        for (qsizetype i = kKey; i < n; ++i) {
            const unsigned char pa = place[static_cast<unsigned char>(ea.text[i])];
            const unsigned char pb = place[static_cast<unsigned char>(eb.text[i])];
            if (pa != pb)
                return pa < pb;
        }
        if (ea.size != eb.size)
            return ea.size < eb.size;
        return ea.index != eb.index ? ea.index < eb.index : a.row < b.row;
    };

    const size_t count = firstCount + secondCount;
    // Not zeroed first: each thread touches only the half it fills.
    const std::unique_ptr<Keyed[]> keyed(new Keyed[count]);
    const auto sortPart = [&](size_t from, size_t to) {
        for (size_t r = from; r < to; ++r) {
            Keyed &k = keyed[r];
            const Entry &e = entry(quint32(r));
            const qsizetype n = qMin(e.size, kKey);
            for (qsizetype i = 0; i < n; ++i)
                k.key[i] = place[static_cast<unsigned char>(e.text[i])];
            std::memset(k.key + n, 0, size_t(kKey - n));
            k.row = quint32(r);
        }
        std::sort(keyed.get() + from, keyed.get() + to, less);
    };
    // The smaller rows are merged from the front, the larger from the back.
    std::vector<Entry> sorted(count);
    const size_t half = count / 2;
    const auto mergeFront = [&] {
        const Keyed *a = keyed.get(), *aEnd = a + firstCount, *b = aEnd, *bEnd = keyed.get() + count;
        for (size_t out = 0; out < half; ++out)
            sorted[out] = entry((b == bEnd || (a != aEnd && less(*a, *b)) ? a++ : b++)->row);
    };
    const auto mergeBack = [&] {
        const Keyed *aBegin = keyed.get(), *a = aBegin + firstCount, *bBegin = a, *b = keyed.get() + count;
        for (size_t out = count; out > half; --out)
            sorted[out - 1] = entry((b == bBegin || (a != aBegin && less(*(b - 1), *(a - 1))) ? --a : --b)->row);
    };
    if (count >= 20000) {
        std::thread helper([&] { sortPart(0, firstCount); });
        sortPart(firstCount, count);
        helper.join();
        helper = std::thread(mergeFront);
        mergeBack();
        helper.join();
    } else {
        sortPart(0, firstCount);
        sortPart(firstCount, count);
        mergeFront();
        mergeBack();
    }
    return sorted;
}

} // namespace

void sort(ResultRows &rows)
{
    const size_t half = rows.m_entries.size() / 2;
    rows.m_entries = sortedEntries(rows.m_entries.data(), half, rows.m_entries.data() + half,
                                   rows.m_entries.size() - half);
}

void sortTogether(ResultRows &first, ResultRows &&second)
{
    first.m_entries = sortedEntries(first.m_entries.data(), first.m_entries.size(), second.m_entries.data(),
                                    second.m_entries.size());
    for (auto &chunk : second.m_chunks)
        first.m_chunks.push_back(std::move(chunk));
    second = ResultRows();
}

} // namespace ResultRowFormat

namespace MemberSearch {

int activeFilters(const SearchFilters &filters)
{
    return int(std::count_if(filters.begin(), filters.end(), [](const QString &f) { return !Blanks::isBlank(f); }));
}

namespace {

// The rows of the members that pass `listed`, sorted. Two workers read and
// test the archive side by side, each into rows of its own.
std::optional<ResultRows> collect(const std::function<bool(const char *record)> &listed)
{
    ResultRows found[2];
    const bool ok = MemberArchive().forEachBlock(
        [&](int worker, qint64 first, const char *records, qint64 count) {
            for (qint64 i = 0; i < count; ++i) {
                const char *record = records + i * S::RecordSize;
                if (listed(record))
                    found[worker].appendRecord(record, first + i);
            }
            return true;
        },
        2);
    ResultRows &rows = found[0];
    ResultRowFormat::sortTogether(rows, std::move(found[1]));
    if (!ok)
        return std::nullopt;
    return std::move(rows);
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
        // Each field is decoded into a buffer on the stack, never a string.
        QChar decoded[256];
        for (const auto &[field, text] : active) {
            const QByteArrayView bytes = S::storedText(record, field);
            FixedText::decodeInto(bytes.data(), bytes.size(), decoded);
            if (!QStringView(decoded, bytes.size()).contains(text, Qt::CaseInsensitive))
                return false;
        }
        return true;
    });
}

ResultRows toRecontact()
{
    static const QByteArray no = FixedText::toWindows1252(S::RicontattaNo);
    auto rows = collect([](const char *record) { return S::storedText(record, S::fRicontatta) != no; });
    return rows ? std::move(*rows) : ResultRows();
}

} // namespace MemberSearch
