// Times the import of a members' spreadsheet into a large archive: the
// preview (the file read, its columns matched, every row judged against the
// archive) of a 6,000-row CSV and .xlsx, and the append of the rows kept,
// each beside the plain reading or writing of the same bytes; then the
// memory a preview of a CSV of about 100 MB takes.
//
//   bench_import [members] [runs]   (default 100000 members, 7 runs)

#include "base/clock.h"
#include "checks/codicefiscale.h"
#include "sheets/spreadsheetfile.h"
#include "import/spreadsheetimport.h"
#include "memberdata.h"

#include <QCoreApplication>
#include <QFile>
#include <QThread>

#include <xlsxwriter.h>

#include <cstdio>

#include <unistd.h>

namespace {

constexpr int kRows = 6000;

const char *const kHeadings[] = {"Cognome e nome", "Sesso", "Data di nascita", "Luogo di nascita", "Indirizzo",
                                 "Città", "CAP", "Qualifica", "Codice fiscale", "Cellulare", "Lingue",
                                 "Data iscrizione", "Data cessazione", "Note", "Da ricontattare"};

// A member of the sheet: the realistic ones, numbered past the archive's,
// with a fiscal code that passes its check as most real ones do.
QStringList sheetRow(qint64 i)
{
    TSchedaAnagrafica s = RealisticMembers::member(i);
    for (char16_t c = u'A'; c <= u'Z'; ++c) {
        const QString code = s.CodFisc.left(15) + QChar(c);
        if (CodFiscValido(code)) {
            s.CodFisc = code;
            break;
        }
    }
    return {s.Candidato, s.Sesso, s.DataNasc, s.LuogoNasc, s.Indirizzo, s.Citta, s.Cap, s.Settore, s.CodFisc, s.Cel,
            s.Lingue, s.Competenze, s.Disponibilita, s.Note, s.ricontatta().value_or(false) ? QStringLiteral("Sì")
                                                                                             : QStringLiteral("No")};
}

QByteArray csvLine(const QStringList &cells)
{
    QByteArray line;
    for (const QString &c : cells) {
        if (!line.isEmpty())
            line += ';';
        for (QChar ch : c)
            line += char(ch.unicode() < 256 ? ch.unicode() : '?');
    }
    return line + "\r\n";
}

// A CSV of rows from `first` on, as Italian spreadsheet programs save it,
// until it holds `rows` rows or `bytes` bytes.
void writeCsv(const QString &path, qint64 first, qint64 rows, qint64 bytes)
{
    QFile file(path);
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    QStringList headings;
    for (const char *h : kHeadings)
        headings << QString::fromUtf8(h);
    QByteArray block = csvLine(headings);
    qint64 written = 0;
    for (qint64 i = first; i < first + rows && written + block.size() < bytes; ++i) {
        block += csvLine(sheetRow(i));
        if (block.size() > (4 << 20)) {
            written += file.write(block);
            block.clear();
        }
    }
    file.write(block);
}

void writeXlsx(const QString &path, qint64 first, qint64 rows)
{
    lxw_workbook *book = workbook_new(QFile::encodeName(path).constData());
    lxw_worksheet *sheet = workbook_add_worksheet(book, "Soci");
    lxw_format *date = workbook_add_format(book);
    format_set_num_format(date, "dd/mm/yyyy");
    for (int c = 0; c < int(std::size(kHeadings)); ++c)
        worksheet_write_string(sheet, 0, lxw_col_t(c), kHeadings[c], nullptr);
    for (qint64 r = 0; r < rows; ++r) {
        const QStringList cells = sheetRow(first + r);
        for (int c = 0; c < int(cells.size()); ++c) {
            const auto row = lxw_row_t(r + 1);
            const QDate asDate = QDate::fromString(cells[c], QStringLiteral("dd/MM/yyyy"));
            if (asDate.isValid()) {
                lxw_datetime when = {asDate.year(), asDate.month(), asDate.day(), 0, 0, 0};
                worksheet_write_datetime(sheet, row, lxw_col_t(c), &when, date);
            } else if (!cells[c].isEmpty()) {
                worksheet_write_string(sheet, row, lxw_col_t(c), cells[c].toUtf8().constData(), nullptr);
            }
        }
    }
    workbook_close(book);
}

double plainRead(const QString &path)
{
    return BenchData::timed([&] {
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        QByteArray chunk(1 << 20, Qt::Uninitialized);
        while (file.read(chunk.data(), chunk.size()) > 0) {
        }
    });
}

double readRows(const QString &path)
{
    return BenchData::timed([&] {
        qint64 rows = 0;
        SpreadsheetFile::read(path, [&](qint64, const QStringList &) { return ++rows > 0; });
    });
}

struct Figures
{
    BenchData::Series baseline, rows, preview;
};

Figures preview(const QString &path, int runs, SpreadsheetImport &import)
{
    Figures f;
    for (int r = 0; r < runs; ++r) {
        f.baseline.add(plainRead(path));
        f.rows.add(readRows(path));
        f.preview.add(BenchData::timed([&] {
            import.load(path);
            import.judge(Clock::today());
        }));
    }
    return f;
}

void print(const char *what, const Figures &f, qint64 rows)
{
    std::printf("%s: plain read %.1f ms (median %.1f) | rows read %.0f ms (median %.0f) | preview of %lld rows "
                "(read, matched, judged) %.0f ms (median %.0f)\n",
                what, f.baseline.min(), f.baseline.median(), f.rows.min(), f.rows.median(), static_cast<long long>(rows),
                f.preview.min(), f.preview.median());
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    BenchData::Archive archive(argc, argv);
    const QString folder = archive.dir.path();
    const qint64 first = archive.members + 1000; // members the archive does not hold

    // The memory first, before anything else has grown the process.
    {
        const QString big = folder + QStringLiteral("/grande.csv");
        writeCsv(big, first, 10'000'000, 100'000'000);
        const long before = BenchData::resetPeak();
        const double read = plainRead(big);
        const long readPeak = BenchData::peakResidentMegabytes();
        BenchData::resetPeak();
        SpreadsheetImport import;
        const double took = BenchData::timed([&] {
            import.load(big);
            import.judge(Clock::today());
        });
        std::printf("preview of a %.0f MB CSV (%lld rows): %.0f ms, beside a plain read of %.0f ms | peak resident "
                    "%ld MB (%ld MB at the start; plain read: %ld MB) | peak of the process (ru_maxrss) %ld MB\n",
                    QFile(big).size() / 1e6, static_cast<long long>(import.rowCount()), took, read,
                    BenchData::peakResidentMegabytes(), before, readPeak, BenchData::peakMegabytes());
        QFile::remove(big);
    }

    const QString csv = folder + QStringLiteral("/soci.csv");
    const QString xlsx = folder + QStringLiteral("/soci.xlsx");
    writeCsv(csv, first, kRows, 1LL << 40);
    writeXlsx(xlsx, first, kRows);
    std::printf("sheets: %d rows; CSV %.2f MB, .xlsx %.2f MB\n", kRows, QFile(csv).size() / 1e6,
                QFile(xlsx).size() / 1e6);

    SpreadsheetImport import;
    const Figures fromCsv = preview(csv, archive.runs, import);
    print("CSV  ", fromCsv, import.rowCount());
    const Figures fromXlsx = preview(xlsx, archive.runs, import);
    print(".xlsx", fromXlsx, import.rowCount());
    std::printf("kinds: %lld ready, %lld missing fields, %lld wrong code, %lld duplicates, %lld too long\n",
                static_cast<long long>(import.readyCount()),
                static_cast<long long>(import.countWith(SpreadsheetImport::Missing)),
                static_cast<long long>(import.countWith(SpreadsheetImport::BadCode)),
                static_cast<long long>(import.countWith(SpreadsheetImport::Duplicate)),
                static_cast<long long>(import.countWith(SpreadsheetImport::TooLong)));

    // A sheet as a secretary brings it: three hundred members.
    const QString small = folder + QStringLiteral("/trecento.csv");
    writeCsv(small, first, 300, 1LL << 40);
    const Figures fromSmall = preview(small, archive.runs, import);
    print("300-row CSV", fromSmall, import.rowCount());

    // The import of every row of the 6,000, as the window makes it: journal,
    // duplicates judged again under the lock, the records, the import noted.
    // The archive is cut back after each run.
    const qint64 size = QFile(archive.path).size();
    const quint8 all = 0xF;
    BenchData::Series baseline, made, append, imported, locked;
    qint64 count = 0;
    for (int r = 0; r < archive.runs; ++r) {
        import.load(csv);
        const std::vector<qint64> rows = import.keptRows(all);
        count = qint64(rows.size());
        const QByteArray bytes(qsizetype(rows.size()) * TSchedaAnagrafica::RecordSize, 'x');
        baseline.add(BenchData::timed([&] {
            QFile plain(folder + QStringLiteral("/piano.bin"));
            plain.open(QIODevice::WriteOnly | QIODevice::Truncate);
            plain.write(bytes);
            plain.flush();
            fsync(plain.handle());
        }));
        made.add(BenchData::timed([&] {
            for (qint64 row : rows)
                import.member(row).toBytes();
        }));
        append.add(BenchData::timed(
            [&] { MemberArchive().append(qint64(rows.size()), [&](qint64 i) { return import.member(rows[size_t(i)]); }); }));
        QFile::resize(archive.path, size);
        // As in the window: the rows judged a moment before the user says yes.
        QThread::msleep(150);
        import.judge(QDate::currentDate());
        QThread::msleep(150);
        SpreadsheetImport::Outcome outcome;
        imported.add(BenchData::timed([&] { outcome = import.importInto(all); }));
        locked.add(double(outcome.lockedMs));
        QFile::resize(archive.path, size);
    }
    std::printf("import of %lld members: plain write and sync of the same %.1f MB %.0f ms (median %.0f) | cards made, "
                "not written %.0f ms (median %.0f) | cards made and appended in one locked write %.0f ms (median %.0f) "
                "| the import, all or nothing, judged again under the lock and noted for taking back %.0f ms (median "
                "%.0f), of which the archive locked for the writing %.0f ms (median %.0f), %.2fx the plain write\n",
                static_cast<long long>(count), count * 3612 / 1e6, baseline.min(), baseline.median(), made.min(),
                made.median(), append.min(), append.median(), imported.min(), imported.median(), locked.min(),
                locked.median(), locked.min() / baseline.min());
    return 0;
}
