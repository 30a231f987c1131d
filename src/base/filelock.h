#pragma once

class QFile;

// The platform calls behind the record files: an exclusive lock on an open file,
// so that two copies of the program sharing a folder never write the same
// record, and a flush to the disk itself, so that a confirmed save survives a
// power cut.
namespace FileLock {

// Tries once, without waiting; true when the lock is now held.
bool tryLockExclusive(QFile &file);
void unlock(QFile &file);

// Flushes Qt's buffer and the system's cache to the disk.
bool syncToDisk(QFile &file);

} // namespace FileLock
