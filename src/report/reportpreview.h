#pragma once

#include "report/reporttemplate.h"

#include <QDialog>
#include <QPrinter>

#include <vector>

class QAction;
class QLabel;
class QPrintPreviewWidget;

namespace Report {

// A printer set for a report: the whole sheet, the report's name and
// orientation.
void preparePrinter(QPrinter &printer, const Template &report);

// The preview of a report's laid-out pages, maximised at 100 %, with what
// works on them: print, zoom in and out, fit the page or its width, page by
// page navigation when there are several pages, full screen and close.
class Preview : public QDialog
{
    Q_OBJECT
public:
    Preview(QWidget *parent, const Template &report);

    QPrintPreviewWidget *view() const { return m_view; }

signals:
    // The print command: whoever opened the preview prints the report.
    void printRequested();

private:
    QAction *command(const QString &name, const QString &text, const QString &icon);
    void printReport();
    void toggleFullScreen();
    void showPageNumber();

    const Template &m_report;
    std::vector<Page> m_pages;
    QPrinter m_printer;
    QPrintPreviewWidget *m_view = nullptr;
    QAction *m_fullScreen = nullptr;
    QLabel *m_pageNumber = nullptr;
};

} // namespace Report
