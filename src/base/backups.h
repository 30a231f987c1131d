#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>

#include <functional>
#include <vector>

class QFile;

// Daily copies of the files that hold the association's data (the members
// archive Archivio_Anagrafico.pro, the register books *.qvl, the INI files
// Quorvel.ini and Liberatoria_Privacy.ini, the password file unins000.dll,
// the fees ledger Quote.sqlite),
// in the folder Backup of the program folder; no other file has copies.
// Before the first write of a day to one of them that finds it holding
// something, the file as it stands is copied whole to
// Backup/<name>_<yyyy-mm-dd><extension>, written atomically and synced. Day
// copies of the last 30 days up to today stay, older ones go; copies dated
// after today and the copies a restore kept are never removed. A copy that
// cannot be made never stops the write that asked for it: it is reported once
// a day for that file.
//
// A large record file is copied in the background while the write goes on,
// into Backup beside a journal that holds the file's length when the copy
// began. Every write below that length, by this program or by another copy
// of it sharing the folder, first appends the bytes it replaces to the
// journal and syncs it, under the file's write lock; the copy puts them back
// before it takes its name, so that it is the file as it was before the
// day's first write. A copy left unfinished (its program was killed) is
// finished by the next program that writes to the file; when its journal is
// missing or damaged, it is named by its time instead and the user is told.
namespace Backups {

constexpr int DaysKept = 30;
// Files larger than this are copied in the background, so that a save never
// holds the file locked while a large copy crosses a slow disk or network.
constexpr qint64 BackgroundFrom = 4 << 20;
constexpr const char *FolderName = "Backup";

QString folder();

// Whole files: call before the file is replaced.
void beforeWrite(const QString &path);
// Record files: call with `file` open for reading and writing and locked
// alone, before `length` bytes are written at `offset`.
void beforeRecordWrite(QFile &file, qint64 offset, qint64 length);
// Databases (the fees ledger Quote.sqlite): call before a write; `copy`
// writes a consistent copy of the database to the path it is given, as the
// database itself makes it, even while another copy of the program writes.
void beforeDatabaseWrite(const QString &path, const std::function<bool(const QString &to)> &copy);

struct Copy
{
    QString path;     // the copy in Backup
    QString fileName; // the file it is a copy of, in the program folder
    QDate date;
    QTime time;       // only for copies named by their time (the file a restore replaced)
    QDateTime modified; // when the copy was written
    qint64 size = 0;
};
// Every copy in Backup, by file name and then newest first.
std::vector<Copy> list();

enum class Restored { Yes, InUse, Damaged, Failed };
// Puts a copy in place of its file: the current file is copied to Backup
// first (with the time in its name, so it replaces no other copy), then
// replaced at once. Refused, with nothing changed, while a window of any copy
// of the program works on the file (InUse), and for a copy that is not a whole
// file of its kind: records of the file's size whose fields fit, an INI
// file's text lines, or a database SQLite finds whole (Damaged).
Restored restore(const Copy &copy);

// Waits for the copies still being made in the background.
void waitForCopies();

// Who hears that a copy could not be made; called on the thread of the
// program's windows.
void setReporter(std::function<void(const QString &text)> reporter);
// Moves the size from which files are copied in the background.
void setBackgroundThresholdForTesting(qint64 bytes);
// Runs in the background copy before it reads each piece of the file.
void setBetweenPiecesForTesting(std::function<void()> hook);

} // namespace Backups

// Marks a file as being worked on by a window of this copy of the program
// for as long as the object lives, so that another copy does not restore a
// backup over it. The mark is a lock on a small file beside the copies, which
// the system lets go however the program ends.
class FileInUse
{
public:
    explicit FileInUse(const QString &path);
    ~FileInUse();
    FileInUse(const FileInUse &) = delete;
    FileInUse &operator=(const FileInUse &) = delete;

private:
    QFile *m_mark = nullptr;
};
