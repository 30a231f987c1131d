// Times the member search and the members-to-recontact summary over a large
// archive of realistic members, each beside reading the same file
// sequentially in the same run and, when built with SQLite, beside the same
// query over the same rows held in an SQLite table in memory.
//
//   bench_search [members] [runs]   (default 100000 members, 7 runs)
//
// "window" is from the button pressed to the list filled and painted; "rows"
// is the search alone, to the rows ready in sorted order.

#include "app/startup.h"
#include "members/memberarchive.h"
#include "search/frmdaricontattare.h"
#include "search/frmtrovacandidati.h"
#include "search/quickfind.h"
#include "search/resultpage.h"
#include "search/resultrows.h"
#include "memberdata.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <cstdio>

#ifdef QUORVEL_BENCH_SQLITE
#include <sqlite3.h>
#endif

namespace {

using BenchData::timed;

// Name, birth date and qualification, as a user narrowing a search would
// type them; about 1.6 % of the realistic members hold all three.
SearchFilters threeFilters()
{
    SearchFilters filters;
    filters[0] = QStringLiteral("ma");
    filters[1] = QStringLiteral("/196");
    filters[5] = QStringLiteral("socio");
    return filters;
}

double searchWindow(const SearchFilters &filters, size_t &rows)
{
    TfrmTrovaCandidati window;
    window.show();
    QCoreApplication::processEvents();
    for (size_t i = 0; i < filters.size(); ++i)
        window.filter(int(i))->setText(filters[i]);
    const double ms = timed([&] {
        window.findChild<QPushButton *>(QStringLiteral("btnCerca"))->click();
        QCoreApplication::processEvents();
    });
    rows = window.resultPage()->rows().size();
    return ms;
}

double recontactWindow(size_t &rows)
{
    double ms = 0;
    {
        TfrmDaRicontattare window;
        ms = timed([&] {
            window.show();
            QCoreApplication::processEvents();
        });
        rows = window.resultPage()->rows().size();
    }
    return ms;
}

#ifdef QUORVEL_BENCH_SQLITE
// The rows of the archive in an SQLite table in memory: the fields the
// search tests and the text of its row, ordered as the list orders them.
class SqliteRows
{
public:
    SqliteRows()
    {
        sqlite3_open(":memory:", &m_db);
        exec("CREATE TABLE members(idx INTEGER, candidato TEXT, datanasc TEXT, settore TEXT, ricontatta TEXT, "
             "row TEXT)");
        exec("BEGIN");
        sqlite3_stmt *insert = nullptr;
        sqlite3_prepare_v2(m_db, "INSERT INTO members VALUES(?,?,?,?,?,?)", -1, &insert, nullptr);
        using S = TSchedaAnagrafica;
        MemberArchive().forEach([&](qint64 index, const char *record) {
            sqlite3_bind_int64(insert, 1, index);
            int column = 2;
            for (S::FieldId id : {S::fCandidato, S::fDataNasc, S::fSettore, S::fRicontatta})
                bindText(insert, column++, S::field(record, id));
            bindText(insert, column, ResultRowFormat::build(record));
            sqlite3_step(insert);
            sqlite3_reset(insert);
            return true;
        });
        sqlite3_finalize(insert);
        exec("COMMIT");
    }
    ~SqliteRows() { sqlite3_close(m_db); }

