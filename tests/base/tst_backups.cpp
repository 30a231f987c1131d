#include "../members/cardwindow.h"
#include "app/frmcopiesicurezza.h"
#include "base/backups.h"
#include "base/clock.h"
#include "base/inifile.h"
#include "base/recordfile.h"
#include "members/schedaanagrafica.h"
#include "register/frmlistinoprezzi.h"
#include "register/paginaregistro.h"
#include "support/testfolder.h"
#include "support/windowtest.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTest>
#include <QThread>
#include <QTreeWidget>

#include <memory>
#include <utility>

namespace {

constexpr int kSize = 3612;
const QDate kDay(2026, 3, 1);

// A member record as the program writes it, told apart by `mark`.
QByteArray record(const QString &mark)
{
    TSchedaAnagrafica member;
    member.Candidato = mark;
    return member.toBytes();
}

QByteArray records(const char *fills)
{
    QByteArray bytes;
    for (const char *c = fills; *c; ++c)
        bytes += record(QString(QChar::fromLatin1(*c)));
    return bytes;
}

// An archive large enough to be copied in more than one piece.
QByteArray largeArchive()
{
    QByteArray bytes;
    for (int i = 0; i < 600; ++i)
        bytes += record(QStringLiteral("Socio %1").arg(i));
    return bytes;
}

QByteArray page(const QString &name)
{
    TPaginaRegistro page;
    page.slotTexts[0].Nome = name;
    return page.toBytes();
}

QByteArray ini(const QByteArray &value)
{
    return "[Sede]\r\nValore=" + value + "\r\n";
}

void setModified(const QString &path, const QDateTime &when)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(when, QFileDevice::FileModificationTime));
}

QStringList backupFolder(const TestFolder &folder)
{
    return QDir(folder.file(QStringLiteral("Backup"))).entryList(QDir::Files, QDir::Name);
}

QString copyOf(const TestFolder &folder, const QString &name)
{
    return folder.file(QStringLiteral("Backup/") + name);
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

void setDay(const QDate &day, const QTime &time = QTime(9, 0))
{
    Clock::setForTesting(QDateTime(day, time));
}

enum Write { Append, Replace, IniSave };

// One write of each kind the program makes to its data files; `n` makes
// each write different from the one before.
void write(const TestFolder &folder, Write kind, const QString &name, char n)
{
    const QString path = folder.file(name);
    if (kind == IniSave) {
        IniFile ini(path);
        ini.setValue(QStringLiteral("Sede"), QStringLiteral("Valore"), QString(QChar::fromLatin1(n)));
        QVERIFY(ini.save());
        return;
    }
    RecordFile file(path, kSize);
    if (kind == Append)
        QVERIFY(file.append(record(QString(QChar::fromLatin1(n)))));
    else
        QVERIFY(file.overwrite(0, record(QString(QChar::fromLatin1(n)))));
}

QByteArray startingContent(Write kind)
{
    return kind == IniSave ? ini("iniziale") : records("ab");
}

} // namespace

class TestBackups : public WindowTest
{
    Q_OBJECT

private slots:
    void initTestCase() { setUpCase(); }
    void init()
    {
        setUp();
        setDay(kDay);
    }
    void cleanup()
    {
        Backups::waitForCopies();
        Backups::setBackgroundThresholdForTesting(Backups::BackgroundFrom);
        Backups::setBetweenPiecesForTesting({});
        Clock::setForTesting({});
        tearDown();
    }

    void firstWriteOfEachDayIsCopied_data();
    void firstWriteOfEachDayIsCopied();
    void newOrEmptyFileIsCopiedOnceItHoldsSomething();
    void cardsTakenAwayAreCopiedFirst();
    void thirtyFirstDayDropsTheOldest();
    void copiesDatedAfterTodayPushNothingOut();
    void backgroundCopyIsTheFileBeforeTheDaysFirstWrite();
    void anotherCopysSaveDuringTheCopyStaysOutOfIt();
    void dayCopyOutlivesAKill_data();
    void dayCopyOutlivesAKill();
    void copyThatCannotBeMadeIsSaidOnceAndTheWriteGoesOn_data();
    void copyThatCannotBeMadeIsSaidOnceAndTheWriteGoesOn();
    void onlyCopiesOfTheProgramsFilesAreListedAndRestored();
    void restoreKeepsTheReplacedFile();
    void restoreIsRefusedWhileAWindowWorksOnTheFile_data();
    void restoreIsRefusedWhileAWindowWorksOnTheFile();
    void windowListsAndRestores();
    void windowRefusesACopyThatIsNotAWholeFile_data();
    void windowRefusesACopyThatIsNotAWholeFile();
};

