#include "report/reportoutput.h"

#include "report/reportrenderer.h"
#include "ui/modal.h"

#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QGuiApplication>
#include <QScreen>

namespace ReportOutput {

namespace {
void preparePrinter(QPrinter &printer, const Report::Template &report)
{
    printer.setFullPage(true);
    printer.setDocName(report.name());
    printer.setPageOrientation(report.orientation());
}
} // namespace

Result print(QWidget *parent, const Report::Template &report)
{
    const std::vector<Report::Page> pages = report.prepare();
    QPrinter printer(QPrinter::HighResolution);
    preparePrinter(printer, report);
    QPrintDialog dialog(&printer, parent);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    if (Modal::show(&dialog) != QDialog::Accepted)
        return Result::Cancelled;
    return Report::paintPages(printer, pages, report.orientation()) ? Result::Printed : Result::Failed;
}

void preview(QWidget *parent, const Report::Template &report)
{
    const std::vector<Report::Page> pages = report.prepare();
    QPrinter printer(QPrinter::HighResolution);
    preparePrinter(printer, report);
    QPrintPreviewDialog dialog(&printer, parent);
    // The whole screen, also where no window manager maximises windows.
    if (const QScreen *screen = parent ? parent->screen() : QGuiApplication::primaryScreen())
        dialog.setGeometry(screen->availableGeometry());
    dialog.setWindowState(Qt::WindowMaximized);
    if (auto *view = dialog.findChild<QPrintPreviewWidget *>()) {
        view->setZoomMode(QPrintPreviewWidget::CustomZoom);
        view->setZoomFactor(1.0);
    }
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&](QPrinter *target) { Report::paintPages(*target, pages, report.orientation()); });
    Modal::show(&dialog);
}

} // namespace ReportOutput
