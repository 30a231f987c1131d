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
#include <vector>

class MemberRoll;

// The members at a glance, for the assembly, as they were in a chosen year:
// how many, who joined and who left in each year, and the active members by
// age and sex and by qualification; all of them by town, as the archive is
// today. What a record cannot say (an empty or malformed date, an unknown
// sex) is counted as "Non indicato", never dropped, and never guessed beyond
// what a valid fiscal code says.
//
// The day a year's figures describe is the year's last day, or today for
// the current year. On that day a member is active when admitted by then
// and not left by then. A member whose admission date cannot be read is
// counted active only today; one whose leaving date cannot be read is never
// active, and ceased only today (when is not known).
struct MemberStatistics
{
    static const QString Unknown;     // "Non indicato"
    static const QString Others;      // "Altre"
    static const QString OtherTowns;  // "Altre località"

    enum AgeBand { Under18, From18To30, From31To45, From46To60, From61To75, Over75, AgeUnknown, AgeBandCount };
    enum Sex { Women, Men, SexUnknown, SexCount };
    // "meno di 18", "18-30", ..., "oltre 75", "Non indicato".
    static QString ageBandName(int band);

    int year = 0;
    QDate today;
    QDate reference; // the year's last day, or today for the current year

    // As the archive is today.
    qint64 total = 0;
    qint64 toRecontact = 0;
    QHash<QString, qint64> byTown; // every member, by town of residence

    // On the reference day.
    qint64 active = 0;
    qint64 ceased = 0;
    std::array<std::array<qint64, SexCount>, AgeBandCount> activeByAgeAndSex{};
    QHash<QString, qint64> activeByQualification;

    // By year of the admission and of the leaving date; the members whose
    // date cannot be read, apart.
    QMap<int, qint64> admitted;
    QMap<int, qint64> left;
    qint64 admittedUnknown = 0;
    qint64 leftUnknown = 0;
    // The active members at the end of each year from the first admission,
    // the current year's today.
    QMap<int, qint64> activeAtEnd;

    qint64 admittedIn(int y) const { return admitted.value(y); }
    qint64 leftIn(int y) const { return left.value(y); }
    qint64 activeAtEndOf(int y) const { return activeAtEnd.value(y); }
    // The first year with an admission; nothing for an archive without one.
    std::optional<int> firstYear() const;

    // The six headline figures, each with the day or year it describes:
    // "Soci attivi" "al 31/12/2025".
    struct Figure
    {
        const char *name; // of the printed box; the window's label has "lbl" for "txt"
        QString what, when;
        qint64 value;

        QString caption() const { return what + u' ' + when; }
    };
    QList<Figure> headline() const;

    // The day the figures of `year` describe.
    static QDate referenceOf(int year, const QDate &today);
    // "al 31/12/2025", "all'11/12/2026".
    static QString onDay(const QDate &day);

    // The `count` largest entries, largest first (ties by name); with
    // `othersAsOne` the rest summed as "Altre", unless the rest is a single
    // entry, which is shown by its name.
    static QList<QPair<QString, qint64>> largest(const QHash<QString, qint64> &counts, int count, bool othersAsOne);
    // The towns for a chart: the `count` largest named ones, then the rest
    // as "Altre località" and the members without a town as "Non indicato",
    // so that the rows add up to every member.
    QList<QPair<QString, qint64>> towns(int count) const;

    // The birth date and sex a valid fiscal code says.
    static std::optional<QDate> birthFromFiscalCode(const QString &code, const QDate &reference);
    static std::optional<Sex> sexFromFiscalCode(const QString &code);
    // Whole years from `birth` to `reference`, the birthday counting.
    static int age(const QDate &birth, const QDate &reference);
    static AgeBand ageBand(int age);

    // The years a summary shows: at most `count`, ending with the chosen
    // one, not before the first admission.
    QList<int> yearsUpTo(int count) const;
    // The tables behind the charts, for a spreadsheet, each saying the day or
    // year it describes: ";" between the cells, Windows-1252, CRLF line ends.
    QByteArray csv() const;
};

// What the statistics need of each member, read from the archive once, so
// that the figures of any year come without reading it again.
class MemberRoll
{
public:
    // The archive as it is `today`; nothing when it cannot be read.
    static std::optional<MemberRoll> read(const QDate &today);

    // The figures of `year` (the current year when later).
    MemberStatistics figures(int year) const;
    std::optional<int> firstYear() const;
    const QDate &today() const { return m_today; }
    // The record numbers (from 1) of the members active on the day the
    // figures of `year` describe, in file order.
    QList<qint64> activeMembers(int year) const;

private:
    // One member, as the figures need it; dates as Julian days, 0 when the
    // card has none that can be read.
    struct Member
    {
        qint64 record = 0; // the card's number, from 1
        qint32 admitted = 0;
        qint32 left = 0; // or UnreadableLeaving
        qint32 birth = 0;
        qint32 qualification = 0; // index into m_qualifications
        quint8 sex = MemberStatistics::SexUnknown;
    };
    static constexpr qint32 UnreadableLeaving = -1;

    explicit MemberRoll(const QDate &today) : m_today(today) {}
    // One card of the archive, of that record number.
    void take(qint64 number, const char *record);
    // The members of `other` after these.
    void append(const MemberRoll &other);
    bool activeOn(const Member &m, qint64 day) const;
    bool ceasedBy(const Member &m, qint64 day) const;

    QDate m_today;
    std::vector<Member> m_members;
    QList<QByteArray> m_qualifications;
    QHash<QByteArray, qint32> m_qualificationIndex;
    QHash<QByteArray, qint64> m_towns;
    qint64 m_toRecontact = 0;
};
