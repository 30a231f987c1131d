// A members archive of any length and content: every record read, shown and
// written back, then the search, the recontact summary and the quick find
// over the whole file.

#include "fuzzsupport.h"

#include "members/memberarchive.h"
#include "search/quickfind.h"
#include "search/resultrows.h"

#include <cstdlib>

using S = TSchedaAnagrafica;

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    Fuzz::initialise(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Fuzz::writeInput(MemberArchive::FileName, data, size);
    MemberArchive archive;
    const auto count = archive.count();
    if (!count || *count != qint64(size) / S::RecordSize)
        std::abort();

    // A record read and written again reads back the same, and its bytes are
    // stable from then on.
    for (qint64 i = 0; i < *count; ++i) {
        const auto scheda = archive.read(i);
        if (!scheda)
            std::abort();
        const QByteArray once = scheda->toBytes();
        const QByteArray twice = S::fromBytes(once.constData()).toBytes();
        if (once.size() != S::RecordSize || once != twice)
            std::abort();
        ResultRowFormat::build(reinterpret_cast<const char *>(data) + i * S::RecordSize);
    }

    // Filters taken from the first record's name, as a user might type them.
    SearchFilters filters;
    if (*count > 0) {
        const QString name = S::field(reinterpret_cast<const char *>(data), S::fCandidato);
        filters[0] = name.left(3);
        filters[9] = name.mid(3, 2);
    }
    const auto all = MemberSearch::find(SearchFilters());
    const auto some = MemberSearch::find(filters);
    const ResultRows flagged = MemberSearch::toRecontact();
    if (!all || !some || all->size() != size_t(*count) || some->size() > all->size() || flagged.size() > all->size())
        std::abort();
    for (const ResultRow &row : *all)
        if (row.index < 0 || row.index >= *count)
            std::abort();

    if (!all->empty()) {
        QuickFind find;
        int selected = -1;
        const QString needle = filters[0].isEmpty() ? QStringLiteral("a") : filters[0];
        for (int i = 0; i < 3; ++i) {
            selected = find.next(*all, selected, needle);
            if (selected < -1 || selected >= int(all->size()))
                std::abort();
        }
    }
    return 0;
}