void TestBackups::firstWriteOfEachDayIsCopied_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("copyName");
    QTest::newRow("archive, append") << int(Append) << "Archivio_Anagrafico.pro" << "Archivio_Anagrafico_%1.pro";
    QTest::newRow("book, replace") << int(Replace) << "Soci 2026.qvl" << "Soci 2026_%1.qvl";
    QTest::newRow("INI file") << int(IniSave) << "Quorvel.ini" << "Quorvel_%1.ini";
    QTest::newRow("password file") << int(IniSave) << "unins000.dll" << "unins000_%1.dll";
}

void TestBackups::firstWriteOfEachDayIsCopied()
{
    QFETCH(int, kind);
    QFETCH(QString, name);
    QFETCH(QString, copyName);
    TestFolder folder;
    const QByteArray start = startingContent(Write(kind));
    folder.write(name, start);

    write(folder, Write(kind), name, 'c');
    const QString today = copyOf(folder, copyName.arg(QStringLiteral("2026-03-01")));
    QCOMPARE(readFile(today), start);
    write(folder, Write(kind), name, 'd');
    QCOMPARE(readFile(today), start);
    const QByteArray evening = folder.read(name);

    setDay(kDay.addDays(1));
    write(folder, Write(kind), name, 'e');
    QCOMPARE(readFile(copyOf(folder, copyName.arg(QStringLiteral("2026-03-02")))), evening);
    QCOMPARE(readFile(today), start);
    QCOMPARE(QDir(folder.file(QStringLiteral("Backup"))).entryList(QDir::Files).filter(QStringLiteral("2026")).size(), 2);

    // The program was started earlier in the day and made the day's copy then.
    setDay(kDay.addDays(2));
    const QString third = copyOf(folder, copyName.arg(QStringLiteral("2026-03-03")));
    folder.write(QStringLiteral("Backup/") + QFileInfo(third).fileName(), "this morning");
    write(folder, Write(kind), name, 'f');
    QCOMPARE(readFile(third), QByteArray("this morning"));
    QVERIFY(m_messages->texts().isEmpty());
}

void TestBackups::newOrEmptyFileIsCopiedOnceItHoldsSomething()
{
    TestFolder folder;
    write(folder, Append, QStringLiteral("Archivio_Anagrafico.pro"), 'a');
    folder.write(QStringLiteral("Vuoto.qvl"), QByteArray());
    write(folder, Append, QStringLiteral("Vuoto.qvl"), 'a');
    write(folder, IniSave, QStringLiteral("Liberatoria_Privacy.ini"), 'a');
    QCoreApplication::processEvents();
    QVERIFY(Backups::list().empty());
    QVERIFY(m_messages->texts().isEmpty());
    // The day's copy then comes before the next write, with what the first
    // write put in: an archive filled from a spreadsheet is not left without.
    write(folder, Append, QStringLiteral("Archivio_Anagrafico.pro"), 'b');
    QCOMPARE(readFile(copyOf(folder, QStringLiteral("Archivio_Anagrafico_2026-03-01.pro"))), records("a"));
    QCOMPARE(int(Backups::list().size()), 1);
}

// An import taken back on a later day shortens the archive: its first write
// of that day too.
void TestBackups::cardsTakenAwayAreCopiedFirst()
{
    TestFolder folder;
    const QString name = QStringLiteral("Archivio_Anagrafico.pro");
    folder.write(name, records("abc"));
    RecordFile file(folder.file(name), kSize);
    QVERIFY(file.withWriteLock([](RecordFile::Locked &archive) { return archive.truncate(1); }));
    QCOMPARE(folder.read(name), records("a"));
    QCOMPARE(readFile(copyOf(folder, QStringLiteral("Archivio_Anagrafico_2026-03-01.pro"))), records("abc"));
}

