#include "base/sqlitefile.h"

#include "base/programfolder.h"

#include <QAtomicInteger>
#include <QFileInfo>
#include <QSqlQuery>
#include <QVariant>

namespace {

// A name of its own for each connection, whatever thread makes it.
QString connectionName(const QString &fileName)
{
    static QAtomicInteger<quint64> next;
    return fileName + u'-' + QString::number(next.fetchAndAddRelaxed(1));
}

bool prepare(QSqlDatabase &db, int version, const SqliteFile::Upgrade &upgrade)
{
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("PRAGMA journal_mode=DELETE")) || !q.exec(QStringLiteral("PRAGMA synchronous=FULL"))
        || !q.exec(QStringLiteral("PRAGMA user_version")) || !q.next())
        return false;
    const int found = q.value(0).toInt();
    if (found == version)
        return true;
    if (found > version || !db.transaction())
        return false;
    const bool made = upgrade(q, found) && q.exec(QStringLiteral("PRAGMA user_version = %1").arg(version));
    return made ? db.commit() : (db.rollback(), false);
}

} // namespace

SqliteFile::SqliteFile(const QString &fileName, int version, const Upgrade &upgrade)
    : m_name(connectionName(fileName))
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
    db.setDatabaseName(ProgramFolder::file(fileName));
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=10000"));
    m_ok = db.open() && prepare(db, version, upgrade);
}

SqliteFile::~SqliteFile()
{
    {
        QSqlDatabase db = QSqlDatabase::database(m_name, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_name);
}

QSqlDatabase SqliteFile::db() const
{
    return QSqlDatabase::database(m_name, false);
}

bool SqliteFile::exists(const QString &fileName)
{
    return QFileInfo::exists(ProgramFolder::file(fileName));
}