    // Runs the query to its last row, reading each row's text and index.
    double query(const char *where, size_t &rows)
    {
        const QByteArray sql =
            QByteArray("SELECT idx, row FROM members ") + where + " ORDER BY row COLLATE NOCASE, idx";
        return timed([&] {
            sqlite3_stmt *select = nullptr;
            sqlite3_prepare_v2(m_db, sql.constData(), -1, &select, nullptr);
            rows = 0;
            qint64 bytes = 0;
            while (sqlite3_step(select) == SQLITE_ROW) {
                bytes += sqlite3_column_int64(select, 0) + sqlite3_column_bytes(select, 1);
                ++rows;
            }
            sqlite3_finalize(select);
            Q_UNUSED(bytes)
        });
    }

private:
    void exec(const char *sql) { sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr); }
    static void bindText(sqlite3_stmt *statement, int column, const QString &text)
    {
        const QByteArray utf8 = text.toUtf8();
        sqlite3_bind_text(statement, column, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
    }

    sqlite3 *m_db = nullptr;
};
#endif

struct Figure
{
    const char *name;
    BenchData::Series ms;
    size_t rows = 0;
};

void print(const Figure &f, const BenchData::Series &baseline)
{
    std::printf("  %-34s %8zu rows   min %6.1f ms (%4.2fx)   median %6.1f ms (%4.2fx)\n", f.name, f.rows, f.ms.min(),
                f.ms.min() / baseline.min(), f.ms.median(), f.ms.median() / baseline.median());
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Startup::prepareApplication(app);
    const BenchData::Archive archive(argc, argv);
    const int runs = archive.runs;
    const QString &path = archive.path;

    BenchData::Series read, peak, windowPeak;
    Figure windowAll{"window: search, no filter", {}};
    Figure windowThree{"window: search, three filters", {}};
    Figure windowRecontact{"window: recontact summary", {}};
    Figure rowsAll{"rows: search, no filter", {}};
    Figure rowsThree{"rows: search, three filters", {}};
    Figure rowsRecontact{"rows: recontact summary", {}};
    Figure quickFind{"quick find through every row", {}};
    for (int run = 0; run < runs; ++run) {
        read.add(BenchData::readSequentially(path));
        const long beforeWindow = BenchData::resetPeak();
        windowAll.ms.add(searchWindow(SearchFilters(), windowAll.rows));
        windowPeak.add(double(BenchData::peakResidentMegabytes() - beforeWindow));
        windowThree.ms.add(searchWindow(threeFilters(), windowThree.rows));
        windowRecontact.ms.add(recontactWindow(windowRecontact.rows));

        const long before = BenchData::resetPeak();
        rowsAll.ms.add(timed([&] { rowsAll.rows = MemberSearch::find(SearchFilters())->size(); }));
        peak.add(double(BenchData::peakResidentMegabytes() - before));
        rowsThree.ms.add(timed([&] { rowsThree.rows = MemberSearch::find(threeFilters())->size(); }));
        rowsRecontact.ms.add(timed([&] { rowsRecontact.rows = MemberSearch::toRecontact().size(); }));
        const ResultRows all = *MemberSearch::find(SearchFilters());
        // A text no row holds: the quick find looks through all of them.
        quickFind.ms.add(timed([&] { QuickFind().next(all, 0, QStringLiteral("nessuno così")); }));
        quickFind.rows = all.size();
    }
    std::printf("  %-34s %8s        min %6.1f ms           median %6.1f ms\n", "raw sequential read", "", read.min(),
                read.median());
    for (const Figure *f : {&rowsAll, &rowsThree, &rowsRecontact, &windowAll, &windowThree, &windowRecontact, &quickFind})
        print(*f, read);
    const auto max = [](const BenchData::Series &s) { return *std::max_element(s.values.begin(), s.values.end()); };
    std::printf("  peak memory of a search without filter, above the program's before it: rows min %.0f MB, max %.0f "
                "MB; window, list shown, min %.0f MB, max %.0f MB\n",
                peak.min(), max(peak), windowPeak.min(), max(windowPeak));

#ifdef QUORVEL_BENCH_SQLITE
    SqliteRows sqlite;
    Figure sqlAll{"SQLite: no filter", {}};
    Figure sqlThree{"SQLite: three filters", {}};
    Figure sqlRecontact{"SQLite: recontact", {}};
    BenchData::Series readAgain;
    for (int run = 0; run < runs; ++run) {
        readAgain.add(BenchData::readSequentially(path));
        sqlAll.ms.add(sqlite.query("", sqlAll.rows));
        sqlThree.ms.add(sqlite.query("WHERE candidato LIKE '%ma%' AND datanasc LIKE '%/196%' "
                                     "AND settore LIKE '%socio%'",
                                     sqlThree.rows));
        sqlRecontact.ms.add(sqlite.query("WHERE ricontatta <> 'No'", sqlRecontact.rows));
    }
    std::printf("same rows in an SQLite table in memory (one thread), beside the raw read of its runs "
                "(min %.1f ms, median %.1f ms):\n",
                readAgain.min(), readAgain.median());
    for (const Figure *f : {&sqlAll, &sqlThree, &sqlRecontact})
        print(*f, readAgain);
#endif
    return 0;
}
