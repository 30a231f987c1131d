#include "../members/cardwindow.h"
#include "app/frmcopiesicurezza.h"
#include "base/backups.h"
#include "base/clock.h"
#include "base/inifile.h"
#include "base/recordfile.h"
#include "register/frmlistinoprezzi.h"
#include "support/testfolder.h"
#include "support/windowtest.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QThread>
#include <QTreeWidget>

#include <memory>
#include <utility>

namespace {

constexpr int kSize = 3612;
const QDate kDay(2026, 3, 1);

QByteArray records(const char *fills)
{
    QByteArray bytes;
    for (const char *c = fills; *c; ++c)
        bytes += QByteArray(kSize, *c);
    return bytes;
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
        QVERIFY(file.append(QByteArray(kSize, n)));
    else
        QVERIFY(file.overwrite(0, QByteArray(kSize, n)));
}

QByteArray startingContent(Write kind)
{
    return kind == IniSave ? QByteArray("[Sede]\r\nValore=iniziale\r\n") : records("ab");
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
    void thirtyFirstDayDropsTheOldest();
    void backgroundCopyIsTheFileBeforeTheDaysFirstWrite();
    void copyThatCannotBeMadeIsSaidOnceAndTheWriteGoesOn_data();
    void copyThatCannotBeMadeIsSaidOnceAndTheWriteGoesOn();
    void restoreKeepsTheReplacedFile();
    void restoreIsRefusedWhileAWindowWorksOnTheFile_data();
    void restoreIsRefusedWhileAWindowWorksOnTheFile();
    void windowListsAndRestores();
};

void TestBackups::firstWriteOfEachDayIsCopied_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("copyName");
    QTest::newRow("archive, append") << int(Append) << "Archivio_Anagrafico.pro" << "Archivio_Anagrafico_%1.pro";
    QTest::newRow("book, replace") << int(Replace) << "Soci 2026.qvl" << "Soci 2026_%1.qvl";
    QTest::newRow("INI file") << int(IniSave) << "Frontespizio.ini" << "Frontespizio_%1.ini";
    QTest::newRow("no extension") << int(Append) << "Archivio" << "Archivio_%1";
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
    write(folder, IniSave, QStringLiteral("Privacy.ini"), 'a');
    QCoreApplication::processEvents();
    QVERIFY(Backups::list().empty());
    QVERIFY(m_messages->texts().isEmpty());
    // The day's copy then comes before the next write, with what the first
    // write put in: an archive filled from a spreadsheet is not left without.
    write(folder, Append, QStringLiteral("Archivio_Anagrafico.pro"), 'b');
    QCOMPARE(readFile(copyOf(folder, QStringLiteral("Archivio_Anagrafico_2026-03-01.pro"))), records("a"));
    QCOMPARE(int(Backups::list().size()), 1);
}

void TestBackups::thirtyFirstDayDropsTheOldest()
{
    TestFolder folder;
    QDir().mkpath(folder.file(QStringLiteral("Backup")));
    for (int d = 1; d <= 30; ++d)
        folder.write(QStringLiteral("Backup/Archivio_Anagrafico_%1.pro").arg(kDay.addDays(-d).toString(Qt::ISODate)),
                     QByteArray::number(d));
    // A copy a restore kept on the oldest day goes with that day; another
    // file's copies stay whatever their age.
    folder.write(QStringLiteral("Backup/Archivio_Anagrafico_2026-01-30_10-00-00.pro"), "kept by a restore");
    folder.write(QStringLiteral("Backup/Privacy_2025-01-01.ini"), "old");
    folder.write(QStringLiteral("Archivio_Anagrafico.pro"), records("a"));

    write(folder, Append, QStringLiteral("Archivio_Anagrafico.pro"), 'b');

    std::vector<QDate> days;
    for (const Backups::Copy &copy : Backups::list())
        if (copy.fileName == QStringLiteral("Archivio_Anagrafico.pro"))
            days.push_back(copy.date);
    QCOMPARE(int(days.size()), Backups::DaysKept);
    QCOMPARE(days.front(), kDay);
    QCOMPARE(days.back(), kDay.addDays(-29));
    QVERIFY(!QFile::exists(folder.file(QStringLiteral("Backup/Archivio_Anagrafico_2026-01-30.pro"))));
    QVERIFY(!QFile::exists(folder.file(QStringLiteral("Backup/Archivio_Anagrafico_2026-01-30_10-00-00.pro"))));
    QVERIFY(QFile::exists(folder.file(QStringLiteral("Backup/Privacy_2025-01-01.ini"))));
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
    if (card) {
        QCOMPARE(card->child<QLabel>(QStringLiteral("panInfo"))->text(), trouble);
        QVERIFY(m_messages->texts().isEmpty());
        return;
    }
    QCOMPARE(m_messages->texts(), QStringList(trouble));

    setDay(kDay.addDays(1));
    write(folder, Append, QStringLiteral("Archivio_Anagrafico.pro"), 'd');
    Backups::waitForCopies();
    QCoreApplication::processEvents();
    QCOMPARE(m_messages->texts(), QStringList({trouble, trouble}));
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
    folder.write(name, records("ab"));
    const QString stem = QFileInfo(name).completeBaseName();
    folder.write(QStringLiteral("Backup/%1_2026-02-01.%2").arg(stem, QFileInfo(name).suffix()), records("a"));
    const Backups::Copy copy = Backups::list().at(0);
    std::unique_ptr<WorkWindow> window;
    if (name.endsWith(QStringLiteral(".qvl"))) {
        auto *book = new TfrmListinoPrezzi;
        book->openBook(folder.file(name), stem);
        window.reset(book);
    } else {
        window = std::make_unique<TfrmCandidati>();
    }
    window->present();

    QCOMPARE(Backups::restore(copy), Backups::Restored::InUse);
    QCOMPARE(folder.read(name), records("ab"));
    QCOMPARE(int(Backups::list().size()), 1);

    {
        // Another copy of the program works on the file too.
        FileInUse elsewhere(folder.file(name));
        window->hide();
        QCOMPARE(Backups::restore(copy), Backups::Restored::InUse);
    }
    QCOMPARE(Backups::restore(copy), Backups::Restored::Yes);
    QCOMPARE(folder.read(name), records("a"));
}

