#include "base/recordfile.h"
#include "members/memberarchive.h"
#include "search/memberstatistics.h"
#include "search/resultrows.h"
#include "support/filecapabilities.h"
#include "support/realisticmembers.h"
#include "support/testfolder.h"

#include "app/startup.h"
#include "base/clock.h"
#include "report/reportpreview.h"
#include "report/reportrenderer.h"
#include "search/frmstatistiche.h"
#include "support/pdfwords.h"
#include "support/windowtest.h"
#include "ui/filedialogs.h"

#include <QApplication>
#include <QChartView>
#include <QComboBox>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <QThread>

#include <atomic>

namespace {

using Stats = MemberStatistics;

struct Member
{
    const char *name, *sex, *birth, *code, *admitted, *left, *qualification, *town;
    bool recontact;
};

// A small register whose figures are counted by hand below, on 15/06/2025.
const Member kRegister[] = {
    // 18 on the very day; admitted on the last day of 2024.
    {"A", "F", "15/06/2007", "", "31/12/2024", "", "Socio ordinario", "Perugia", true},
    // 18 tomorrow; admitted on the first day of 2025.
    {"B", "M", "16/06/2007", "", "01/01/2025", "", "Socio ordinario", "Perugia", false},
    // Left on the first day of 2024; born in 1950 by her fiscal code only.
    {"C", "", "", "BNCLRA50A41G478S", "15/03/2010", "01/01/2024", "Presidente", "Assisi", false},
    // No birth date nor sex: a man born 12/05/1948 by his fiscal code;
    // admission malformed, no town.
    {"D", "", "", "VRDGPP48E12G478B", "2015", "", "Presidente", "", false},
    // An unknown sex, a malformed birth date, no fiscal code nor qualification.
    {"E", "X", "31/02/1990", "", "10/10/2024", "", "", "Perugia", false},
    // Left, on a date that cannot be read.
    {"F", "M", "01/01/1960", "", "01/01/2020", "fine 2023", "Socio ordinario", "Spello", false},
};

void writeRegister()
{
    MemberArchive archive;
    for (const Member &m : kRegister) {
        TSchedaAnagrafica s;
        s.Candidato = QString::fromUtf8(m.name);
        s.Sesso = QString::fromUtf8(m.sex);
        s.DataNasc = QString::fromUtf8(m.birth);
        s.CodFisc = QString::fromUtf8(m.code);
        s.Competenze = QString::fromUtf8(m.admitted);
        s.Disponibilita = QString::fromUtf8(m.left);
        s.Settore = QString::fromUtf8(m.qualification);
        s.Citta = QString::fromUtf8(m.town);
        s.setRicontatta(m.recontact);
        QVERIFY(archive.append(s));
    }
}

} // namespace

class TestStatistics : public QObject
{
    Q_OBJECT

private slots:
    void cardDates_data();
    void cardDates();
    void fiscalCodes_data();
    void fiscalCodes();
    void countsOfASmallRegister();
    void ageBands_data();
    void ageBands();
    void largestWithTheRestAsOthers();
    void activeAtTheEndOfEachYear();
    void agreesWithTheSearch();
    void unreadableArchive();
    void csvTables();
    void windowShowsTheFigures();
    void printedPage();
    void busyWhileComputing();

private:
    // The window over the small register, its figures computed.
    void openWindow(TfrmStatistiche &window);
};

void TestStatistics::cardDates_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QDate>("date");
    QTest::newRow("as the card writes it") << QByteArray("01/02/1980") << QDate(1980, 2, 1);
    QTest::newRow("one-digit day and month") << QByteArray("1/2/1980") << QDate(1980, 2, 1);
    QTest::newRow("no such day") << QByteArray("31/02/1990") << QDate();
    QTest::newRow("a year only") << QByteArray("2015") << QDate();
    QTest::newRow("dashes") << QByteArray("01-02-1980") << QDate();
    QTest::newRow("two-digit year") << QByteArray("01/02/80") << QDate();
    QTest::newRow("words") << QByteArray("fine 2023") << QDate();
    QTest::newRow("empty") << QByteArray() << QDate();
    QTest::newRow("three-digit day") << QByteArray("001/02/1980") << QDate();
}

void TestStatistics::cardDates()
{
    QFETCH(QByteArray, text);
    QFETCH(QDate, date);
    QCOMPARE(Stats::cardDate(text).value_or(QDate()), date);
}

