#include "base/backups.h"

#include "base/clock.h"
#include "base/filelock.h"
#include "base/programfolder.h"
#include "base/wholefile.h"
#include "members/schedaanagrafica.h"
#include "register/paginaregistro.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMetaObject>
#include <QRegularExpression>
#include <QThread>
#include <QtEndian>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVariant>

#include <unistd.h>

#include <algorithm>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <thread>

namespace Backups {

namespace {

constexpr qint64 PieceSize = 1 << 20;
constexpr int PieceLockWait = 10000;
// As large as the program reads an INI file; a larger one is not one of its.
constexpr qint64 SettingsMaxSize = 1 << 20;

// The journal of a copy made in the background: a header with the length of
// the file when the copy began, then for every write below that length the
// bytes it replaced, each entry with a check of its own.
constexpr char JournalMagic[8] = {'Q', 'V', 'D', 'I', 'A', 'R', 'I', 'O'};
constexpr qint64 JournalHeaderSize = 8 + 8 + 2;
constexpr qint64 EntryHeaderSize = 8 + 4 + 2;
constexpr qint64 EntryMaxData = 1 << 16;

// The program's own data files, the only ones with copies.
enum class Kind { None, Members, Book, Settings, Database };

Kind kindOf(const QString &fileName)
{
    if (fileName == QLatin1String("Archivio_Anagrafico.pro"))
        return Kind::Members;
    if (fileName == QLatin1String("Quorvel.ini") || fileName == QLatin1String("Liberatoria_Privacy.ini")
        || fileName == QLatin1String("unins000.dll"))
        return Kind::Settings;
    if (fileName.endsWith(QLatin1String(".qvl")) && fileName.size() > 4)
        return Kind::Book;
    if (fileName == QLatin1String("Quote.sqlite"))
        return Kind::Database;
    return Kind::None;
}

int recordSize(Kind kind)
{
    return kind == Kind::Members ? TSchedaAnagrafica::RecordSize : TPaginaRegistro::RecordSize;
}

// Every length byte of the record within its field.
bool recordSane(Kind kind, const char *record)
{
    const auto fits = [](const char *base, const auto &fields) {
        for (const auto &field : fields)
            if (uchar(base[field.offset]) > field.capacity)
                return false;
        return true;
    };
    if (kind == Kind::Members)
        return fits(record, TSchedaAnagrafica::fields());
    for (int slot = 0; slot < TPaginaRegistro::SlotCount; ++slot)
        if (!fits(record + slot * TSlotPagina::Size, TSlotPagina::fields()))
            return false;
    return true;
}

// Text lines, each blank, a comment, a [section] or a key=value, and no
// control byte but tabs and line ends.
bool settingsSane(const QByteArray &text)
{
    for (const char c : text) {
        const uchar u = uchar(c);
        if ((u < 0x20 && c != '\t' && c != '\r' && c != '\n') || u == 0x7f)
            return false;
    }
    const QList<QByteArray> lines = text.split('\n');
    for (const QByteArray &raw : lines) {
        const QByteArray line = raw.trimmed();
        if (!line.isEmpty() && !line.startsWith(';') && !line.startsWith('#')
            && !(line.startsWith('[') && line.endsWith(']')) && line.indexOf('=') <= 0)
            return false;
    }
    return true;
}

// Reads a copy through and tells whether it is a whole file of its kind;
// `into`, when given, receives what was read. Memory stays within a piece
// whatever the copy holds.
// An SQLite database that SQLite itself finds whole.
bool databaseSane(const QString &path)
{
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly) || in.read(16) != QByteArray("SQLite format 3", 16))
        return false;
    in.close();
    const QString name = QStringLiteral("copia-da-controllare-%1").arg(quintptr(QThread::currentThreadId()));
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (db.open()) {
            QSqlQuery q(db);
            ok = q.exec(QStringLiteral("PRAGMA integrity_check")) && q.next()
                && q.value(0).toString() == QLatin1String("ok");
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}

bool wholeOfItsKind(const QString &path, Kind kind, WholeFile *into)
{
    if (kind == Kind::Database && !databaseSane(path))
        return false;
    QFile in(path);
    if (!QFileInfo(path).isFile() || !in.open(QIODevice::ReadOnly))
        return false;
    const qint64 size = in.size();
    if (kind == Kind::Database) {
        QByteArray piece(int(std::min<qint64>(size, PieceSize)), Qt::Uninitialized);
        for (qint64 done = 0; done < size;) {
            const qint64 n = std::min<qint64>(piece.size(), size - done);
            if (in.read(piece.data(), n) != n || (into && !into->write(piece.constData(), n)))
                return false;
            done += n;
        }
        return true;
    }
    if (kind == Kind::Settings) {
        if (size > SettingsMaxSize)
            return false;
        const QByteArray text = in.read(size);
        return text.size() == size && settingsSane(text) && (!into || into->write(text));
    }
    const int record = recordSize(kind);
    if (size % record != 0)
        return false;
    QByteArray piece(int(std::min<qint64>(size, PieceSize / record * record)), Qt::Uninitialized);
    for (qint64 done = 0; done < size;) {
        const qint64 n = std::min<qint64>(piece.size(), size - done);
        if (in.read(piece.data(), n) != n)
            return false;
        for (qint64 r = 0; r < n; r += record)
            if (!recordSane(kind, piece.constData() + r))
                return false;
        if (into && !into->write(piece.constData(), n))
            return false;
        done += n;
    }
    return true;
}

struct State
{
    std::mutex mutex;
    std::set<QString> done;     // file paths and days whose copy needs nothing more
    std::set<QString> making;   // the same, while this program makes the copy
    std::set<QString> reported; // file paths, days and texts said
    std::vector<std::thread> threads;
    std::function<void(const QString &)> reporter;
    std::function<void()> betweenPieces;
    qint64 threshold = BackgroundFrom;

