#include "documents/frmprivacy.h"

#include "base/tmisc.h"
#include "base/blanks.h"
#include "base/clock.h"
#include "base/formats.h"
#include "base/inifile.h"
#include "base/programfolder.h"
#include "base/wholefile.h"
#include "documents/privacydocument.h"
#include "ui/fieldbehaviours.h"
#include "ui/look.h"
#include "ui/messages.h"
#include "ui/shaperect.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

const QString TfrmPrivacy::IniName = QStringLiteral("Liberatoria_Privacy.ini");
const QString TfrmPrivacy::Section = QStringLiteral("Modulo Privacy");
const QString TfrmPrivacy::DocumentName = QStringLiteral("Modulo_Privacy.rtf");

namespace {

enum Kind { Edit, Province };
using V = PrivacyDocument::Values;

// The 21 fields in their Enter order (the last leads back to the first).
struct Field
{
    const char *name;
    const char *caption; // empty for the province boxes
    QRect geometry;
    int maxLength;       // 0: no limit
    Kind kind;
    const char *iniKey;  // the association's values kept between uses
    QString V::*value;   // what the document takes from the field
};

const Field kFields[] = {
    {"txtStudioDent", "Associazione:", {16, 48, 521, 22}, 250, Edit, "Denominazione Associazione", &V::association},
    {"txtTelDent", "Recapiti telefonici:", {16, 92, 240, 22}, 250, Edit, "Recapiti Associazione", &V::associationPhone},
    {"txtIvaDent", "Partita IVA:", {264, 92, 120, 22}, 11, Edit, "Partita Iva Associazione", &V::associationVatNumber},
    {"txtCodFiscDent", "C.F.", {392, 92, 145, 22}, 16, Edit, "Codice Fiscale Associazione", &V::associationFiscalCode},
    {"txtCittaDent", "Comune sede legale:", {16, 136, 240, 22}, 120, Edit, "Comune Sede", &V::associationTown},
    {"txtProvDent", "Prov.", {264, 136, 56, 22}, 2, Province, "Provincia Sede", &V::associationProvince},
    {"txtIndirizzoDent", "Via e numero civico:", {16, 180, 420, 22}, 250, Edit, "Via Sede", &V::associationAddress},
    {"txtCapDent", "CAP:", {444, 180, 93, 22}, 5, Edit, "Cap Sede", &V::associationPostcode},
    {"txtPaziente", "Cognome e nome Socio:", {16, 278, 521, 22}, 0, Edit, nullptr, &V::member},
    {"txtComuneNasc", "Comune di nascita:", {16, 322, 200, 22}, 0, Edit, nullptr, &V::birthTown},
    {"txtProvNasc", "Prov.", {224, 322, 56, 22}, 2, Province, nullptr, &V::birthProvince},
    {"txtDataNasc", "Data di nascita:", {288, 322, 100, 22}, 0, Edit, nullptr, &V::birthDate},
    {"txtCodFisc", "C.F.", {396, 322, 141, 22}, 0, Edit, nullptr, &V::fiscalCode},
    {"txtComuneRes", "Comune di residenza:", {16, 366, 200, 22}, 0, Edit, nullptr, &V::residenceTown},
    {"txtProvRes", "Prov.", {224, 366, 56, 22}, 2, Province, nullptr, &V::residenceProvince},
    {"txtIndirizzo", "Via e numero civico:", {16, 410, 372, 22}, 0, Edit, nullptr, &V::address},
    {"txtCapRes", "CAP:", {288, 366, 100, 22}, 0, Edit, nullptr, &V::postcode},
    {"txtRecapito", "Tel.", {396, 366, 141, 22}, 0, Edit, nullptr, &V::phone},
    {"txtPrivacy", "Titolare Privacy:", {16, 508, 260, 22}, 0, Edit, "Titolare Privacy", &V::privacyHolder},
    {"txtData", "Data:", {284, 508, 100, 22}, 10, Edit, nullptr, &V::date},
    {"txtLuogo", "Luogo:", {392, 508, 145, 22}, 120, Edit, "Luogo", &V::place},
};

// The ten keys of the INI file, in the order they are written.
const char *const kIniOrder[] = {"txtStudioDent", "txtCittaDent", "txtProvDent", "txtCapDent", "txtIndirizzoDent",
                                 "txtCodFiscDent", "txtIvaDent", "txtTelDent", "txtPrivacy", "txtLuogo"};

const char *const kProvinces =
    "AG AL AN AO AP AQ AR AT AV BA BG BI BL BN BO BR BS BT BZ CA CB CE CH CI CL CN CO CR CS CT CZ EE EN FC FE FG "
    "FI FM FO FR GE GO GR IM IS KR LC LE LI LO LT LU MB MC MD ME MI MN MO MS MT NA NO NU OG OR OT PA PC PD PE PG "
    "PI PN PO PR PT PU PV PZ RA RC RE RG RI RM RN RO SA SI SO SP SR SS SV TA TE TN TO TP TR TS TV UD VA VB VC VE "
    "VI VR VT VV";

const Field *fieldNamed(const QString &name)
{
    for (const Field &f : kFields)
        if (name == QLatin1String(f.name))
            return &f;
    return nullptr;
}

} // namespace

