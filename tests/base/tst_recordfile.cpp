#include "base/filelock.h"
#include "base/recordfile.h"
#include "base/wholefile.h"
#include "support/filecapabilities.h"
#include "support/testfolder.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>

#include <memory>

namespace {
constexpr int kSize = 3612;

QByteArray record(char fill)
{
    return QByteArray(kSize, fill);
}
} // namespace

class TestRecordFile : public QObject
{
    Q_OBJECT

private slots:
    void init() { RecordFile::setLockTimeout(200); }

    void missingFileIsCreatedEmpty();
    void countsWholeRecords_data();
    void countsWholeRecords();
    void appendsAfterLastWholeRecord();
    void overwritesInPlace();
    void readsBackWhatWasWritten();
    void visitsAllRecordsInChunks();
    void fileShortenedDuringAVisit_data();
    void fileShortenedDuringAVisit();
    void unopenableFileIsAnErrorAndStaysUnchanged_data();
    void unopenableFileIsAnErrorAndStaysUnchanged();
    void appendOnAFullDisk();
    void copyStoppedKeepsTheEarlierCopy();
    void appendAllStoppedKeepsTheFile();
    void waitsForAShortLock();
    void readersShareTheFileWritersHoldItAlone();
    void filesSavedWithARecordAreWrittenUnderItsLock();
    void aVisitLetsWritersInBetweenBlocks();
    void twoProcessesCreateTheFileAtOnce();
    void appendAllIsAllOrNothing_data();
    void appendAllIsAllOrNothing();
    void aKilledAppendIsCutBackWhenTheFileIsNextOpened();
    void aJournalLeftBesideTheFile_data();
    void aJournalLeftBesideTheFile();
};

void TestRecordFile::missingFileIsCreatedEmpty()
{
    TestFolder folder;
    RecordFile file(folder.file(QStringLiteral("a.pro")), kSize);
    QCOMPARE(file.count(), std::optional<qint64>(0));
    QVERIFY(QFile::exists(folder.file(QStringLiteral("a.pro"))));
    QCOMPARE(QFileInfo(folder.file(QStringLiteral("a.pro"))).size(), 0);
    QVERIFY(!file.read(0));
}

void TestRecordFile::countsWholeRecords_data()
{
    QTest::addColumn<int>("bytes");
    QTest::addColumn<int>("records");
    QTest::newRow("empty") << 0 << 0;
    QTest::newRow("one") << kSize << 1;
    QTest::newRow("one and a byte") << kSize + 1 << 1;
    QTest::newRow("two") << 2 * kSize << 2;
    QTest::newRow("almost one") << kSize - 1 << 0;
}

void TestRecordFile::countsWholeRecords()
{
    QFETCH(int, bytes);
    QFETCH(int, records);
    TestFolder folder;
    folder.write(QStringLiteral("a.pro"), QByteArray(bytes, 'x'));
    RecordFile file(folder.file(QStringLiteral("a.pro")), kSize);
    QCOMPARE(file.count(), std::optional<qint64>(records));
    QCOMPARE(folder.read(QStringLiteral("a.pro")).size(), bytes);
}

void TestRecordFile::appendsAfterLastWholeRecord()
{
    TestFolder folder;
    folder.write(QStringLiteral("a.pro"), record('A') + QByteArray(100, 'z'));
    RecordFile file(folder.file(QStringLiteral("a.pro")), kSize);
    QCOMPARE(file.append(record('B')), std::optional<qint64>(1));
    QCOMPARE(folder.read(QStringLiteral("a.pro")), record('A') + record('B'));
    QCOMPARE(file.append(record('C')), std::optional<qint64>(2));
    QCOMPARE(folder.read(QStringLiteral("a.pro")).size(), 3 * kSize);
    QVERIFY(!file.append(QByteArray(10, 'x'))); // not a whole record
}

