#pragma once

class QWidget;

namespace Report {
class Template;
}

// Printing and previewing a template: the print dialog first (cancelling it
// prints nothing and is no error), or the preview window, maximised at 100 %.
namespace ReportOutput {

enum class Result { Printed, Cancelled, Failed };
Result print(QWidget *parent, const Report::Template &report);
void preview(QWidget *parent, const Report::Template &report);

} // namespace ReportOutput