void TestBackups::thirtyFirstDayDropsTheOldest()
{
    TestFolder folder;
    QDir().mkpath(folder.file(QStringLiteral("Backup")));
    for (int d = 1; d <= 30; ++d)
        folder.write(QStringLiteral("Backup/Archivio_Anagrafico_%1.pro").arg(kDay.addDays(-d).toString(Qt::ISODate)),
                     QByteArray::number(d));
    // A copy a restore kept stays whatever its age, and so do another file's
    // copies.
    folder.write(QStringLiteral("Backup/Archivio_Anagrafico_2026-01-30_10-00-00.pro"), "kept by a restore");
    folder.write(QStringLiteral("Backup/Liberatoria_Privacy_2025-01-01.ini"), "old");
    folder.write(QStringLiteral("Archivio_Anagrafico.pro"), records("a"));

    write(folder, Append, QStringLiteral("Archivio_Anagrafico.pro"), 'b');

    std::vector<QDate> days;
    for (const Backups::Copy &copy : Backups::list())
        if (copy.fileName == QStringLiteral("Archivio_Anagrafico.pro"))
            days.push_back(copy.date);
    QCOMPARE(int(days.size()), Backups::DaysKept + 1);
    QCOMPARE(days.front(), kDay);
    QCOMPARE(days.back(), QDate(2026, 1, 30));
    QCOMPARE(days.at(days.size() - 2), kDay.addDays(-29));
    QVERIFY(!QFile::exists(folder.file(QStringLiteral("Backup/Archivio_Anagrafico_2026-01-30.pro"))));
    QVERIFY(QFile::exists(folder.file(QStringLiteral("Backup/Archivio_Anagrafico_2026-01-30_10-00-00.pro"))));
    QVERIFY(QFile::exists(folder.file(QStringLiteral("Backup/Liberatoria_Privacy_2025-01-01.ini"))));
}

void TestBackups::copiesDatedAfterTodayPushNothingOut()
{
    // The clock of the computer ran a month ahead for a while.
    TestFolder folder;
    for (int d = 1; d <= 30; ++d)
        folder.write(QStringLiteral("Backup/Archivio_Anagrafico_%1.pro").arg(kDay.addDays(d).toString(Qt::ISODate)),
                     QByteArray::number(d));
    folder.write(QStringLiteral("Backup/Archivio_Anagrafico_2026-02-28.pro"), "yesterday");
    folder.write(QStringLiteral("Backup/Archivio_Anagrafico_2025-11-02_10-00-00.pro"), "kept by a restore");
    folder.write(QStringLiteral("Backup/Archivio_Anagrafico_2026-01-31.pro"), "the thirtieth day");
    folder.write(QStringLiteral("Backup/Archivio_Anagrafico_2026-01-30.pro"), "the thirty-first day");
    folder.write(QStringLiteral("Archivio_Anagrafico.pro"), records("a"));
    const QStringList before = backupFolder(folder);

    write(folder, Append, QStringLiteral("Archivio_Anagrafico.pro"), 'b');

    QCOMPARE(readFile(copyOf(folder, QStringLiteral("Archivio_Anagrafico_2026-03-01.pro"))), records("a"));
    QStringList expected = before;
    expected.removeOne(QStringLiteral("Archivio_Anagrafico_2026-01-30.pro"));
    expected << QStringLiteral("Archivio_Anagrafico_2026-03-01.pro");
    expected.sort();
    QCOMPARE(backupFolder(folder), expected);
    QVERIFY(m_messages->texts().isEmpty());
}

void TestBackups::backgroundCopyIsTheFileBeforeTheDaysFirstWrite()
{
    TestFolder folder;
    const QString name = QStringLiteral("Archivio_Anagrafico.pro");
    const QByteArray start = records("abcdefghij");
    folder.write(name, start);
    Backups::setBackgroundThresholdForTesting(0);
    RecordFile file(folder.file(name), kSize);
    // While the copy is under way the program saves over records already
    // saved today and adds new ones.
    bool first = true;
    Backups::setBetweenPiecesForTesting([&] {
        if (!std::exchange(first, false))
            return;
        QVERIFY(file.overwrite(0, QByteArray(kSize, 'x')));
        QVERIFY(file.overwrite(5, QByteArray(kSize, 'y')));
        QVERIFY(file.append(QByteArray(kSize, 'z')));
    });

    QVERIFY(file.overwrite(5, QByteArray(kSize, 'w')));
    Backups::waitForCopies();

    QVERIFY(!first);
    QCOMPARE(readFile(copyOf(folder, QStringLiteral("Archivio_Anagrafico_2026-03-01.pro"))), start);
    QCOMPARE(folder.read(name).left(kSize), QByteArray(kSize, 'x'));
    QCOMPARE(folder.read(name).mid(5 * kSize, kSize), QByteArray(kSize, 'y'));
    QCOMPARE(folder.read(name).size(), 11 * kSize);
}

