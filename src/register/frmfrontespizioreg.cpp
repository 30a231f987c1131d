#include "register/frmfrontespizioreg.h"

#include "base/blanks.h"
#include "base/inifile.h"
#include "base/programfolder.h"
#include "register/titletemplate.h"
#include "report/reportoutput.h"
#include "report/reportpreview.h"
#include "ui/fieldbehaviours.h"
#include "ui/look.h"
#include "ui/messages.h"
#include "ui/shaperect.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

const QString TfrmFrontespizioReg::IniName = QStringLiteral("Quorvel.ini");
const QString TfrmFrontespizioReg::Section = QStringLiteral("Frontespizio Registro");

namespace {

// The ten boxes in the order of their keys, which is also the keyboard order.
struct Value
{
    const char *box;
    const char *key;
    const char *label; // empty: a picture stands beside the box
    QRect geometry;    // on the panel
    int maxLength;
};
const Value kValues[] = {
    {"txtComune", "Denominazione Associazione", "Denominazione:", {128, 12, 458, 22}, 250},
    {"txtProvincia", "Sede Legale", "Sede legale:", {108, 42, 478, 22}, 250},
    {"txtNumero", "Numero Libro", "", {96, 130, 138, 51}, 50},
    {"txtPagine", "Totale Soci", "", {440, 130, 113, 51}, 50},
    {"txtCommittente", "Attivita Svolte", "Attività svolte:", {15, 218, 560, 22}, 250},
    {"txtImpresa", "Indirizzo Postale", "Indirizzo postale:", {15, 270, 560, 22}, 250},
    {"txtOggetto", "Codice Fiscale", "Codice Fiscale / Estremi Iscrizione:", {15, 322, 560, 22}, 250},
    {"txtEstremi", "Recapiti Telefonici", "Recapiti telefonici e di posta elettronica:", {15, 374, 560, 22}, 250},
    {"txtDirettore", "Firma Presidente", "Il Presidente:", {15, 436, 268, 22}, 50},
    {"txtResponsabile", "Firma Segretario", "Il Segretario:", {307, 436, 268, 22}, 50},
};

} // namespace