void TestStatistics::fiscalCodes_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QDate>("birth");
    QTest::addColumn<int>("sex"); // -1: none
    QTest::newRow("a woman, day plus 40") << "BNCLRA50A41G478S" << QDate(1950, 1, 1) << int(Stats::Women);
    QTest::newRow("a man") << "VRDGPP48E12G478B" << QDate(1948, 5, 12) << int(Stats::Men);
    QTest::newRow("letters for every digit") << "VRDGPPQUEMNGQTUQ" << QDate(1948, 5, 12) << int(Stats::Men);
    const char *const months[] = {"RSSMRA80A01H501U", "RSSMRA80B01H501T", "RSSMRA80C01H501Y", "RSSMRA80D01H501A",
                                  "RSSMRA80E01H501C", "RSSMRA80H01H501K", "RSSMRA80L01H501X", "RSSMRA80M01H501L",
                                  "RSSMRA80P01H501W", "RSSMRA80R01H501B", "RSSMRA80S01H501F", "RSSMRA80T01H501H"};
    for (int m = 0; m < 12; ++m)
        QTest::addRow("month %d", m + 1) << months[m] << QDate(1980, m + 1, 1) << int(Stats::Men);
    QTest::newRow("born this year") << "RSSLCU25A01G478W" << QDate(2025, 1, 1) << int(Stats::Men);
    QTest::newRow("this year's date still ahead") << "RSSLCU25T01G478J" << QDate(1925, 12, 1) << int(Stats::Men);
    QTest::newRow("two digits ahead of this year") << "RSSLCU26A01G478X" << QDate(1926, 1, 1) << int(Stats::Men);
    QTest::newRow("no such day (35)") << "RSSLCU80A35G478V" << QDate() << -1;
    QTest::newRow("wrong check letter") << "VRDGPP48E12G478C" << QDate() << -1;
    QTest::newRow("too short") << "VRDGPP48E12" << QDate() << -1;
}

void TestStatistics::fiscalCodes()
{
    QFETCH(QString, code);
    QFETCH(QDate, birth);
    QFETCH(int, sex);
    QCOMPARE(Stats::birthFromFiscalCode(code, QDate(2025, 6, 15)).value_or(QDate()), birth);
    const auto read = Stats::sexFromFiscalCode(code);
    QCOMPARE(read ? int(*read) : -1, sex);
}

void TestStatistics::countsOfASmallRegister()
{
    TestFolder folder;
    writeRegister();
    const auto stats = Stats::compute(QDate(2025, 6, 15));
    QVERIFY(stats);
    QCOMPARE(stats->total, 6);
    QCOMPARE(stats->active, 4);
    QCOMPARE(stats->ceased, 2);
    QCOMPARE(stats->toRecontact, 1);

    // Year boundaries: admitted on 31/12 and left on 01/01 count in their year.
    QCOMPARE(stats->admittedIn(2024), 2);
    QCOMPARE(stats->admittedIn(2025), 1);
    QCOMPARE(stats->leftIn(2024), 1);
    QCOMPARE(stats->leftIn(2023), 0);
    QCOMPARE(stats->admittedUnknown, 1);
    QCOMPARE(stats->leftUnknown, 1);
    QCOMPARE(stats->activeAtEndOf(2023), 2);
    QCOMPARE(stats->activeAtEndOf(2024), 3);
    QCOMPARE(stats->activeAtEndOf(2025), 4);
    QCOMPARE(stats->firstYear(), std::optional<int>(2010));

    // The active members by age on 15/06/2025 and sex.
    std::array<std::array<qint64, Stats::SexCount>, Stats::AgeBandCount> expected{};
    expected[Stats::From18To30][Stats::Women] = 1; // A, 18 on her birthday
    expected[Stats::Under18][Stats::Men] = 1;      // B, 17 the day before his
    expected[Stats::Over75][Stats::Men] = 1;       // D, by his fiscal code
    expected[Stats::AgeUnknown][Stats::SexUnknown] = 1; // E
    QCOMPARE(stats->activeByAgeAndSex, expected);

    QCOMPARE(stats->activeByQualification,
             (QHash<QString, qint64>{{"Socio ordinario", 2}, {"Presidente", 1}, {"Non indicato", 1}}));
    QCOMPARE(stats->byTown,
             (QHash<QString, qint64>{{"Perugia", 3}, {"Assisi", 1}, {"Spello", 1}, {"Non indicato", 1}}));
}

