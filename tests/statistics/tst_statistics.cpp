#include "base/recordfile.h"
#include "members/memberarchive.h"
#include "statistics/memberstatistics.h"
#include "search/resultrows.h"
#include "support/filecapabilities.h"
#include "support/realisticmembers.h"
#include "support/testfolder.h"

#include "app/startup.h"
#include "base/clock.h"
#include "report/reportpreview.h"
#include "report/reportrenderer.h"
#include "fees/feeledger.h"
#include "statistics/frmstatistiche.h"
#include "statistics/statisticscharts.h"
#include "support/pdfwords.h"
#include "support/windowtest.h"
#include "ui/filedialogs.h"

#include <QAbstractBarSeries>
#include <QApplication>
#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QFontMetricsF>
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

// Each bar set of a chart by its name, its values in category order.
QMap<QString, QList<qreal>> barsOf(QChart *chart)
{
    QMap<QString, QList<qreal>> bars;
    for (QAbstractSeries *series : chart->series())
        if (auto *barSeries = qobject_cast<QAbstractBarSeries *>(series))
            for (QBarSet *set : barSeries->barSets()) {
                QList<qreal> values;
                for (int i = 0; i < set->count(); ++i)
                    values << set->at(i);
                bars.insert(set->label(), values);
            }
    return bars;
}

QStringList categoriesOf(QChart *chart)
{
    for (QAbstractAxis *axis : chart->axes())
        if (auto *names = qobject_cast<QBarCategoryAxis *>(axis))
            return names->categories();
    return {};
}

} // namespace