void TestBackups::anotherCopysSaveDuringTheCopyStaysOutOfIt()
{
    TestFolder folder;
    const QString name = QStringLiteral("Archivio_Anagrafico.pro");
    const QByteArray start = largeArchive();
    folder.write(name, start);
    Backups::setBackgroundThresholdForTesting(0);
    // Another copy of the program saves a member the copy has not read yet.
    bool first = true;
    int probeExit = -1;
    Backups::setBetweenPiecesForTesting([&] {
        if (!std::exchange(first, false))
            return;
        QProcess probe;
        probe.start(QStringLiteral(QUORVEL_PROBE), {QStringLiteral("save"), folder.path(), kDay.toString(Qt::ISODate),
                                                    QStringLiteral("5"), QStringLiteral("q")});
        if (probe.waitForFinished(30000) && probe.exitStatus() == QProcess::NormalExit)
            probeExit = probe.exitCode();
    });

    QVERIFY(RecordFile(folder.file(name), kSize).overwrite(0, record(QStringLiteral("w"))));
    Backups::waitForCopies();

    QCOMPARE(probeExit, 0);
    QCOMPARE(folder.read(name).mid(5 * kSize, kSize), QByteArray(kSize, 'q'));
    QVERIFY(readFile(copyOf(folder, QStringLiteral("Archivio_Anagrafico_2026-03-01.pro"))) == start);
}

void TestBackups::dayCopyOutlivesAKill_data()
{
    QTest::addColumn<QString>("journal");
    QTest::newRow("what the copy needs is on disk") << "";
    QTest::newRow("its record of replaced bytes damaged") << "damaged";
    QTest::newRow("its record of replaced bytes lost") << "lost";
    QTest::newRow("the bytes of an entry damaged") << "entry";
}

void TestBackups::dayCopyOutlivesAKill()
{
    QFETCH(QString, journal);
    TestFolder folder;
    const QString name = QStringLiteral("Archivio_Anagrafico.pro");
    const QByteArray start = largeArchive();
    folder.write(name, start);
    const QString dayCopy = copyOf(folder, QStringLiteral("Archivio_Anagrafico_2026-03-01.pro"));

    // The first save of the day, and the program killed while it copies.
    QProcess probe;
    probe.start(QStringLiteral(QUORVEL_PROBE), {QStringLiteral("save"), folder.path(), kDay.toString(Qt::ISODate),
                                                QStringLiteral("0"), QStringLiteral("x"), QStringLiteral("kill")});
    QVERIFY(probe.waitForFinished(30000));
    QCOMPARE(probe.exitStatus(), QProcess::CrashExit);
    QCOMPARE(folder.read(name).left(kSize), QByteArray(kSize, 'x'));
    QVERIFY(!QFile::exists(dayCopy));
    // The record of the bytes the day's saves replaced.
    for (const QString &entry : backupFolder(folder)) {
        const QString path = copyOf(folder, entry);
        if (!entry.endsWith(QStringLiteral(".diario")))
            continue;
        if (journal == QStringLiteral("lost"))
            QVERIFY(QFile::remove(path));
        if (journal == QStringLiteral("damaged")) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadWrite));
            file.write(QByteArray(int(file.size()), '\x5a'));
        }
        if (journal == QStringLiteral("entry")) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadWrite));
            QVERIFY(file.seek(file.size() - 1));
            const char last = file.read(1).at(0);
            QVERIFY(file.seek(file.size() - 1));
            QVERIFY(file.putChar(char(last ^ 0x20)));
        }
    }

    // The program started again saves another member, and again.
    RecordFile file(folder.file(name), kSize);
    QVERIFY(file.overwrite(1, record(QStringLiteral("y"))));
    Backups::waitForCopies();
    QVERIFY(file.overwrite(2, record(QStringLiteral("z"))));
    Backups::waitForCopies();
    QCoreApplication::processEvents();

    if (journal.isEmpty()) {
        QVERIFY(readFile(dayCopy) == start);
        QVERIFY(m_messages->texts().isEmpty());
        QCOMPARE(backupFolder(folder), QStringList(QFileInfo(dayCopy).fileName()));
        return;
    }
    // What the file was before the day's first change cannot be known: the
    // copy is there, by the time it was finished, and not as the day's.
    QVERIFY(!QFile::exists(dayCopy));
    const std::vector<Backups::Copy> copies = Backups::list();
    QCOMPARE(int(copies.size()), 1);
    QCOMPARE(QFileInfo(copies[0].path).fileName(), QStringLiteral("Archivio_Anagrafico_2026-03-01_09-00-00.pro"));
    QCOMPARE(copies[0].size, qint64(start.size()));
    QCOMPARE(m_messages->texts(),
             QStringList(QStringLiteral(
                 "Attenzione: la copia di sicurezza di oggi di Archivio_Anagrafico.pro è stata interrotta e non è "
                 "stato possibile ricostruire il file com'era prima della prima modifica del giorno.\n\r\n\rLa "
                 "copia del file com'era poco dopo si trova nella cartella Backup, con l'ora nel nome.")));
}