void TestStatistics::ageBands_data()
{
    QTest::addColumn<int>("age");
    QTest::addColumn<int>("band");
    const std::pair<int, Stats::AgeBand> rows[] = {
        {-1, Stats::AgeUnknown}, {0, Stats::Under18},     {17, Stats::Under18},    {18, Stats::From18To30},
        {30, Stats::From18To30}, {31, Stats::From31To45}, {45, Stats::From31To45}, {46, Stats::From46To60},
        {60, Stats::From46To60}, {61, Stats::From61To75}, {75, Stats::From61To75}, {76, Stats::Over75},
    };
    for (const auto &[age, band] : rows)
        QTest::newRow(qPrintable(QString::number(age))) << age << int(band);
}

void TestStatistics::ageBands()
{
    QFETCH(int, age);
    QFETCH(int, band);
    QCOMPARE(int(Stats::ageBand(age)), band);
}

void TestStatistics::activeAtTheEndOfEachYear()
{
    // A member whose admission cannot be read is never counted in, so his
    // leaving is never counted out.
    Stats stats;
    stats.admitted = {{2020, 2}, {2022, 1}};
    stats.left = {{2021, 2}};
    stats.leftOfKnownAdmission = {{2021, 1}};
    QCOMPARE(stats.activeAtEndOf(2019), 0);
    QCOMPARE(stats.activeAtEndOf(2020), 2);
    QCOMPARE(stats.activeAtEndOf(2021), 1);
    QCOMPARE(stats.activeAtEndOf(2022), 2);
}

void TestStatistics::largestWithTheRestAsOthers()
{
    QHash<QString, qint64> counts;
    for (int i = 0; i < 12; ++i)
        counts.insert(QStringLiteral("Q%1").arg(i, 2, 10, QChar(u'0')), 20 - i);
    counts.insert(QStringLiteral("Q99"), 20); // a tie: by name
    const auto top = Stats::largest(counts, 10, true);
    QCOMPARE(top.size(), 11);
    QCOMPARE(top.at(0), (QPair<QString, qint64>(QStringLiteral("Q00"), 20)));
    QCOMPARE(top.at(1), (QPair<QString, qint64>(QStringLiteral("Q99"), 20)));
    QCOMPARE(top.at(10), (QPair<QString, qint64>(QStringLiteral("Altre"), 9 + 10 + 11)));
    QCOMPARE(Stats::largest(counts, 10, false).size(), 10);
    counts.remove(QStringLiteral("Q99"));
    counts.remove(QStringLiteral("Q11"));
    counts.remove(QStringLiteral("Q10"));
    QCOMPARE(Stats::largest(counts, 10, true).size(), 10); // exactly ten: no "Altre"
    QCOMPARE(Stats::largest({{QStringLiteral("Roma"), 3}}, 10, true).size(), 1);
}

void TestStatistics::agreesWithTheSearch()
{
    // On a register shaped like a real one, the figures the search window
    // can count too come out the same.
    TestFolder folder;
    MemberArchive archive;
    for (qint64 i = 0; i < 3000; ++i)
        QVERIFY(archive.append(RealisticMembers::member(i)));
    const auto stats = Stats::compute(QDate(2026, 12, 11));
    QVERIFY(stats);
    QCOMPARE(qsizetype(stats->total), qsizetype(MemberSearch::find({})->size()));
    QCOMPARE(qsizetype(stats->toRecontact), qsizetype(MemberSearch::toRecontact().size()));
    qint64 byAge = 0;
    for (const auto &band : stats->activeByAgeAndSex)
        for (qint64 n : band)
            byAge += n;
    QCOMPARE(byAge, stats->active);
    qint64 admitted = stats->admittedUnknown;
    for (qint64 n : stats->admitted)
        admitted += n;
    QCOMPARE(admitted, stats->total);
}

void TestStatistics::unreadableArchive()
{
    TestFolder folder;
    folder.write(QStringLiteral("Archivio_Anagrafico.pro"), QByteArray(3612, 'x'));
    const QString path = folder.file(QStringLiteral("Archivio_Anagrafico.pro"));
    QFile::setPermissions(path, QFileDevice::Permissions());
    {
        HonourFilePermissions permissions;
        QVERIFY(!Stats::compute(QDate(2025, 6, 15)));
    }
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    // A record of rubbish is still a member, with everything unknown.
    const auto stats = Stats::compute(QDate(2025, 6, 15));
    QVERIFY(stats);
    QCOMPARE(stats->total, 1);
    QCOMPARE(stats->admittedUnknown, 1);
    QCOMPARE(stats->leftUnknown, 1);
}

