#include "fees/amounts.h"
#include "fees/feeledger.h"
#include "support/filecapabilities.h"
#include "support/testfolder.h"

#include <QDir>
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

class TestFees : public QObject
{
    Q_OBJECT

private slots:
    void amounts_data();
    void amounts();
    void amountsInWords_data();
    void amountsInWords();
    void receiptsNumberedPerYearWithoutGaps();
    void whoPaidAndHowMuch();
    void associationAndYearlyFees();
    void twoCopiesNeverShareANumber();
    void aLedgerThatCannotBeUsed_data();
    void aLedgerThatCannotBeUsed();
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
    QCOMPARE(FeeLedger::lastYearPaid(), (std::optional<QHash<qint64, int>>(QHash<qint64, int>{{1, 2026}, {2, 2026}})));
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

QTEST_GUILESS_MAIN(TestFees)
#include "tst_fees.moc"
