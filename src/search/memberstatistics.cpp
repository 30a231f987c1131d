#include "search/memberstatistics.h"

#include "base/blanks.h"
#include "base/fixedtext.h"
#include "checks/codicefiscale.h"
#include "members/memberarchive.h"

#include <algorithm>

using S = TSchedaAnagrafica;

const QString MemberStatistics::Unknown = QStringLiteral("Non indicato");
const QString MemberStatistics::Others = QStringLiteral("Altre");

QString MemberStatistics::ageBandName(int band)
{
    static const char *const names[AgeBandCount] = {"meno di 18", "18-30", "31-45", "46-60", "61-75", "oltre 75",
                                                    "Non indicato"};
    return QString::fromLatin1(names[band]);
}

qint64 MemberStatistics::activeAtEndOf(int year) const
{
    qint64 count = 0;
    for (auto it = admitted.cbegin(); it != admitted.cend() && it.key() <= year; ++it)
        count += it.value();
    for (auto it = leftOfKnownAdmission.cbegin(); it != leftOfKnownAdmission.cend() && it.key() <= year; ++it)
        count -= it.value();
    return count;
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
    if (all.size() <= count)
        return all;
    qint64 rest = 0;
    for (qsizetype i = count; i < all.size(); ++i)
        rest += all.at(i).second;
    all.resize(count);
    if (othersAsOne)
        all.append({Others, rest});
    return all;
}

