#pragma once

#include "report/reporttemplate.h"

#include <memory>

// The printed register page "Pagina Quorvel": the book name at the top, the
// eight slots stacked from A (top) to H (bottom), "Pagina n" at the foot.
namespace PageReport {

std::unique_ptr<Report::Template> create();

} // namespace PageReport
