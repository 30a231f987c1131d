#include "import/importhistory.h"

#include "base/backups.h"
#include "base/clock.h"
#include "base/programfolder.h"
#include "base/sqlitefile.h"
#include "base/wholefile.h"
#include "import/importfields.h"
#include "members/memberarchive.h"

#include <QDir>
#include <QFileInfo>

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace ImportHistory {

namespace {

constexpr int SchemaVersion = 1;

// The history's file, its tables made or brought up to date.
class Connection : public SqliteFile
{
public:
    Connection()
        : SqliteFile(QString::fromLatin1(FileName), SchemaVersion, [](QSqlQuery &q, int) {
            return q.exec(QStringLiteral("CREATE TABLE IF NOT EXISTS colonne (intestazione TEXT PRIMARY KEY, "
                                         "campo TEXT NOT NULL)"))
                && q.exec(QStringLiteral("CREATE TABLE IF NOT EXISTS importazioni (id INTEGER PRIMARY KEY "
                                         "AUTOINCREMENT, quando TEXT NOT NULL, file TEXT NOT NULL, primo INTEGER NOT "
                                         "NULL, quanti INTEGER NOT NULL, impronta BLOB NOT NULL, annullata INTEGER "
                                         "NOT NULL DEFAULT 0)"));
        })
    {
    }
};

} // namespace

void Digest::add(QByteArrayView bytes)
{
    m_first = qHash(bytes, m_first);
    m_second = qHash(bytes, m_second ^ m_first);
}

QByteArray Digest::result() const
{
    return QByteArray::number(quint64(m_first), 16) + '-' + QByteArray::number(quint64(m_second), 16);
}

namespace {

// Nothing noted yet: reading does not make the file.
bool noHistory()
{
    return !SqliteFile::exists(QString::fromLatin1(FileName));
}

} // namespace

QHash<QString, int> chosenTargets()
{
    QHash<QString, int> chosen;
    if (noHistory())
        return chosen;
    Connection c;
    if (!c.ok())
        return chosen;
    QSqlQuery q(c.db());
    if (!q.exec(QStringLiteral("SELECT intestazione, campo FROM colonne")))
        return chosen;
    while (q.next()) {
        const QString field = q.value(1).toString();
        const int target = ImportFields::targetOf(field);
        // A field a later version names, and this one does not know, is left alone.
        if (target != ImportFields::Ignored || field == ImportFields::label(ImportFields::Ignored))
            chosen.insert(q.value(0).toString(), target);
    }
    return chosen;
}

bool rememberTarget(const QString &heading, int target)
{
    Connection c;
    if (!c.ok() || heading.isEmpty())
        return false;
    QSqlQuery q(c.db());
    q.prepare(QStringLiteral("INSERT OR REPLACE INTO colonne (intestazione, campo) VALUES (?, ?)"));
    q.addBindValue(heading);
    q.addBindValue(ImportFields::label(target));
    return q.exec();
}

bool record(const Import &import)
{
    Connection c;
    if (!c.ok())
        return false;
    QSqlQuery q(c.db());
    q.prepare(QStringLiteral("INSERT INTO importazioni (quando, file, primo, quanti, impronta) VALUES (?, ?, ?, ?, ?)"));
    q.addBindValue(import.when.toString(Qt::ISODate));
    q.addBindValue(import.file);
    q.addBindValue(import.first);
    q.addBindValue(import.count);
    q.addBindValue(import.digest);
    return q.exec();
}

std::optional<Import> last(bool *failed)
{
    if (failed)
        *failed = false;
    if (noHistory())
        return std::nullopt;
    if (failed)
        *failed = true;
    Connection c;
    if (!c.ok())
        return std::nullopt;
    QSqlQuery q(c.db());
    if (!q.exec(QStringLiteral("SELECT id, quando, file, primo, quanti, impronta FROM importazioni "
                               "WHERE annullata = 0 ORDER BY id DESC LIMIT 1")))
        return std::nullopt;
    if (failed)
        *failed = false;
    if (!q.next())
        return std::nullopt;
    Import import;
    import.id = q.value(0).toLongLong();
    import.when = QDateTime::fromString(q.value(1).toString(), Qt::ISODate);
    import.file = q.value(2).toString();
    import.first = q.value(3).toLongLong();
    import.count = q.value(4).toLongLong();
    import.digest = q.value(5).toByteArray();
    return import;
}

bool forget(qint64 id)
{
    Connection c;
    if (!c.ok())
        return false;
    QSqlQuery q(c.db());
    q.prepare(QStringLiteral("UPDATE importazioni SET annullata = 1 WHERE id = ?"));
    q.addBindValue(id);
    return q.exec() && q.numRowsAffected() == 1;
}

Undo undoLast()
{
    Undo undo;
    bool failed = false;
    const auto import = last(&failed);
    if (!import) {
        undo.kind = failed ? Undo::Failed : Undo::NoImport;
        return undo;
    }
    undo.import = *import;
    const bool done = MemberArchive().file().withWriteLock([&](RecordFile::Locked &archive) {
        if (archive.count() != import->first + import->count) {
            undo.kind = Undo::NotLast;
            return true;
        }
        for (qint64 n = import->first + 1; n <= import->first + import->count; ++n) {
            if (QFileInfo::exists(MemberArchive::photoPath(QString::number(n)))) {
                undo.kind = Undo::Changed;
                return true;
            }
        }
        // The cards are copied out a block at a time, and checked on the way.
        if (!ProgramFolder::ensureFolder(QString::fromLatin1(Backups::FolderName)))
            return false;
        const QString kept = Backups::folder() + QDir::separator() + QStringLiteral("Importazione_annullata_")
            + Clock::now().toString(QStringLiteral("yyyy-MM-dd_HH-mm-ss")) + QStringLiteral(".pro");
        WholeFile copy(kept);
        if (!copy.open())
            return false;
        Digest digest;
        constexpr qint64 Block = 256;
        for (qint64 at = 0; at < import->count; at += Block) {
            const auto records = archive.read(import->first + at, qMin(Block, import->count - at));
            if (!records || !copy.write(*records))
                return false;
            for (qsizetype r = 0; r < records->size(); r += TSchedaAnagrafica::RecordSize)
                digest.add(QByteArrayView(*records).sliced(r, TSchedaAnagrafica::RecordSize));
        }
        if (digest.result() != import->digest) {
            undo.kind = Undo::Changed;
            return true;
        }
        if (!copy.commit() || !archive.truncate(import->first))
            return false;
        forget(import->id);
        undo.kind = Undo::Undone;
        undo.keptIn = kept;
        return true;
    });
    if (!done)
        undo.kind = Undo::Failed;
    return undo;
}

} // namespace ImportHistory