void TestBackups::copyThatCannotBeMadeIsSaidOnceAndTheWriteGoesOn_data()
{
    QTest::addColumn<qint64>("threshold");
    QTest::addColumn<bool>("windowInFront");
    QTest::newRow("copied at once") << Backups::BackgroundFrom << false;
    QTest::newRow("copied in the background") << qint64(0) << false;
    QTest::newRow("members window in front") << Backups::BackgroundFrom << true;
}

void TestBackups::copyThatCannotBeMadeIsSaidOnceAndTheWriteGoesOn()
{
    QFETCH(qint64, threshold);
    QFETCH(bool, windowInFront);
    const std::unique_ptr<CardWindow> card(windowInFront ? new CardWindow : nullptr);
    TestFolder folder;
    Backups::setBackgroundThresholdForTesting(threshold);
    // A file where the folder of the copies should be.
    folder.write(QStringLiteral("Backup"), "not a folder");
    folder.write(QStringLiteral("Archivio_Anagrafico.pro"), records("a"));

    write(folder, Append, QStringLiteral("Archivio_Anagrafico.pro"), 'b');
    write(folder, Replace, QStringLiteral("Archivio_Anagrafico.pro"), 'c');
    Backups::waitForCopies();
    QCoreApplication::processEvents();

    QCOMPARE(folder.read(QStringLiteral("Archivio_Anagrafico.pro")), records("cb"));
    const QString trouble = QStringLiteral("Attenzione: non è stato possibile fare la copia di sicurezza di "
                                           "Archivio_Anagrafico.pro nella cartella Backup.");
    // A message box, also with a status line in sight, where the next hint
    // would cover it.
    QCOMPARE(m_messages->texts(), QStringList(trouble));
    QCOMPARE(m_messages->shown().at(0).kind, Messages::Kind::Warning);

    setDay(kDay.addDays(1));
    write(folder, Append, QStringLiteral("Archivio_Anagrafico.pro"), 'd');
    Backups::waitForCopies();
    QCoreApplication::processEvents();
    QCOMPARE(m_messages->texts(), QStringList({trouble, trouble}));
}

void TestBackups::onlyCopiesOfTheProgramsFilesAreListedAndRestored()
{
    TestFolder folder;
    const QStringList real = {"Archivio_Anagrafico_2026-02-01.pro", "Liberatoria_Privacy_2026-02-01.ini",
                              "Quorvel_2026-02-01.ini", "Soci 2026_2026-02-01.qvl", "unins000_2026-02-01_10-00-00.dll"};
    for (const QString &name : real)
        folder.write(QStringLiteral("Backup/") + name, QByteArray());
    for (const char *name : {"quorvel_2026-12-02", "Appunti_2026-02-01.txt", "Frontespizio_2026-02-01.ini",
                             "Archivio_Anagrafico_2026-02-01.ini", "Soci_2026-02-01.qvl.bak", "libQt6Core_2026-02-01.so",
                             "Quorvel_2026-02-01_25-61-00.ini"})
        folder.write(QStringLiteral("Backup/") + QString::fromLatin1(name), "[Sede]\r\n");
    folder.write(QStringLiteral("quorvel"), "the program");
    const QStringList before = backupFolder(folder);

    QStringList listed;
    for (const Backups::Copy &copy : Backups::list())
        listed << QFileInfo(copy.path).fileName();
    QCOMPARE(listed, real);

    // A copy from elsewhere is not put in place of the program.
    Backups::Copy other;
    other.path = copyOf(folder, QStringLiteral("quorvel_2026-12-02"));
    other.fileName = QStringLiteral("quorvel");
    other.date = QDate(2026, 12, 2);
    QVERIFY(Backups::restore(other) != Backups::Restored::Yes);
    QCOMPARE(folder.read(QStringLiteral("quorvel")), QByteArray("the program"));
    QCOMPARE(backupFolder(folder), before);
}

