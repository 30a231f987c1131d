#include "report/reportoutput.h"

#include "report/reportpreview.h"
#include "report/reportrenderer.h"
#include "ui/modal.h"

#include <QPrintDialog>
#include <QPrinter>

namespace ReportOutput {

Result print(QWidget *parent, const Report::Template &report)
{
    const std::vector<Report::Page> pages = report.prepare();
    QPrinter printer(QPrinter::HighResolution);
    Report::preparePrinter(printer, report);
    QPrintDialog dialog(&printer, parent);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    if (Modal::show(&dialog) != QDialog::Accepted)
        return Result::Cancelled;
    return Report::paintPages(printer, pages, report.orientation()) ? Result::Printed : Result::Failed;
}

void preview(QWidget *parent, const Report::Template &report)
{
    Report::Preview window(parent, report);
    QObject::connect(&window, &Report::Preview::printRequested, &window, [&] { print(&window, report); });
    Modal::show(&window);
}

} // namespace ReportOutput
