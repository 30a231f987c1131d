#include "base/backups.h"
#include "base/clock.h"
#include "fees/amounts.h"
#include "fees/feeledger.h"
#include "fees/frmquote.h"
#include "fees/frmquotemancanti.h"
#include "fees/owing.h"
#include "fees/receipt.h"
#include "members/memberarchive.h"
#include "report/reportpreview.h"
#include "report/reportrenderer.h"
#include "support/filecapabilities.h"
#include "support/pdfwords.h"
#include "support/testfolder.h"
#include "support/windowtest.h"

#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTableWidget>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <QThread>

#include <thread>

using FeeLedger::Method;
using FeeLedger::Payment;

namespace {

Payment paymentOf(qint64 member, int year, const QDate &paid, qint64 cents, Method method = Method::Cash)
{
    Payment p;
    p.member = member;
    p.fiscalCode = QStringLiteral("RSSMRA80A01H501U");
    p.name = QStringLiteral("Rossi Mario");
    p.year = year;
    p.paid = paid;
    p.cents = cents;
    p.method = method;
    return p;
}

} // namespace

TSchedaAnagrafica card(const QString &name, const QString &admitted, const QString &left = QString(),
                       const QString &email = QString())
{
    TSchedaAnagrafica s;
    s.Candidato = name;
    s.Competenze = admitted;
    s.Disponibilita = left;
    s.Email = email;
    s.Cel = QStringLiteral("333 1234567");
    return s;
}

class TestFees : public WindowTest
{
    Q_OBJECT

private slots:
    void initTestCase() { setUpCase(); }
    void init()
    {
        setUp();
        Clock::setForTesting(QDateTime(QDate(2026, 6, 15), QTime(10, 0)));
    }
    void cleanup()
    {
        Clock::setForTesting({});
        tearDown();
    }

    void amounts_data();
    void amounts();
    void amountsInWords_data();
    void amountsInWords();
    void receiptsNumberedPerYearWithoutGaps();
    void whoPaidAndHowMuch();
    void associationAndYearlyFees();
    void anOlderLedgerIsBroughtUpToDate();
    void twoCopiesNeverShareANumber();
    void aLedgerThatCannotBeUsed_data();
    void aLedgerThatCannotBeUsed();
    void dailyCopyAndRestore();
    void receiptOnHalfASheet();
    void recordingFromTheWindow_data();
    void recordingFromTheWindow();
    void cancellingAReceipt();
    void whoStillOwes();
};

void TestFees::amounts_data()
{
    using Amounts::Problem;
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("cents");
    QTest::addColumn<int>("problem");
    QTest::newRow("whole euro") << "30" << qint64(3000) << int(Problem::None);
    QTest::newRow("comma") << "30,00" << qint64(3000) << int(Problem::None);
    QTest::newRow("point") << "30.00" << qint64(3000) << int(Problem::None);
    QTest::newRow("one decimal") << "30,5" << qint64(3050) << int(Problem::None);
    QTest::newRow("euro sign before") << "€ 30" << qint64(3000) << int(Problem::None);
    QTest::newRow("euro sign after") << "30 €" << qint64(3000) << int(Problem::None);
    QTest::newRow("the word") << "30 Euro" << qint64(3000) << int(Problem::None);
    QTest::newRow("thousands and cents") << "1.250,50" << qint64(125050) << int(Problem::None);
    QTest::newRow("thousands alone") << "1.250" << qint64(125000) << int(Problem::None);
    QTest::newRow("a million") << "1.000.000" << qint64(100000000) << int(Problem::None);
    QTest::newRow("past a million") << "1000000,01" << qint64(-1) << int(Problem::TooLarge);
    QTest::newRow("far past a million") << "99999999999999" << qint64(-1) << int(Problem::TooLarge);
    QTest::newRow("negative") << "-30" << qint64(-1) << int(Problem::Negative);
    QTest::newRow("zero") << "0,00" << qint64(0) << int(Problem::Zero);
    QTest::newRow("letters") << "trenta" << qint64(-1) << int(Problem::NotAnAmount);
    QTest::newRow("three decimals") << "30,005" << qint64(-1) << int(Problem::NotAnAmount);
    QTest::newRow("a mark at the end") << "30," << qint64(-1) << int(Problem::NotAnAmount);
    QTest::newRow("a point in a wrong place") << "30.0000" << qint64(-1) << int(Problem::NotAnAmount);
    QTest::newRow("point as decimals, English style") << "1,250.50" << qint64(-1) << int(Problem::NotAnAmount);
    QTest::newRow("empty") << "  " << qint64(-1) << int(Problem::Empty);
}

