#pragma once

#include <QByteArray>
#include <QDate>
#include <QHash>
#include <QList>
#include <QMap>
#include <QPair>
#include <QString>

#include <array>
#include <optional>

// The members at a glance, for the assembly: how many, who joined and who
// left in each year, and the active members by age and sex, by qualification,
// and all of them by town. Everything comes from the records in one pass;
// what a record cannot say (an empty or malformed date, an unknown sex) is
// counted as "Non indicato", never dropped, and never guessed beyond what a
// valid fiscal code says.
struct MemberStatistics
{
    static const QString Unknown; // "Non indicato"
    static const QString Others;  // "Altre"

    enum AgeBand { Under18, From18To30, From31To45, From46To60, From61To75, Over75, AgeUnknown, AgeBandCount };
    enum Sex { Women, Men, SexUnknown, SexCount };
    // "meno di 18", "18-30", ..., "oltre 75", "Non indicato".
    static QString ageBandName(int band);

    qint64 total = 0;
    qint64 active = 0; // no leaving date
    qint64 ceased = 0;
    qint64 toRecontact = 0;

    // By year of the admission and of the leaving date; the members whose
    // date cannot be read, apart.
    QMap<int, qint64> admitted;
    QMap<int, qint64> left;
    qint64 admittedUnknown = 0;
    qint64 leftUnknown = 0;
    // The members whose admission year is known and who left in a year:
    // the active members at the end of a year follow from these.
    QMap<int, qint64> leftOfKnownAdmission;

    // Active members, by age on the reference day and by sex.
    std::array<std::array<qint64, SexCount>, AgeBandCount> activeByAgeAndSex{};
    // Active members by qualification; every member by town of residence.
    QHash<QString, qint64> activeByQualification;
    QHash<QString, qint64> byTown;

    qint64 admittedIn(int year) const { return admitted.value(year); }
    qint64 leftIn(int year) const { return left.value(year); }
    // Admitted by the end of `year` (admission known) and not left by then.
    qint64 activeAtEndOf(int year) const;
    // The first year with an admission; nothing for an archive without one.
    std::optional<int> firstYear() const;

    // The `count` largest entries, largest first (ties by name); with
    // `othersAsOne` the rest summed as "Altre".
    static QList<QPair<QString, qint64>> largest(const QHash<QString, qint64> &counts, int count, bool othersAsOne);

    // The archive's figures, with ages on `reference`; nothing when the
    // archive cannot be read.
    static std::optional<MemberStatistics> compute(const QDate &reference);

    // A date as the card holds it ("dd/mm/yyyy", day and month of one or two
    // digits); nothing for anything else.
    static std::optional<QDate> cardDate(QByteArrayView text);
    // The birth date and sex a valid fiscal code says.
    static std::optional<QDate> birthFromFiscalCode(const QString &code, const QDate &reference);
    static std::optional<Sex> sexFromFiscalCode(const QString &code);
    // Whole years from `birth` to `reference`, the birthday counting.
    static int age(const QDate &birth, const QDate &reference);
    static AgeBand ageBand(int age);

    void add(const MemberStatistics &other);

    // The years a summary of `year` shows: at most `count`, ending with it,
    // not before the first admission.
    QList<int> yearsUpTo(int year, int count) const;
    // The tables behind the charts, for a spreadsheet: ";" between the
    // cells, Windows-1252, CRLF line ends.
    QByteArray csv(int year, const QDate &reference) const;
};
