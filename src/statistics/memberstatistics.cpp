#include "statistics/memberstatistics.h"

#include "base/blanks.h"
#include "base/carddate.h"
#include "base/fixedtext.h"
#include "base/formats.h"
#include "checks/codicefiscale.h"
#include "members/memberarchive.h"

#include <algorithm>

using S = TSchedaAnagrafica;

const QString MemberStatistics::Unknown = QStringLiteral("Non indicato");
const QString MemberStatistics::Others = QStringLiteral("Altre");
const QString MemberStatistics::OtherTowns = QStringLiteral("Altre località");

QString MemberStatistics::ageBandName(int band)
{
    static const char *const names[AgeBandCount] = {"meno di 18", "18-30", "31-45", "46-60", "61-75", "oltre 75",
                                                    "Non indicato"};
    return QString::fromLatin1(names[band]);
}

std::optional<int> MemberStatistics::firstYear() const
{
    if (admitted.isEmpty())
        return std::nullopt;
    return admitted.firstKey();
}

QList<QPair<QString, qint64>> MemberStatistics::largest(const QHash<QString, qint64> &counts, int count,
                                                        bool othersAsOne)
{
    QList<QPair<QString, qint64>> all;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        all.append({it.key(), it.value()});
    std::sort(all.begin(), all.end(), [](const auto &a, const auto &b) {
        return a.second != b.second ? a.second > b.second : a.first < b.first;
    });
    // One more entry is shown by its name: "Altre" would hide it and say
    // nothing more.
    if (all.size() <= count + 1)
        return all;
    qint64 rest = 0;
    for (qsizetype i = count; i < all.size(); ++i)
        rest += all.at(i).second;
    all.resize(count);
    if (othersAsOne)
        all.append({Others, rest});
    return all;
}

std::optional<QDate> MemberStatistics::birthFromFiscalCode(const QString &code, const QDate &reference)
{
    return FiscalCode::birthDate(code, reference);
}

std::optional<MemberStatistics::Sex> MemberStatistics::sexFromFiscalCode(const QString &code)
{
    const auto sex = FiscalCode::sex(code);
    if (!sex)
        return std::nullopt;
    return *sex == u'F' ? Women : Men;
}

int MemberStatistics::age(const QDate &birth, const QDate &reference)
{
    int years = reference.year() - birth.year();
    if (reference.month() < birth.month() || (reference.month() == birth.month() && reference.day() < birth.day()))
        --years;
    return years;
}

MemberStatistics::AgeBand MemberStatistics::ageBand(int age)
{
    if (age < 0)
        return AgeUnknown;
    if (age < 18)
        return Under18;
    if (age <= 30)
        return From18To30;
    if (age <= 45)
        return From31To45;
    if (age <= 60)
        return From46To60;
    if (age <= 75)
        return From61To75;
    return Over75;
}

QDate MemberStatistics::referenceOf(int year, const QDate &today)
{
    return year >= today.year() ? today : QDate(year, 12, 31);
}

QString MemberStatistics::onDay(const QDate &day)
{
    // "all'8", "all'11": the article runs into the number read aloud.
    return (day.day() == 8 || day.day() == 11 ? QStringLiteral("all'") : QStringLiteral("al "))
        + Formats::shortDate(day);
}

QList<MemberStatistics::Figure> MemberStatistics::headline() const
{
    const QString now = onDay(today);
    const QString then = onDay(reference);
    return {
        {"txtTotale", QStringLiteral("Soci in archivio"), now, total},
        {"txtAttivi", QStringLiteral("Soci attivi"), then, active},
        {"txtCessati", QStringLiteral("Soci cessati"), then, ceased},
        {"txtAmmessiAnno", QStringLiteral("Ammessi"), QStringLiteral("nel %1").arg(year), admittedIn(year)},
        {"txtCessatiAnno", QStringLiteral("Cessati"), QStringLiteral("nel %1").arg(year), leftIn(year)},
        {"txtRicontattare", QStringLiteral("Da ricontattare"), now, toRecontact},
    };
}