    ~State() { joinAll(); }

    void joinAll()
    {
        for (;;) {
            std::vector<std::thread> running;
            {
                std::lock_guard<std::mutex> lock(mutex);
                running.swap(threads);
            }
            if (running.empty())
                return;
            for (std::thread &t : running)
                t.join();
        }
    }
};

State &state()
{
    static State s;
    return s;
}

QString extensionOf(const QString &fileName)
{
    const QString suffix = QFileInfo(fileName).suffix();
    return suffix.isEmpty() ? QString() : u'.' + suffix;
}

QString copyName(const QString &fileName, const QDate &date, const QTime &time = QTime())
{
    const QString extension = extensionOf(fileName);
    QString name = fileName.chopped(extension.size()) + u'_' + date.toString(QStringLiteral("yyyy-MM-dd"));
    if (time.isValid())
        name += u'_' + time.toString(QStringLiteral("HH-mm-ss"));
    return name + extension;
}

// A copy named by the time it is made, never in place of another.
QString timedCopyPath(const QString &fileName)
{
    const QDateTime now = Clock::now();
    QTime time = now.time();
    QString path;
    do {
        path = folder() + QDir::separator() + copyName(fileName, now.date(), time);
        time = time.addSecs(1);
    } while (QFileInfo::exists(path));
    return path;
}

// While the day's copy of a large file is being made, it grows under a
// temporary name beside its journal; a journal with no copy beside it says
// that the day's copy could not be had.
QString partialPath(const QString &dayCopy)
{
    return dayCopy + QStringLiteral(".parziale");
}

QString journalPath(const QString &dayCopy)
{
    return dayCopy + QStringLiteral(".diario");
}

QString markPath(const QString &fileName)
{
    return folder() + QDir::separator() + fileName + QStringLiteral(".inuso");
}

// Only the program's own data files, in its folder, have copies.
bool hasCopies(const QString &path)
{
    return kindOf(QFileInfo(path).fileName()) != Kind::None
        && QDir(QFileInfo(path).absolutePath()) == QDir(ProgramFolder::path());
}

// A file and its day copy's name: what this program has done for that day.
QString dayKey(const QString &path)
{
    return path + u'|' + copyName(QFileInfo(path).fileName(), Clock::today());
}

void say(const QString &path, const QString &text)
{
    State &s = state();
    std::function<void(const QString &)> reporter;
    {
        std::lock_guard<std::mutex> lock(s.mutex);
        if (!s.reported.insert(dayKey(path) + u'|' + text).second || !s.reporter)
            return;
        reporter = s.reporter;
    }
    // Never from inside a write, which may hold the file locked: the
    // program's windows hear of it when they next get their turn.
    if (QCoreApplication *app = QCoreApplication::instance())
        QMetaObject::invokeMethod(app, [reporter, text] { reporter(text); }, Qt::QueuedConnection);
    else
        reporter(text);
}

// Keeps the day copies of the last DaysKept days up to today. Copies dated
// after today (a clock that ran ahead) and the copies a restore kept are
// left alone.
void prune(const QString &fileName)
{
    const QDate oldestKept = Clock::today().addDays(1 - DaysKept);
    for (const Copy &copy : list())
        if (copy.fileName == fileName && !copy.time.isValid() && copy.date < oldestKept)
            QFile::remove(copy.path);
}

enum class Outcome { Copied, BeforeStateLost, Failed };

void finish(const QString &path, Outcome outcome)
{
    const QString fileName = QFileInfo(path).fileName();
    if (outcome != Outcome::Failed)
        prune(fileName);
    if (outcome == Outcome::Failed)
        say(path, QStringLiteral("Attenzione: non è stato possibile fare la copia di sicurezza di %1 nella cartella %2.")
                      .arg(fileName, QString::fromLatin1(FolderName)));
    if (outcome == Outcome::BeforeStateLost)
        say(path, QStringLiteral("Attenzione: la copia di sicurezza di oggi di %1 è stata interrotta e non è stato "
                                 "possibile ricostruire il file com'era prima della prima modifica del giorno.\n\r\n\r"
                                 "La copia del file com'era poco dopo si trova nella cartella %2, con l'ora nel nome.")
                      .arg(fileName, QString::fromLatin1(FolderName)));
}

void markDone(const QString &key)
{
    std::lock_guard<std::mutex> lock(state().mutex);
    state().done.insert(key);
}

bool lockShared(QFile &file)
{
    QDeadlineTimer deadline(PieceLockWait);
    while (!FileLock::tryLock(file, FileLock::Shared)) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(5);
    }
    return true;
}