void TestFees::amounts()
{
    QFETCH(QString, text);
    QFETCH(qint64, cents);
    QFETCH(int, problem);
    const Amounts::Parsed parsed = Amounts::parse(text);
    QCOMPARE(int(parsed.problem), problem);
    QCOMPARE(parsed.cents.value_or(-1), cents);
    QCOMPARE(Amounts::problemText(parsed.problem).isEmpty(), parsed.problem == Amounts::Problem::None);
}

void TestFees::amountsInWords_data()
{
    QTest::addColumn<qint64>("cents");
    QTest::addColumn<QString>("words");
    QTest::addColumn<QString>("figures");
    QTest::newRow("30") << qint64(3000) << "trenta/00 euro" << "30,00";
    QTest::newRow("21") << qint64(2100) << "ventuno/00 euro" << "21,00";
    QTest::newRow("28,50") << qint64(2850) << "ventotto/50 euro" << "28,50";
    QTest::newRow("23") << qint64(2300) << "ventitré/00 euro" << "23,00";
    QTest::newRow("3") << qint64(300) << "tre/00 euro" << "3,00";
    QTest::newRow("108") << qint64(10800) << "centootto/00 euro" << "108,00";
    QTest::newRow("180") << qint64(18000) << "centottanta/00 euro" << "180,00";
    QTest::newRow("1.250,05") << qint64(125005) << "milleduecentocinquanta/05 euro" << "1.250,05";
    QTest::newRow("2.000") << qint64(200000) << "duemila/00 euro" << "2.000,00";
    QTest::newRow("1.000.000") << qint64(100000000) << "unmilione/00 euro" << "1.000.000,00";
    QTest::newRow("0,50") << qint64(50) << "zero/50 euro" << "0,50";
}

void TestFees::amountsInWords()
{
    QFETCH(qint64, cents);
    QFETCH(QString, words);
    QFETCH(QString, figures);
    QCOMPARE(Amounts::words(cents), words);
    QCOMPARE(Amounts::figures(cents), figures);
}

void TestFees::receiptsNumberedPerYearWithoutGaps()
{
    TestFolder folder;
    // Reading an empty ledger makes no file.
    const auto none = FeeLedger::ofMember(1);
    QVERIFY(none && none->isEmpty());
    QVERIFY(!QFileInfo::exists(folder.file(QStringLiteral("Quote.sqlite"))));

    const auto first = FeeLedger::record(paymentOf(1, 2026, QDate(2026, 1, 10), 3000));
    const auto second = FeeLedger::record(paymentOf(2, 2026, QDate(2026, 2, 1), 3000, Method::Transfer));
    // Paid early in the next year for the old one: numbered in the year paid.
    const auto late = FeeLedger::record(paymentOf(3, 2026, QDate(2027, 1, 5), 3000));
    QVERIFY(first && second && late);
    QCOMPARE(first->receipt(), QStringLiteral("1/2026"));
    QCOMPARE(second->receipt(), QStringLiteral("2/2026"));
    QCOMPARE(late->receipt(), QStringLiteral("1/2027"));

    // A cancelled receipt stays, with its reason, and its number is not given again.
    QVERIFY(FeeLedger::cancel(second->id, QStringLiteral("importo sbagliato")));
    QVERIFY(!FeeLedger::cancel(second->id, QStringLiteral("di nuovo")));
    const auto third = FeeLedger::record(paymentOf(2, 2026, QDate(2026, 2, 2), 3500, Method::Transfer));
    QCOMPARE(third->receipt(), QStringLiteral("3/2026"));
    const auto listed = FeeLedger::ofMember(2);
    QVERIFY(listed);
    QCOMPARE(listed->size(), 2);
    QVERIFY(listed->at(0).cancelled);
    QCOMPARE(listed->at(0).reason, QStringLiteral("importo sbagliato"));
    QCOMPARE(listed->at(0).receipt(), QStringLiteral("2/2026"));
    QCOMPARE(listed->at(1).cents, 3500);
    QCOMPARE(listed->at(1).name, QStringLiteral("Rossi Mario"));
    QCOMPARE(listed->at(1).paid, QDate(2026, 2, 2));
    QCOMPARE(listed->at(1).method, Method::Transfer);

    // One file, and nothing beside it once the calls are over.
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{QStringLiteral("Quote.sqlite")});
}