void TestBackups::restoreKeepsTheReplacedFile()
{
    TestFolder folder;
    const QString name = QStringLiteral("Archivio_Anagrafico.pro");
    folder.write(name, records("a"));
    setDay(kDay.addDays(-1));
    write(folder, Append, name, 'b');
    setDay(kDay, QTime(10, 0));

    const std::vector<Backups::Copy> copies = Backups::list();
    QCOMPARE(int(copies.size()), 1);
    QCOMPARE(copies[0].fileName, name);
    QCOMPARE(copies[0].date, kDay.addDays(-1));
    // The day's first write is still being copied in the background when the
    // restore begins.
    Backups::setBackgroundThresholdForTesting(0);
    Backups::setBetweenPiecesForTesting([] { QThread::msleep(100); });
    write(folder, Replace, name, 'c');
    QCOMPARE(Backups::restore(copies[0]), Backups::Restored::Yes);
    QCOMPARE(readFile(copyOf(folder, QStringLiteral("Archivio_Anagrafico_2026-03-01.pro"))), records("ab"));
    QCOMPARE(folder.read(name), records("a"));
    QCOMPARE(readFile(copyOf(folder, QStringLiteral("Archivio_Anagrafico_2026-03-01_10-00-00.pro"))), records("cb"));

    // Restored again in the same second: the file replaced now is kept too.
    folder.write(name, records("abc"));
    QCOMPARE(Backups::restore(copies[0]), Backups::Restored::Yes);
    QCOMPARE(readFile(copyOf(folder, QStringLiteral("Archivio_Anagrafico_2026-03-01_10-00-00.pro"))), records("cb"));
    QCOMPARE(readFile(copyOf(folder, QStringLiteral("Archivio_Anagrafico_2026-03-01_10-00-01.pro"))), records("abc"));
    QCOMPARE(folder.read(name), records("a"));
}

void TestBackups::restoreIsRefusedWhileAWindowWorksOnTheFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("members window") << "Archivio_Anagrafico.pro";
    QTest::newRow("book window") << "Soci.qvl";
}

void TestBackups::restoreIsRefusedWhileAWindowWorksOnTheFile()
{
    QFETCH(QString, name);
    TestFolder folder;
    const bool isBook = name.endsWith(QStringLiteral(".qvl"));
    const QByteArray now = isBook ? page(QStringLiteral("a")) + page(QStringLiteral("b")) : records("ab");
    const QByteArray copied = isBook ? page(QStringLiteral("a")) : records("a");
    folder.write(name, now);
    const QString stem = QFileInfo(name).completeBaseName();
    folder.write(QStringLiteral("Backup/%1_2026-02-01.%2").arg(stem, QFileInfo(name).suffix()), copied);
    const Backups::Copy copy = Backups::list().at(0);
    std::unique_ptr<WorkWindow> window;
    if (isBook) {
        auto *book = new TfrmListinoPrezzi;
        book->openBook(folder.file(name), stem);
        window.reset(book);
    } else {
        window = std::make_unique<TfrmCandidati>();
    }
    window->present();

    QCOMPARE(Backups::restore(copy), Backups::Restored::InUse);
    QCOMPARE(folder.read(name), now);
    QCOMPARE(int(Backups::list().size()), 1);

    {
        // Another copy of the program works on the file too.
        FileInUse elsewhere(folder.file(name));
        window->hide();
        QCOMPARE(Backups::restore(copy), Backups::Restored::InUse);
    }
    QCOMPARE(Backups::restore(copy), Backups::Restored::Yes);
    QCOMPARE(folder.read(name), copied);
}

