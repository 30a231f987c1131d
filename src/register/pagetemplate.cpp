#include "register/pagetemplate.h"

#include "base/blanks.h"

namespace PageReport {

namespace {

Report::Object *text(Report::Template &report, const QString &name, const QRectF &rect, qreal points, bool bold,
                     Qt::Alignment alignment, const QColor &colour = Qt::black)
{
    return report.addText(name, rect, QStringLiteral("Arial"), points, bold, alignment, colour);
}

} // namespace

std::unique_ptr<Report::Template> create()
{
    auto report = std::make_unique<Report::Template>(QStringLiteral("Pagina Quorvel"), QPageLayout::Portrait,
                                                     QMarginsF(10, 10, 10, 10));
    text(*report, QStringLiteral("txtNome"), {1, 0.6, 188, 4}, 8, false, Qt::AlignLeft | Qt::AlignVCenter);
    text(*report, QStringLiteral("txtPagina"), {0, 273, 190, 4}, 8, false, Qt::AlignCenter);

    const QColor brown(0xA5, 0x2A, 0x2A);
    for (int s = 0; s < TPaginaRegistro::SlotCount; ++s) {
        const QString x = QString(TPaginaRegistro::letter(s));
        const qreal top = 6 + 33 * s;
        Report::Object *frame = report->addObject(Report::Object::Shape, QStringLiteral("shpSlot_") + x,
                                                  {1, top, 188, 30});
        frame->fill = s % 2 == 0 ? QColor(0xF0, 0xF8, 0xFF) : QColor(0xFF, 0xFF, 0xF0);
        frame->frame = QColor(0xDC, 0xDC, 0xDC);
        report->addObject(Report::Object::Picture, QStringLiteral("imgFoto_") + x, {2, top + 1, 22, 28});
        const Qt::Alignment left = Qt::AlignLeft | Qt::AlignVCenter;
        text(*report, QStringLiteral("txtNome_") + x, {27.4, top + 1, 160, 7}, 14, true, left, brown);
        text(*report, QStringLiteral("txtUM_") + x, {27.4, top + 10, 160, 4}, 10, false, left);
        text(*report, QStringLiteral("txtCaratteristiche_") + x, {27.4, top + 16, 160, 4}, 10, false, left);
        text(*report, QStringLiteral("txtCodice_") + x, {27.4, top + 22, 77, 7}, 12, true, left);
        text(*report, QStringLiteral("txtPrezzo_") + x, {109.4, top + 21.8, 77, 7}, 12, true,
             Qt::AlignRight | Qt::AlignVCenter);
    }
    return report;
}

void fill(Report::Template &report, const Content &content)
{
    report.setOrientation(QPageLayout::Portrait);
    report.findObject(QStringLiteral("txtNome"))->setText(Blanks::trimmed(content.book));
    for (int s = 0; s < TPaginaRegistro::SlotCount; ++s) {
        const QString x = QString(TPaginaRegistro::letter(s));
        report.findObject(QStringLiteral("imgFoto_") + x)->picture = content.photos[size_t(s)];
        for (const TSlotPagina::Field &f : TSlotPagina::fields())
            report.findObject(QStringLiteral("txt") + QString::fromLatin1(f.name) + u'_' + x)
                ->setText(Blanks::trimmed(content.page.slotTexts[size_t(s)].*f.member));
    }
    report.findObject(QStringLiteral("txtPagina"))
        ->setText(QStringLiteral("Pagina ") + Blanks::trimmed(content.pageNumber));
}

} // namespace PageReport