void TestStatistics::csvTables()
{
    TestFolder folder;
    writeRegister();
    const QByteArray csv = Stats::compute(QDate(2025, 6, 15))->csv(2024, QDate(2025, 6, 15));
    const QList<QByteArray> lines = csv.split('\n');
    QVERIFY(csv.endsWith("\r\n"));
    QVERIFY(lines.contains("Statistiche soci;anno 2024;situazione al 15/06/2025\r"));
    for (const char *expected : {"Soci in archivio;6\r", "Soci attivi;4\r", "Soci cessati;2\r", "Ammessi nel 2024;2\r",
                                 "Cessati nel 2024;1\r", "Da ricontattare;1\r", "Anno;Attivi a fine anno;Ammessi;Cessati\r",
                                 "2010;1;1;0\r", "2024;3;2;1\r", "Non indicato;;1;1\r",
                                 "Fascia di et\xE0 (soci attivi);Donne;Uomini;Non indicato\r", "meno di 18;0;1;0\r",
                                 "18-30;1;0;0\r", "oltre 75;0;1;0\r", "Non indicato;0;0;1\r", "Socio ordinario;2\r",
                                 "Citt\xE0 di residenza;Soci\r", "Perugia;3\r"})
        QVERIFY2(lines.contains(QByteArray(expected)), expected);
    QVERIFY(!csv.contains("2025;")); // the years end with the chosen one

    // A name holding the separator or a quote is quoted, its quotes doubled.
    Stats named;
    named.activeByQualification = {{QStringLiteral("Socio \"onorario\""), 1}, {QStringLiteral("Tesoriere; Segretario"), 2}};
    const QByteArray quoted = named.csv(2025, QDate(2025, 6, 15));
    QVERIFY(quoted.contains("\r\n\"Socio \"\"onorario\"\"\";1\r\n"));
    QVERIFY(quoted.contains("\r\n\"Tesoriere; Segretario\";2\r\n"));
}

void TestStatistics::openWindow(TfrmStatistiche &window)
{
    writeRegister();
    Clock::setForTesting(QDateTime(QDate(2025, 6, 15), QTime(10, 0)));
    QSignalSpy ready(&window, &TfrmStatistiche::ready);
    window.show();
    QVERIFY(window.findChild<QLabel *>(QStringLiteral("lblAttendere"))->isVisible() || ready.count() == 1);
    QVERIFY(ready.count() == 1 || ready.wait(10000));
    QVERIFY(!window.findChild<QLabel *>(QStringLiteral("lblAttendere"))->isVisible());
}

void TestStatistics::windowShowsTheFigures()
{
    TestFolder folder;
    Startup::prepareApplication(*qApp);
    Messages::Recorder messages;
    TfrmStatistiche window;
    openWindow(window);
    const auto shown = [&window](const char *name) { return window.findChild<QLabel *>(QLatin1String(name))->text(); };
    QCOMPARE(shown("lblTotale"), QStringLiteral("6"));
    QCOMPARE(shown("lblAttivi"), QStringLiteral("4"));
    QCOMPARE(shown("lblCessati"), QStringLiteral("2"));
    QCOMPARE(shown("lblRicontattare"), QStringLiteral("1"));
    // The current year by the program's clock, then another one.
    auto *years = window.findChild<QComboBox *>(QStringLiteral("cmbAnno"));
    QCOMPARE(years->currentText(), QStringLiteral("2025"));
    QCOMPARE(years->itemText(0), QStringLiteral("2010"));
    QCOMPARE(shown("lblAmmessiAnno"), QStringLiteral("1"));
    QCOMPARE(shown("lblCessatiAnno"), QStringLiteral("0"));
    years->setCurrentText(QStringLiteral("2024"));
    QCOMPARE(shown("lblAmmessiAnno"), QStringLiteral("2"));
    QCOMPARE(shown("lblCessatiAnno"), QStringLiteral("1"));
    for (int c = 1; c <= 4; ++c)
        QVERIFY(window.findChild<QChartView *>(QStringLiteral("chtGrafico%1").arg(c))->chart()->series().size() == 1);

    // The tables behind the charts go to the file the user names.
    FileDialogs::Script dialogs;
    dialogs.answerNext(folder.file(QStringLiteral("assemblea.csv")));
    QTest::mouseClick(window.findChild<QWidget *>(QStringLiteral("cmdEsportaCsv")), Qt::LeftButton);
    QCOMPARE(dialogs.requests().at(0).proposedName, QStringLiteral("Statistiche_Soci.csv"));
    QVERIFY(folder.read(QStringLiteral("assemblea.csv")).contains("Ammessi nel 2024;2\r\n"));
    QCOMPARE(messages.texts(), QStringList{QStringLiteral("Le tabelle delle statistiche sono state esportate con successo.")});
    Clock::setForTesting({});
}