TfrmFrontespizioReg::TfrmFrontespizioReg(QWidget *parent)
    : QDialog(parent)
    , m_report(TitleReport::create())
{
    setObjectName(QStringLiteral("frmFrontespizioReg"));
    Look::fixedDialog(this, QStringLiteral(" Frontespizio Quorvel"), 646, 632);
    Look::setVerticalGradient(this, Look::SteelBlue, Qt::white);
    QWidget *pan = Look::rect(this, QStringLiteral("shpContainer"), {28, 16, 590, 531}, Qt::white, Look::SteelBlue);

    const QFont labelFont = Look::font(QStringLiteral("Verdana"), 9, true);
    const QFont serif = Look::font(QStringLiteral("Times New Roman"), 26, true);
    Look::rect(pan, QStringLiteral("shpRiga"), {12, 74, 566, 2}, QColor(0xD3, 0xD3, 0xD3), QColor(0xD3, 0xD3, 0xD3));
    Look::label(pan, QStringLiteral("imgQuorvel"), QStringLiteral("QUORVEL"), {220, 82}, serif);
    Look::label(pan, QStringLiteral("imgNumero"), QStringLiteral("N."), {44, 138}, serif);
    Look::label(pan, QStringLiteral("imgTotSoci"), QStringLiteral("Tot. Soci:"), {270, 138}, serif);

    QList<QLineEdit *> boxes;
    for (const Value &v : kValues) {
        const QString label = QString::fromUtf8(v.label);
        if (!label.isEmpty()) {
            // Beside the box on the first two rows, above it on the others.
            const QPoint at = v.geometry.top() < 100 ? QPoint(8, v.geometry.top() + 3)
                                                      : QPoint(v.geometry.left(), v.geometry.top() - 18);
            Look::label(pan, QStringLiteral("lbl") + QString::fromLatin1(v.box).mid(3), label, at, labelFont);
        }
        auto *edit = Look::place(new QLineEdit(pan), QString::fromLatin1(v.box), v.geometry);
        const bool large = v.geometry.height() > 40;
        edit->setFont(Look::font(QStringLiteral("Verdana"), large ? 36 : 12, true));
        if (large)
            edit->setAlignment(Qt::AlignCenter);
        edit->setMaxLength(v.maxLength);
        boxes << edit;
    }
    FieldBehaviours::colouredBackground(boxes, Look::AliceBlue);
    FieldBehaviours::enterCycle(QList<QWidget *>(boxes.begin(), boxes.end()));

    const QFont buttonFont = Look::font(QStringLiteral("Verdana"), 9);
    auto *btnAnteprima = Look::button(this, QStringLiteral("btnAnteprima"), QStringLiteral("Anteprima"),
                                      {61, 572, 161, 33}, buttonFont);
    auto *btnStampa = Look::button(this, QStringLiteral("btnStampa"), QStringLiteral("Stampa"), {242, 572, 161, 33},
                                   buttonFont);
    auto *btnChiudi = Look::button(this, QStringLiteral("btnChiudi"), QStringLiteral("Chiudi"), {423, 572, 161, 33},
                                   buttonFont);
    QList<QWidget *> order(boxes.begin(), boxes.end());
    order << btnAnteprima << btnStampa << btnChiudi;
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
    for (QPushButton *b : {btnAnteprima, btnStampa, btnChiudi})
        b->setAutoDefault(false);
    connect(btnAnteprima, &QPushButton::clicked, this, &TfrmFrontespizioReg::btnAnteprimaClick);
    connect(btnStampa, &QPushButton::clicked, this, &TfrmFrontespizioReg::btnStampaClick);
    connect(btnChiudi, &QPushButton::clicked, this, &TfrmFrontespizioReg::btnChiudiClick);
}

TfrmFrontespizioReg::~TfrmFrontespizioReg() = default;

QLineEdit *TfrmFrontespizioReg::edit(const QString &name) const
{
    return findChild<QLineEdit *>(name);
}

void TfrmFrontespizioReg::showEvent(QShowEvent *event)
{
    Look::centreOnScreen(this);
    QDialog::showEvent(event);
    const IniFile ini(ProgramFolder::file(IniName));
    for (const Value &v : kValues)
        FieldBehaviours::showText(edit(QString::fromLatin1(v.box)), ini.value(Section, QString::fromLatin1(v.key)));
    edit(QStringLiteral("txtComune"))->setFocus();
}

void TfrmFrontespizioReg::done(int result)
{
    IniFile ini(ProgramFolder::file(IniName));
    for (const Value &v : kValues)
        ini.setValue(Section, QString::fromLatin1(v.key), Blanks::trimmed(edit(QString::fromLatin1(v.box))->text()));
    if (!ini.save())
        Messages::warning(QStringLiteral("Attenzione: non è stato possibile salvare i dati del frontespizio nel file "
                                         "Quorvel.ini.\n\r\n\rAccertarsi di possedere i privilegi di scrittura nella "
                                         "cartella di installazione del programma."));
    QDialog::done(result);
}

void TfrmFrontespizioReg::fillReport()
{
    m_report->setOrientation(QPageLayout::Portrait);
    for (const QString &name : TitleReport::valueNames())
        m_report->findObject(name)->setText(Blanks::trimmed(edit(name)->text()));
}

void TfrmFrontespizioReg::btnAnteprimaClick()
{
    fillReport();
    ReportOutput::preview(this, *m_report);
}

void TfrmFrontespizioReg::btnStampaClick()
{
    fillReport();
    ReportOutput::print(this, *m_report);
}

void TfrmFrontespizioReg::btnChiudiClick()
{
    close();
}