QList<QPair<QString, qint64>> MemberStatistics::towns(int count) const
{
    QHash<QString, qint64> named = byTown;
    const qint64 unnamed = named.take(Unknown);
    QList<QPair<QString, qint64>> rows = largest(named, count, false);
    qint64 shown = 0;
    for (const auto &row : rows)
        shown += row.second;
    qint64 all = 0;
    for (qint64 n : named)
        all += n;
    if (all > shown)
        rows.append({OtherTowns, all - shown});
    if (unnamed > 0)
        rows.append({Unknown, unnamed});
    return rows;
}

QList<int> MemberStatistics::yearsUpTo(int count) const
{
    const int first = qMax(firstYear().value_or(year), year - count + 1);
    QList<int> years;
    for (int y = qMin(first, year); y <= year; ++y)
        years << y;
    return years;
}

namespace {

QString cell(const QString &text)
{
    if (!text.contains(u';') && !text.contains(u'"') && !text.contains(u'\n'))
        return text;
    return u'"' + QString(text).replace(QStringLiteral("\""), QStringLiteral("\"\"")) + u'"';
}

QString line(const QStringList &cells)
{
    QStringList escaped;
    for (const QString &c : cells)
        escaped << cell(c);
    return escaped.join(u';') + QStringLiteral("\r\n");
}

} // namespace

QByteArray MemberStatistics::csv() const
{
    const auto n = [](qint64 v) { return QString::number(v); };
    const QString now = onDay(today);
    const QString then = onDay(reference);
    QString out = line({QStringLiteral("Statistiche soci"), QStringLiteral("anno %1").arg(year),
                        QStringLiteral("situazione %1").arg(then)});
    out += QStringLiteral("\r\n") + line({QStringLiteral("Riepilogo"), QStringLiteral("Soci")});
    for (const Figure &f : headline())
        out += line({f.caption(), n(f.value)});
    const QString yearEnd = year >= today.year()
        ? QStringLiteral("Attivi a fine anno (il %1 %2)").arg(today.year()).arg(now)
        : QStringLiteral("Attivi a fine anno");
    out += QStringLiteral("\r\n") + line({QStringLiteral("Anno"), yearEnd, QStringLiteral("Ammessi"), QStringLiteral("Cessati")});
    for (int y : yearsUpTo(year - firstYear().value_or(year) + 1))
        out += line({n(y), n(activeAtEndOf(y)), n(admittedIn(y)), n(leftIn(y))});
    out += line({Unknown, QString(), n(admittedUnknown), n(leftUnknown)});
    out += QStringLiteral("\r\n")
        + line({QStringLiteral("Fascia di età (soci attivi %1)").arg(then), QStringLiteral("Donne"), QStringLiteral("Uomini"),
                Unknown});
    for (int b = 0; b < AgeBandCount; ++b)
        out += line({ageBandName(b), n(activeByAgeAndSex[size_t(b)][Women]), n(activeByAgeAndSex[size_t(b)][Men]),
                     n(activeByAgeAndSex[size_t(b)][SexUnknown])});
    out += QStringLiteral("\r\n") + line({QStringLiteral("Qualifica"), QStringLiteral("Soci attivi %1").arg(then)});
    for (const auto &[name, count] : largest(activeByQualification, 10, true))
        out += line({name, n(count)});
    // Every town, the members without one last.
    out += QStringLiteral("\r\n")
        + line({QStringLiteral("Località di residenza"), QStringLiteral("Soci in archivio %1").arg(now)});
    QHash<QString, qint64> named = byTown;
    const qint64 unnamed = named.take(Unknown);
    for (const auto &[name, count] : largest(named, int(named.size()), false))
        out += line({name, n(count)});
    if (unnamed > 0)
        out += line({Unknown, n(unnamed)});
    return FixedText::toWindows1252(out);
}