void TestRecordFile::overwritesInPlace()
{
    TestFolder folder;
    folder.write(QStringLiteral("a.pro"), record('A') + record('B') + record('C'));
    RecordFile file(folder.file(QStringLiteral("a.pro")), kSize);
    QVERIFY(file.overwrite(1, record('X')));
    QCOMPARE(folder.read(QStringLiteral("a.pro")), record('A') + record('X') + record('C'));
    QVERIFY(!file.overwrite(3, record('Y'))); // just past the end: not a record to overwrite
    QVERIFY(!file.overwrite(5, record('Y')));
    QVERIFY(!file.overwrite(-1, record('Y')));
    QCOMPARE(folder.read(QStringLiteral("a.pro")).size(), 3 * kSize);
}

void TestRecordFile::readsBackWhatWasWritten()
{
    TestFolder folder;
    RecordFile file(folder.file(QStringLiteral("a.pro")), kSize);
    QByteArray r(kSize, '\0');
    for (int i = 0; i < kSize; ++i)
        r[i] = char(i * 7);
    QVERIFY(file.append(record('0')));
    QVERIFY(file.append(r));
    QCOMPARE(file.read(1), std::optional<QByteArray>(r));
    QCOMPARE(file.read(0), std::optional<QByteArray>(record('0')));
    QVERIFY(!file.read(2));
}

void TestRecordFile::visitsAllRecordsInChunks()
{
    TestFolder folder;
    QByteArray bytes;
    for (char c = 'a'; c <= 'g'; ++c)
        bytes += record(c);
    folder.write(QStringLiteral("a.pro"), bytes + QByteArray(5, '!'));
    RecordFile file(folder.file(QStringLiteral("a.pro")), kSize);

    QString seen;
    QVERIFY(file.forEach([&](qint64 index, const char *rec) {
        seen += QChar(u'0' + int(index)) + QString(QChar(rec[0])) + QString(QChar(rec[kSize - 1]));
        return true;
    }, 3));
    QCOMPARE(seen, QStringLiteral("0aa1bb2cc3dd4ee5ff6gg"));

    int visited = 0;
    QVERIFY(file.forEach([&](qint64, const char *) { return ++visited < 2; }, 3));
    QCOMPARE(visited, 2);
}

void TestRecordFile::fileShortenedDuringAVisit_data()
{
    // Another program (a backup being restored) cuts the file after the
    // first block of three records.
    QTest::addColumn<int>("bytesLeft");
    QTest::addColumn<QString>("seen");
    QTest::newRow("to nothing") << 0 << QStringLiteral("abc");
    QTest::newRow("inside the second block") << 4 * kSize + 10 << QStringLiteral("abcd");
    QTest::newRow("to the first block") << 3 * kSize << QStringLiteral("abc");
}

void TestRecordFile::fileShortenedDuringAVisit()
{
    QFETCH(int, bytesLeft);
    QFETCH(QString, seen);
    TestFolder folder;
    QByteArray bytes;
    for (char c = 'a'; c <= 'i'; ++c)
        bytes += record(c);
    folder.write(QStringLiteral("a.pro"), bytes);
    const QString path = folder.file(QStringLiteral("a.pro"));
    RecordFile::setBetweenBlocksForTesting([&] { QFile::resize(path, bytesLeft); });
    RecordFile file(path, kSize);
    QString visited;
    const bool ok = file.forEach([&](qint64, const char *rec) {
        visited += QChar(rec[0]);
        return true;
    }, 3);
    RecordFile::setBetweenBlocksForTesting({});
    QVERIFY(ok);
    QCOMPARE(visited, seen);
}

void TestRecordFile::unopenableFileIsAnErrorAndStaysUnchanged_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("no permissions") << QStringLiteral("chmod");
    QTest::newRow("read only") << QStringLiteral("readonly");
    QTest::newRow("locked by another copy") << QStringLiteral("lock");
}

