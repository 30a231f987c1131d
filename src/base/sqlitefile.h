#pragma once

#include <QSqlDatabase>
#include <QString>

#include <functional>

class QSqlQuery;

// One connection to an SQLite database of the program folder, for the length
// of a call: no file stays open between the user's actions, and the journal
// is deleted at each commit, so that a copied folder carries the database
// whole and nothing beside it. Copies of the program wait for each other's
// writes (up to ten seconds). A database older than `version` is brought up
// to date by `upgrade` (told the version found, 0 for a new file) in one
// transaction; a newer one, made by a later version of the program, is not
// opened.
class SqliteFile
{
public:
    using Upgrade = std::function<bool(QSqlQuery &query, int from)>;

    SqliteFile(const QString &fileName, int version, const Upgrade &upgrade);
    ~SqliteFile();
    SqliteFile(const SqliteFile &) = delete;
    SqliteFile &operator=(const SqliteFile &) = delete;

    bool ok() const { return m_ok; }
    QSqlDatabase db() const;

    // Whether the program folder holds the file: reading what was never
    // written does not make it.
    static bool exists(const QString &fileName);

private:
    QString m_name;
    bool m_ok = false;
};