void TestFees::whoPaidAndHowMuch()
{
    TestFolder folder;
    QVERIFY(FeeLedger::record(paymentOf(1, 2025, QDate(2025, 3, 1), 3000)));
    QVERIFY(FeeLedger::record(paymentOf(1, 2026, QDate(2026, 3, 1), 3000)));
    QVERIFY(FeeLedger::record(paymentOf(2, 2026, QDate(2026, 3, 2), 2500, Method::Card)));
    QVERIFY(FeeLedger::record(paymentOf(2, 2026, QDate(2026, 4, 2), 500, Method::Card))); // the rest, later
    const auto wrong = FeeLedger::record(paymentOf(3, 2026, QDate(2026, 3, 3), 3000));
    QVERIFY(FeeLedger::cancel(wrong->id, QStringLiteral("socio sbagliato")));

    QCOMPARE(FeeLedger::paidFor(2026), std::optional<QSet<qint64>>(QSet<qint64>{1, 2}));
    QCOMPARE(FeeLedger::paidFor(2025), std::optional<QSet<qint64>>(QSet<qint64>{1}));
    QCOMPARE(FeeLedger::lastYearPaid({1, 2, 3, 4}),
             (std::optional<QHash<qint64, int>>(QHash<qint64, int>{{1, 2026}, {2, 2026}})));
    QCOMPARE(FeeLedger::lastYearPaid({1}), (std::optional<QHash<qint64, int>>(QHash<qint64, int>{{1, 2026}})));
    const auto totals = FeeLedger::totals(2026);
    QVERIFY(totals);
    QCOMPARE(totals->payers, 2);
    QCOMPARE(totals->cents, 6000);
    QCOMPARE(totals->centsByMethod, (QMap<Method, qint64>{{Method::Cash, 3000}, {Method::Card, 3000}}));
}

void TestFees::associationAndYearlyFees()
{
    TestFolder folder;
    QCOMPARE(FeeLedger::yearlyFee(2026), std::optional<qint64>());
    const FeeLedger::Association a{QStringLiteral("Circolo \"Il Ponte\""), QStringLiteral("Via Roma 1, Perugia"),
                                   QStringLiteral("94012345678")};
    QVERIFY(FeeLedger::setAssociation(a));
    QVERIFY(FeeLedger::setYearlyFee(2026, 3000));
    QVERIFY(FeeLedger::setYearlyFee(2026, 3500)); // changed
    QVERIFY(FeeLedger::setYearlyFee(2025, 2500));
    const auto read = FeeLedger::association();
    QVERIFY(read);
    QCOMPARE(read->name, a.name);
    QCOMPARE(read->address, a.address);
    QCOMPARE(read->fiscalCode, a.fiscalCode);
    QCOMPARE(FeeLedger::yearlyFee(2026), std::optional<qint64>(3500));
    QCOMPARE(FeeLedger::yearlyFees(), (std::optional<QMap<int, qint64>>(QMap<int, qint64>{{2025, 2500}, {2026, 3500}})));
}