void TestStatistics::printedPage()
{
    // Every headline figure on the page, the charts drawn as text and lines
    // inside the margins.
    TestFolder folder;
    Startup::prepareApplication(*qApp);
    TfrmStatistiche window;
    openWindow(window);
    bool previewed = false;
    Modal::setHandlerForTesting([&](QDialog *dialog) { previewed = qobject_cast<Report::Preview *>(dialog); });
    QTest::mouseClick(window.findChild<QWidget *>(QStringLiteral("cmdAnteprima")), Qt::LeftButton);
    Modal::setHandlerForTesting({});
    QVERIFY(previewed);
    const QString pdf = folder.file(QStringLiteral("statistiche.pdf"));
    QVERIFY(Report::writePdf(pdf, *window.report()));
    const QList<PdfWord> words = pdfWords(pdf);
    QStringList text;
    for (const PdfWord &w : words)
        text << w.text;
    const QString all = text.join(u' ');
    for (const char *figure : {"Soci in archivio: 6", "Soci attivi: 4", "Soci cessati: 2", "Ammessi nel 2025: 1",
                               "Cessati nel 2025: 0", "Da ricontattare: 1", "Soci per città di residenza",
                               "Soci attivi per fascia di età", "Socio ordinario"})
        QVERIFY2(all.contains(QString::fromUtf8(figure)), figure);
    QVERIFY(findWord(words, QStringLiteral("Perugia"))); // a chart's own text
    const QRectF inside(10 * kPointsPerMm, 10 * kPointsPerMm, 190 * kPointsPerMm, 277 * kPointsPerMm);
    for (const PdfWord &w : words)
        QVERIFY2(inside.adjusted(-1, -1, 1, 1).contains(w.box), qPrintable(w.text));
    Clock::setForTesting({});
}

void TestStatistics::busyWhileComputing()
{
    // While the worker reads (held here between two blocks), the window says
    // so and offers nothing to print or export.
    TestFolder folder;
    Startup::prepareApplication(*qApp);
    MemberArchive archive;
    for (qint64 i = 0; i < 300; ++i)
        QVERIFY(archive.append(RealisticMembers::member(i)));
    std::atomic<bool> released{false};
    RecordFile::setBetweenBlocksForTesting([&released] {
        while (!released)
            QThread::msleep(2);
    });
    TfrmStatistiche window;
    QSignalSpy ready(&window, &TfrmStatistiche::ready);
    window.show();
    QVERIFY(window.findChild<QLabel *>(QStringLiteral("lblAttendere"))->isVisible());
    QCOMPARE(window.findChild<QLabel *>(QStringLiteral("lblTotale"))->text(), QStringLiteral("..."));
    for (const char *name : {"cmdAnteprima", "cmdStampa", "cmdEsportaCsv"})
        QVERIFY2(!window.findChild<QWidget *>(QLatin1String(name))->isEnabled(), name);
    QVERIFY(window.findChild<QWidget *>(QStringLiteral("cmdChiudi"))->isEnabled());
    released = true;
    QVERIFY(ready.wait(10000));
    RecordFile::setBetweenBlocksForTesting({});
    QCOMPARE(window.findChild<QLabel *>(QStringLiteral("lblTotale"))->text(), QStringLiteral("300"));
    for (const char *name : {"cmdAnteprima", "cmdStampa", "cmdEsportaCsv"})
        QVERIFY2(window.findChild<QWidget *>(QLatin1String(name))->isEnabled(), name);
}

QTEST_MAIN(TestStatistics)
#include "tst_statistics.moc"
