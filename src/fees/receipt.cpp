#include "fees/receipt.h"

#include "base/formats.h"
#include "fees/amounts.h"

#include <QPainter>
#include <QPen>

namespace Receipt {

std::unique_ptr<Report::Template> make(const FeeLedger::Payment &p, const FeeLedger::Association &a)
{
    auto report = std::make_unique<Report::Template>(QStringLiteral("Ricevuta quota associativa"),
                                                     QPageLayout::Portrait, QMarginsF(15, 12, 15, 12));
    Report::Template &r = *report;
    const QString arial = QStringLiteral("Arial");
    const QColor blue(0x1F, 0x3B, 0x57);
    // The association, as the receipt's heading.
    r.addText(QStringLiteral("txtAssociazione"), {0, 0, 180, 8}, arial, 14, true, Qt::AlignLeft, blue)
        ->setText(a.name.isEmpty() ? QStringLiteral("(nome dell'associazione da indicare nelle impostazioni)") : a.name);
    r.addText(QStringLiteral("txtIndirizzo"), {0, 8, 180, 6}, arial, 10, false, Qt::AlignLeft)->setText(a.address);
    r.addText(QStringLiteral("txtCodiceFiscale"), {0, 14, 180, 6}, arial, 10, false, Qt::AlignLeft)
        ->setText(a.fiscalCode.isEmpty() ? QString() : QStringLiteral("Codice fiscale: ") + a.fiscalCode);

    r.addText(QStringLiteral("txtTitolo"), {0, 26, 180, 10}, arial, 16, true, Qt::AlignCenter, blue)
        ->setText(QStringLiteral("Ricevuta quota associativa n. ") + p.receipt());
    r.addText(QStringLiteral("txtData"), {0, 36, 180, 6}, arial, 10, false, Qt::AlignRight)
        ->setText(QStringLiteral("Data: ") + Formats::shortDate(p.paid));

    const QString who = p.fiscalCode.isEmpty() ? p.name : p.name + QStringLiteral(", codice fiscale ") + p.fiscalCode;
    const QStringList lines = {
        QStringLiteral("Si dichiara di aver ricevuto da ") + who,
        QStringLiteral("la somma di euro ") + Amounts::figures(p.cents) + QStringLiteral(" (") + Amounts::words(p.cents)
            + u')',
        QStringLiteral("quale quota associativa per l'anno ") + QString::number(p.year) + u'.',
        QStringLiteral("Modalità di pagamento: ") + FeeLedger::methodName(p.method)
            + (p.note.isEmpty() ? QString() : QStringLiteral(" - ") + p.note),
    };
    for (qsizetype i = 0; i < lines.size(); ++i)
        r.addText(QStringLiteral("txtRiga%1").arg(i + 1), {0, 48 + 8.0 * qreal(i), 180, 7}, arial, 11, false,
                  Qt::AlignLeft)
            ->setText(lines.at(i));

    r.addText(QStringLiteral("txtFirma"), {110, 92, 70, 6}, arial, 10, false, Qt::AlignCenter)
        ->setText(QStringLiteral("Il Tesoriere"));
    Report::Object *line = r.addObject(Report::Object::Shape, QStringLiteral("shpFirma"), {110, 110, 70, 0.3});
    line->fill = Qt::black;

    if (p.cancelled) {
        r.addText(QStringLiteral("txtAnnullata"), {0, 116, 180, 10}, arial, 16, true, Qt::AlignCenter,
                  QColor(0xB0, 0x00, 0x20))
            ->setText(QStringLiteral("ANNULLATA: ") + p.reason);
    }
    // Where to cut for an A5 sheet.
    Report::Object *cut = r.addObject(Report::Object::Drawing, QStringLiteral("imgTaglio"), {0, 134, 180, 1});
    cut->draw = [](QPainter &painter, const QRectF &mm) {
        QPen pen(Qt::gray, 0.2, Qt::DashLine);
        painter.setPen(pen);
        painter.drawLine(QPointF(mm.left(), mm.center().y()), QPointF(mm.right(), mm.center().y()));
    };
    return report;
}

} // namespace Receipt