void TestBackups::windowListsAndRestores()
{
    TestFolder folder;
    folder.write(QStringLiteral("Quorvel.ini"), ini("ora"));
    folder.write(QStringLiteral("Backup/Quorvel_2026-02-10.ini"), ini("febbraio"));
    setModified(copyOf(folder, QStringLiteral("Quorvel_2026-02-10.ini")), QDateTime(QDate(2026, 2, 10), QTime(18, 0)));
    folder.write(QStringLiteral("Backup/Quorvel_2026-02-20_08-30-00.ini"), ini("prima di un ripristino"));
    folder.write(QStringLiteral("Backup/Archivio_Anagrafico_2026-02-20.pro"), records("a"));
    setModified(copyOf(folder, QStringLiteral("Archivio_Anagrafico_2026-02-20.pro")),
                QDateTime(QDate(2026, 2, 20), QTime(19, 5, 7)));
    folder.write(QStringLiteral("Backup/Archivio_Anagrafico.pro.inuso"), QByteArray());
    setDay(kDay, QTime(11, 15, 30));

    TfrmCopieSicurezza window;
    window.show();
    QTreeWidget *list = window.list();
    QStringList rows;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        rows << list->topLevelItem(i)->text(0) + u'|' + list->topLevelItem(i)->text(1);
    QCOMPARE(rows, QStringList({"Archivio_Anagrafico.pro|20/02/2026 alle 19:05:07",
                                "Quorvel.ini|20/02/2026 alle 08:30:00 (copia di quel momento)",
                                "Quorvel.ini|10/02/2026 alle 18:00:00"}));

    auto *cmdRipristina = window.findChild<QPushButton *>(QStringLiteral("cmdRipristina"));
    list->setCurrentItem(list->topLevelItem(2));
    m_messages->answerNext(false);
    cmdRipristina->click();
    QCOMPARE(folder.read(QStringLiteral("Quorvel.ini")), ini("ora"));
    QCOMPARE(m_messages->shown().size(), 1);
    QVERIFY(m_messages->shown().at(0).noByDefault);
    QCOMPARE(m_messages->shown().at(0).text,
             QStringLiteral("Si vuole sostituire il file Quorvel.ini con la copia del 10/02/2026 alle 18:00:00?\n\r\n\r"
                            "Il file attuale sarà a sua volta copiato nella cartella Backup."));

    m_messages->clear();
    cmdRipristina->click();
    QCOMPARE(folder.read(QStringLiteral("Quorvel.ini")), ini("febbraio"));
    QCOMPARE(m_messages->texts().last(),
             QStringLiteral("Il file Quorvel.ini è stato ripristinato dalla copia del 10/02/2026 alle 18:00:00.\n\r\n\r"
                            "Il file che è stato sostituito si trova anch'esso nella cartella Backup."));
    // A notice with OK alone.
    QCOMPARE(m_messages->shown().last().kind, Messages::Kind::Plain);
    QCOMPARE(list->topLevelItemCount(), 4);
    QCOMPARE(list->topLevelItem(1)->text(1), QStringLiteral("01/03/2026 alle 11:15:30 (copia di quel momento)"));
    QCOMPARE(readFile(copyOf(folder, QStringLiteral("Quorvel_2026-03-01_11-15-30.ini"))), ini("ora"));

    // A copy that another copy of the program dropped after the list was
    // filled: nothing is replaced and nothing is kept.
    QFile::remove(copyOf(folder, QStringLiteral("Quorvel_2026-02-10.ini")));
    m_messages->clear();
    list->setCurrentItem(list->topLevelItem(3));
    cmdRipristina->click();
    QCOMPARE(m_messages->texts().last(),
             QStringLiteral("Attenzione: non è stato possibile ripristinare la copia; il file Quorvel.ini è rimasto "
                            "com'era.\n\r\n\rAccertarsi che il disco non sia pieno e di possedere i privilegi di "
                            "scrittura nella cartella di installazione del programma."));
    QCOMPARE(folder.read(QStringLiteral("Quorvel.ini")), ini("febbraio"));
    QCOMPARE(int(Backups::list().size()), 3);

    // Another copy of the program has the archive open.
    {
        FileInUse elsewhere(folder.file(QStringLiteral("Archivio_Anagrafico.pro")));
        m_messages->clear();
        list->setCurrentItem(list->topLevelItem(0));
        cmdRipristina->click();
        QCOMPARE(m_messages->texts().last(),
                 QStringLiteral("Attenzione: il file Archivio_Anagrafico.pro è aperto in un'altra copia del programma, "
                                "quindi la copia non è stata ripristinata.\n\r\n\rChiudere l'archivio o il registro "
                                "sugli altri computer e riprovare."));
        QVERIFY(!QFile::exists(folder.file(QStringLiteral("Archivio_Anagrafico.pro"))));
    }
    // Once it is closed there: a copy of a file that is gone replaces nothing.
    m_messages->clear();
    list->setCurrentItem(list->topLevelItem(0));
    cmdRipristina->click();
    QCOMPARE(m_messages->texts().last(),
             QStringLiteral("Il file Archivio_Anagrafico.pro è stato ripristinato dalla copia del 20/02/2026 alle 19:05:07."));
    QCOMPARE(folder.read(QStringLiteral("Archivio_Anagrafico.pro")), records("a"));
}

