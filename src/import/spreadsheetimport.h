#pragma once

#include "sheets/spreadsheetfile.h"
#include "base/recordfile.h"
#include "members/schedaanagrafica.h"

#include <QByteArrayView>
#include <QDate>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

// Members read from a spreadsheet, judged before anything is written. The
// first row whose headings name at least two card fields (or else the first
// row) gives the columns; each column goes to the field its heading names,
// or to none, and the user may send it elsewhere. Every row below it that is
// not empty is kept, its cells as Windows-1252 bytes cut a little past the
// longest field, packed one after the other, so that a sheet of a hundred
// megabytes stays well within memory; a card is made of a row only when it
// is shown, judged or written.
class SpreadsheetImport
{
public:
    // What may keep a row out of the archive, in the order they count; a
    // row with none of them is ready.
    enum Problem : quint8 {
        Missing = 1,   // a field the archive window never saves empty
        BadCode = 2,   // a fiscal code that is not valid
        Duplicate = 4, // already in the archive, or earlier in the file
        TooLong = 8,   // a text longer than its field, to be cut
        NotMember = 16, // a title, a total, a footer: never a card
    };
    static constexpr int ProblemCount = 4;
    static constexpr Problem Problems[ProblemCount] = {Missing, BadCode, Duplicate, TooLong};
    // What a row that goes in carries with it, said beside it.
    enum Remark : quint8 {
        ForeignPostcode = 1, // a CAP that cannot be an Italian one, kept as it is
    };

    struct Column
    {
        QString heading; // as the file has it ("Colonna F" where it has none)
        int target;      // ImportFields::Target
    };

    SpreadsheetImport();
    ~SpreadsheetImport();
    SpreadsheetImport(const SpreadsheetImport &) = delete;
    SpreadsheetImport &operator=(const SpreadsheetImport &) = delete;

    // Reads the file's rows; what was read before is dropped. On success the
    // rows still need judging. `progress` learns the rows read so far (their
    // total is not known) and may stop the reading, which then keeps nothing.
    SpreadsheetFile::Result load(const QString &path, const SpreadsheetFile::Limits &limits = {},
                                 const Progress &progress = {});
    // Drops the rows and columns read.
    void clear();
    // Judges every row against the archive as it is now and against the
    // rows above it; false, and nothing judged, when the archive cannot be
    // read or `progress` (told of the rows judged) asks to stop. `today`
    // places the two-digit years.
    bool judge(const QDate &today, const Progress &progress = {});

    const std::vector<Column> &columns() const { return m_columns; }
    // The year a fee column names ("Quota 2026" going into the card's fee
    // field); nothing when no such column says a year.
    std::optional<int> feeYear() const;
    // Sends a column to a target; a column that went there before is ignored
    // from now on. Judges the rows again against the archive as last read.
    // The choice is remembered for the column's heading, for later imports.
    void setTarget(int column, int target);
    // Card fields that no column fills, and so may take one value for every
    // row (the name and the fiscal code never do).
    std::vector<int> unfilledFields() const;
    // The value every row takes for a field that no column fills (empty:
    // none). Judges the rows again.
    void setCommonValue(int field, const QString &value);
    QString commonValue(int field) const;
    // Whether any column goes to a field.
    bool anyColumnMatched() const;

    qint64 rowCount() const { return qint64(m_rows.size()); }
    // The row's number in the sheet, as the spreadsheet program shows it.
    qint64 rowNumber(qint64 row) const { return m_rows[size_t(row)].number; }
    // The cell as it goes into its field, taken from the row's card (made
    // here unless given): cleaned, and cut to the field when `cut` is given
    // (it then tells whether it was). As read for a column that goes nowhere
    // and for the surname and first name.
    QString cell(qint64 row, int column, const TSchedaAnagrafica *member = nullptr, bool *cut = nullptr) const;

    // The card a row makes: its fields cleaned; the surname and first name
    // joined where no column gives both; a missing sex or birth date taken
    // from a valid fiscal code; Ricontatta "No" unless the row says "Sì".
    // `derived` learns which fields came from the fiscal code.
    TSchedaAnagrafica member(qint64 row, quint32 *derived = nullptr) const;