void TestFees::anOlderLedgerIsBroughtUpToDate()
{
    // A ledger of the first version, with a payment: it gains the index of
    // the second and keeps what it holds.
    TestFolder folder;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("vecchio"));
        db.setDatabaseName(folder.file(QStringLiteral("Quote.sqlite")));
        QVERIFY(db.open());
        QSqlQuery q(db);
        for (const char *sql :
             {"CREATE TABLE versamenti (id INTEGER PRIMARY KEY AUTOINCREMENT, socio INTEGER NOT NULL, codice_fiscale "
              "TEXT NOT NULL, nome TEXT NOT NULL, anno INTEGER NOT NULL, data TEXT NOT NULL, centesimi INTEGER NOT NULL, "
              "modalita INTEGER NOT NULL, nota TEXT NOT NULL, ricevuta_anno INTEGER NOT NULL, ricevuta_numero INTEGER "
              "NOT NULL, annullata INTEGER NOT NULL DEFAULT 0, motivo TEXT NOT NULL DEFAULT '', UNIQUE (ricevuta_anno, "
              "ricevuta_numero))",
              "CREATE INDEX versamenti_socio ON versamenti (socio)",
              "CREATE TABLE associazione (chiave TEXT PRIMARY KEY, valore TEXT NOT NULL)",
              "CREATE TABLE quote_annue (anno INTEGER PRIMARY KEY, centesimi INTEGER NOT NULL)",
              "INSERT INTO versamenti (socio, codice_fiscale, nome, anno, data, centesimi, modalita, nota, "
              "ricevuta_anno, ricevuta_numero) VALUES (7, '', 'Bianchi Anna', 2025, '2025-03-01', 3000, 0, '', 2025, 1)",
              "PRAGMA user_version = 1"})
            QVERIFY2(q.exec(QString::fromLatin1(sql)), sql);
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("vecchio"));
    QCOMPARE(FeeLedger::lastYearPaid({7}), (std::optional<QHash<qint64, int>>(QHash<qint64, int>{{7, 2025}})));
    const auto next = FeeLedger::record(paymentOf(7, 2026, QDate(2026, 1, 2), 3000));
    QCOMPARE(next->receipt(), QStringLiteral("1/2026"));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("nuovo"));
        db.setDatabaseName(folder.file(QStringLiteral("Quote.sqlite")));
        QVERIFY(db.open());
        QSqlQuery q(db);
        QVERIFY(q.exec(QStringLiteral("PRAGMA user_version")) && q.next());
        QCOMPARE(q.value(0).toInt(), 2);
        QVERIFY(q.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'index' AND name LIKE 'versamenti_socio%'")));
        QStringList indexes;
        while (q.next())
            indexes << q.value(0).toString();
        QCOMPARE(indexes, QStringList{QStringLiteral("versamenti_socio_anno")});
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("nuovo"));
}

void TestFees::twoCopiesNeverShareANumber()
{
    // Two writers at the same moment, each with its own connection, as two
    // copies of the program on one folder: every number once, none missing.
    TestFolder folder;
    QVERIFY(FeeLedger::setYearlyFee(2026, 3000)); // the file made before they start
    QList<int> numbers[2];
    std::thread writers[2];
    for (int w = 0; w < 2; ++w)
        writers[w] = std::thread([w, &numbers] {
            for (int i = 0; i < 25; ++i)
                if (const auto p = FeeLedger::record(paymentOf(w * 100 + i, 2026, QDate(2026, 5, 1), 3000)))
                    numbers[w] << p->receiptNumber;
        });
    for (std::thread &t : writers)
        t.join();
    QList<int> all = numbers[0] + numbers[1];
    std::sort(all.begin(), all.end());
    QList<int> expected;
    for (int n = 1; n <= 50; ++n)
        expected << n;
    QCOMPARE(all, expected);
}

void TestFees::aLedgerThatCannotBeUsed_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("readOnly");
    QTest::newRow("damaged") << QByteArray("questo non è un database, solo testo\n").repeated(200) << false;
    QTest::newRow("read-only") << QByteArray() << true;
}

void TestFees::aLedgerThatCannotBeUsed()
{
    // Nothing recorded, nothing changed, every call says so.
    QFETCH(QByteArray, content);
    QFETCH(bool, readOnly);
    TestFolder folder;
    const QString path = folder.file(QStringLiteral("Quote.sqlite"));
    if (readOnly)
        QVERIFY(FeeLedger::record(paymentOf(1, 2026, QDate(2026, 1, 10), 3000)));
    else
        folder.write(QStringLiteral("Quote.sqlite"), content);
    const QByteArray before = folder.read(QStringLiteral("Quote.sqlite"));
    if (readOnly)
        QFile::setPermissions(path, QFileDevice::ReadOwner);
    {
        HonourFilePermissions permissions;
        QVERIFY(!FeeLedger::record(paymentOf(2, 2026, QDate(2026, 1, 11), 3000)));
        QVERIFY(!FeeLedger::setYearlyFee(2026, 3000));
        QCOMPARE(FeeLedger::ofMember(1).has_value(), readOnly); // a read-only ledger still reads
    }
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QCOMPARE(folder.read(QStringLiteral("Quote.sqlite")), before);
}

