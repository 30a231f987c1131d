#pragma once

#include "report/reporttemplate.h"

#include <memory>

// The member card "Scheda Socio": the name on a blue bar, the photo, and nine
// rows of captioned boxes, one per field, on a portrait A4 sheet.
namespace CardReport {

std::unique_ptr<Report::Template> create();

// The value memos in the order they are filled; each has the name of the
// archive window's edit it takes its text from.
const QStringList &valueNames();

} // namespace CardReport
