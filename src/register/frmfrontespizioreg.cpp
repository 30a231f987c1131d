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

// Each value's box, in the order of the title page's values, which is also
// the keyboard order.
struct Box
{
    const char *label; // empty: a picture stands beside the box
    QRect geometry;    // on the panel
    int maxLength;
};
const Box kBoxes[] = {
    {"Denominazione:", {128, 12, 458, 22}, 250},
    {"Sede legale:", {108, 42, 478, 22}, 250},
    {"", {96, 130, 138, 51}, 50},
    {"", {440, 130, 113, 51}, 50},
    {"Attività svolte:", {15, 218, 560, 22}, 250},
    {"Indirizzo postale:", {15, 270, 560, 22}, 250},
    {"Codice Fiscale / Estremi Iscrizione:", {15, 322, 560, 22}, 250},
    {"Recapiti telefonici e di posta elettronica:", {15, 374, 560, 22}, 250},
    {"Il Presidente:", {15, 436, 268, 22}, 50},
    {"Il Segretario:", {307, 436, 268, 22}, 50},
};
static_assert(std::size(kBoxes) == TitleReport::ValueCount, "one box for each value of the title page");

QString boxName(int value)
{
    return QString::fromLatin1(TitleReport::values()[size_t(value)].name);
}

QString keyOf(int value)
{
    return QString::fromLatin1(TitleReport::values()[size_t(value)].key);
}

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
    for (int i = 0; i < TitleReport::ValueCount; ++i) {
        const Box &v = kBoxes[i];
        const QString label = QString::fromUtf8(v.label);
        if (!label.isEmpty()) {
            // Beside the box on the first two rows, above it on the others.
            const QPoint at = v.geometry.top() < 100 ? QPoint(8, v.geometry.top() + 3)
                                                      : QPoint(v.geometry.left(), v.geometry.top() - 18);
            Look::label(pan, QStringLiteral("lbl") + boxName(i).mid(3), label, at, labelFont);
        }
        auto *edit = Look::place(new QLineEdit(pan), boxName(i), v.geometry);
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
    for (int i = 0; i < TitleReport::ValueCount; ++i)
        FieldBehaviours::showText(edit(boxName(i)), ini.value(Section, keyOf(i)));
    edit(QStringLiteral("txtComune"))->setFocus();
}

void TfrmFrontespizioReg::done(int result)
{
    IniFile ini(ProgramFolder::file(IniName));
    const TitleReport::Values page = values();
    for (int i = 0; i < TitleReport::ValueCount; ++i)
        ini.setValue(Section, keyOf(i), Blanks::trimmed(page[size_t(i)]));
    if (!ini.save())
        Messages::warning(QStringLiteral("Attenzione: non è stato possibile salvare i dati del frontespizio nel file "
                                         "Quorvel.ini.\n\r\n\rAccertarsi di possedere i privilegi di scrittura nella "
                                         "cartella di installazione del programma."));
    QDialog::done(result);
}

TitleReport::Values TfrmFrontespizioReg::values() const
{
    TitleReport::Values page;
    for (int i = 0; i < TitleReport::ValueCount; ++i)
        page[size_t(i)] = edit(boxName(i))->text();
    return page;
}

void TfrmFrontespizioReg::fillReport()
{
    TitleReport::fill(*m_report, values());
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