void TestBackups::windowRefusesACopyThatIsNotAWholeFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("copy");
    QByteArray noise(5000, Qt::Uninitialized);
    QRandomGenerator(7).fillRange(reinterpret_cast<quint32 *>(noise.data()), noise.size() / 4);
    QByteArray longName = records("ab");
    longName[kSize] = char(51); // the member's name holds 50 bytes
    QByteArray longSlot = page(QStringLiteral("Rossi"));
    longSlot[TSlotPagina::Size + 51] = char(61); // a slot's name holds 60
    QTest::newRow("archive, random bytes") << "Archivio_Anagrafico.pro" << noise;
    QTest::newRow("archive, part of a member") << "Archivio_Anagrafico.pro" << records("ab").chopped(100);
    QTest::newRow("archive, a field longer than it can be") << "Archivio_Anagrafico.pro" << longName;
    QTest::newRow("archive, a book's page") << "Archivio_Anagrafico.pro" << page(QStringLiteral("Rossi"));
    QTest::newRow("book, a member") << "Soci 2026.qvl" << records("a");
    QTest::newRow("book, a field longer than it can be") << "Soci 2026.qvl" << longSlot;
    QTest::newRow("settings, binary") << "Quorvel.ini" << ini(QByteArray("a\0\x01\x02b", 5));
    QTest::newRow("settings, not an INI file") << "Liberatoria_Privacy.ini" << QByteArray("Caro socio,\r\nbenvenuto\r\n");
    QTest::newRow("password file, random bytes") << "unins000.dll" << noise;
}

void TestBackups::windowRefusesACopyThatIsNotAWholeFile()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, copy);
    TestFolder folder;
    const QByteArray now = name.endsWith(QStringLiteral(".pro")) ? records("ab")
                           : name.endsWith(QStringLiteral(".qvl")) ? page(QStringLiteral("Bianchi"))
                                                                   : ini("ora");
    folder.write(name, now);
    const QFileInfo info(name);
    const QString copyName = QStringLiteral("%1_2026-02-01.%2").arg(info.completeBaseName(), info.suffix());
    folder.write(QStringLiteral("Backup/") + copyName, copy);
    setModified(copyOf(folder, copyName), QDateTime(QDate(2026, 2, 1), QTime(20, 0)));
    const QStringList before = backupFolder(folder);

    TfrmCopieSicurezza window;
    window.show();
    QCOMPARE(window.list()->topLevelItemCount(), 1);
    window.findChild<QPushButton *>(QStringLiteral("cmdRipristina"))->click();

    QCOMPARE(m_messages->shown().size(), 2);
    QCOMPARE(m_messages->shown().at(1).kind, Messages::Kind::Warning);
    QCOMPARE(m_messages->shown().at(1).text,
             QStringLiteral("Attenzione: la copia del 01/02/2026 alle 20:00:00 non è un file %1 integro, quindi non è stata "
                            "ripristinata; il file %1 è rimasto com'era.")
                 .arg(name));
    QCOMPARE(folder.read(name), now);
    QCOMPARE(backupFolder(folder), before);
}

QTEST_MAIN(TestBackups)
#include "tst_backups.moc"