void TestRecordFile::unopenableFileIsAnErrorAndStaysUnchanged()
{
    QFETCH(QString, how);
    TestFolder folder;
    const QByteArray original = record('A') + record('B') + QByteArray(7, 'p');
    folder.write(QStringLiteral("a.pro"), original);
    const QString path = folder.file(QStringLiteral("a.pro"));

    QFile other(path);
    if (how == QStringLiteral("chmod"))
        QFile::setPermissions(path, QFileDevice::Permissions());
    else if (how == QStringLiteral("readonly"))
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
    else {
        QVERIFY(other.open(QIODevice::ReadWrite));
        QVERIFY(FileLock::tryLock(other, FileLock::Exclusive));
    }

    // A file that can only be read is still read in full; nothing else is.
    const bool readable = how == QStringLiteral("readonly");
    RecordFile file(path, kSize);
    {
        HonourFilePermissions permissions;
        QCOMPARE(file.count(), readable ? std::optional<qint64>(2) : std::nullopt);
        QCOMPARE(file.read(1), readable ? std::optional<QByteArray>(record('B')) : std::nullopt);
        QVERIFY(!file.append(record('C')));
        QVERIFY(!file.overwrite(0, record('C')));
        QCOMPARE(file.replace(0, record('C'), [](const QByteArray &) { return true; }), RecordFile::Replaced::Failed);
        int visited = 0;
        QCOMPARE(file.forEach([&](qint64, const char *) { return ++visited; }), readable);
        QCOMPARE(visited, readable ? 2 : 0);
    }

    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    if (other.isOpen())
        FileLock::unlock(other);
    QCOMPARE(folder.read(QStringLiteral("a.pro")), original);
}

void TestRecordFile::appendOnAFullDisk()
{
    // The disk fills up part way through the new record: the file keeps its
    // records and its length, and the next append starts where it should.
    TestFolder folder;
    const QByteArray original = record('A') + record('B') + QByteArray(7, 'p');
    folder.write(QStringLiteral("a.pro"), original);
    RecordFile file(folder.file(QStringLiteral("a.pro")), kSize);
    {
        FailingWrites failing(folder.path(), FailingWrites::FullDisk, original.size() + 100);
        QVERIFY(!file.append(record('C')));
    }
    QCOMPARE(file.count(), std::optional<qint64>(2));
    QCOMPARE(QFileInfo(folder.file(QStringLiteral("a.pro"))).size(), original.size());
    QCOMPARE(folder.read(QStringLiteral("a.pro")).left(2 * kSize), original.left(2 * kSize));
    QCOMPARE(file.append(record('C')), std::optional<qint64>(2));
    QCOMPARE(file.read(2), std::optional<QByteArray>(record('C')));
}

void TestRecordFile::copyStoppedKeepsTheEarlierCopy()
{
    // A copy stopped part way (the user cancels a long copy) leaves the
    // earlier copy as it was and nothing beside it.
    TestFolder folder;
    folder.write(QStringLiteral("video.mp4"), QByteArray(3 << 20, 'v'));
    folder.write(QStringLiteral("copia.mp4"), "la copia di prima");
    QList<qint64> seen;
    QVERIFY(!WholeFile::copy(folder.file(QStringLiteral("video.mp4")), folder.file(QStringLiteral("copia.mp4")),
                             [&](qint64 copied, qint64 total) {
                                 seen << copied;
                                 return total == (3 << 20) && copied < (2 << 20);
                             }));
    QCOMPARE(seen, QList<qint64>({1 << 20, 2 << 20}));
    QCOMPARE(folder.read(QStringLiteral("copia.mp4")), QByteArray("la copia di prima"));
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList({"copia.mp4", "video.mp4"}));
    QVERIFY(WholeFile::copy(folder.file(QStringLiteral("video.mp4")), folder.file(QStringLiteral("copia.mp4"))));
    QCOMPARE(folder.read(QStringLiteral("copia.mp4")), QByteArray(3 << 20, 'v'));
}

