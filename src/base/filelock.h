#pragma once

class QByteArray;
class QFile;
class QFileDevice;
class QString;

// The platform calls behind the record files: locks on an open file, so that
// two copies of the program sharing a folder never write the same record and
// never read one half written, and flushes to the disk itself, so that a
// confirmed save survives a power cut.
namespace FileLock {

enum Mode { Shared, Exclusive };

// Tries once, without waiting; true when the lock is now held. Readers share
// the file; a writer holds it alone.
bool tryLock(QFile &file, Mode mode);
void unlock(QFile &file);

// Flushes Qt's buffer and the system's cache to the disk.
bool syncToDisk(QFileDevice &file);

// The file's size, identity and times of its last change, as bytes that
// stay equal while nobody writes the file; empty when the last change is so
// recent (under a tenth of a second) that a change still to come might carry
// the same times.
QByteArray stamp(QFile &file);

// Flushes a folder's entries, so that a file just created in it is still
// there after a power cut.
void syncFolder(const QString &folder);

} // namespace FileLock