    quint8 problems(qint64 row) const { return m_rows[size_t(row)].problems; }
    // The first of the row's problems, 0 for a ready row.
    Problem firstProblem(qint64 row) const;
    // The record number (above 0) or the row number of the sheet (below 0)
    // that a duplicate row repeats.
    qint64 duplicateOf(qint64 row) const { return m_rows[size_t(row)].duplicateOf; }
    // "Pronta", or each problem said: "Mancano: sesso, CAP; codice fiscale errato".
    QString status(qint64 row) const;

    quint8 remarks(qint64 row) const { return m_rows[size_t(row)].remarks; }

    // A row is imported when every problem it has is among `accepted`; a row
    // that is no member never is.
    static bool kept(quint8 problems, quint8 accepted)
    {
        return !(problems & NotMember) && (problems & ~accepted) == 0;
    }
    qint64 keptCount(quint8 accepted) const;
    // Rows that have the problem, alone or with others.
    qint64 countWith(Problem problem) const;
    qint64 readyCount() const { return countWith(Problem(0)); }
    // The rows imported, in the file's order.
    std::vector<qint64> keptRows(quint8 accepted) const;

    // What an import did, as a text a volunteer keeps: the file, the time,
    // the members imported (records `first` + 1 on), every row not imported
    // and why, every row imported with a problem. CRLF line ends.
    QString report(const QString &path, quint8 accepted, qint64 firstIndex) const;
    // The rows left out for their first problem not accepted.
    std::array<qint64, ProblemCount> skippedBy(quint8 accepted) const;
    // "con dati obbligatori mancanti", ...
    static QString problemText(Problem problem);

    // What an import into the archive did.
    struct Outcome
    {
        enum Kind { Imported, NoRows, Failed, Stopped } kind = Failed;
        qint64 first = 0;  // index of the first member written
        qint64 count = 0;  // members written
        qint64 lockedMs = 0; // how long the archive was held for the writing
        bool undoable = false; // noted, so that it can be taken back
        QString report;    // see report()
        std::array<qint64, ProblemCount> skipped{}; // rows left out, by first problem
        qint64 notMembers = 0;                      // rows left out that are no members
    };
    // Writes the rows kept with `accepted` to the archive, all or none,
    // judged once more under the archive's write lock against every card it
    // holds then (another copy of the program may have saved or imported
    // meanwhile), then notes the import so that it can be taken back. The
    // rows are then put away, so that they cannot go in twice. `progress`
    // learns the members written so far; when it stops the import, the
    // archive is left as it was, nothing is noted and the rows stay.
    Outcome importInto(quint8 accepted, const Progress &progress = {});
    const QString &path() const { return m_path; }

private:
    struct Row
    {
        quint64 start;    // where its cells are packed
        quint32 number;   // in the sheet
        quint8 problems = 0;
        quint8 remarks = 0;
        quint8 notMember = 0; // why it is no member
        qint64 duplicateOf = 0;
    };

    void keepRow(qint64 number, const QStringList &cells);
    void setColumns(const QStringList &headings);
    QByteArrayView bytes(qint64 row, int column) const;
    QString text(qint64 row, int column) const;
    // False when `progress` asked to stop part way.
    bool judgeRows(const Progress &progress = {});
    bool readArchive(const std::function<bool(const RecordFile::Visitor &)> &forEach);
    quint8 problemsOf(const TSchedaAnagrafica &member, quint32 *missing, quint32 *tooLong) const;
    QString statusOf(qint64 row, quint8 problems) const;

    class Arena;
    std::unique_ptr<Arena> m_arena;
    std::vector<Row> m_rows;
    std::vector<Column> m_columns;
    QDate m_today;
    // Members of the archive by fiscal code and by name and birth date, as
    // 64-bit digests of their compared bytes, with their record numbers.
    std::unordered_map<quint64, qint64> m_archiveCodes, m_archiveNames;
    // The archive's stamp when it was read, empty when it may have changed
    // while it was.
    QByteArray m_archiveStamp;
    std::array<QString, TSchedaAnagrafica::FieldCount> m_common;
    QString m_path;
    bool m_judged = false;
};