void TestFees::dailyCopyAndRestore()
{
    // The day's first write copies the ledger as it stood, through SQLite;
    // the copy is listed and put back like any other.
    TestFolder folder;
    Clock::setForTesting(QDateTime(QDate(2026, 6, 14), QTime(9, 0)));
    QVERIFY(FeeLedger::record(paymentOf(1, 2026, QDate(2026, 6, 14), 3000)));
    Clock::setForTesting(QDateTime(QDate(2026, 6, 15), QTime(9, 0)));
    QVERIFY(FeeLedger::record(paymentOf(2, 2026, QDate(2026, 6, 15), 3000)));
    QVERIFY(FeeLedger::record(paymentOf(3, 2026, QDate(2026, 6, 15), 3000))); // no second copy
    Backups::waitForCopies();
    // The 14th's copy is the new file's empty tables.
    QCOMPARE(QDir(folder.file(QStringLiteral("Backup"))).entryList({QStringLiteral("Quote*")}, QDir::Files),
             (QStringList{QStringLiteral("Quote_2026-06-14.sqlite"), QStringLiteral("Quote_2026-06-15.sqlite")}));
    Backups::Copy copy;
    for (const Backups::Copy &c : Backups::list())
        if (c.fileName == QStringLiteral("Quote.sqlite") && c.date == QDate(2026, 6, 15))
            copy = c;
    QCOMPARE(copy.date, QDate(2026, 6, 15));
    QCOMPARE(Backups::restore(copy), Backups::Restored::Yes);
    QCOMPARE(FeeLedger::paidFor(2026), std::optional<QSet<qint64>>(QSet<qint64>{1}));
    // A copy that is not a whole database is refused and changes nothing.
    folder.write(QStringLiteral("Backup/Quote_2026-06-13.sqlite"), QByteArray("SQLite format 3").append('\0').append(4000, 'x'));
    Backups::Copy damaged = copy;
    damaged.path = folder.file(QStringLiteral("Backup/Quote_2026-06-13.sqlite"));
    damaged.date = QDate(2026, 6, 13);
    QCOMPARE(Backups::restore(damaged), Backups::Restored::Damaged);
    QCOMPARE(FeeLedger::paidFor(2026), std::optional<QSet<qint64>>(QSet<qint64>{1}));
}

void TestFees::receiptOnHalfASheet()
{
    TestFolder folder;
    Payment p = paymentOf(12, 2026, QDate(2026, 3, 5), 3000, Method::Transfer);
    p.receiptYear = 2026;
    p.receiptNumber = 12;
    const FeeLedger::Association a{QStringLiteral("Circolo Il Ponte"), QStringLiteral("Via Roma 1, Perugia"),
                                   QStringLiteral("94012345678")};
    const QString pdf = folder.file(QStringLiteral("ricevuta.pdf"));
    QVERIFY(Report::writePdf(pdf, *Receipt::make(p, a)));
    const QList<PdfWord> words = pdfWords(pdf);
    QStringList text;
    for (const PdfWord &w : words) {
        text << w.text;
        QVERIFY2(w.box.bottom() < 148.5 * kPointsPerMm, qPrintable(w.text)); // the upper half of the sheet
    }
    const QString all = text.join(u' ');
    for (const char *expected : {"Ricevuta quota associativa n. 12/2026", "Circolo Il Ponte", "Via Roma 1, Perugia",
                                 "Codice fiscale: 94012345678", "Data: 05/03/2026", "Rossi Mario, codice fiscale "
                                 "RSSMRA80A01H501U", "euro 30,00 (trenta/00 euro)", "per l'anno 2026",
                                 "Modalità di pagamento: Bonifico", "Il Tesoriere"})
        QVERIFY2(all.contains(QString::fromUtf8(expected)), expected);
    QVERIFY(!all.contains(QStringLiteral("ANNULLATA")));
    p.cancelled = true;
    p.reason = QStringLiteral("socio sbagliato");
    QVERIFY(Report::writePdf(pdf, *Receipt::make(p, a)));
    QStringList again;
    for (const PdfWord &w : pdfWords(pdf))
        again << w.text;
    QVERIFY(again.join(u' ').contains(QStringLiteral("ANNULLATA: socio sbagliato")));
}