TfrmPrivacy::TfrmPrivacy(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmPrivacy"));
    Look::fixedDialog(this, QStringLiteral(" Esporta e stampa Modulo Privacy"), 553, 611);
    Look::setVerticalGradient(this, Look::SteelBlue, Qt::white);
    const struct
    {
        const char *name, *title;
        QRect geometry;
    } panels[] = {
        {"panAssociazione", "Dati dell'Associazione", {8, 8, 537, 204}},
        {"panSocio", "Dati del Socio", {8, 220, 537, 222}},
        {"panLuogoData", "Luogo e data", {8, 450, 537, 94}},
    };
    const QFont titleFont = Look::font(QStringLiteral("Verdana"), 10, true);
    for (const auto &p : panels) {
        Look::rect(this, QString::fromLatin1(p.name), p.geometry, Qt::white, Look::TileBorder);
        Look::label(this, QStringLiteral("lbl") + QString::fromLatin1(p.name).mid(3), QString::fromUtf8(p.title),
                    p.geometry.topLeft() + QPoint(8, 6), titleFont, Look::SteelBlue);
    }

    const QFont labelFont = Look::font(QStringLiteral("Verdana"), 8);
    const QFont editFont = Look::font(QStringLiteral("Verdana"), 9, true);
    QList<QWidget *> cycle;
    QList<QLineEdit *> edits;
    for (const Field &f : kFields) {
        const QString name = QString::fromLatin1(f.name);
        Look::label(this, QStringLiteral("lbl") + name.mid(3), QString::fromUtf8(f.caption),
                    f.geometry.topLeft() - QPoint(0, 16), labelFont);
        QWidget *widget = nullptr;
        if (f.kind == Province) {
            auto *box = Look::place(new QComboBox(this), name, f.geometry);
            box->setEditable(true);
            box->addItems(QString::fromLatin1(kProvinces).split(u' '));
            box->setFont(editFont);
            box->lineEdit()->setMaxLength(2);
            FieldBehaviours::provinceList(box);
            widget = box;
        } else {
            auto *edit = Look::place(new QLineEdit(this), name, f.geometry);
            edit->setFont(editFont);
            if (f.maxLength > 0)
                edit->setMaxLength(f.maxLength);
            edits << edit;
            widget = edit;
        }
        FieldBehaviours::highlightRectangle(widget, QStringLiteral("eff") + name.mid(3));
        cycle << widget;
    }
    FieldBehaviours::colouredBackground(edits, Look::AliceBlue);
    FieldBehaviours::enterCycle(cycle);
    FieldBehaviours::digitFilter(field(QStringLiteral("txtIvaDent")));
    FieldBehaviours::typingCleanup(field(QStringLiteral("txtCodFiscDent")), true);
    FieldBehaviours::typingCleanup(field(QStringLiteral("txtCodFisc")), true);

    const QFont buttonFont = Look::font(QStringLiteral("Verdana"), 9);
    auto *btnChiudi = Look::button(this, QStringLiteral("btnChiudi"), QStringLiteral("Chiudi"), {233, 564, 150, 33},
                                   buttonFont);
    auto *btnRTF = Look::button(this, QStringLiteral("btnRTF"), QStringLiteral("Crea file RTF"), {395, 564, 150, 33},
                                buttonFont);
    connect(btnChiudi, &QPushButton::clicked, this, &TfrmPrivacy::btnChiudiClick);
    connect(btnRTF, &QPushButton::clicked, this, &TfrmPrivacy::btnRTFClick);
}

