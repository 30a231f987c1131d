#pragma once

#include <QDate>
#include <QHash>
#include <QList>
#include <QMap>
#include <QSet>
#include <QString>

#include <optional>

// The membership fees, year by year, in Quote.sqlite in the program folder:
// every payment with its receipt, the association's data printed on the
// receipts, and the fee of each year. Receipts are numbered per year of
// payment from 1 without gaps; a receipt is never deleted nor its number
// given again: a wrong one is cancelled, with its reason, and stays listed.
// Each call opens the file and closes it; what it writes is written whole or
// not at all, and copies of the program on one folder wait for each other.
namespace FeeLedger {

inline constexpr const char *FileName = "Quote.sqlite";

enum class Method { Cash, Transfer, Card, Cheque, Other };
inline constexpr Method Methods[] = {Method::Cash, Method::Transfer, Method::Card, Method::Cheque, Method::Other};
// "Contanti", "Bonifico", "Carta/Bancomat", "Assegno", "Altro".
QString methodName(Method method);

struct Payment
{
    qint64 id = 0;
    qint64 member = 0;   // the card's record number, from 1
    QString fiscalCode;  // as the card held them when the payment was recorded
    QString name;
    int year = 0;        // the year the fee is for
    QDate paid;
    qint64 cents = 0;
    Method method = Method::Cash;
    QString note;
    int receiptYear = 0; // the year of the receipt's numbering: the year paid
    int receiptNumber = 0;
    bool cancelled = false;
    QString reason;      // why it was cancelled

    // "12/2026".
    QString receipt() const { return QStringLiteral("%1/%2").arg(receiptNumber).arg(receiptYear); }
};

struct Association
{
    QString name, address, fiscalCode;
};

// The payment recorded, with its receipt number; nothing when the ledger
// cannot be written (then nothing of it is there).
std::optional<Payment> record(Payment payment);
// Cancels a receipt, which stays listed; false when it cannot be written or
// was cancelled already.
bool cancel(qint64 id, const QString &reason);

// Nothing when the ledger cannot be read; an empty list when nothing was
// ever recorded (reading does not make the file).
std::optional<QList<Payment>> ofMember(qint64 member);
std::optional<Payment> payment(qint64 id);
// The members with a payment for `year` that is not cancelled.
std::optional<QSet<qint64>> paidFor(int year);
// The last year paid of each of these members who ever paid (payments not
// cancelled).
std::optional<QHash<qint64, int>> lastYearPaid(const QList<qint64> &members);

struct YearTotals
{
    qint64 payers = 0;
    qint64 cents = 0;
    QMap<Method, qint64> centsByMethod;
};
std::optional<YearTotals> totals(int year);

std::optional<Association> association();
bool setAssociation(const Association &association);
// The fee of a year, proposed as the amount; nothing when none was set.
std::optional<qint64> yearlyFee(int year);
std::optional<QMap<int, qint64>> yearlyFees();
bool setYearlyFee(int year, qint64 cents);

} // namespace FeeLedger
