#pragma once

#include "report/reporttemplate.h"
#include "statistics/memberstatistics.h"

#include <QDate>

#include <memory>

class QChart;

// The four charts of the members' statistics, each with its numbers on it,
// for the window and for the printed page alike.
namespace StatisticsCharts {

enum Chart { Years, AgeAndSex, Qualifications, Towns, ChartCount };
enum class Medium { Screen, Paper };

// A new chart of `which` for the figures of their year; the caller owns it.
// Its title says the day or years it describes.
QChart *make(Chart which, const MemberStatistics &stats, Medium medium = Medium::Screen);

// The printed page "Statistiche soci": a heading, the six headline figures
// and the four charts as vector drawings, on one portrait A4 sheet.
std::unique_ptr<Report::Template> page(const MemberStatistics &stats);

} // namespace StatisticsCharts