std::optional<QDate> MemberStatistics::cardDate(QByteArrayView text)
{
    int parts[3] = {0, 0, 0};
    int digits[3] = {0, 0, 0};
    int part = 0;
    for (char c : text) {
        if (c == '/') {
            if (++part > 2)
                return std::nullopt;
        } else if (c >= '0' && c <= '9' && digits[part] < 4) {
            parts[part] = parts[part] * 10 + (c - '0');
            ++digits[part];
        } else {
            return std::nullopt;
        }
    }
    if (part != 2 || digits[0] == 0 || digits[0] > 2 || digits[1] == 0 || digits[1] > 2 || digits[2] != 4)
        return std::nullopt;
    const QDate date(parts[2], parts[1], parts[0]);
    if (!date.isValid())
        return std::nullopt;
    return date;
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

QList<int> MemberStatistics::yearsUpTo(int year, int count) const
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

QByteArray MemberStatistics::csv(int year, const QDate &reference) const
{
    const auto n = [](qint64 v) { return QString::number(v); };
    QString out = line({QStringLiteral("Statistiche soci"), QStringLiteral("anno %1").arg(year),
                        QStringLiteral("situazione al %1").arg(reference.toString(QStringLiteral("dd/MM/yyyy")))});
    out += QStringLiteral("\r\n") + line({QStringLiteral("Riepilogo"), QStringLiteral("Soci")});
    out += line({QStringLiteral("Soci in archivio"), n(total)}) + line({QStringLiteral("Soci attivi"), n(active)})
        + line({QStringLiteral("Soci cessati"), n(ceased)})
        + line({QStringLiteral("Ammessi nel %1").arg(year), n(admittedIn(year))})
        + line({QStringLiteral("Cessati nel %1").arg(year), n(leftIn(year))})
        + line({QStringLiteral("Da ricontattare"), n(toRecontact)});
    out += QStringLiteral("\r\n")
        + line({QStringLiteral("Anno"), QStringLiteral("Attivi a fine anno"), QStringLiteral("Ammessi"),
                QStringLiteral("Cessati")});
    for (int y : yearsUpTo(year, year - firstYear().value_or(year) + 1))
        out += line({n(y), n(activeAtEndOf(y)), n(admittedIn(y)), n(leftIn(y))});
    out += line({Unknown, QString(), n(admittedUnknown), n(leftUnknown)});
    out += QStringLiteral("\r\n")
        + line({QStringLiteral("Fascia di età (soci attivi)"), QStringLiteral("Donne"), QStringLiteral("Uomini"), Unknown});
    for (int b = 0; b < AgeBandCount; ++b)
        out += line({ageBandName(b), n(activeByAgeAndSex[size_t(b)][Women]), n(activeByAgeAndSex[size_t(b)][Men]),
                     n(activeByAgeAndSex[size_t(b)][SexUnknown])});
    out += QStringLiteral("\r\n") + line({QStringLiteral("Qualifica"), QStringLiteral("Soci attivi")});
    for (const auto &[name, count] : largest(activeByQualification, 10, true))
        out += line({name, n(count)});
    out += QStringLiteral("\r\n") + line({QStringLiteral("Città di residenza"), QStringLiteral("Soci")});
    for (const auto &[name, count] : largest(byTown, 10, false))
        out += line({name, n(count)});
    return FixedText::toWindows1252(out);
}

void MemberStatistics::add(const MemberStatistics &o)
{
    total += o.total;
    active += o.active;
    ceased += o.ceased;
    toRecontact += o.toRecontact;
    for (auto it = o.admitted.cbegin(); it != o.admitted.cend(); ++it)
        admitted[it.key()] += it.value();
    for (auto it = o.left.cbegin(); it != o.left.cend(); ++it)
        left[it.key()] += it.value();
    for (auto it = o.leftOfKnownAdmission.cbegin(); it != o.leftOfKnownAdmission.cend(); ++it)
        leftOfKnownAdmission[it.key()] += it.value();
    admittedUnknown += o.admittedUnknown;
    leftUnknown += o.leftUnknown;
    for (int b = 0; b < AgeBandCount; ++b)
        for (int s = 0; s < SexCount; ++s)
            activeByAgeAndSex[size_t(b)][size_t(s)] += o.activeByAgeAndSex[size_t(b)][size_t(s)];
    for (auto it = o.activeByQualification.cbegin(); it != o.activeByQualification.cend(); ++it)
        activeByQualification[it.key()] += it.value();
    for (auto it = o.byTown.cbegin(); it != o.byTown.cend(); ++it)
        byTown[it.key()] += it.value();
}

namespace {

// One member into the figures of the worker that read it.
void count(MemberStatistics &stats, const char *record, const QDate &reference,
           QHash<QByteArray, qint64> &qualifications, QHash<QByteArray, qint64> &towns)
{
    static const QByteArray no = FixedText::toWindows1252(S::RicontattaNo);
    ++stats.total;
    if (S::storedText(record, S::fRicontatta) != no)
        ++stats.toRecontact;

    const auto admission = MemberStatistics::cardDate(S::storedText(record, S::fCompetenze));
    if (admission)
        ++stats.admitted[admission->year()];
    else
        ++stats.admittedUnknown;

    const QByteArrayView leaving = S::storedText(record, S::fDisponibilita);
    const bool active = leaving.isEmpty();
    if (!active) {
        ++stats.ceased;
        if (const auto left = MemberStatistics::cardDate(leaving)) {
            ++stats.left[left->year()];
            if (admission)
                ++stats.leftOfKnownAdmission[left->year()];
        } else {
            ++stats.leftUnknown;
        }
    }
    ++towns[S::storedText(record, S::fCitta).toByteArray()];
    if (!active)
        return;
    ++stats.active;
    ++qualifications[S::storedText(record, S::fSettore).toByteArray()];

    // Age and sex from the card, else from a valid fiscal code.
    const QByteArrayView sexText = S::storedText(record, S::fSesso);
    std::optional<MemberStatistics::Sex> sex;
    if (sexText == "F" || sexText == "f")
        sex = MemberStatistics::Women;
    else if (sexText == "M" || sexText == "m")
        sex = MemberStatistics::Men;
    auto birth = MemberStatistics::cardDate(S::storedText(record, S::fDataNasc));
    if (!sex || !birth) {
        const QString code = Blanks::upperAscii(S::field(record, S::fCodFisc));
        if (!sex)
            sex = MemberStatistics::sexFromFiscalCode(code);
        if (!birth)
            birth = MemberStatistics::birthFromFiscalCode(code, reference);
    }
    const auto band = birth ? MemberStatistics::ageBand(MemberStatistics::age(*birth, reference))
                            : MemberStatistics::AgeUnknown;
    ++stats.activeByAgeAndSex[size_t(band)][size_t(sex.value_or(MemberStatistics::SexUnknown))];
}

QHash<QString, qint64> named(const QHash<QByteArray, qint64> &counts)
{
    QHash<QString, qint64> result;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        result[it.key().isEmpty() ? MemberStatistics::Unknown
                                  : FixedText::fromWindows1252(it.key().constData(), it.key().size())] += it.value();
    return result;
}

} // namespace

std::optional<MemberStatistics> MemberStatistics::compute(const QDate &reference)
{
    // Two workers read the archive a block at a time, as the search does,
    // each into figures of its own; the figures are added at the end.
    constexpr int kWorkers = 2;
    std::array<MemberStatistics, kWorkers> partial;
    std::array<QHash<QByteArray, qint64>, kWorkers> qualifications, towns;
    const bool read = MemberArchive().forEachBlock(
        [&](int worker, qint64, const char *records, qint64 n) {
            for (qint64 i = 0; i < n; ++i)
                count(partial[size_t(worker)], records + i * S::RecordSize, reference, qualifications[size_t(worker)],
                      towns[size_t(worker)]);
            return true;
        },
        kWorkers);
    if (!read)
        return std::nullopt;
    MemberStatistics total;
    for (int w = 0; w < kWorkers; ++w) {
        partial[size_t(w)].activeByQualification = named(qualifications[size_t(w)]);
        partial[size_t(w)].byTown = named(towns[size_t(w)]);
        total.add(partial[size_t(w)]);
    }
    return total;
}
