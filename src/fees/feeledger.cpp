#include "fees/feeledger.h"

#include "base/backups.h"
#include "base/sqlitefile.h"

#include <QSqlQuery>
#include <QVariant>

#include <functional>
#include <iterator>

namespace FeeLedger {

namespace {

// 2: the index that finds a member's last year paid.
constexpr int SchemaVersion = 2;

class Connection : public SqliteFile
{
public:
    Connection()
        : SqliteFile(QString::fromLatin1(FileName), SchemaVersion, [](QSqlQuery &q, int) {
            return q.exec(QStringLiteral(
                       "CREATE TABLE IF NOT EXISTS versamenti (id INTEGER PRIMARY KEY AUTOINCREMENT, "
                       "socio INTEGER NOT NULL, codice_fiscale TEXT NOT NULL, nome TEXT NOT NULL, "
                       "anno INTEGER NOT NULL, data TEXT NOT NULL, centesimi INTEGER NOT NULL, "
                       "modalita INTEGER NOT NULL, nota TEXT NOT NULL, ricevuta_anno INTEGER NOT NULL, "
                       "ricevuta_numero INTEGER NOT NULL, annullata INTEGER NOT NULL DEFAULT 0, "
                       "motivo TEXT NOT NULL DEFAULT '', UNIQUE (ricevuta_anno, ricevuta_numero))"))
                && q.exec(QStringLiteral("CREATE INDEX IF NOT EXISTS versamenti_anno ON versamenti (anno, socio)"))
                && q.exec(QStringLiteral("DROP INDEX IF EXISTS versamenti_socio"))
                && q.exec(QStringLiteral("CREATE INDEX IF NOT EXISTS versamenti_socio_anno ON versamenti "
                                         "(socio, annullata, anno)"))
                && q.exec(QStringLiteral("CREATE TABLE IF NOT EXISTS associazione (chiave TEXT PRIMARY KEY, "
                                         "valore TEXT NOT NULL)"))
                && q.exec(QStringLiteral("CREATE TABLE IF NOT EXISTS quote_annue (anno INTEGER PRIMARY KEY, "
                                         "centesimi INTEGER NOT NULL)"));
        })
    {
    }
};

// A text for a NOT NULL column: an empty one is stored as "", not NULL.
QString stored(const QString &text)
{
    return text.isNull() ? QStringLiteral("") : text;
}

// Nothing recorded yet: reading does not make the file.
bool empty()
{
    return !SqliteFile::exists(QString::fromLatin1(FileName));
}

// Runs `read` over the ledger into `value`: an empty `value` when nothing was
// ever recorded (reading does not make the file), nothing when the ledger
// cannot be read.
template <typename T, typename Read>
std::optional<T> reading(T value, Read &&read)
{
    if (empty())
        return value;
    Connection c;
    if (!c.ok())
        return std::nullopt;
    QSqlQuery q(c.db());
    q.setForwardOnly(true);
    if (!read(q, value))
        return std::nullopt;
    return value;
}

const QString kColumns = QStringLiteral("id, socio, codice_fiscale, nome, anno, data, centesimi, modalita, nota, "
                                        "ricevuta_anno, ricevuta_numero, annullata, motivo");

Payment paymentAt(const QSqlQuery &q)
{
    Payment p;
    p.id = q.value(0).toLongLong();
    p.member = q.value(1).toLongLong();
    p.fiscalCode = q.value(2).toString();
    p.name = q.value(3).toString();
    p.year = q.value(4).toInt();
    p.paid = QDate::fromString(q.value(5).toString(), Qt::ISODate);
    p.cents = q.value(6).toLongLong();
    const int method = q.value(7).toInt();
    p.method = method >= 0 && method < int(std::size(Methods)) ? Method(method) : Method::Other;
    p.note = q.value(8).toString();
    p.receiptYear = q.value(9).toInt();
    p.receiptNumber = q.value(10).toInt();
    p.cancelled = q.value(11).toBool();
    p.reason = q.value(12).toString();
    return p;
}

std::optional<QList<Payment>> payments(const QString &where, const QVariantList &values)
{
    return reading(QList<Payment>(), [&](QSqlQuery &q, QList<Payment> &found) {
        q.prepare(QStringLiteral("SELECT %1 FROM versamenti WHERE %2 ORDER BY anno, data, id").arg(kColumns, where));
        for (const QVariant &v : values)
            q.addBindValue(v);
        if (!q.exec())
            return false;
        while (q.next())
            found << paymentAt(q);
        return true;
    });
}

// Runs `write` in a transaction that holds the file's write lock from its
// start, so that what it reads cannot change before it writes.
bool writing(const std::function<bool(QSqlQuery &)> &write)
{
    Connection c;
    if (!c.ok())
        return false;
    QSqlQuery q(c.db());
    // The day's copy first, as the database stands before this write.
    Backups::beforeDatabaseWrite(c.db().databaseName(), [&q](const QString &to) {
        q.prepare(QStringLiteral("VACUUM INTO ?"));
        q.addBindValue(to);
        return q.exec();
    });
    if (!q.exec(QStringLiteral("BEGIN IMMEDIATE")))
        return false;
    if (!write(q)) {
        q.exec(QStringLiteral("ROLLBACK"));
        return false;
    }
    if (!q.exec(QStringLiteral("COMMIT"))) {
        q.exec(QStringLiteral("ROLLBACK"));
        return false;
    }
    return true;
}

} // namespace

QString methodName(Method method)
{
    switch (method) {
    case Method::Cash: return QStringLiteral("Contanti");
    case Method::Transfer: return QStringLiteral("Bonifico");
    case Method::Card: return QStringLiteral("Carta/Bancomat");
    case Method::Cheque: return QStringLiteral("Assegno");
    case Method::Other: return QStringLiteral("Altro");
    }
    return QString();
}

std::optional<Payment> record(Payment payment)
{
    payment.receiptYear = payment.paid.year();
    payment.cancelled = false;
    payment.reason.clear();
    const bool written = writing([&payment](QSqlQuery &q) {
        // The next number of the year, under the write lock.
        q.prepare(QStringLiteral("SELECT COALESCE(MAX(ricevuta_numero), 0) + 1 FROM versamenti WHERE ricevuta_anno = ?"));
        q.addBindValue(payment.receiptYear);
        if (!q.exec() || !q.next())
            return false;
        payment.receiptNumber = q.value(0).toInt();
        q.prepare(QStringLiteral("INSERT INTO versamenti (socio, codice_fiscale, nome, anno, data, centesimi, modalita, "
                                 "nota, ricevuta_anno, ricevuta_numero) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
        for (const QVariant &v : QVariantList{payment.member, stored(payment.fiscalCode), stored(payment.name),
                                              payment.year, payment.paid.toString(Qt::ISODate), payment.cents,
                                              int(payment.method), stored(payment.note), payment.receiptYear,
                                              payment.receiptNumber})
            q.addBindValue(v);
        if (!q.exec())
            return false;
        payment.id = q.lastInsertId().toLongLong();
        return true;
    });
    if (!written)
        return std::nullopt;
    return payment;
}

bool cancel(qint64 id, const QString &reason)
{
    return writing([&](QSqlQuery &q) {
        q.prepare(QStringLiteral("UPDATE versamenti SET annullata = 1, motivo = ? WHERE id = ? AND annullata = 0"));
        q.addBindValue(stored(reason));
        q.addBindValue(id);
        return q.exec() && q.numRowsAffected() == 1;
    });
}

std::optional<QList<Payment>> ofMember(qint64 member)
{
    return payments(QStringLiteral("socio = ?"), {member});
}

std::optional<Payment> payment(qint64 id)
{
    const auto found = payments(QStringLiteral("id = ?"), {id});
    if (!found || found->isEmpty())
        return std::nullopt;
    return found->first();
}

std::optional<QSet<qint64>> paidFor(int year)
{
    return reading(QSet<qint64>(), [year](QSqlQuery &q, QSet<qint64> &paid) {
        q.prepare(QStringLiteral("SELECT DISTINCT socio FROM versamenti WHERE anno = ? AND annullata = 0"));
        q.addBindValue(year);
        if (!q.exec())
            return false;
        while (q.next())
            paid.insert(q.value(0).toLongLong());
        return true;
    });
}

std::optional<QHash<qint64, int>> lastYearPaid(const QList<qint64> &members)
{
    if (members.isEmpty())
        return QHash<qint64, int>();
    return reading(QHash<qint64, int>(), [&members](QSqlQuery &q, QHash<qint64, int> &last) {
        // The members in a table of this connection's own (kept in memory,
        // gone with it), then each one's payments found through the index.
        if (!q.exec(QStringLiteral("PRAGMA temp_store = MEMORY"))
            || !q.exec(QStringLiteral("CREATE TEMP TABLE scelti (socio INTEGER PRIMARY KEY)"))
            || !q.exec(QStringLiteral("BEGIN")))
            return false;
        q.prepare(QStringLiteral("INSERT OR IGNORE INTO scelti (socio) VALUES (?)"));
        for (qint64 member : members) {
            q.addBindValue(member);
            if (!q.exec()) {
                q.exec(QStringLiteral("ROLLBACK"));
                return false;
            }
        }
        if (!q.exec(QStringLiteral("COMMIT"))
            || !q.exec(QStringLiteral("SELECT s.socio, (SELECT MAX(anno) FROM versamenti v WHERE v.socio = s.socio "
                                      "AND v.annullata = 0) FROM scelti s")))
            return false;
        while (q.next())
            if (!q.value(1).isNull())
                last.insert(q.value(0).toLongLong(), q.value(1).toInt());
        return true;
    });
}

std::optional<YearTotals> totals(int year)
{
    return reading(YearTotals(), [year](QSqlQuery &q, YearTotals &t) {
        q.prepare(QStringLiteral("SELECT modalita, SUM(centesimi) FROM versamenti WHERE anno = ? AND annullata = 0 "
                                 "GROUP BY modalita"));
        q.addBindValue(year);
        if (!q.exec())
            return false;
        while (q.next()) {
            const int method = q.value(0).toInt();
            const qint64 cents = q.value(1).toLongLong();
            t.centsByMethod[method >= 0 && method < int(std::size(Methods)) ? Method(method) : Method::Other] += cents;
            t.cents += cents;
        }
        q.prepare(QStringLiteral("SELECT COUNT(DISTINCT socio) FROM versamenti WHERE anno = ? AND annullata = 0"));
        q.addBindValue(year);
        if (!q.exec() || !q.next())
            return false;
        t.payers = q.value(0).toLongLong();
        return true;
    });
}

std::optional<Association> association()
{
    return reading(Association(), [](QSqlQuery &q, Association &a) {
        if (!q.exec(QStringLiteral("SELECT chiave, valore FROM associazione")))
            return false;
        while (q.next()) {
            const QString key = q.value(0).toString();
            const QString value = q.value(1).toString();
            if (key == QLatin1String("nome"))
                a.name = value;
            else if (key == QLatin1String("indirizzo"))
                a.address = value;
            else if (key == QLatin1String("codice_fiscale"))
                a.fiscalCode = value;
        }
        return true;
    });
}

bool setAssociation(const Association &a)
{
    return writing([&a](QSqlQuery &q) {
        for (const auto &[key, value] : {std::pair{QStringLiteral("nome"), a.name},
                                         std::pair{QStringLiteral("indirizzo"), a.address},
                                         std::pair{QStringLiteral("codice_fiscale"), a.fiscalCode}}) {
            q.prepare(QStringLiteral("INSERT OR REPLACE INTO associazione (chiave, valore) VALUES (?, ?)"));
            q.addBindValue(key);
            q.addBindValue(stored(value));
            if (!q.exec())
                return false;
        }
        return true;
    });
}

std::optional<QMap<int, qint64>> yearlyFees()
{
    return reading(QMap<int, qint64>(), [](QSqlQuery &q, QMap<int, qint64> &fees) {
        if (!q.exec(QStringLiteral("SELECT anno, centesimi FROM quote_annue")))
            return false;
        while (q.next())
            fees.insert(q.value(0).toInt(), q.value(1).toLongLong());
        return true;
    });
}

std::optional<qint64> yearlyFee(int year)
{
    const auto fees = yearlyFees();
    if (!fees || !fees->contains(year))
        return std::nullopt;
    return fees->value(year);
}

bool setYearlyFee(int year, qint64 cents)
{
    return writing([&](QSqlQuery &q) {
        q.prepare(QStringLiteral("INSERT OR REPLACE INTO quote_annue (anno, centesimi) VALUES (?, ?)"));
        q.addBindValue(year);
        q.addBindValue(cents);
        return q.exec();
    });
}

} // namespace FeeLedger