class TestStatistics : public QObject
{
    Q_OBJECT

private slots:
    void fiscalCodes_data();
    void fiscalCodes();
    void countsOfASmallRegister();
    void ageBands_data();
    void ageBands();
    void largestWithTheRestAsOthers();
    void activeAtTheEndOfEachYear();
    void qualificationsReadByBothWorkers();
    void agreesWithTheSearch();
    void unreadableArchive();
    void csvTables();
    void chartsShowTheFigures();
    void days_data();
    void days();
    void windowShowsTheFigures();
    void windowWhenEveryAdmissionIsAhead();
    void printedPage();
    void busyWhileComputing();

private:
    // The window over the small register, its figures computed.
    void openWindow(TfrmStatistiche &window);
    // The window over the archive as it is, its figures computed.
    void showWindow(TfrmStatistiche &window);
};

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
    const auto roll = MemberRoll::read(QDate(2025, 6, 15));
    QVERIFY(roll);
    QCOMPARE(roll->firstYear(), std::optional<int>(2010));
    const Stats stats = roll->figures(2025);
    QCOMPARE(stats.reference, QDate(2025, 6, 15));
    QCOMPARE(stats.total, 6);
    QCOMPARE(stats.active, 4);
    QCOMPARE(stats.ceased, 2);
    QCOMPARE(stats.toRecontact, 1);

    // Year boundaries: admitted on 31/12 and left on 01/01 count in their year.
    QCOMPARE(stats.admittedIn(2024), 2);
    QCOMPARE(stats.admittedIn(2025), 1);
    QCOMPARE(stats.leftIn(2024), 1);
    QCOMPARE(stats.leftIn(2023), 0);
    QCOMPARE(stats.admittedUnknown, 1);
    QCOMPARE(stats.leftUnknown, 1);
    // D (admission unreadable) is active today only; F (leaving unreadable)
    // never; C left on the first day of 2024.
    QCOMPARE(stats.activeAtEndOf(2023), 1);
    QCOMPARE(stats.activeAtEndOf(2024), 2);
    QCOMPARE(stats.activeAtEndOf(2025), 4);

    // The active members by age on 15/06/2025 and sex.
    std::array<std::array<qint64, Stats::SexCount>, Stats::AgeBandCount> expected{};
    expected[Stats::From18To30][Stats::Women] = 1; // A, 18 on her birthday
    expected[Stats::Under18][Stats::Men] = 1;      // B, 17 the day before his
    expected[Stats::Over75][Stats::Men] = 1;       // D, by his fiscal code
    expected[Stats::AgeUnknown][Stats::SexUnknown] = 1; // E
    QCOMPARE(stats.activeByAgeAndSex, expected);

    QCOMPARE(stats.activeByQualification,
             (QHash<QString, qint64>{{"Socio ordinario", 2}, {"Presidente", 1}, {"Non indicato", 1}}));
    QCOMPARE(stats.byTown,
             (QHash<QString, qint64>{{"Perugia", 3}, {"Assisi", 1}, {"Spello", 1}, {"Non indicato", 1}}));

    // 2024 as it was on its last day: A and E active, A still 17.
    const Stats before = roll->figures(2024);
    QCOMPARE(before.reference, QDate(2024, 12, 31));
    QCOMPARE(before.active, 2);
    QCOMPARE(before.ceased, 1); // C; F's leaving cannot be placed in 2024
    expected = {};
    expected[Stats::Under18][Stats::Women] = 1;
    expected[Stats::AgeUnknown][Stats::SexUnknown] = 1;
    QCOMPARE(before.activeByAgeAndSex, expected);
    QCOMPARE(before.activeByQualification, (QHash<QString, qint64>{{"Socio ordinario", 1}, {"Non indicato", 1}}));
    QCOMPARE(before.byTown, stats.byTown); // the archive as it is today
    QCOMPARE(before.total, 6);
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
    // Counted from the cards, on 15/06/2025; the headline of each year
    // says what its chart bar says.
    TestFolder folder;
    const struct
    {
        const char *admitted, *left;
    } members[] = {
        {"01/03/2020", "15/06/2022"}, // 2020, 2021
        {"31/12/2021", ""},           // 2021 to today
        {"05/05/2019", "01/01/2023"}, // 2019 to 2022
        {"", ""},                     // no admission date: today only
        {"01/01/2018", "presto"},     // leaving unreadable: never
        {"02/02/2024", "01/09/2025"}, // leaving still ahead: 2024, today
        {"01/09/2025", ""},           // admission still ahead: never
        {"01/01/2021", "31/12/2022"}, // left on a year's last day: 2021
        {"01/01/2025", "15/06/2025"}, // left today: never
    };
    MemberArchive archive;
    for (const auto &m : members) {
        TSchedaAnagrafica s;
        s.Candidato = QStringLiteral("Socio");
        s.Competenze = QString::fromLatin1(m.admitted);
        s.Disponibilita = QString::fromLatin1(m.left);
        QVERIFY(archive.append(s));
    }
    const auto roll = MemberRoll::read(QDate(2025, 6, 15));
    QVERIFY(roll);
    const QMap<int, qint64> expected = {{2018, 0}, {2019, 1}, {2020, 2}, {2021, 4}, {2022, 2},
                                        {2023, 1}, {2024, 2}, {2025, 3}};
    QCOMPARE(roll->figures(2025).activeAtEnd, expected);
    for (auto it = expected.cbegin(); it != expected.cend(); ++it)
        QCOMPARE(roll->figures(it.key()).active, it.value());
    QCOMPARE(roll->figures(2022).ceased, 2);
    QCOMPARE(roll->figures(2025).ceased, 5);
}

void TestStatistics::qualificationsReadByBothWorkers()
{
    // Three blocks, one qualification each. Before a later block a reader
    // waits until the other later block is taken too, so that both workers
    // read some, each numbering its qualifications from its own first.
    TestFolder folder;
    MemberArchive archive;
    const int perBlock = 128;
    const QString names[] = {QStringLiteral("Socio ordinario"), QStringLiteral("Socio onorario"),
                             QStringLiteral("Presidente")};
    for (int i = 0; i < 2 * perBlock + 1; ++i) {
        TSchedaAnagrafica s;
        s.Candidato = QStringLiteral("Socio");
        s.Competenze = QStringLiteral("01/01/2020");
        s.Settore = names[i / perBlock];
        QVERIFY(archive.append(s));
    }
    std::atomic<int> waiting{0};
    RecordFile::setBetweenBlocksForTesting([&waiting] {
        ++waiting;
        while (waiting < 2)
            QThread::yieldCurrentThread();
    });
    const auto roll = MemberRoll::read(QDate(2025, 6, 15));
    RecordFile::setBetweenBlocksForTesting({});
    QVERIFY(roll);
    QCOMPARE(roll->figures(2025).activeByQualification,
             (QHash<QString, qint64>{{names[0], perBlock}, {names[1], perBlock}, {names[2], 1}}));
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
    counts.insert(QStringLiteral("Q10"), 1);
    QCOMPARE(Stats::largest(counts, 10, true).last(), (QPair<QString, qint64>(QStringLiteral("Q10"), 1))); // one more: by its name
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
    const auto roll = MemberRoll::read(QDate(2026, 12, 11));
    QVERIFY(roll);
    const auto stats = std::optional<Stats>(roll->figures(2026));
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

    // The towns' bars add up to every member, the rest as "Altre località";
    // the tables list every town.
    const auto towns = stats->towns(10);
    qint64 inBars = 0;
    for (const auto &row : towns)
        inBars += row.second;
    QCOMPARE(inBars, stats->total);
    QCOMPARE(towns.at(10).first, QStringLiteral("Altre località"));
    QVERIFY(stats->byTown.size() > 11);
    const QByteArray csv = stats->csv();
    const QByteArray table = csv.mid(csv.indexOf("Localit\xE0 di residenza;"));
    QCOMPARE(table.count("\r\n") - 1, stats->byTown.size());
    std::unique_ptr<QChart> chart(StatisticsCharts::make(StatisticsCharts::Towns, *stats));
    QCOMPARE(barsOf(chart.get()).value(QStringLiteral("Soci")).size(), towns.size());
}

