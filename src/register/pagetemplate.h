#pragma once

#include "register/paginaregistro.h"
#include "report/reporttemplate.h"

#include <QImage>

#include <array>
#include <memory>

// The printed register page "Pagina Quorvel": the book name at the top, the
// eight slots stacked from A (top) to H (bottom), "Pagina n" at the foot.
namespace PageReport {

std::unique_ptr<Report::Template> create();

// The page as printed: the book's name, each slot's photo and five lines
// (blanks at their ends removed) and the page number.
void fill(Report::Template &report, const QString &book, const TPaginaRegistro &page,
          const std::array<QImage, TPaginaRegistro::SlotCount> &photos, const QString &pageNumber);

} // namespace PageReport