QLineEdit *TfrmPrivacy::field(const QString &name) const
{
    if (auto *box = findChild<QComboBox *>(name))
        return box->lineEdit();
    return findChild<QLineEdit *>(name);
}

void TfrmPrivacy::showEvent(QShowEvent *event)
{
    Look::centreOnScreen(this);
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    // The member's provinces start empty: the record has none.
    for (const char *name : {"txtProvDent", "txtProvNasc", "txtProvRes"})
        findChild<QComboBox *>(QString::fromLatin1(name))->setCurrentIndex(-1);
    const IniFile ini(ProgramFolder::file(IniName));
    for (const Field &f : kFields)
        if (f.iniKey)
            FieldBehaviours::showText(field(QString::fromLatin1(f.name)), ini.value(Section, QString::fromLatin1(f.iniKey)));
    field(QStringLiteral("txtStudioDent"))->setFocus();
}

void TfrmPrivacy::setMember(const TSchedaAnagrafica &card)
{
    using S = TSchedaAnagrafica;
    const struct
    {
        QString S::*from;
        const char *to;
    } member[] = {
        {&S::Candidato, "txtPaziente"}, {&S::LuogoNasc, "txtComuneNasc"}, {&S::DataNasc, "txtDataNasc"},
        {&S::CodFisc, "txtCodFisc"},    {&S::Citta, "txtComuneRes"},      {&S::Cap, "txtCapRes"},
        {&S::Indirizzo, "txtIndirizzo"}, {&S::Cel, "txtRecapito"},
    };
    for (const auto &m : member)
        FieldBehaviours::showText(field(QString::fromLatin1(m.to)), Blanks::trimmed(card.*m.from));
    FieldBehaviours::showText(field(QStringLiteral("txtData")), Formats::shortDate(Clock::today()));
}

void TfrmPrivacy::btnRTFClick()
{
    if (!Messages::question(QStringLiteral("Questa procedura esporterà il modulo per il consenso al trattamento dei dati "
                                           "personali in un documento in formato RTF.\n\r\n\rSi conferma la creazione "
                                           "del file?")))
        return;
    PrivacyDocument::Values values;
    for (const Field &f : kFields)
        values.*f.value = field(QString::fromLatin1(f.name))->text();
    const QByteArray document = PrivacyDocument::rtf(values);
    const QString path = ProgramFolder::file(DocumentName);
    if (!WholeFile::write(path, document)) {
        Messages::plain(QStringLiteral("Attenzione: il sistema non permette di esportare i dati.\n\r\n\rAccertarsi che il "
                                       "documento non sia già aperto."));
        return;
    }
    if (Messages::question(QStringLiteral("Il file del modulo per il trattamento dei dati personali è stato creato con "
                                          "successo.\n\r\n\rSi vuole aprire il documento?")))
        TMisc::Open(u'"' + path + u'"');
}

void TfrmPrivacy::btnChiudiClick()
{
    accept();
}

void TfrmPrivacy::done(int result)
{
    // Closed with Chiudi or in any other way (Esc, the window manager's close
    // box): the association's data typed here are kept.
    IniFile ini(ProgramFolder::file(IniName));
    for (const char *name : kIniOrder)
        ini.setValue(Section, QString::fromLatin1(fieldNamed(QString::fromLatin1(name))->iniKey),
                     Blanks::trimmed(field(QString::fromLatin1(name))->text()));
    if (!ini.save())
        Messages::warning(QStringLiteral("Attenzione: non è stato possibile salvare i dati dell'Associazione nel file "
                                         "Liberatoria_Privacy.ini.\n\r\n\rAccertarsi di possedere i privilegi di "
                                         "scrittura nella cartella di installazione del programma."));
    QDialog::done(result);
}