void TestStatistics::unreadableArchive()
{
    TestFolder folder;
    folder.write(QStringLiteral("Archivio_Anagrafico.pro"), QByteArray(3612, 'x'));
    const QString path = folder.file(QStringLiteral("Archivio_Anagrafico.pro"));
    QFile::setPermissions(path, QFileDevice::Permissions());
    {
        HonourFilePermissions permissions;
        QVERIFY(!MemberRoll::read(QDate(2025, 6, 15)));
    }
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    // A record of rubbish is still a member, with everything unknown.
    const auto roll = MemberRoll::read(QDate(2025, 6, 15));
    QVERIFY(roll);
    const auto stats = std::optional<Stats>(roll->figures(2025));
    QCOMPARE(stats->total, 1);
    QCOMPARE(stats->admittedUnknown, 1);
    QCOMPARE(stats->leftUnknown, 1);
}

void TestStatistics::csvTables()
{
    TestFolder folder;
    writeRegister();
    const auto roll = MemberRoll::read(QDate(2025, 6, 15));
    const QByteArray csv = roll->figures(2024).csv();
    const QList<QByteArray> lines = csv.split('\n');
    QVERIFY(csv.endsWith("\r\n"));
    for (const char *expected :
         {"Statistiche soci;anno 2024;situazione al 31/12/2024\r", "Soci in archivio al 15/06/2025;6\r",
          "Soci attivi al 31/12/2024;2\r", "Soci cessati al 31/12/2024;1\r", "Ammessi nel 2024;2\r",
          "Cessati nel 2024;1\r", "Da ricontattare al 15/06/2025;1\r", "Anno;Attivi a fine anno;Ammessi;Cessati\r",
          "2010;1;1;0\r", "2024;2;2;1\r", "Non indicato;;1;1\r",
          "Fascia di et\xE0 (soci attivi al 31/12/2024);Donne;Uomini;Non indicato\r", "meno di 18;1;0;0\r",
          "18-30;0;0;0\r", "Non indicato;0;0;1\r", "Qualifica;Soci attivi al 31/12/2024\r", "Socio ordinario;1\r",
          "Localit\xE0 di residenza;Soci in archivio al 15/06/2025\r", "Perugia;3\r", "Assisi;1\r", "Spello;1\r"})
        QVERIFY2(lines.contains(QByteArray(expected)), expected);
    QVERIFY(!csv.contains("\r\n2025;")); // the years end with the chosen one
    QVERIFY(csv.endsWith("\r\nNon indicato;1\r\n")); // the members without a town, last
    // This year's column ends today, and says so.
    const QByteArray current = roll->figures(2025).csv();
    QVERIFY(current.contains("\r\nAnno;Attivi a fine anno (il 2025 al 15/06/2025);Ammessi;Cessati\r\n2010;1;1;0\r\n"));
    QVERIFY(current.contains("\r\n2025;4;1;0\r\n"));

    // A name holding the separator or a quote is quoted, its quotes doubled.
    Stats named;
    named.activeByQualification = {{QStringLiteral("Socio \"onorario\""), 1}, {QStringLiteral("Tesoriere; Segretario"), 2}};
    named.year = 2025;
    named.today = named.reference = QDate(2025, 6, 15);
    const QByteArray quoted = named.csv();
    QVERIFY(quoted.contains("\r\n\"Socio \"\"onorario\"\"\";1\r\n"));
    QVERIFY(quoted.contains("\r\n\"Tesoriere; Segretario\";2\r\n"));
}

