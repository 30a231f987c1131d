#include "register/titletemplate.h"

#include "base/blanks.h"

namespace TitleReport {

namespace {

const QColor kBeige(0xF5, 0xF5, 0xDC);
const QColor kCornflower(0x64, 0x95, 0xED);

Report::Object *text(Report::Template &report, const QString &name, const QRectF &rect, qreal points, bool bold,
                     Qt::Alignment alignment, const QColor &colour = Qt::black, const QString &family = QStringLiteral("Arial"))
{
    return report.addText(name, rect, family, points, bold, alignment, colour);
}

void box(Report::Template &report, const QString &name, const QRectF &rect, const QColor &fill = QColor(),
         const QColor &frame = Qt::black)
{
    Report::Object *o = report.addObject(Report::Object::Shape, name, rect);
    o->fill = fill;
    o->frame = frame;
}

// A thin black line, horizontal or vertical.
void line(Report::Template &report, const QString &name, QPointF from, qreal length, bool vertical = false)
{
    constexpr qreal thick = 0.2;
    const QRectF rect = vertical ? QRectF(from.x() - thick / 2, from.y(), thick, length)
                                 : QRectF(from.x(), from.y() - thick / 2, length, thick);
    box(report, name, rect, Qt::black, QColor());
}

} // namespace

const std::array<Value, ValueCount> &values()
{
    static const std::array<Value, ValueCount> table = {{
        {"txtComune", "Denominazione Associazione"},
        {"txtProvincia", "Sede Legale"},
        {"txtNumero", "Numero Libro"},
        {"txtPagine", "Totale Soci"}, // the total of members, whatever the box's name says
        {"txtCommittente", "Attivita Svolte"},
        {"txtImpresa", "Indirizzo Postale"},
        {"txtOggetto", "Codice Fiscale"},
        {"txtEstremi", "Recapiti Telefonici"},
        {"txtDirettore", "Firma Presidente"},
        {"txtResponsabile", "Firma Segretario"},
    }};
    return table;
}

void fill(Report::Template &report, const Values &page)
{
    report.setOrientation(QPageLayout::Portrait);
    for (int i = 0; i < ValueCount; ++i)
        report.findObject(QString::fromLatin1(values()[size_t(i)].name))->setText(Blanks::trimmed(page[size_t(i)]));
}

std::unique_ptr<Report::Template> create()
{
    auto report = std::make_unique<Report::Template>(QStringLiteral("Frontespizio Quorvel"), QPageLayout::Portrait,
                                                     QMarginsF(0, 0, 0, 0));
    Report::Template &r = *report;
    const Qt::Alignment centred = Qt::AlignCenter;
    const QString serif = QStringLiteral("Times New Roman");

    line(r, QStringLiteral("linSinistra"), {10, 10.2}, 279.6, true);
    line(r, QStringLiteral("linDestra"), {201, 10.2}, 279.6, true);
    line(r, QStringLiteral("linSopra"), {10.2, 10}, 191.2);
    line(r, QStringLiteral("linSotto"), {10.2, 290}, 191.2);

    box(r, QStringLiteral("shpTestata"), {11, 11, 188.8, 14}, kCornflower, kCornflower);
    text(r, QStringLiteral("txtComune"), {13, 12, 184.8, 6}, 12, true, centred, Qt::white);
    text(r, QStringLiteral("txtProvincia"), {13, 18, 184.8, 6}, 12, false, centred, Qt::white);
    line(r, QStringLiteral("linTestata"), {10.2, 26}, 191.2);
    text(r, QStringLiteral("imgLogo"), {24.6, 40, 160, 14}, 32, true, centred, Qt::black, serif)
        ->setText(QStringLiteral("QUORVEL"));

    box(r, QStringLiteral("shpNumero"), {61, 72, 88, 16});
    text(r, QStringLiteral("imgNumero"), {64.8, 77.4, 8, 7}, 14, true, centred, Qt::black, serif)
        ->setText(QStringLiteral("N."));
    box(r, QStringLiteral("shpCampoNumero"), {78, 76.4, 67, 8}, kBeige, kBeige);
    text(r, QStringLiteral("txtNumero"), {80.2, 77.6, 62.6, 6}, 12, true, centred);

    box(r, QStringLiteral("shpDati"), {14, 96, 183, 110});
    const struct
    {
        const char *label;
        const char *value;
    } fields[] = {
        {"ATTIVITA' SVOLTE:", "txtCommittente"},
        {"INDIRIZZO POSTALE:", "txtImpresa"},
        {"CODICE FISCALE / ESTREMI ISCRIZIONE:", "txtOggetto"},
        {"RECAPITI TELEFONICI E DI POSTA ELETTRONICA:", "txtEstremi"},
    };
    for (int i = 0; i < 4; ++i) {
        const qreal y0 = 103 + 26 * i;
        const QString n = QString::number(i + 1);
        text(r, QStringLiteral("lblCampo") + n, {20, y0, 146, 4}, 9, false, Qt::AlignLeft | Qt::AlignVCenter)
            ->setText(QString::fromLatin1(fields[i].label));
        box(r, QStringLiteral("shpCampo") + n, {20, y0 + 5, 170, 14}, kBeige, kBeige);
        text(r, QString::fromLatin1(fields[i].value), {24, y0 + 9, 162, 6}, 10, true, Qt::AlignLeft | Qt::AlignVCenter);
        line(r, QStringLiteral("linCampo") + n, {24, y0 + 16}, 162);
    }

    box(r, QStringLiteral("shpTotale"), {61, 213, 88, 16});
    text(r, QStringLiteral("imgTotale"), {64.8, 218.4, 46, 6}, 13, true, centred, Qt::black, serif)
        ->setText(QStringLiteral("TOT. SOCI:"));
    box(r, QStringLiteral("shpCampoTotale"), {113.8, 217.4, 31, 8}, kBeige, kBeige);
    text(r, QStringLiteral("txtPagine"), {114.8, 218.6, 29, 6}, 12, true, centred);

    text(r, QStringLiteral("lblPresidente"), {20, 249, 73, 4}, 8, false, centred)->setText(QStringLiteral("IL PRESIDENTE:"));
    text(r, QStringLiteral("lblSegretario"), {117, 249, 73, 4}, 8, false, centred)->setText(QStringLiteral("IL SEGRETARIO:"));
    line(r, QStringLiteral("linPresidente"), {20, 264}, 73);
    line(r, QStringLiteral("linSegretario"), {117, 264}, 73);
    text(r, QStringLiteral("txtDirettore"), {20, 265, 73, 5}, 8, true, centred);
    text(r, QStringLiteral("txtResponsabile"), {117, 265, 73, 5}, 8, true, centred);

    line(r, QStringLiteral("linPiede"), {10.2, 278.8}, 191.2);
    box(r, QStringLiteral("shpPiede"), {11, 280, 188.8, 9}, kCornflower, kCornflower);
    text(r, QStringLiteral("lblPiede1"), {13, 281, 184.8, 3.5}, 8, false, centred, Qt::white)
        ->setText(QStringLiteral("Il presente Quorvel contiene i dati anagrafici di ogni associato con relativa "
                                 "qualifica, data di ammissione e data di eventuale cessazione."));
    text(r, QStringLiteral("lblPiede2"), {13, 284.4, 184.8, 3.5}, 8, false, centred, Qt::white)
        ->setText(QStringLiteral("Le pagine del Quorvel sono numerate progressivamente e rispettano la cronologia "
                                 "di inserimento dei dati."));
    return report;
}

} // namespace TitleReport