void TestRecordFile::appendAllStoppedKeepsTheFile()
{
    // An append of many records stopped after its second block leaves the
    // file as it was, no journal, nothing confirmed; not stopped, it tells
    // every block up to the last record.
    TestFolder folder;
    const QByteArray original = record('A') + record('B');
    folder.write(QStringLiteral("a.pro"), original);
    RecordFile file(folder.file(QStringLiteral("a.pro")), kSize);
    constexpr qint64 count = 700; // blocks of a megabyte: 291 records
    QList<qint64> seen;
    bool confirmed = false;
    qint64 first = -1;
    const auto append = [&](qint64 stopAt) {
        seen.clear();
        return file.appendAll([](const RecordFile::Locked &) { return count; }, [](qint64) { return record('C'); },
                              [&](qint64, qint64) { return confirmed = true; }, &first,
                              [&](qint64 done, qint64 total) {
                                  seen << done;
                                  return total == count && done < stopAt;
                              });
    };
    QCOMPARE(append(500), RecordFile::Appended::Stopped);
    QCOMPARE(seen, QList<qint64>({291, 582}));
    QCOMPARE(folder.read(QStringLiteral("a.pro")), original);
    QVERIFY(!QFile::exists(file.journalPath()));
    QVERIFY(!confirmed);
    QCOMPARE(first, -1);

    QCOMPARE(append(count + 1), RecordFile::Appended::Yes);
    QCOMPARE(seen, QList<qint64>({291, 582, 700}));
    QVERIFY(confirmed);
    QCOMPARE(first, 2);
    QCOMPARE(file.count(), std::optional<qint64>(2 + count));
}

void TestRecordFile::waitsForAShortLock()
{
    // Another copy of the program working on the file for a moment delays an
    // operation; it does not fail it.
    TestFolder folder;
    RecordFile file(folder.file(QStringLiteral("a.pro")), kSize);
    QVERIFY(file.append(record('A')));
    RecordFile::setLockTimeout(5000);

    QFile other(folder.file(QStringLiteral("a.pro")));
    QVERIFY(other.open(QIODevice::ReadWrite));
    QVERIFY(FileLock::tryLock(other, FileLock::Exclusive));
    QThread *releaser = QThread::create([&other] {
        QThread::msleep(150);
        FileLock::unlock(other);
    });
    releaser->start();
    QCOMPARE(file.append(record('B')), std::optional<qint64>(1));
    releaser->wait();
    delete releaser;
    QCOMPARE(folder.read(QStringLiteral("a.pro")), record('A') + record('B'));
}

void TestRecordFile::readersShareTheFileWritersHoldItAlone()
{
    // Another copy of the program is reading: this one reads too, but waits
    // to write.
    TestFolder folder;
    folder.write(QStringLiteral("a.pro"), record('A') + record('B'));
    const QString path = folder.file(QStringLiteral("a.pro"));
    QFile other(path);
    QVERIFY(other.open(QIODevice::ReadOnly));
    QVERIFY(FileLock::tryLock(other, FileLock::Shared));

    RecordFile file(path, kSize);
    QCOMPARE(file.count(), std::optional<qint64>(2));
    QCOMPARE(file.read(1), std::optional<QByteArray>(record('B')));
    int visited = 0;
    QVERIFY(file.forEach([&](qint64, const char *) {
        ++visited;
        return true;
    }));
    QCOMPARE(visited, 2);
    QVERIFY(!file.append(record('C')));
    QVERIFY(!file.overwrite(0, record('C')));

    FileLock::unlock(other);
    QCOMPARE(file.append(record('C')), std::optional<qint64>(2));
}

void TestRecordFile::filesSavedWithARecordAreWrittenUnderItsLock()
{
    // What is saved with a record (photos) is written after it and before its
    // lock is released: no other copy of the program reads or writes the
    // record in between. Nothing is, when the record is not written.
    TestFolder folder;
    const QString path = folder.file(QStringLiteral("a.pro"));
    RecordFile file(path, kSize);
    QVERIFY(file.append(record('A')));
    const auto unchanged = [](const QByteArray &stored) { return stored == record('A'); };
    QByteArray seen;
    bool otherCopyLockedOut = false;
    const auto written = [&] {
        seen = folder.read(QStringLiteral("a.pro"));
        QFile other(path);
        otherCopyLockedOut = other.open(QIODevice::ReadOnly) && !FileLock::tryLock(other, FileLock::Shared);
    };
    QCOMPARE(file.replace(0, record('B'), unchanged, written), RecordFile::Replaced::Yes);
    QCOMPARE(seen, record('B'));
    QVERIFY(otherCopyLockedOut);

    seen.clear();
    QCOMPARE(file.replace(0, record('C'), unchanged, written), RecordFile::Replaced::Changed);
    QCOMPARE(seen, QByteArray());
    QCOMPARE(folder.read(QStringLiteral("a.pro")), record('B'));
}