void TestFees::recordingFromTheWindow_data()
{
    QTest::addColumn<QString>("year");
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("amount");
    QTest::addColumn<QList<bool>>("answers");
    QTest::addColumn<QString>("message"); // the last one shown
    QTest::addColumn<int>("recorded");
    const QList<bool> none;
    QTest::newRow("the year's fee") << "2026" << "15/06/2026" << "30" << none
                                    << "Il versamento di euro 30,00 per il 2026 è stato registrato con la ricevuta n. "
                                       "1/2026."
                                    << 1;
    QTest::newRow("euro sign and cents") << "2026" << "1.6.2026" << "€ 25,50" << none
                                         << "Il versamento di euro 25,50 per il 2026 è stato registrato con la "
                                            "ricevuta n. 1/2026."
                                         << 1;
    QTest::newRow("letters") << "2026" << "15/06/2026" << "trenta" << none
                             << Amounts::problemText(Amounts::Problem::NotAnAmount) << 0;
    QTest::newRow("negative") << "2026" << "15/06/2026" << "-30" << none
                              << Amounts::problemText(Amounts::Problem::Negative) << 0;
    QTest::newRow("zero, not confirmed") << "2026" << "15/06/2026" << "0" << QList<bool>{false}
                                         << Amounts::problemText(Amounts::Problem::Zero) << 0;
    QTest::newRow("no such date") << "2026" << "31/02/2026" << "30" << none
                                  << "Attenzione: la data del versamento non è valida. Scriverla nella forma "
                                     "gg/mm/aaaa, per esempio 15/06/2026."
                                  << 0;
    QTest::newRow("before the admission, declined") << "2019" << "15/06/2026" << "30" << QList<bool>{false}
                                                    << "Il socio è stato ammesso nel 2020: il 2019 è precedente. Si "
                                                       "vuole registrare ugualmente il versamento per il 2019?"
                                                    << 0;
    QTest::newRow("next year, confirmed") << "2027" << "15/06/2026" << "30" << QList<bool>{true}
                                          << "Il versamento di euro 30,00 per il 2027 è stato registrato con la "
                                             "ricevuta n. 1/2026."
                                          << 1;
}

void TestFees::recordingFromTheWindow()
{
    QFETCH(QString, year);
    QFETCH(QString, date);
    QFETCH(QString, amount);
    QFETCH(QList<bool>, answers);
    QFETCH(QString, message);
    QFETCH(int, recorded);
    TestFolder folder;
    const TSchedaAnagrafica member = card(QStringLiteral("Rossi Mario"), QStringLiteral("10/01/2020"));
    QVERIFY(MemberArchive().append(member));
    TfrmQuote window;
    window.setMember(1, member);
    QCOMPARE(window.findChild<QLabel *>(QStringLiteral("lblSocio"))->text(), QStringLiteral("Rossi Mario - scheda n. 1"));
    QCOMPARE(window.findChild<QLineEdit *>(QStringLiteral("txtData"))->text(), QStringLiteral("15/06/2026"));
    window.findChild<QComboBox *>(QStringLiteral("cmbAnno"))->setCurrentText(year);
    window.findChild<QLineEdit *>(QStringLiteral("txtData"))->setText(date);
    window.findChild<QLineEdit *>(QStringLiteral("txtImporto"))->setText(amount);
    for (bool a : answers)
        m_messages->answerNext(a);
    window.cmdRegistraClick();
    QCOMPARE(m_messages->texts().last(), message);
    QCOMPARE(window.grid()->rowCount(), recorded);
    QCOMPARE(FeeLedger::ofMember(1)->size(), recorded);
    if (recorded)
        QCOMPARE(window.grid()->item(0, 4)->text(), QStringLiteral("1/2026"));
}

