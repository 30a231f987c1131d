// Times the fees ledger over a large archive of realistic members with ten
// years of payments (most members pay most years): who still owes a year,
// recording one payment, and a member's fees window from its opening to its
// grid drawn; beside the plain SQLite query of the same rows, in the same run.
//
//   bench_fees [members] [runs]   (default 100000 members, 7 runs)

#include "app/startup.h"
#include "fees/feeledger.h"
#include "fees/frmquote.h"
#include "fees/owing.h"
#include "memberdata.h"

#include <QApplication>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVariant>

#include <cstdio>

namespace {

// Ten years of payments, written in one transaction: members pay nine years
// out of ten, some twice in a year.
qint64 fillLedger(int members, int lastYear)
{
    FeeLedger::setYearlyFee(lastYear, 3000); // the file and its tables
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("riempimento"));
    db.setDatabaseName(ProgramFolder::file(QString::fromLatin1(FeeLedger::FileName)));
    qint64 rows = 0;
    if (db.open()) {
        QSqlQuery q(db);
        q.exec(QStringLiteral("BEGIN"));
        q.prepare(QStringLiteral("INSERT INTO versamenti (socio, codice_fiscale, nome, anno, data, centesimi, modalita, "
                                 "nota, ricevuta_anno, ricevuta_numero) VALUES (?, '', 'Socio', ?, ?, 3000, ?, '', ?, ?)"));
        for (int year = lastYear - 9; year <= lastYear; ++year) {
            int number = 0;
            for (int m = 1; m <= members; ++m) {
                if ((m * 7 + year) % 10 == 0)
                    continue;
                q.addBindValue(m);
                q.addBindValue(year);
                q.addBindValue(QStringLiteral("%1-03-01").arg(year));
                q.addBindValue(m % 5);
                q.addBindValue(year);
                q.addBindValue(++number);
                q.exec();
                ++rows;
            }
        }
        q.exec(QStringLiteral("COMMIT"));
        db.close();
    }
    db = QSqlDatabase();
    QSqlDatabase::removeDatabase(QStringLiteral("riempimento"));
    return rows;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Startup::prepareApplication(app);
    const BenchData::Archive archive(argc, argv);
    const int year = QDate::currentDate().year();
    const qint64 rows = fillLedger(archive.members, year);
    std::printf("ledger: %lld payments over ten years\n", static_cast<long long>(rows));

    BenchData::Series plain, owing, record, window;
    qint64 owed = 0;
    for (int r = 0; r < archive.runs; ++r) {
        plain.add(BenchData::timed([year] {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("semplice"));
            db.setDatabaseName(ProgramFolder::file(QString::fromLatin1(FeeLedger::FileName)));
            if (db.open()) {
                QSqlQuery q(db);
                q.prepare(QStringLiteral("SELECT DISTINCT socio FROM versamenti WHERE anno = ? AND annullata = 0"));
                q.addBindValue(year);
                q.exec();
                while (q.next()) {
                }
            }
            db.close();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(QStringLiteral("semplice"));
        }));
        owing.add(BenchData::timed([year, &owed] { owed = Owing::of(year, QDate::currentDate())->members.size(); }));
        record.add(BenchData::timed([year, r] {
            FeeLedger::Payment p;
            p.member = 1 + r;
            p.year = year;
            p.paid = QDate::currentDate();
            p.cents = 3000;
            FeeLedger::record(p);
        }));
        window.add(BenchData::timed([] {
            TfrmQuote frmQuote;
            TSchedaAnagrafica card;
            card.Candidato = QStringLiteral("Socio");
            frmQuote.setMember(42, card);
            frmQuote.show();
            frmQuote.repaint();
            QCoreApplication::processEvents();
        }));
    }
    std::printf("plain SQLite query of who paid the year: min %.1f ms, median %.1f ms\n", plain.min(), plain.median());
    std::printf("who still owes the year (%lld members): min %.1f ms (%.2fx), median %.1f ms\n",
                static_cast<long long>(owed), owing.min(), owing.min() / plain.min(), owing.median());
    std::printf("recording a payment: min %.1f ms, median %.1f ms\n", record.min(), record.median());
    std::printf("a member's fees window, opened to drawn: min %.1f ms, median %.1f ms\n", window.min(), window.median());
    return 0;
}
