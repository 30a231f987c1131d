#pragma once

#include <QDate>
#include <QList>
#include <QString>

#include <optional>

// The members still active at a year's end (today, for the current year)
// with no payment for that year that is not cancelled: who still owes it.
namespace Owing {

struct Member
{
    qint64 record = 0; // from 1
    QString name, mobile, email;
    std::optional<int> lastYearPaid;
};

struct List
{
    int year = 0;
    qint64 active = 0; // members active on the year's day
    QList<Member> members; // by name
};

// Nothing when the archive or the fees ledger cannot be read.
std::optional<List> of(int year, const QDate &today);

// "Mancano 37 quote su 298 soci attivi".
QString summary(const List &list);

} // namespace Owing