void TestRecordFile::aVisitLetsWritersInBetweenBlocks()
{
    // A long visit holds the file only while it reads a block: another copy
    // can save a member meanwhile.
    TestFolder folder;
    folder.write(QStringLiteral("a.pro"), record('A') + record('B') + record('C'));
    const QString path = folder.file(QStringLiteral("a.pro"));
    RecordFile file(path, kSize);
    QList<bool> writerGotIn;
    QList<bool> saved;
    RecordFile::setBetweenBlocksForTesting([&] {
        {
            QFile other(path);
            writerGotIn << (other.open(QIODevice::ReadWrite) && FileLock::tryLock(other, FileLock::Exclusive));
        }
        saved << file.overwrite(2, record('Z'));
    });
    QString seen;
    QVERIFY(file.forEach([&](qint64, const char *rec) {
        seen += QChar(rec[0]);
        return true;
    }, 1));
    RecordFile::setBetweenBlocksForTesting({});
    QCOMPARE(writerGotIn, QList<bool>({true, true}));
    QCOMPARE(saved, QList<bool>({true, true}));
    QCOMPARE(seen, QStringLiteral("ABZ"));
}

void TestRecordFile::twoProcessesCreateTheFileAtOnce()
{
    // Two copies of the program saving the first member at the same moment:
    // both records are written, neither copy fails.
    for (int round = 0; round < 25; ++round) {
        TestFolder folder;
        const QString path = folder.file(QStringLiteral("a.pro"));
        const QString at = QString::number(QDateTime::currentMSecsSinceEpoch() + 400);
        QProcess first, second;
        first.start(QStringLiteral(QUORVEL_PROBE), {QStringLiteral("append"), path, at});
        second.start(QStringLiteral(QUORVEL_PROBE), {QStringLiteral("append"), path, at});
        QVERIFY(first.waitForFinished(10000) && second.waitForFinished(10000));
        QCOMPARE(first.exitCode(), 0);
        QCOMPARE(second.exitCode(), 0);
        QCOMPARE(QFileInfo(path).size(), 2 * kSize);
    }
}

void TestRecordFile::appendAllIsAllOrNothing_data()
{
    QTest::addColumn<QString>("end"); // how the append ends
    QTest::addColumn<int>("result");  // RecordFile::Appended
    QTest::newRow("written") << "" << int(RecordFile::Appended::Yes);
    QTest::newRow("nothing planned") << "plan none" << int(RecordFile::Appended::Nothing);
    QTest::newRow("refused once written") << "refuse" << int(RecordFile::Appended::Failed);
    QTest::newRow("full disk part way") << "full disk" << int(RecordFile::Appended::Failed);
}

void TestRecordFile::appendAllIsAllOrNothing()
{
    // Six hundred records, more than one block: they all stay, or the file is
    // as it was, with no journal left beside it.
    QFETCH(QString, end);
    QFETCH(int, result);
    TestFolder folder;
    const QByteArray original = record('A') + record('B') + QByteArray(7, 'p');
    folder.write(QStringLiteral("a.pro"), original);
    RecordFile file(folder.file(QStringLiteral("a.pro")), kSize);
    qint64 seen = -1, first = -1, told = -1;
    bool journalled = false;
    RecordFile::Appended appended;
    {
        std::unique_ptr<FailingWrites> failing;
        if (end == QLatin1String("full disk"))
            failing = std::make_unique<FailingWrites>(folder.path(), FailingWrites::FullDisk, original.size() + 3 * kSize);
        appended = file.appendAll(
            [&](const RecordFile::Locked &locked) {
                seen = locked.count();
                return end == QLatin1String("plan none") ? qint64(0) : qint64(600);
            },
            [](qint64 i) { return record(char('a' + i % 26)); },
            [&](qint64 at, qint64 count) {
                told = at * 1000 + count;
                journalled = QFile::exists(file.journalPath());
                return end != QLatin1String("refuse");
            },
            &first);
    }
    QCOMPARE(int(appended), result);
    QCOMPARE(seen, 2);
    QVERIFY(!QFile::exists(file.journalPath()));
    if (appended == RecordFile::Appended::Yes) {
        QVERIFY(journalled);
        QCOMPARE(first, 2);
        QCOMPARE(told, 2600);
        QCOMPARE(file.count(), std::optional<qint64>(602));
        QCOMPARE(file.read(601), std::optional<QByteArray>(record(char('a' + 599 % 26))));
    } else {
        QCOMPARE(folder.read(QStringLiteral("a.pro")), original);
    }
}

