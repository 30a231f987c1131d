#include "documents/cardtemplate.h"

#include "base/blanks.h"

namespace CardReport {

namespace {

const QColor kRoyalBlue(0x41, 0x69, 0xE1);

struct Box
{
    qreal barTop;
    const char *caption;
    const char *value;
    qreal left;
    qreal width;
};

const Box kBoxes[] = {
    {153.0, "LUOGO DI NASCITA", "txtLuogoNasc", 1.0, 58.0},
    {153.0, "DATA DI NASCITA", "txtDataNasc", 61.0, 32.0},
    {153.0, "SESSO", "txtSesso", 95.0, 16.0},
    {153.0, "INDIRIZZO", "txtIndirizzo", 113.0, 76.0},
    {167.0, "CITTA'", "txtCitta", 1.0, 92.0},
    {167.0, "CAP", "txtCap", 95.0, 32.0},
    {167.0, "CODICE FISCALE", "txtCodFisc", 129.0, 60.0},
    {181.0, "TITOLO DI STUDIO", "txtStudio", 1.0, 92.0},
    {181.0, "LINGUE CONOSCIUTE", "txtLingue", 95.0, 94.0},
    {195.0, "TESSERA N.", "txtPatente", 1.0, 58.0},
    {195.0, "CITTADINANZA", "txtCittadinanza", 61.0, 66.0},
    {195.0, "PARTITA IVA", "txtPartitaIva", 129.0, 60.0},
    {209.0, "DOCUMENTO", "txtDocumento", 1.0, 56.0},
    {209.0, "ENTE RILASCIO", "txtEnteRil", 59.0, 44.0},
    {209.0, "DATA RILASCIO", "txtInizioTes", 105.0, 41.0},
    {209.0, "DATA SCADENZA", "txtFineTes", 148.0, 41.0},
    {223.0, "E-MAIL", "txtEmail", 1.0, 92.0},
    {223.0, "TEL. CASA", "txtTel", 95.0, 45.0},
    {223.0, "TEL. CELLULARE", "txtCel", 142.0, 47.0},
    {237.0, "QUALIFICA", "txtSettore", 1.0, 92.0},
    {237.0, "DATA AMMISSIONE", "txtCompetenze", 95.0, 45.0},
    {237.0, "DATA CESSAZIONE", "txtDisponibilita", 142.0, 47.0},
    {251.0, "QUOTA ASSOCIATIVA E MODALITA' DI PAGAMENTO", "txtEsperienze", 1.0, 188.0},
    {265.0, "NOTE", "txtNote", 1.0, 188.0},
};

Report::Object *memo(Report::Template &report, const QString &name, const QRectF &rect, qreal points, bool bold,
                     const QColor &colour)
{
    return report.addText(name, rect, QStringLiteral("Arial"), points, bold, Qt::AlignLeft | Qt::AlignVCenter, colour);
}

} // namespace

const QStringList &valueNames()
{
    static const QStringList names = {
        QStringLiteral("txtCandidato"), QStringLiteral("txtSesso"), QStringLiteral("txtDataNasc"),
        QStringLiteral("txtCittadinanza"), QStringLiteral("txtLuogoNasc"), QStringLiteral("txtIndirizzo"),
        QStringLiteral("txtCitta"), QStringLiteral("txtCap"), QStringLiteral("txtSettore"),
        QStringLiteral("txtCodFisc"), QStringLiteral("txtPartitaIva"), QStringLiteral("txtPatente"),
        QStringLiteral("txtStudio"), QStringLiteral("txtLingue"), QStringLiteral("txtEmail"),
        QStringLiteral("txtTel"), QStringLiteral("txtCel"), QStringLiteral("txtDocumento"),
        QStringLiteral("txtEnteRil"), QStringLiteral("txtInizioTes"), QStringLiteral("txtFineTes"),
        QStringLiteral("txtEsperienze"), QStringLiteral("txtCompetenze"), QStringLiteral("txtDisponibilita"),
        QStringLiteral("txtNote"),
    };
    return names;
}

void fill(Report::Template &report, const TSchedaAnagrafica &card, const QImage &photo)
{
    report.setOrientation(QPageLayout::Portrait);
    report.findObject(QStringLiteral("imgLogo"))->picture = photo;
    for (const TSchedaAnagrafica::Field &f : TSchedaAnagrafica::fields()) {
        const QString name = QStringLiteral("txt") + QString::fromLatin1(f.name);
        if (valueNames().contains(name))
            report.findObject(name)->setText(Blanks::trimmed(card.*f.member));
    }
}

std::unique_ptr<Report::Template> create()
{
    auto report = std::make_unique<Report::Template>(QStringLiteral("Scheda Socio"), QPageLayout::Portrait,
                                                     QMarginsF(10, 10, 10, 10));
    Report::Object *title = report->addObject(Report::Object::Shape, QStringLiteral("shpTitolo"), {1.0, 1.0, 188.0, 8.0});
    title->fill = kRoyalBlue;
    title->frame = kRoyalBlue;
    Report::Object *name = memo(*report, QStringLiteral("txtCandidato"), {2.0, 2.2, 186.0, 6.0}, 12, false, Qt::white);
    name->alignment = Qt::AlignCenter;
    name->setText(QStringLiteral("Nome"));
    report->addObject(Report::Object::Picture, QStringLiteral("imgLogo"), {1.0, 11.0, 188.0, 140.0});

    int n = 0;
    for (const Box &box : kBoxes) {
        ++n;
        Report::Object *bar = memo(*report, QStringLiteral("lblCampo%1").arg(n, 2, 10, QChar(u'0')),
                                   {box.left, box.barTop, box.width, 4.8}, 8, true, Qt::white);
        bar->fill = kRoyalBlue;
        bar->frame = kRoyalBlue;
        bar->padding = 1.0;
        bar->setText(QString::fromLatin1(box.caption));
        Report::Object *value = memo(*report, QString::fromLatin1(box.value),
                                     {box.left, box.barTop + 5.0, box.width, 6.0}, 8, false, Qt::black);
        value->frame = Qt::black;
        value->padding = 1.0;
        if (value->name() == QStringLiteral("txtSesso"))
            value->alignment = Qt::AlignCenter;
    }
    return report;
}

} // namespace CardReport