bool readLocked(QFile &file, qint64 offset, char *data, qint64 size)
{
    if (!lockShared(file))
        return false;
    const bool read = file.seek(offset) && file.read(data, size) == size;
    FileLock::unlock(file);
    return read;
}

QByteArray journalHeader(qint64 length)
{
    QByteArray header(JournalMagic, sizeof JournalMagic);
    header.resize(16);
    qToLittleEndian<qint64>(length, header.data() + 8);
    const quint16 check = qChecksum(header);
    header += char(check & 0xff);
    header += char(check >> 8);
    return header;
}

std::optional<qint64> journalLength(QFile &journal)
{
    if (!journal.seek(0))
        return std::nullopt;
    const QByteArray header = journal.read(JournalHeaderSize);
    if (header.size() != JournalHeaderSize)
        return std::nullopt;
    const qint64 length = qFromLittleEndian<qint64>(header.constData() + 8);
    if (header != journalHeader(length) || length < 0)
        return std::nullopt;
    return length;
}

QByteArray journalEntry(qint64 offset, const QByteArray &replaced)
{
    QByteArray entry(EntryHeaderSize, '\0');
    qToLittleEndian<qint64>(offset, entry.data());
    qToLittleEndian<quint32>(quint32(replaced.size()), entry.data() + 8);
    const quint16 check = qChecksum(entry.left(12) + replaced);
    qToLittleEndian<quint16>(check, entry.data() + 12);
    return entry + replaced;
}

// Called with `file` locked alone: adds to the journal the bytes that a write
// of `length` bytes at `offset` is about to replace below the copy's length,
// and flushes it to the disk.
bool addToJournal(const QString &journalPath, QFile &file, qint64 offset, qint64 length)
{
    QFile journal(journalPath);
    if (!journal.open(QIODevice::ReadWrite | QIODevice::Unbuffered))
        return false;
    const std::optional<qint64> copyLength = journalLength(journal);
    if (!copyLength)
        return false;
    QByteArray entries;
    for (qint64 at = offset; at < std::min(offset + length, *copyLength); at += EntryMaxData) {
        const qint64 size = std::min({EntryMaxData, *copyLength - at, offset + length - at});
        QByteArray before(int(size), Qt::Uninitialized);
        if (!file.seek(at) || file.read(before.data(), size) != size)
            return false;
        entries += journalEntry(at, before);
    }
    return entries.isEmpty()
        || (journal.seek(journal.size()) && journal.write(entries) == entries.size() && FileLock::syncToDisk(journal));
}

// The bytes of the journal to put back, oldest first; false when it is
// damaged anywhere.
struct Replaced
{
    qint64 at;     // in the journal
    qint64 offset; // in the file
    qint64 size;
};

