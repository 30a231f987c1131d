#pragma once

#include "report/reporttemplate.h"

class QPagedPaintDevice;
class QPainter;

namespace Report {

// Draws one laid-out page on a painter whose units are millimetres from the
// sheet's corner.
void renderPage(QPainter &painter, const Page &page);

// Prints the pages on a paged device (printer or PDF), one sheet each, with
// the template's orientation and no device margins.
bool paintPages(QPagedPaintDevice &device, const std::vector<Page> &pages, QPageLayout::Orientation orientation);

// Lays the template out and writes it as a PDF file.
bool writePdf(const QString &path, const Template &report);

} // namespace Report
