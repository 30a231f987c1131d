#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// What the spreadsheet readers share: the limits every file is read within,
// the rows they hand over, and the reasons they give when they cannot.
namespace SpreadsheetFile {

struct Limits
{
    qint64 rows = 1'000'000;         // rows with content; more is refused
    int columns = 256;               // cells to the right are left out
    int cellChars = 4096;            // a longer cell is cut
    qint64 entryBytes = 256LL << 20; // bytes unpacked from one zip entry
    int packingRatio = 200;          // unpacked bytes per packed byte, past the first MB
    qint64 sharedStrings = 2'000'000;
    qint64 sharedChars = 32LL << 20; // characters kept of an .xlsx's shared strings
};

// A row with at least one cell that is not blank; `number` counts every row
// of the sheet from 1, empty ones too, as the spreadsheet programs number
// them. Trailing empty cells are left out. Returning false stops the visit.
using RowVisitor = std::function<bool(qint64 number, const QStringList &cells)>;

struct Result
{
    bool ok = true;
    QString reason;      // why not, in Italian, for the user
    QString description; // what the file was read as ("foglio di calcolo Excel (.xlsx)")
};

// A spreadsheet's day number (1 is 1 January 1900, leap day of 1900 and all;
// 0 is 1 January 1904 in workbooks counted from 1904) as a date, the time of
// day dropped; nothing outside the years 1900 to 9999.
std::optional<QDate> dateFromSerial(double serial, bool from1904 = false);
// A number as a sheet shows it in Italian: whole numbers with all their
// digits, fractions with a decimal comma.
QString numberText(double value);

// The reasons a reader gives.
QString unreadable();  // not a spreadsheet, or damaged
QString tooManyRows(const Limits &limits);
QString tooLarge();    // unpacks to more than the limits allow

// Collects one row's cells for a reader: cells past the column limit are
// dropped, long ones cut, trailing empty ones left out.
class RowCells
{
public:
    explicit RowCells(const Limits &limits) : m_limits(limits) {}

    void set(int column, const QString &text);
    // The cell that follows the last one set.
    void append(const QString &text) { set(m_next, text); }
    // Empty cells: the next cell set by append() stands `count` further on.
    void skip(qint64 count) { m_next = int(qMin<qint64>(m_next + qMax<qint64>(count, 0), m_limits.columns + 1LL)); }
    int nextColumn() const { return m_next; }
    bool hasContent() const { return m_content; }
    const QStringList &cells() const { return m_cells; }
    void clear();

private:
    const Limits &m_limits;
    QStringList m_cells;
    int m_next = 0;
    bool m_content = false;
};

// Hands a reader's rows to the visitor and keeps count of them.
class RowSink
{
public:
    RowSink(const RowVisitor &visit, const Limits &limits) : m_visit(visit), m_limits(limits) {}

    // Hands the row on when it has content, then empties it; false once the
    // visit is over: the visitor stopped it, or the rows passed the limit.
    bool deliver(qint64 number, RowCells &cells);
    // The same row `times` times, numbered on from `number`; refused at once
    // when that many would pass the limit.
    bool deliverRepeated(qint64 number, qint64 times, RowCells &cells);
    bool tooMany() const { return m_tooMany; }
    bool stopped() const { return m_stopped; }
    bool over() const { return m_stopped || m_tooMany; }
    qint64 delivered() const { return m_delivered; }

private:
    const RowVisitor &m_visit;
    const Limits &m_limits;
    qint64 m_delivered = 0;
    bool m_tooMany = false;
    bool m_stopped = false;
};

} // namespace SpreadsheetFile