void TestStatistics::chartsShowTheFigures()
{
    // The bars' values by their set and category, and each chart's title
    // with the day or years it describes.
    TestFolder folder;
    writeRegister();
    const auto roll = MemberRoll::read(QDate(2025, 6, 15));
    const Stats stats = roll->figures(2025);
    using StatisticsCharts::make;

    std::unique_ptr<QChart> years(make(StatisticsCharts::Years, stats));
    QCOMPARE(years->title(), QStringLiteral("Soci attivi, ammessi e cessati, 2016-2025"));
    QCOMPARE(categoriesOf(years.get()).first(), QStringLiteral("2016"));
    QMap<QString, QList<qreal>> bars = barsOf(years.get());
    QCOMPARE(bars.keys(), (QStringList{QStringLiteral("Ammessi"), QStringLiteral("Attivi a fine anno (il 2025 al 15/06/2025)"),
                                       QStringLiteral("Cessati")}));
    // From 2020 to 2025.
    QCOMPARE(bars.value(QStringLiteral("Ammessi")).mid(4), (QList<qreal>{1, 0, 0, 0, 2, 1}));
    QCOMPARE(bars.value(QStringLiteral("Cessati")).mid(4), (QList<qreal>{0, 0, 0, 0, 1, 0}));
    QCOMPARE(bars.value(QStringLiteral("Attivi a fine anno (il 2025 al 15/06/2025)")).mid(4),
             (QList<qreal>{1, 1, 1, 1, 2, 4}));

    std::unique_ptr<QChart> ages(make(StatisticsCharts::AgeAndSex, stats));
    QCOMPARE(ages->title(), QStringLiteral("Soci attivi al 15/06/2025 per fascia di età"));
    // Listed upwards: the youngest band at the top.
    QCOMPARE(categoriesOf(ages.get()).first(), QStringLiteral("Non indicato"));
    QCOMPARE(categoriesOf(ages.get()).last(), QStringLiteral("meno di 18"));
    bars = barsOf(ages.get());
    QCOMPARE(bars.value(QStringLiteral("Donne")), (QList<qreal>{0, 0, 0, 0, 0, 1, 0}));
    QCOMPARE(bars.value(QStringLiteral("Uomini")), (QList<qreal>{0, 1, 0, 0, 0, 0, 1}));
    QCOMPARE(bars.value(QStringLiteral("Non indicato")), (QList<qreal>{1, 0, 0, 0, 0, 0, 0}));
    // The year before, on its last day.
    std::unique_ptr<QChart> agesBefore(make(StatisticsCharts::AgeAndSex, roll->figures(2024)));
    QCOMPARE(agesBefore->title(), QStringLiteral("Soci attivi al 31/12/2024 per fascia di età"));
    QCOMPARE(barsOf(agesBefore.get()).value(QStringLiteral("Donne")), (QList<qreal>{0, 0, 0, 0, 0, 0, 1}));

    // Largest at the top: the horizontal chart lists them upwards.
    std::unique_ptr<QChart> towns(make(StatisticsCharts::Towns, roll->figures(2024)));
    QCOMPARE(towns->title(), QStringLiteral("Soci in archivio al 15/06/2025 per località"));
    QCOMPARE(categoriesOf(towns.get()), (QStringList{QStringLiteral("Non indicato"), QStringLiteral("Spello"),
                                                     QStringLiteral("Assisi"), QStringLiteral("Perugia")}));
    QCOMPARE(barsOf(towns.get()).value(QStringLiteral("Soci")), (QList<qreal>{1, 1, 1, 3}));
    std::unique_ptr<QChart> qualifications(make(StatisticsCharts::Qualifications, stats));
    QCOMPARE(qualifications->title(), QStringLiteral("Soci attivi al 15/06/2025 per qualifica"));
    QCOMPARE(barsOf(qualifications.get()).value(QStringLiteral("Soci attivi")), (QList<qreal>{1, 1, 2}));

    // Beyond ten qualifications, the rest as one bar, at the bottom.
    Stats many;
    many.year = 2025;
    many.today = many.reference = QDate(2025, 6, 15);
    for (int i = 0; i < 12; ++i)
        many.activeByQualification.insert(QStringLiteral("Q%1").arg(i, 2, 10, QChar(u'0')), 20 - i);
    std::unique_ptr<QChart> most(make(StatisticsCharts::Qualifications, many));
    QCOMPARE(categoriesOf(most.get()).size(), 11);
    QCOMPARE(categoriesOf(most.get()).first(), QStringLiteral("Altre"));
    QCOMPARE(barsOf(most.get()).value(QStringLiteral("Soci attivi")).first(), 10 + 9);
}

