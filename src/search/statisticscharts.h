#pragma once

#include "report/reporttemplate.h"
#include "search/memberstatistics.h"

#include <QDate>

#include <memory>

class QChart;

// The four charts of the members' statistics, each with its numbers on it,
// for the window and for the printed page alike.
namespace StatisticsCharts {

enum Chart { Years, AgeAndSex, Qualifications, Towns, ChartCount };

// A new chart of `which` for the figures of `year`; the caller owns it.
QChart *make(Chart which, const MemberStatistics &stats, int year);

// The printed page "Statistiche soci": a heading, the six headline figures
// and the four charts as vector drawings, on one portrait A4 sheet.
std::unique_ptr<Report::Template> page(const MemberStatistics &stats, int year, const QDate &reference);

} // namespace StatisticsCharts
