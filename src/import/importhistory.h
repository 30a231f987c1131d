#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QByteArrayView>
#include <QHash>
#include <QString>

#include <optional>

// What imports leave for the ones after them, in Importazioni.sqlite in the
// program folder: the field a user chose by hand for each column heading,
// and each import's place in the archive, so that the last one can be taken
// back. Every call is one short transaction; SQLite's own locks keep two
// copies of the program on one folder apart.
namespace ImportHistory {

inline constexpr const char *FileName = "Importazioni.sqlite";

// Targets (ImportFields::Target) chosen by hand, by heading as compared
// (ImportFields::comparable).
QHash<QString, int> chosenTargets();
bool rememberTarget(const QString &heading, int target);

// What an import's records were: two chains of 64-bit hashes, one link a
// record, fast enough to keep up with the disk, and far beyond the reach of
// a chance change.
class Digest
{
public:
    void add(QByteArrayView bytes);
    QByteArray result() const;

private:
    size_t m_first = 0x9E3779B97F4A7C15ULL & size_t(-1);
    size_t m_second = 0xC2B2AE3D27D4EB4FULL & size_t(-1);
};

struct Import
{
    qint64 id = 0;
    QDateTime when;
    QString file;       // the spreadsheet's name
    qint64 first = 0;   // index of the first record it appended
    qint64 count = 0;   // records appended
    QByteArray digest;  // of those records, as written
};
// Notes an import; false when it could not be noted.
bool record(const Import &import);
// The newest import not taken back; `failed` learns whether the database
// could not be read.
std::optional<Import> last(bool *failed = nullptr);
bool forget(qint64 id);

// Takes back the last import: its cards leave the archive while they are
// still its last records and none of them was saved since (no other text, no
// photo), judged under the archive's write lock, so that another copy's
// saves count too. The cards are first kept in Backup/ (`keptIn`).
struct Undo
{
    enum Kind { Undone, NoImport, NotLast, Changed, Failed } kind = Failed;
    Import import;
    QString keptIn;
};
Undo undoLast();

} // namespace ImportHistory
