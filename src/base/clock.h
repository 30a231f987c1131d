#pragma once

#include <QDate>
#include <QDateTime>

// Today's date and time for the whole program; tests set it.
namespace Clock {

QDateTime now();
QDate today();

// An invalid value gives the real clock back.
void setForTesting(const QDateTime &fixed);

} // namespace Clock