void MemberRoll::take(qint64 number, const char *record)
{
    static const QByteArray no = FixedText::toWindows1252(S::RicontattaNo);
    if (S::storedText(record, S::fRicontatta) != no)
        ++m_toRecontact;
    ++m_towns[S::storedText(record, S::fCitta).toByteArray()];

    Member m;
    m.record = number;
    if (const auto admission = CardDate::read(S::storedText(record, S::fCompetenze)))
        m.admitted = qint32(admission->toJulianDay());
    const QByteArrayView leaving = S::storedText(record, S::fDisponibilita);
    if (!leaving.isEmpty()) {
        const auto left = CardDate::read(leaving);
        m.left = left ? qint32(left->toJulianDay()) : UnreadableLeaving;
    }
    const QByteArray qualification = S::storedText(record, S::fSettore).toByteArray();
    auto index = m_qualificationIndex.constFind(qualification);
    if (index == m_qualificationIndex.cend()) {
        index = m_qualificationIndex.insert(qualification, qint32(m_qualifications.size()));
        m_qualifications.append(qualification);
    }
    m.qualification = *index;

    // Age and sex from the card, else from a valid fiscal code.
    const QByteArrayView sexText = S::storedText(record, S::fSesso);
    std::optional<MemberStatistics::Sex> sex;
    if (sexText == "F" || sexText == "f")
        sex = MemberStatistics::Women;
    else if (sexText == "M" || sexText == "m")
        sex = MemberStatistics::Men;
    auto birth = CardDate::read(S::storedText(record, S::fDataNasc));
    if (!sex || !birth) {
        const QString code = Blanks::upperAscii(S::field(record, S::fCodFisc));
        if (!sex)
            sex = MemberStatistics::sexFromFiscalCode(code);
        if (!birth)
            birth = MemberStatistics::birthFromFiscalCode(code, m_today);
    }
    m.sex = quint8(sex.value_or(MemberStatistics::SexUnknown));
    if (birth)
        m.birth = qint32(birth->toJulianDay());
    m_members.push_back(m);
}

void MemberRoll::append(const MemberRoll &other)
{
    m_toRecontact += other.m_toRecontact;
    for (auto it = other.m_towns.cbegin(); it != other.m_towns.cend(); ++it)
        m_towns[it.key()] += it.value();
    // The other's qualifications by their index here.
    QList<qint32> here;
    for (const QByteArray &name : other.m_qualifications) {
        auto index = m_qualificationIndex.constFind(name);
        if (index == m_qualificationIndex.cend()) {
            index = m_qualificationIndex.insert(name, qint32(m_qualifications.size()));
            m_qualifications.append(name);
        }
        here << *index;
    }
    m_members.reserve(m_members.size() + other.m_members.size());
    for (Member m : other.m_members) {
        m.qualification = here.at(m.qualification);
        m_members.push_back(m);
    }
}

bool MemberRoll::activeOn(const Member &m, qint64 day) const
{
    if (m.left == UnreadableLeaving || (m.left != 0 && m.left <= day))
        return false;
    return m.admitted != 0 ? m.admitted <= day : day >= m_today.toJulianDay();
}

bool MemberRoll::ceasedBy(const Member &m, qint64 day) const
{
    return m.left == UnreadableLeaving ? day >= m_today.toJulianDay() : m.left != 0 && m.left <= day;
}

QList<qint64> MemberRoll::activeMembers(int year) const
{
    const qint64 day = MemberStatistics::referenceOf(qMin(year, m_today.year()), m_today).toJulianDay();
    QList<qint64> active;
    for (const Member &m : m_members)
        if (activeOn(m, day))
            active << m.record;
    std::sort(active.begin(), active.end());
    return active;
}

std::optional<int> MemberRoll::firstYear() const
{
    std::optional<int> first;
    for (const Member &m : m_members)
        if (m.admitted != 0) {
            const int y = QDate::fromJulianDay(m.admitted).year();
            first = first ? qMin(*first, y) : y;
        }
    return first;
}