bool readJournal(QFile &journal, qint64 copyLength, std::vector<Replaced> &entries)
{
    const std::optional<qint64> length = journalLength(journal);
    if (length != copyLength)
        return false;
    const qint64 end = journal.size();
    for (qint64 at = JournalHeaderSize; at < end;) {
        const QByteArray header = journal.read(EntryHeaderSize);
        if (header.size() != EntryHeaderSize)
            return false;
        const qint64 offset = qFromLittleEndian<qint64>(header.constData());
        const qint64 size = qFromLittleEndian<quint32>(header.constData() + 8);
        if (offset < 0 || size <= 0 || size > EntryMaxData || offset + size > copyLength)
            return false;
        const QByteArray bytes = journal.read(size);
        if (bytes.size() != size
            || qChecksum(header.left(12) + bytes) != qFromLittleEndian<quint16>(header.constData() + 12))
            return false;
        entries.push_back({at + EntryHeaderSize, offset, size});
        at += EntryHeaderSize + size;
    }
    return true;
}

// Makes the day's copy of a large record file in `partial` (open, and locked
// by this program for as long as it works on it): the file is read a piece at
// a time while the program goes on; then, with writers kept out, the bytes
// that the day's writes replaced are put back from the journal, the oldest of
// each place last, and the copy takes its name. When the journal is missing
// or damaged, the copy is the file as it was read, named by its time.
void completeCopy(const QString &path, const QString &dayCopy, const std::shared_ptr<QFile> &partial)
{
    State &s = state();
    QFile source(path);
    QFile journal(journalPath(dayCopy));
    bool ok = source.open(QIODevice::ReadOnly | QIODevice::Unbuffered) && partial->resize(0);
    std::optional<qint64> length;
    if (journal.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        length = journalLength(journal);
    const qint64 total = length.value_or(source.size());
    QByteArray piece(int(std::clamp<qint64>(total, 1, PieceSize)), Qt::Uninitialized);
    for (qint64 done = 0; ok && done < total;) {
        if (s.betweenPieces)
            s.betweenPieces();
        const qint64 size = std::min<qint64>(piece.size(), total - done);
        ok = readLocked(source, done, piece.data(), size) && partial->write(piece.constData(), size) == size;
        done += size;
    }
    Outcome outcome = Outcome::Failed;
    if (ok && lockShared(source)) {
        // Opened again: a journal that a writer had to drop meanwhile would
        // still read through the earlier handle.
        journal.close();
        std::vector<Replaced> entries;
        const bool intact = length && journal.open(QIODevice::ReadOnly | QIODevice::Unbuffered)
            && readJournal(journal, *length, entries);
        for (auto it = entries.rbegin(); ok && intact && it != entries.rend(); ++it) {
            const QByteArray bytes = journal.seek(it->at) ? journal.read(it->size) : QByteArray();
            ok = bytes.size() == it->size && partial->seek(it->offset) && partial->write(bytes) == it->size;
        }
        const QString target = intact ? dayCopy : timedCopyPath(QFileInfo(path).fileName());
        ok = ok && FileLock::syncToDisk(*partial) && QFile::rename(partial->fileName(), target);
        if (ok) {
            // What stays beside no copy says that the day's copy is spent.
            if (intact)
                QFile::remove(journal.fileName());
            else if (!journal.exists())
                WholeFile::write(journal.fileName(), QByteArray());
            FileLock::syncFolder(folder());
            outcome = intact ? Outcome::Copied : Outcome::BeforeStateLost;
        }
        FileLock::unlock(source);
    }
    FileLock::unlock(*partial);
    partial->close();
    {
        std::lock_guard<std::mutex> lock(s.mutex);
        const QString key = path + u'|' + QFileInfo(dayCopy).fileName();
        s.making.erase(key);
        // Tried once by this program; another copy of it may try again.
        if (outcome == Outcome::Failed)
            s.done.insert(key);
    }
    finish(path, outcome);
}

void startCopy(const QString &path, const QString &dayCopy, const std::shared_ptr<QFile> &partial)
{
    std::lock_guard<std::mutex> lock(state().mutex);
    state().making.insert(path + u'|' + QFileInfo(dayCopy).fileName());
    state().threads.emplace_back(completeCopy, path, dayCopy, partial);
}

std::shared_ptr<QFile> lockedPartial(const QString &dayCopy, QIODevice::OpenMode mode)
{
    auto partial = std::make_shared<QFile>(partialPath(dayCopy));
    if (partial->open(mode | QIODevice::ReadWrite | QIODevice::Unbuffered)
        && FileLock::tryLock(*partial, FileLock::Exclusive))
        return partial;
    return nullptr;
}

// The day's first write to a record file that holds something: a small file
// is copied at once, a large one from now on in the background.
void beginDayCopy(QFile &file, const QString &path, const QString &dayCopy, qint64 offset, qint64 length)
{
    const qint64 size = file.size();
    const QString journal = journalPath(dayCopy);
    std::shared_ptr<QFile> partial;
    bool ready = ProgramFolder::ensureFolder(QString::fromLatin1(FolderName));
    if (ready && size > state().threshold) {
        partial = lockedPartial(dayCopy, QIODevice::Truncate);
        ready = partial && WholeFile::write(journal, journalHeader(size));
        if (partial && !ready)
            partial->remove();
    }
    if (!ready || !partial) {
        markDone(dayKey(path));
        finish(path, ready && WholeFile::copy(path, dayCopy) ? Outcome::Copied : Outcome::Failed);
        return;
    }
    if (!addToJournal(journal, file, offset, length))
        QFile::remove(journal);
    startCopy(path, dayCopy, partial);
}

} // namespace

