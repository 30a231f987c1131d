#include "base/backups.h"

#include "base/clock.h"
#include "base/filelock.h"
#include "base/programfolder.h"
#include "base/wholefile.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMetaObject>
#include <QRegularExpression>
#include <QThread>

#include <algorithm>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <thread>

namespace Backups {

namespace {

constexpr qint64 PieceSize = 1 << 20;
constexpr int PieceLockWait = 10000;

// A copy being made in the background: the length of the file when it began,
// and the bytes that writes since then replaced below that length, in the
// order they were replaced.
struct Job
{
    qint64 length = 0;
    std::vector<std::pair<qint64, QByteArray>> replaced;
};

struct State
{
    std::mutex mutex;
    std::map<QString, std::shared_ptr<Job>> jobs; // by the file's path
    std::set<QString> checked;                    // file paths and days looked at
    std::set<QString> reported;                   // file paths and days reported
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

QString markPath(const QString &fileName)
{
    return folder() + QDir::separator() + fileName + QStringLiteral(".inuso");
}

// Only the files of the program folder itself have copies.
bool inProgramFolder(const QString &path)
{
    return QDir(QFileInfo(path).absolutePath()) == QDir(ProgramFolder::path());
}

void report(const QString &path)
{
    State &s = state();
    std::function<void(const QString &)> reporter;
    {
        std::lock_guard<std::mutex> lock(s.mutex);
        if (!s.reported.insert(path + u'|' + Clock::today().toString(Qt::ISODate)).second || !s.reporter)
            return;
        reporter = s.reporter;
    }
    const QString fileName = QFileInfo(path).fileName();
    const QString text = QStringLiteral("Attenzione: non è stato possibile fare la copia di sicurezza di %1 nella "
                                        "cartella %2.")
                             .arg(fileName, QString::fromLatin1(FolderName));
    // Never from inside a write, which may hold the file locked: the
    // program's windows hear of it when they next get their turn.
    if (QCoreApplication *app = QCoreApplication::instance())
        QMetaObject::invokeMethod(app, [reporter, text] { reporter(text); }, Qt::QueuedConnection);
    else
        reporter(text);
}

// Keeps the copies of the newest DaysKept days of one file.
void prune(const QString &fileName)
{
    std::set<QDate> days;
    const std::vector<Copy> copies = list();
    for (const Copy &copy : copies)
        if (copy.fileName == fileName)
            days.insert(copy.date);
    if (int(days.size()) <= DaysKept)
        return;
    const QDate oldestKept = *std::next(days.rbegin(), DaysKept - 1);
    for (const Copy &copy : copies)
        if (copy.fileName == fileName && copy.date < oldestKept)
            QFile::remove(copy.path);
}

// The copy of today's first write, when this copy of the program has not
// looked for it yet today and it is not there. A new or empty file has
// nothing to keep, and its day is not spent: the copy waits for the first
// write that finds something in it.
QString dueCopy(const QString &path, qint64 size)
{
    if (size == 0)
        return QString();
    const QDate today = Clock::today();
    if (!state().checked.insert(path + u'|' + today.toString(Qt::ISODate)).second || !inProgramFolder(path))
        return QString();
    const QString target = folder() + QDir::separator() + copyName(QFileInfo(path).fileName(), today);
    return QFileInfo::exists(target) ? QString() : target;
}

void finish(const QString &path, bool copied)
{
    if (copied)
        prune(QFileInfo(path).fileName());
    else
        report(path);
}

bool readLocked(QFile &file, qint64 offset, char *data, qint64 size)
{
    QDeadlineTimer deadline(PieceLockWait);
    while (!FileLock::tryLock(file, FileLock::Shared)) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(5);
    }
    const bool read = file.seek(offset) && file.read(data, size) == size;
    FileLock::unlock(file);
    return read;
}

void copyInBackground(const QString &path, const QString &target, const std::shared_ptr<Job> &job)
{
    State &s = state();
    QFile source(path);
    WholeFile copy(target);
    bool ok = source.open(QIODevice::ReadOnly | QIODevice::Unbuffered) && copy.open();
    QByteArray piece(int(std::min(PieceSize, job->length)), Qt::Uninitialized);
    for (qint64 done = 0; ok && done < job->length;) {
        if (s.betweenPieces)
            s.betweenPieces();
        const qint64 size = std::min<qint64>(piece.size(), job->length - done);
        ok = readLocked(source, done, piece.data(), size) && copy.write(piece.constData(), size);
        done += size;
    }
    {
        std::lock_guard<std::mutex> lock(s.mutex);
        // The oldest bytes of a place go in last, so they are what stays.
        for (auto it = job->replaced.rbegin(); ok && it != job->replaced.rend(); ++it)
            ok = copy.device()->seek(it->first) && copy.write(it->second);
        s.jobs.erase(path);
    }
    finish(path, ok && copy.commit());
}

} // namespace

QString folder()
{
    return ProgramFolder::file(QString::fromLatin1(FolderName));
}

void beforeWrite(const QString &path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QString target;
    {
        std::lock_guard<std::mutex> lock(state().mutex);
        target = dueCopy(absolute, QFileInfo(absolute).size());
    }
    if (target.isEmpty())
        return;
    finish(absolute, ProgramFolder::ensureFolder(QString::fromLatin1(FolderName)) && WholeFile::copy(absolute, target));
}

void beforeRecordWrite(QFile &file, qint64 offset, qint64 length)
{
    const QString path = QFileInfo(file.fileName()).absoluteFilePath();
    State &s = state();
    std::unique_lock<std::mutex> lock(s.mutex);
    const auto running = s.jobs.find(path);
    std::shared_ptr<Job> job = running == s.jobs.end() ? nullptr : running->second;
    QString target;
    if (!job) {
        target = dueCopy(path, file.size());
        if (target.isEmpty())
            return;
        if (file.size() <= s.threshold) {
            // Small enough to copy now, while the file is still as it was.
            lock.unlock();
            finish(path, ProgramFolder::ensureFolder(QString::fromLatin1(FolderName)) && WholeFile::copy(path, target));
            return;
        }
        if (!ProgramFolder::ensureFolder(QString::fromLatin1(FolderName))) {
            lock.unlock();
            finish(path, false);
            return;
        }
        job = std::make_shared<Job>();
        job->length = file.size();
        s.jobs[path] = job;
    }
    if (offset < job->length) {
        const qint64 size = std::min(length, job->length - offset);
        QByteArray before(int(size), Qt::Uninitialized);
        // The write that follows seeks to its place again.
        if (file.seek(offset) && file.read(before.data(), size) == size)
            job->replaced.emplace_back(offset, before);
    }
    if (!target.isEmpty())
        s.threads.emplace_back(copyInBackground, path, target, job);
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
        copy.size = entry.size();
        if (copy.date.isValid() && (copy.time.isValid() || !m.capturedLength(3)))
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
    // A copy gone meanwhile (another copy of the program dropped it) changes nothing.
    if (!QFileInfo(copy.path).isFile())
        return Restored::Failed;
    const QString target = ProgramFolder::file(copy.fileName);
    if (QFileInfo::exists(target)) {
        const QDateTime now = Clock::now();
        QTime time = now.time();
        QString kept;
        do {
            kept = folder() + QDir::separator() + copyName(copy.fileName, now.date(), time);
            time = time.addSecs(1);
        } while (QFileInfo::exists(kept));
        if (!WholeFile::copy(target, kept))
            return Restored::Failed;
    }
    return WholeFile::copy(copy.path, target) ? Restored::Yes : Restored::Failed;
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