void TestFees::cancellingAReceipt()
{
    TestFolder folder;
    const TSchedaAnagrafica member = card(QStringLiteral("Rossi Mario"), QStringLiteral("10/01/2020"));
    QVERIFY(MemberArchive().append(member));
    QVERIFY(FeeLedger::record(paymentOf(1, 2026, QDate(2026, 2, 1), 3000)));
    TfrmQuote window;
    window.setMember(1, member);
    // Nothing chosen: nothing cancelled.
    window.cmdAnnullaRicevutaClick();
    QCOMPARE(m_messages->texts().last(), QStringLiteral("Attenzione: scegliere prima un versamento nell'elenco."));
    window.grid()->selectRow(0);
    // No at the question, then an empty reason: still valid.
    m_messages->answerNext(false);
    window.cmdAnnullaRicevutaClick();
    QVERIFY(m_messages->shown().last().noByDefault);
    m_messages->typeNext(QStringLiteral("  "));
    window.cmdAnnullaRicevutaClick();
    QVERIFY(!FeeLedger::ofMember(1)->first().cancelled);
    m_messages->typeNext(QStringLiteral("importo sbagliato"));
    window.cmdAnnullaRicevutaClick();
    QVERIFY(FeeLedger::ofMember(1)->first().cancelled);
    QCOMPARE(window.grid()->item(0, 4)->text(), QStringLiteral("1/2026 ANNULLATA"));
    QCOMPARE(window.grid()->item(0, 5)->text(), QStringLiteral("importo sbagliato"));
    // Its receipt still shows, with the reason.
    bool previewed = false;
    Modal::setHandlerForTesting([&](QDialog *dialog) { previewed = qobject_cast<Report::Preview *>(dialog); });
    window.grid()->selectRow(0);
    window.cmdRicevutaClick();
    Modal::setHandlerForTesting({});
    QVERIFY(previewed);
}

void TestFees::whoStillOwes()
{
    // On 15/06/2026: Bianchi paid 2026, Rossi paid only 2025, Verdi never;
    // Neri left in 2025, Gialli joins in September.
    TestFolder folder;
    MemberArchive archive;
    QVERIFY(archive.append(card(QStringLiteral("Rossi Mario"), QStringLiteral("01/01/2020"), QString(),
                                QStringLiteral("rossi@esempio.it"))));
    QVERIFY(archive.append(card(QStringLiteral("Bianchi Anna"), QStringLiteral("01/01/2021"), QString(),
                                QStringLiteral("anna@esempio.it"))));
    QVERIFY(archive.append(card(QStringLiteral("Verdi Luca"), QStringLiteral("01/03/2024"), QString(),
                                QStringLiteral("luca@esempio.it"))));
    QVERIFY(archive.append(card(QStringLiteral("Neri Paola"), QStringLiteral("01/01/2019"), QStringLiteral("30/06/2025"))));
    QVERIFY(archive.append(card(QStringLiteral("Gialli Ugo"), QStringLiteral("01/09/2026"))));
    QVERIFY(FeeLedger::record(paymentOf(1, 2025, QDate(2025, 2, 1), 3000)));
    QVERIFY(FeeLedger::record(paymentOf(2, 2026, QDate(2026, 2, 1), 3000)));
    const auto cancelled = FeeLedger::record(paymentOf(3, 2026, QDate(2026, 2, 2), 3000));
    QVERIFY(FeeLedger::cancel(cancelled->id, QStringLiteral("sbagliato")));

    TfrmQuoteMancanti window;
    window.setYear(2026);
    QCOMPARE(window.findChild<QLabel *>(QStringLiteral("lblTotale"))->text(),
             QStringLiteral("Mancano 2 quote su 3 soci attivi"));
    QCOMPARE(window.grid()->rowCount(), 2);
    QCOMPARE(window.grid()->item(0, 0)->text(), QStringLiteral("Rossi Mario"));
    QCOMPARE(window.grid()->item(0, 3)->text(), QStringLiteral("2025"));
    QCOMPARE(window.grid()->item(1, 0)->text(), QStringLiteral("Verdi Luca"));
    QCOMPARE(window.grid()->item(1, 3)->text(), QStringLiteral("mai"));
    window.cmdCopiaEmailClick();
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("rossi@esempio.it;luca@esempio.it"));
    // 2025 as at its end: Neri had left; Verdi and Bianchi owe it.
    window.setYear(2025);
    QCOMPARE(window.findChild<QLabel *>(QStringLiteral("lblTotale"))->text(),
             QStringLiteral("Mancano 2 quote su 3 soci attivi"));
    QCOMPARE(window.grid()->item(0, 0)->text(), QStringLiteral("Bianchi Anna"));
}

QTEST_MAIN(TestFees)
#include "tst_fees.moc"