QString folder()
{
    return ProgramFolder::file(QString::fromLatin1(FolderName));
}

namespace {

// The day's copy a file copied whole still needs: its path in Backup, or
// nothing when the file has no copies, holds nothing, or was seen to today.
std::optional<QString> dayCopyToMake(const QString &absolute)
{
    if (QFileInfo(absolute).size() == 0 || !hasCopies(absolute))
        return std::nullopt;
    {
        std::lock_guard<std::mutex> lock(state().mutex);
        if (!state().done.insert(dayKey(absolute)).second)
            return std::nullopt;
    }
    const QString target = folder() + QDir::separator() + copyName(QFileInfo(absolute).fileName(), Clock::today());
    if (QFileInfo::exists(target))
        return std::nullopt;
    return target;
}

} // namespace

void beforeWrite(const QString &path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    const auto target = dayCopyToMake(absolute);
    if (!target)
        return;
    const bool copied = ProgramFolder::ensureFolder(QString::fromLatin1(FolderName)) && WholeFile::copy(absolute, *target);
    finish(absolute, copied ? Outcome::Copied : Outcome::Failed);
}

void beforeDatabaseWrite(const QString &path, const std::function<bool(const QString &to)> &copy)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    const auto made = dayCopyToMake(absolute);
    if (!made)
        return;
    const QString &target = *made;
    // Written under a name of its own, synced, then named: a copy cut short
    // never passes for the day's.
    const QString partial = partialPath(target);
    QFile::remove(partial);
    bool copied = ProgramFolder::ensureFolder(QString::fromLatin1(FolderName)) && copy(partial);
    if (copied) {
        QFile written(partial);
        copied = written.open(QIODevice::ReadWrite) && ::fsync(written.handle()) == 0;
        written.close();
        copied = copied && QFile::rename(partial, target);
    }
    if (!copied)
        QFile::remove(partial);
    finish(absolute, copied ? Outcome::Copied : Outcome::Failed);
}

void beforeRecordWrite(QFile &file, qint64 offset, qint64 length)
{
    const QString path = QFileInfo(file.fileName()).absoluteFilePath();
    const qint64 size = file.size();
    if (size == 0 || !hasCopies(path))
        return;
    State &s = state();
    const QString key = dayKey(path);
    const QString dayCopy = folder() + QDir::separator() + copyName(QFileInfo(path).fileName(), Clock::today());
    bool making = false;
    {
        std::lock_guard<std::mutex> lock(s.mutex);
        if (s.done.count(key))
            return;
        making = s.making.count(key) > 0;
    }
    // The day's copy, or what it became, is there: made by this program or
    // by another copy of it sharing the folder.
    const QString journal = journalPath(dayCopy);
    const bool journalThere = QFileInfo::exists(journal);
    if (QFileInfo::exists(dayCopy) || (journalThere && !QFileInfo::exists(partialPath(dayCopy)))) {
        markDone(key);
        return;
    }
    if (!journalThere && !QFileInfo::exists(partialPath(dayCopy))) {
        beginDayCopy(file, path, dayCopy, offset, length);
        return;
    }
    // A copy under way, here or in another copy of the program: the bytes
    // this write replaces go to its journal first. A journal that could not
    // take them no longer tells what the file was.
    if (journalThere && !addToJournal(journal, file, offset, length))
        QFile::remove(journal);
    // A copy no program works on any more (its program ended before it was
    // done) is finished here.
    if (!making)
        if (const std::shared_ptr<QFile> partial = lockedPartial(dayCopy, {}))
            startCopy(path, dayCopy, partial);
}