void TestRecordFile::aKilledAppendIsCutBackWhenTheFileIsNextOpened()
{
    // A copy of the program killed in the middle of an import: the blocks it
    // wrote are taken away by the next operation on the file, which says so.
    TestFolder folder;
    const QString path = folder.file(QStringLiteral("a.pro"));
    const QByteArray original = record('A') + record('B');
    folder.write(QStringLiteral("a.pro"), original);
    QProcess killed;
    killed.start(QStringLiteral(QUORVEL_PROBE), {QStringLiteral("killedappend"), path, QStringLiteral("1000")});
    QVERIFY(killed.waitForFinished(20000));
    QCOMPARE(killed.exitStatus(), QProcess::CrashExit);
    const qint64 left = QFileInfo(path).size();
    QVERIFY2(left > original.size(), "the killed append wrote no block");
    RecordFile file(path, kSize);
    QVERIFY(QFile::exists(file.journalPath()));

    QList<qint64> told;
    RecordFile::setRecoveryReporter([&](const QString &at, qint64 records) {
        QCOMPARE(at, path);
        told << records;
    });
    QCOMPARE(file.count(), std::optional<qint64>(2));
    QTRY_COMPARE(told, QList<qint64>{(left - original.size()) / kSize});
    RecordFile::setRecoveryReporter({});
    QCOMPARE(folder.read(QStringLiteral("a.pro")), original);
    QVERIFY(!QFile::exists(file.journalPath()));
    QCOMPARE(file.append(record('C')), std::optional<qint64>(2));
}

void TestRecordFile::aJournalLeftBesideTheFile_data()
{
    QTest::addColumn<QByteArray>("left");    // the file as the killed append left it
    QTest::addColumn<QByteArray>("journal");
    QTest::addColumn<QByteArray>("after");   // the file once next opened
    QTest::addColumn<qint64>("removed");     // the records said to be taken away
    const QByteArray tail(7, 'p');
    QTest::newRow("the append wrote over a part record")
        << record('A') + record('B') + record('c') + record('d') + record('e')
        << QByteArray::number(2 * kSize + tail.size()) + '\n' + tail << record('A') + record('B') + tail << qint64(3);
    QTest::newRow("a journal that says nothing sound")
        << record('A') + record('B') << QByteArray("12ab") << record('A') + record('B') << qint64(0);
}

void TestRecordFile::aJournalLeftBesideTheFile()
{
    // Whatever the journal says, it is acted on once and then dropped.
    QFETCH(QByteArray, left);
    QFETCH(QByteArray, journal);
    QFETCH(QByteArray, after);
    QFETCH(qint64, removed);
    TestFolder folder;
    folder.write(QStringLiteral("a.pro"), left);
    RecordFile file(folder.file(QStringLiteral("a.pro")), kSize);
    QVERIFY(WholeFile::write(file.journalPath(), journal));
    QList<qint64> told;
    RecordFile::setRecoveryReporter([&](const QString &, qint64 records) { told << records; });
    QCOMPARE(file.count(), std::optional<qint64>(after.size() / kSize));
    QCoreApplication::processEvents();
    RecordFile::setRecoveryReporter({});
    QCOMPARE(told, removed ? QList<qint64>{removed} : QList<qint64>());
    QCOMPARE(folder.read(QStringLiteral("a.pro")), after);
    QVERIFY(!QFile::exists(file.journalPath()));
}

QTEST_GUILESS_MAIN(TestRecordFile)
#include "tst_recordfile.moc"