void TestStatistics::days_data()
{
    QTest::addColumn<QDate>("day");
    QTest::addColumn<QString>("said");
    QTest::newRow("al") << QDate(2025, 12, 31) << QStringLiteral("al 31/12/2025");
    QTest::newRow("the first") << QDate(2026, 3, 1) << QStringLiteral("al 01/03/2026");
    QTest::newRow("otto") << QDate(2026, 3, 8) << QStringLiteral("all'08/03/2026");
    QTest::newRow("undici") << QDate(2026, 12, 11) << QStringLiteral("all'11/12/2026");
    QTest::newRow("diciotto") << QDate(2026, 12, 18) << QStringLiteral("al 18/12/2026");
}

void TestStatistics::days()
{
    QFETCH(QDate, day);
    QFETCH(QString, said);
    QCOMPARE(Stats::onDay(day), said);
}

void TestStatistics::openWindow(TfrmStatistiche &window)
{
    writeRegister();
    showWindow(window);
}

void TestStatistics::showWindow(TfrmStatistiche &window)
{
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
    // A's fee of 2025, and a cancelled one of B's.
    FeeLedger::Payment paid;
    paid.member = 1;
    paid.year = 2025;
    paid.paid = QDate(2025, 2, 1);
    paid.cents = 3000;
    QVERIFY(FeeLedger::record(paid));
    paid.member = 2;
    QVERIFY(FeeLedger::cancel(FeeLedger::record(paid)->id, QStringLiteral("sbagliato")));
    TfrmStatistiche window;
    openWindow(window);
    const auto shown = [&window](const char *name) { return window.findChild<QLabel *>(QLatin1String(name))->text(); };
    QCOMPARE(shown("lblQuote"), QStringLiteral("Quote 2025: 1 socio ha versato, euro 30,00 (Contanti 30,00); mancano 3 "
                                               "quote."));
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
    QCOMPARE(shown("lblDidascalia2"), QStringLiteral("Soci attivi\nal 15/06/2025"));
    // Another year: every figure that depends on it follows, and says so;
    // the archive's own figures stay today's.
    years->setCurrentText(QStringLiteral("2024"));
    QCOMPARE(shown("lblAmmessiAnno"), QStringLiteral("2"));
    QCOMPARE(shown("lblCessatiAnno"), QStringLiteral("1"));
    QCOMPARE(shown("lblAttivi"), QStringLiteral("2"));
    QCOMPARE(shown("lblCessati"), QStringLiteral("1"));
    QCOMPARE(shown("lblTotale"), QStringLiteral("6"));
    QCOMPARE(shown("lblDidascalia1"), QStringLiteral("Soci in archivio\nal 15/06/2025"));
    QCOMPARE(shown("lblDidascalia2"), QStringLiteral("Soci attivi\nal 31/12/2024"));
    QCOMPARE(shown("lblDidascalia4"), QStringLiteral("Ammessi\nnel 2024"));
    const auto chart = [&window](int c) {
        return window.findChild<QChartView *>(QStringLiteral("chtGrafico%1").arg(c))->chart();
    };
    QCOMPARE(chart(1)->title(), QStringLiteral("Soci attivi, ammessi e cessati, 2015-2024"));
    QCOMPARE(barsOf(chart(1)).value(QStringLiteral("Attivi a fine anno")).last(), 2);
    QCOMPARE(chart(2)->title(), QStringLiteral("Soci attivi al 31/12/2024 per fascia di età"));
    QCOMPARE(chart(3)->title(), QStringLiteral("Soci attivi al 31/12/2024 per qualifica"));

    // The tables behind the charts go to the file the user names.
    FileDialogs::Script dialogs;
    dialogs.answerNext(folder.file(QStringLiteral("assemblea.csv")));
    QTest::mouseClick(window.findChild<QWidget *>(QStringLiteral("cmdEsportaCsv")), Qt::LeftButton);
    QCOMPARE(dialogs.requests().at(0).proposedName, QStringLiteral("Statistiche_Soci.csv"));
    QVERIFY(folder.read(QStringLiteral("assemblea.csv")).contains("Ammessi nel 2024;2\r\n"));
    QCOMPARE(messages.texts(), QStringList{QStringLiteral("Le tabelle delle statistiche sono state esportate con successo.")});
    Clock::setForTesting({});
}