namespace {

QHash<QString, qint64> named(const QHash<QByteArray, qint64> &counts)
{
    QHash<QString, qint64> result;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        result[it.key().isEmpty() ? MemberStatistics::Unknown
                                  : FixedText::fromWindows1252(it.key().constData(), it.key().size())] += it.value();
    return result;
}

} // namespace

MemberStatistics MemberRoll::figures(int year) const
{
    using Stats = MemberStatistics;
    Stats s;
    s.today = m_today;
    s.year = qMin(year, m_today.year());
    s.reference = Stats::referenceOf(s.year, m_today);
    s.total = qint64(m_members.size());
    s.toRecontact = m_toRecontact;
    s.byTown = named(m_towns);

    const qint64 today = m_today.toJulianDay();
    const qint64 day = s.reference.toJulianDay();
    const int thisYear = m_today.year();
    QHash<QByteArray, qint64> qualifications;
    std::vector<qint64> byQualification(size_t(m_qualifications.size()), 0);
    QMap<int, qint64> activeChange; // +1 from the first year-end a member is active, -1 after the last
    for (const Member &m : m_members) {
        if (m.admitted != 0)
            ++s.admitted[QDate::fromJulianDay(m.admitted).year()];
        else
            ++s.admittedUnknown;
        if (m.left == UnreadableLeaving)
            ++s.leftUnknown;
        else if (m.left != 0)
            ++s.left[QDate::fromJulianDay(m.left).year()];

        // The year-ends (today for this year) at which the member is active:
        // from the admission's year to the year before leaving.
        if (m.left != UnreadableLeaving) {
            const int from = m.admitted != 0 ? QDate::fromJulianDay(m.admitted).year() : thisYear;
            int to = m.left != 0 ? qMin(QDate::fromJulianDay(m.left).year() - 1, thisYear - 1) : thisYear - 1;
            if (activeOn(m, today))
                to = thisYear;
            if (from <= to) {
                ++activeChange[from];
                --activeChange[to + 1];
            }
        }

        if (ceasedBy(m, day))
            ++s.ceased;
        if (!activeOn(m, day))
            continue;
        ++s.active;
        ++byQualification[size_t(m.qualification)];
        const auto band = m.birth != 0 ? Stats::ageBand(Stats::age(QDate::fromJulianDay(m.birth), s.reference))
                                       : Stats::AgeUnknown;
        ++s.activeByAgeAndSex[size_t(band)][m.sex];
    }
    for (qsizetype q = 0; q < m_qualifications.size(); ++q)
        if (byQualification[size_t(q)] > 0)
            qualifications[m_qualifications.at(q)] += byQualification[size_t(q)];
    s.activeByQualification = named(qualifications);
    if (const auto first = s.firstYear()) {
        qint64 running = 0;
        for (auto it = activeChange.cbegin(); it != activeChange.cend() && it.key() < *first; ++it)
            running += it.value();
        for (int y = *first; y <= thisYear; ++y) {
            running += activeChange.value(y);
            s.activeAtEnd[y] = running;
        }
    }
    return s;
}

std::optional<MemberRoll> MemberRoll::read(const QDate &today)
{
    // Two workers read the archive a block at a time, as the search does,
    // each into a roll of its own; the second's members follow the first's.
    constexpr int kWorkers = 2;
    std::array<MemberRoll, kWorkers> partial{MemberRoll(today), MemberRoll(today)};
    const bool read = MemberArchive().forEachBlock(
        [&](int worker, qint64 first, const char *records, qint64 n) {
            for (qint64 i = 0; i < n; ++i)
                partial[size_t(worker)].take(first + i + 1, records + i * S::RecordSize);
            return true;
        },
        kWorkers);
    if (!read)
        return std::nullopt;
    for (int w = 1; w < kWorkers; ++w)
        partial[0].append(partial[size_t(w)]);
    return std::move(partial[0]);
}
