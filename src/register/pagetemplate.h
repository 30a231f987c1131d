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

// What a printed page shows: the book's name, each slot's photo and five
// lines, and the page number.
struct Content
{
    QString book;
    TPaginaRegistro page;
    std::array<QImage, TPaginaRegistro::SlotCount> photos;
    QString pageNumber;
};

// The template filled with a page, blanks at the ends of every text removed.
void fill(Report::Template &report, const Content &content);

} // namespace PageReport