std::vector<Copy> list()
{
    const QRegularExpression pattern(
        QStringLiteral("^(.+)_(\\d{4}-\\d{2}-\\d{2})(?:_(\\d{2}-\\d{2}-\\d{2}))?(\\.[^.]*)?$"));
    std::vector<Copy> copies;
    const QFileInfoList entries = QDir(folder()).entryInfoList(QDir::Files);
    for (const QFileInfo &entry : entries) {
        const QRegularExpressionMatch m = pattern.match(entry.fileName());
        if (!m.hasMatch())
            continue;
        Copy copy;
        copy.path = entry.absoluteFilePath();
        copy.fileName = m.captured(1) + m.captured(4);
        copy.date = QDate::fromString(m.captured(2), QStringLiteral("yyyy-MM-dd"));
        if (m.capturedLength(3))
            copy.time = QTime::fromString(m.captured(3), QStringLiteral("HH-mm-ss"));
        copy.modified = entry.lastModified();
        copy.size = entry.size();
        if (kindOf(copy.fileName) != Kind::None && copy.date.isValid() && (copy.time.isValid() || !m.capturedLength(3)))
            copies.push_back(copy);
    }
    std::sort(copies.begin(), copies.end(), [](const Copy &a, const Copy &b) {
        const int byName = a.fileName.compare(b.fileName, Qt::CaseInsensitive);
        if (byName != 0)
            return byName < 0;
        if (a.date != b.date)
            return a.date > b.date;
        return a.time.isValid() && (!b.time.isValid() || a.time > b.time);
    });
    return copies;
}

Restored restore(const Copy &copy)
{
    const Kind kind = kindOf(copy.fileName);
    if (kind == Kind::None || QFileInfo(copy.fileName).fileName() != copy.fileName)
        return Restored::Damaged;
    // A copy gone meanwhile (another copy of the program dropped it) changes nothing.
    if (!QFileInfo(copy.path).isFile())
        return Restored::Failed;
    if (!wholeOfItsKind(copy.path, kind, nullptr))
        return Restored::Damaged;
    if (!ProgramFolder::ensureFolder(QString::fromLatin1(FolderName)))
        return Restored::Failed;
    QFile mark(markPath(copy.fileName));
    if (!mark.open(QIODevice::ReadWrite))
        return Restored::Failed;
    if (!FileLock::tryLock(mark, FileLock::Exclusive))
        return Restored::InUse;
    struct Release
    {
        QFile &mark;
        ~Release() { FileLock::unlock(mark); }
    } release{mark};

    waitForCopies();
    if (!QFileInfo(copy.path).isFile())
        return Restored::Failed;
    const QString target = ProgramFolder::file(copy.fileName);
    if (QFileInfo::exists(target) && !WholeFile::copy(target, timedCopyPath(copy.fileName)))
        return Restored::Failed;
    WholeFile restored(target);
    return restored.open() && wholeOfItsKind(copy.path, kind, &restored) && restored.commit() ? Restored::Yes
                                                                                             : Restored::Failed;
}
void waitForCopies()
{
    state().joinAll();
}

void setReporter(std::function<void(const QString &)> reporter)
{
    std::lock_guard<std::mutex> lock(state().mutex);
    state().reporter = std::move(reporter);
}

void setBackgroundThresholdForTesting(qint64 bytes)
{
    std::lock_guard<std::mutex> lock(state().mutex);
    state().threshold = bytes;
}

void setBetweenPiecesForTesting(std::function<void()> hook)
{
    std::lock_guard<std::mutex> lock(state().mutex);
    state().betweenPieces = std::move(hook);
}

} // namespace Backups

FileInUse::FileInUse(const QString &path)
{
    const QString fileName = QFileInfo(path).fileName();
    if (fileName.isEmpty() || !ProgramFolder::ensureFolder(QString::fromLatin1(Backups::FolderName)))
        return;
    auto *mark = new QFile(Backups::markPath(fileName));
    if (mark->open(QIODevice::ReadWrite) && FileLock::tryLock(*mark, FileLock::Shared))
        m_mark = mark;
    else
        delete mark;
}

FileInUse::~FileInUse()
{
    if (!m_mark)
        return;
    FileLock::unlock(*m_mark);
    delete m_mark;
}