void TestBackups::windowListsAndRestores()
{
    TestFolder folder;
    folder.write(QStringLiteral("Frontespizio.ini"), "now");
    folder.write(QStringLiteral("Backup/Frontespizio_2026-02-10.ini"), "february");
    folder.write(QStringLiteral("Backup/Frontespizio_2026-02-20_08-30-00.ini"), "before a restore");
    folder.write(QStringLiteral("Backup/Archivio_Anagrafico_2026-02-20.pro"), records("a"));
    folder.write(QStringLiteral("Backup/Archivio_Anagrafico.pro.inuso"), QByteArray());
    setDay(kDay, QTime(11, 15, 30));

    TfrmCopieSicurezza window;
    window.show();
    QTreeWidget *list = window.list();
    QStringList rows;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        rows << list->topLevelItem(i)->text(0) + u'|' + list->topLevelItem(i)->text(1);
    QCOMPARE(rows, QStringList({"Archivio_Anagrafico.pro|20/02/2026",
                                "Frontespizio.ini|20/02/2026 alle 08:30:00 (prima di un ripristino)",
                                "Frontespizio.ini|10/02/2026"}));

    auto *cmdRipristina = window.findChild<QPushButton *>(QStringLiteral("cmdRipristina"));
    list->setCurrentItem(list->topLevelItem(2));
    m_messages->answerNext(false);
    cmdRipristina->click();
    QCOMPARE(folder.read(QStringLiteral("Frontespizio.ini")), QByteArray("now"));
    QCOMPARE(m_messages->shown().size(), 1);
    QVERIFY(m_messages->shown().at(0).noByDefault);
    QCOMPARE(m_messages->shown().at(0).text,
             QStringLiteral("Si vuole sostituire il file Frontespizio.ini con la copia del 10/02/2026?\n\r\n\rIl file "
                            "attuale sarà a sua volta copiato nella cartella Backup."));

    m_messages->clear();
    cmdRipristina->click();
    QCOMPARE(folder.read(QStringLiteral("Frontespizio.ini")), QByteArray("february"));
    QCOMPARE(m_messages->texts().last(),
             QStringLiteral("Il file Frontespizio.ini è stato ripristinato dalla copia del 10/02/2026.\n\r\n\rIl file "
                            "che è stato sostituito si trova anch'esso nella cartella Backup."));
    QCOMPARE(list->topLevelItemCount(), 4);
    QCOMPARE(list->topLevelItem(1)->text(1), QStringLiteral("01/03/2026 alle 11:15:30 (prima di un ripristino)"));
    QCOMPARE(readFile(copyOf(folder, QStringLiteral("Frontespizio_2026-03-01_11-15-30.ini"))), QByteArray("now"));

    // A copy that another copy of the program dropped after the list was
    // filled: nothing is replaced and nothing is kept.
    QFile::remove(copyOf(folder, QStringLiteral("Frontespizio_2026-02-10.ini")));
    m_messages->clear();
    list->setCurrentItem(list->topLevelItem(3));
    cmdRipristina->click();
    QCOMPARE(m_messages->texts().last(),
             QStringLiteral("Attenzione: non è stato possibile ripristinare la copia; il file Frontespizio.ini è rimasto "
                            "com'era.\n\r\n\rAccertarsi che il disco non sia pieno e di possedere i privilegi di "
                            "scrittura nella cartella di installazione del programma."));
    QCOMPARE(folder.read(QStringLiteral("Frontespizio.ini")), QByteArray("february"));
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
             QStringLiteral("Il file Archivio_Anagrafico.pro è stato ripristinato dalla copia del 20/02/2026."));
    QCOMPARE(folder.read(QStringLiteral("Archivio_Anagrafico.pro")), records("a"));
}

QTEST_MAIN(TestBackups)
#include "tst_backups.moc"
