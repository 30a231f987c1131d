#pragma once

#include <QDate>
#include <QString>
#include <QTime>

#include <functional>
#include <vector>

class QFile;

// Daily copies of the files that hold the association's data (the members
// archive, the register books, the INI files), in the folder Backup of the
// program folder. Before the first write of a day to one of them that finds
// it holding something, the file as it stands is copied whole to
// Backup/<name>_<yyyy-mm-dd><extension>, written atomically and synced; the
// copies of the last 30 days of each file stay, older ones go. A copy that cannot be made never stops the write that
// asked for it: it is reported once a day for that file.
//
// A large record file is copied in the background while the write goes on:
// the copy takes the file's length when it starts, and every write of this
// program that lands below that length first hands the bytes it replaces to
// the copy, which puts them back before it is committed. The copy is thus the
// file as it was before the day's first write.
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

struct Copy
{
    QString path;     // the copy in Backup
    QString fileName; // the file it is a copy of, in the program folder
    QDate date;
    QTime time;       // only for the copy a restore made of the file it replaced
    qint64 size = 0;
};
// Every copy in Backup, by file name and then newest first.
std::vector<Copy> list();

enum class Restored { Yes, InUse, Failed };
// Puts a copy in place of its file: the current file is copied to Backup
// first (with the time in its name, so it replaces no other copy), then
// replaced at once. Refused, with nothing changed, while a window of any copy
// of the program works on the file.
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