void TestStatistics::windowWhenEveryAdmissionIsAhead()
{
    // A register whose only admission is dated in a later year still
    // offers this year, and shows it.
    TestFolder folder;
    Startup::prepareApplication(*qApp);
    {
        MemberArchive archive;
        TSchedaAnagrafica s;
        s.Candidato = QStringLiteral("Socio");
        s.Competenze = QStringLiteral("01/09/2026");
        QVERIFY(archive.append(s));
    }
    TfrmStatistiche window;
    showWindow(window);
    auto *years = window.findChild<QComboBox *>(QStringLiteral("cmbAnno"));
    QCOMPARE(years->count(), 1);
    QCOMPARE(years->currentText(), QStringLiteral("2025"));
    const auto *caption = window.findChild<QLabel *>(QStringLiteral("lblDidascalia2"));
    QCOMPARE(caption->text(), QStringLiteral("Soci attivi\nal 15/06/2025"));
    QCOMPARE(window.findChild<QLabel *>(QStringLiteral("lblAttivi"))->text(), QStringLiteral("0"));
    Clock::setForTesting({});
}

void TestStatistics::printedPage()
{
    // Every headline figure on the page with the day or year it describes,
    // the charts drawn as text and lines inside the margins, in type that
    // reads on paper.
    TestFolder folder;
    Startup::prepareApplication(*qApp);
    TfrmStatistiche window;
    openWindow(window);
    window.findChild<QComboBox *>(QStringLiteral("cmbAnno"))->setCurrentText(QStringLiteral("2024"));
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
    for (const char *figure :
         {"Anno 2024 - situazione al 31/12/2024 - stampato il 15/06/2025", "Soci in archivio al 15/06/2025 6",
          "Soci attivi al 31/12/2024 2", "Soci cessati al 31/12/2024 1", "Ammessi nel 2024 2", "Cessati nel 2024 1",
          "Da ricontattare al 15/06/2025 1", "Soci in archivio al 15/06/2025 per località",
          "Soci attivi al 31/12/2024 per fascia di età", "Soci attivi, ammessi e cessati, 2015-2024", "Socio ordinario"})
        QVERIFY2(all.contains(QString::fromUtf8(figure)), figure);
    const QRectF inside(10 * kPointsPerMm, 10 * kPointsPerMm, 190 * kPointsPerMm, 277 * kPointsPerMm);
    for (const PdfWord &w : words)
        QVERIFY2(inside.adjusted(-1, -1, 1, 1).contains(w.box), qPrintable(w.text));

    // The size of a word's type, from the height of its box: the charts'
    // names, numbers and legends at least 8 points, their titles 10.
    const QFontMetricsF metrics([] {
        QFont f(QStringLiteral("DejaVu Sans"));
        f.setPixelSize(1000);
        return f;
    }());
    const qreal boxPerPoint = (metrics.ascent() + metrics.descent()) / 1000;
    const auto points = [&](const QString &word) {
        const PdfWord *w = findWord(words, word);
        return w ? w->box.height() / boxPerPoint : 0.0;
    };
    for (const char *label : {"Perugia", "Donne", "Uomini", "meno", "18-30", "2015", "Socio"})
        QVERIFY2(points(QString::fromLatin1(label)) >= 8, qPrintable(QStringLiteral("%1: %2 pt").arg(label).arg(points(QString::fromLatin1(label)))));
    for (const char *title : {"fascia", "località", "cessati,"})
        QVERIFY2(points(QString::fromUtf8(title)) >= 10, qPrintable(QStringLiteral("%1: %2 pt").arg(title).arg(points(QString::fromUtf8(title)))));
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
