#include "report/summarytemplate.h"

#include "base/formats.h"

namespace SummaryReport {

namespace {

const QColor kSlateGrey(0x70, 0x80, 0x90);
constexpr qreal kLineUnits = 12.822;

Report::Object *bar(Report::Band *band, const QString &name, const QRectF &rect, qreal points, const QString &text)
{
    auto memo = std::make_unique<Report::Object>(Report::Object::Memo, name, rect);
    memo->fontFamily = QStringLiteral("Verdana");
    memo->fontPoints = points;
    memo->bold = true;
    memo->textColour = Qt::white;
    memo->fill = kSlateGrey;
    memo->alignment = Qt::AlignHCenter | Qt::AlignVCenter;
    memo->setText(text);
    band->objects.push_back(std::move(memo));
    return band->objects.back().get();
}

} // namespace

std::unique_ptr<Report::Template> create()
{
    auto report = std::make_unique<Report::Template>(QStringLiteral("Riepilogo dati"), QPageLayout::Landscape,
                                                     QMarginsF(10, 10, 10, 10));
    bar(report->addBand(Report::Band::Title, QStringLiteral("ReportTitle"), 8.0), QStringLiteral("txtTitolo"),
        {2.0, 1.0, 273.0, 5.0}, 9, QStringLiteral("Riepilogo"));

    Report::Band *data = report->addBand(Report::Band::Data, QStringLiteral("MasterData"), 28.0);
    auto rows = std::make_unique<Report::Object>(Report::Object::Memo, QStringLiteral("txtRiepilogo"),
                                                 QRectF(3.0, 0.0, 273.0, 27.0));
    rows->fontFamily = QStringLiteral("Courier New");
    rows->fontPoints = 8;
    data->objects.push_back(std::move(rows));

    bar(report->addBand(Report::Band::Footer, QStringLiteral("Footer"), 8.0), QStringLiteral("txtPagina"),
        {3.0, 2.0, 272.0, 5.0}, 8, QStringLiteral("Stampa eseguita in data [DATE]"));
    return report;
}

void fill(Report::Template &report, const QString &title, const QStringList &rows, const QDateTime &printedAt)
{
    report.findObject(QStringLiteral("txtTitolo"))->setText(title);
    report.findObject(QStringLiteral("txtPagina"))
        ->setText(QStringLiteral("Stampa eseguita in data ") + Formats::shortDate(printedAt.date())
                  + QStringLiteral(" alle ore ") + printedAt.time().toString(QStringLiteral("HH:mm:ss")));
    Report::Object *memo = report.findObject(QStringLiteral("txtRiepilogo"));
    memo->setLines(rows);
    memo->setHeight(Report::unitsToMm(memo->lineCount() * kLineUnits));
    report.findBand(QStringLiteral("MasterData"))->setHeight(memo->rect().height() + Report::unitsToMm(10));
}

} // namespace SummaryReport
