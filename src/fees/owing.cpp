#include "fees/owing.h"

#include "base/blanks.h"
#include "base/formats.h"
#include "fees/feeledger.h"
#include "members/memberarchive.h"
#include "statistics/memberstatistics.h"

#include <QCollator>
#include <QHash>

#include <algorithm>
#include <mutex>

using S = TSchedaAnagrafica;

namespace Owing {

std::optional<List> of(int year, const QDate &today)
{
    const auto roll = MemberRoll::read(today);
    const auto paid = FeeLedger::paidFor(year);
    if (!roll || !paid)
        return std::nullopt;
    List list;
    list.year = year;
    QHash<qint64, qsizetype> wanted; // record number -> place in the list
    for (qint64 record : roll->activeMembers(year)) {
        ++list.active;
        if (paid->contains(record))
            continue;
        wanted.insert(record, list.members.size());
        Member m;
        m.record = record;
        list.members << m;
    }
    QList<qint64> owing;
    for (const Member &m : std::as_const(list.members))
        owing << m.record;
    const auto last = FeeLedger::lastYearPaid(owing);
    if (!last)
        return std::nullopt;
    for (Member &m : list.members)
        if (last->contains(m.record))
            m.lastYearPaid = last->value(m.record);
    // Their names and addresses, read in one pass.
    std::mutex filling;
    const bool read = MemberArchive().forEachBlock(
        [&](int, qint64 first, const char *records, qint64 n) {
            for (qint64 i = 0; i < n; ++i) {
                const auto at = wanted.constFind(first + i + 1);
                if (at == wanted.cend())
                    continue;
                const char *record = records + i * S::RecordSize;
                const QString name = Blanks::trimmed(S::field(record, S::fCandidato));
                const QString mobile = Blanks::trimmed(S::field(record, S::fCel));
                const QString email = Blanks::trimmed(S::field(record, S::fEmail));
                const std::lock_guard<std::mutex> lock(filling);
                Member &m = list.members[*at];
                m.name = name;
                m.mobile = mobile;
                m.email = email;
            }
            return true;
        },
        2);
    if (!read)
        return std::nullopt;
    QCollator byName{QLocale(QLocale::Italian)};
    std::sort(list.members.begin(), list.members.end(), [&byName](const Member &a, const Member &b) {
        const int order = byName.compare(a.name, b.name);
        return order != 0 ? order < 0 : a.record < b.record;
    });
    return list;
}

QString summary(const List &list)
{
    const QLocale italian(QLocale::Italian);
    const qint64 owing = list.members.size();
    const QString missing = owing == 1 ? QStringLiteral("Manca 1 quota")
                                       : QStringLiteral("Mancano %1 quote").arg(italian.toString(owing));
    return missing + QStringLiteral(" su ") + Formats::count(list.active, QStringLiteral("socio attivo"),
                                                              QStringLiteral("soci attivi"));
}

} // namespace Owing
