#pragma once

#include "report/reporttemplate.h"

#include <QDateTime>

#include <memory>

// The summary printout shared by the search window and the members-to-recontact
// summary: a title bar, the rows in Courier New one per line, and a footer with
// the date and time of printing, on landscape A4 pages.
namespace SummaryReport {

std::unique_ptr<Report::Template> create();

// Title, rows (as they stand, not trimmed) and the footer's date and time; the
// data band grows to hold every row.
void fill(Report::Template &report, const QString &title, const QStringList &rows, const QDateTime &printedAt);

} // namespace SummaryReport
