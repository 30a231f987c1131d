#include "members/frmcandidati.h"

#include "base/tmisc.h"
#include "base/blanks.h"
#include "base/programfolder.h"
#include "checks/frmcodfisc.h"
#include "checks/frmpartitaiva.h"
#include "documents/cardoutputwindow.h"
#include "documents/frmexpcandidati.h"
#include "documents/frmprivacy.h"
#include "help/frmguida.h"
#include "fees/frmquote.h"
#include "members/frmallegacartella.h"
#include "members/frmwebcam.h"
#include "search/frmdaricontattare.h"
#include "statistics/frmstatistiche.h"
#include "search/frmtrovacandidati.h"
#include "members/frmzoom.h"
#include "members/memberarchive.h"
#include "members/photodialogs.h"
#include "members/placeholderphoto.h"
#include "ui/commandpictures.h"
#include "ui/fieldbehaviours.h"
#include "ui/look.h"
#include "ui/messages.h"
#include "ui/modal.h"
#include "ui/picturebox.h"
#include "ui/shaperect.h"
#include "ui/statushints.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QShortcut>
#include <QShowEvent>

#include <algorithm>

using S = TSchedaAnagrafica;

namespace {

const QString kEmptyArchive = QStringLiteral("L'archivio non contiene nessuna scheda.");

struct CardEdit
{
    S::FieldId id;
    int x, y, width;
    const char *label;
};

// The 25 edits in keyboard order, which is also the Enter cycle.
const CardEdit kCardEdits[TfrmCandidati::EditCount] = {
    {S::fCandidato, 364, 164, 240, "Cognome e nome:"},
    {S::fSesso, 610, 164, 64, "Sesso:"},
    {S::fDataNasc, 680, 164, 108, "Data nascita:"},
    {S::fCittadinanza, 794, 164, 170, "Cittadinanza:"},
    {S::fLuogoNasc, 364, 212, 240, "Luogo nascita:"},
    {S::fIndirizzo, 610, 212, 354, "Indirizzo residenza:"},
    {S::fCitta, 364, 260, 240, "Città:"},
    {S::fCap, 610, 260, 90, "CAP:"},
    {S::fSettore, 706, 260, 258, "Qualifica:"},
    {S::fCodFisc, 364, 308, 214, "Codice fiscale:"},
    {S::fPartitaIva, 610, 308, 150, "Partita IVA:"},
    {S::fPatente, 792, 308, 172, "Tessera n."},
    {S::fStudio, 364, 356, 240, "Titolo di studio:"},
    {S::fLingue, 610, 356, 354, "Lingue conosciute:"},
    {S::fEmail, 364, 404, 214, "E-mail:"},
    {S::fTel, 610, 404, 174, "Tel. casa:"},
    {S::fCel, 790, 404, 174, "Tel. cellulare:"},
    {S::fDocumento, 364, 452, 214, "Documento (tipo e numero):"},
    {S::fEnteRil, 584, 452, 148, "Ente di rilascio:"},
    {S::fInizioTes, 738, 452, 110, "Data rilascio:"},
    {S::fFineTes, 854, 452, 110, "Data scadenza:"},
    {S::fEsperienze, 364, 500, 600, "Quota associativa e modalità di pagamento:"},
    {S::fCompetenze, 364, 548, 196, "Data ammissione:"},
    {S::fDisponibilita, 566, 548, 196, "Data cessazione:"},
    {S::fNote, 32, 596, 730, "Note:"},
};

const char *const kAttachmentLabels[6] = {"lblFile01", "lblFile02", "lblFile03", "lblDesc01", "lblDesc02", "lblDesc03"};

using Command = CommandPicture<TfrmCandidati>;

// Toolbar, photo strip and field buttons. A command whose window does not
// exist yet has no handler.
const Command kCommands[] = {
    {"cmdNuovo", {24, 26, 37, 39}, ":/art/tool_nuovo.svg",
     "Prepara la schermata per l'inserimento di una nuova scheda.", &TfrmCandidati::cmdNuovoClick, Qt::CTRL | Qt::Key_N},
    {"cmdDuplica", {64, 26, 37, 39}, ":/art/tool_duplica.svg",
     "Prepara la schermata per l'inserimento di una nuova scheda duplicando i dati correnti.",
     &TfrmCandidati::cmdDuplicaClick},
    {"cmdSalva", {104, 26, 37, 39}, ":/art/tool_salva.svg", "Salva la scheda in archivio.",
     &TfrmCandidati::cmdSalvaClick, Qt::CTRL | Qt::Key_S},
    {"cmdTrova", {144, 26, 37, 39}, ":/art/tool_trova.svg", "Trova una scheda in archivio.", &TfrmCandidati::cmdTrovaClick, Qt::CTRL | Qt::Key_F},
    {"cmdFile", {184, 26, 37, 39}, ":/art/tool_allega.svg", "Allega file alla scheda.", &TfrmCandidati::cmdFileClick},
    {"cmdAnteprima", {238, 28, 148, 32}, ":/art/btn_anteprima.svg", "Visualizza l'anteprima di stampa della scheda.",
     &TfrmCandidati::cmdAnteprimaClick},
    {"cmdStampa", {405, 28, 148, 32}, ":/art/btn_stampa.svg", "Stampa la scheda.", &TfrmCandidati::cmdStampaClick, Qt::CTRL | Qt::Key_P},
    {"cmdPrimo", {572, 26, 37, 39}, ":/art/tool_primo.svg", "Visualizza la prima scheda in archivio.",
     &TfrmCandidati::cmdPrimoClick, Qt::CTRL | Qt::Key_Home},
    {"cmdIndietro", {614, 26, 37, 39}, ":/art/tool_indietro.svg", "Visualizza la scheda precedente in archivio.",
     &TfrmCandidati::cmdIndietroClick, Qt::Key_PageUp},
    {"cmdAvanti", {700, 26, 37, 39}, ":/art/tool_avanti.svg", "Visualizza la scheda successiva in archivio.",
     &TfrmCandidati::cmdAvantiClick, Qt::Key_PageDown},
    {"cmdUltimo", {742, 26, 37, 39}, ":/art/tool_ultimo.svg", "Visualizza l'ultima scheda in archivio.",
     &TfrmCandidati::cmdUltimoClick, Qt::CTRL | Qt::Key_End},
    {"cmdScadute", {796, 26, 37, 39}, ":/art/tool_telefono.svg",
     "Visualizza il riepilogo delle persone da ricontattare.", &TfrmCandidati::cmdScaduteClick},
    {"cmdEsporta", {839, 26, 37, 39}, ":/art/tool_esporta.svg", "Esporta l'archivio in un file di Microsoft Excel.",
     &TfrmCandidati::cmdEsportaClick, {},
     "Esporta l'archivio in un file di Microsoft Excel; da qui si importano anche i soci da un foglio di calcolo."},
    {"cmdGuida", {893, 26, 37, 39}, ":/art/tool_guida.svg", "Visualizza la guida in linea.", &TfrmCandidati::cmdGuidaClick, Qt::Key_F1},
    {"cmdEsci", {936, 26, 37, 39}, ":/art/tool_esci.svg", "Esci da questa schermata di lavoro.",
     &TfrmCandidati::cmdEsciClick},
    // On the card's heading: the toolbar has no room left.
    {"cmdStatistiche", {927, 90, 37, 39}, ":/art/tool_statistiche.svg", "Visualizza le statistiche dei soci.",
     &TfrmCandidati::cmdStatisticheClick},
    {"cmdQuote", {884, 90, 37, 39}, ":/art/tool_quote.svg", "Visualizza e registra le quote associative del socio.",
     &TfrmCandidati::cmdQuoteClick, Qt::CTRL | Qt::Key_R},
    {"cmdPrivacy", {778, 542, 183, 32}, ":/art/btn_privacy.svg",
     "Stampa liberatoria per il trattamento dei dati personali.", &TfrmCandidati::cmdPrivacyClick},
    {"btnCaricaFoto", {38, 523, 108, 40}, ":/art/foto_carica.svg", "Carica una foto esistente.",
     &TfrmCandidati::btnCaricaFotoClick},
    {"btnWebcam", {154, 523, 42, 40}, ":/art/foto_webcam.svg", "Cattura la foto con una webcam.",
     &TfrmCandidati::btnWebcamClick},
    {"btnSalvaFoto", {204, 523, 42, 40}, ":/art/foto_salva.svg", "Salva la foto su disco.",
     &TfrmCandidati::btnSalvaFotoClick},
    {"btnCancFoto", {254, 523, 42, 40}, ":/art/foto_cancella.svg", "Cancella la foto.",
     &TfrmCandidati::btnCancFotoClick},
    {"btnZoomFoto", {304, 523, 42, 40}, ":/art/foto_zoom.svg", "Visualizza la foto nelle sue dimensioni reali.",
     &TfrmCandidati::btnZoomFotoClick},
    {"btnCodFisc", {582, 308, 22, 22}, ":/art/mini_codfisc.svg", "Controlla il codice fiscale.",
     &TfrmCandidati::btnCodFiscClick},
    {"btnPartitaIva", {764, 308, 22, 22}, ":/art/mini_partitaiva.svg", "Controlla il numero di partita IVA.",
     &TfrmCandidati::btnPartitaIvaClick},
    {"btnEmail", {582, 404, 22, 22}, ":/art/mini_email.svg", "Invia una e-mail all'indirizzo indicato.",
     &TfrmCandidati::btnEmailClick},
};

// Background objects over which the status line is emptied.
const char *const kHintClearers[] = {"panContainer", "shpContainer", "shpEsci", "shpRiepiloghi", "shpRecord",
                                     "shpAnteprima", "shpStampa", "shpNuovo", "shpSezione01", "shpSfondo",
                                     "shpFoto", "imgFoto", "bkgPulsantiFoto", "icoRicontatta"};

QString str(const char *text)
{
    return QString::fromUtf8(text);
}

} // namespace

TfrmCandidati::TfrmCandidati(QWidget *parent)
    : WorkWindow(parent)
{
    setObjectName(QStringLiteral("frmCandidati"));
    setWindowTitle(QStringLiteral(" Quorvel con Vori - Archivio Soci"));
    resize(1016, 713);
    Look::setVerticalGradient(this, QColor(0x42, 0x7A, 0xA8), Qt::white);
    QWidget *pan = Look::centredPanel(this, 996, 692);
    Look::rect(pan, QStringLiteral("shpContainer"), pan->rect(), Qt::transparent, Qt::transparent);

    buildToolbar(pan);
    buildCard(pan);
    buildPhotoArea(pan);
    wireHints(pan);

    placeCommandPictures(this, pan, m_hints, kCommands);
}

void TfrmCandidati::buildToolbar(QWidget *pan)
{
    const struct { const char *name; QRect geometry; } groups[] = {
        {"shpNuovo", {16, 16, 210, 57}},   {"shpStampa", {231, 16, 162, 57}}, {"shpAnteprima", {398, 16, 162, 57}},
        {"shpRecord", {565, 16, 219, 57}}, {"shpRiepiloghi", {789, 16, 92, 57}}, {"shpEsci", {886, 16, 92, 57}},
    };
    for (const auto &g : groups)
        Look::rect(pan, str(g.name), g.geometry, Qt::white, Look::TileBorder);

    lblPosizione = Look::place(new QLabel(pan), QStringLiteral("lblPosizione"), {648, 34, 52, 24});
    lblPosizione->setFont(Look::font(QStringLiteral("Verdana"), 10, true));
    lblPosizione->setAlignment(Qt::AlignCenter);
}

void TfrmCandidati::buildCard(QWidget *pan)
{
    Look::rect(pan, QStringLiteral("shpSezione01"), {16, 80, 962, 554}, QColor(0xC8, 0xD6, 0xE3), QColor(0xC8, 0xD6, 0xE3));
    Look::rect(pan, QStringLiteral("shpSfondo"), {24, 88, 946, 538}, Qt::white, Qt::white);
    Look::picture(pan, QStringLiteral("icoIntestazione"), {364, 94, 600, 32}, QStringLiteral(":/art/intestazione.svg"));
    auto *line = Look::rect(pan, QStringLiteral("linSepara"), {364, 132, 600, 6}, Look::SteelBlue, Look::SteelBlue);
    line->setFill(Look::SteelBlue, Qt::white);
    line->setBorder(Look::SteelBlue, Qt::white);
    line->setHorizontal(true);

    const QFont labelFont = Look::font(QStringLiteral("Verdana"), 8);
    const QFont editFont = Look::font(QStringLiteral("Verdana"), 12, true);
    QList<QLineEdit *> edits;
    for (const CardEdit &e : kCardEdits) {
        const S::Field &field = S::fields()[e.id];
        auto *label = Look::label(pan, QStringLiteral("lbl") + str(field.name), str(e.label), {e.x, e.y - 18}, labelFont);
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
        auto *edit = Look::place(new QLineEdit(pan), QStringLiteral("txt") + str(field.name), {e.x, e.y, e.width, 24});
        edit->setFont(editFont);
        edit->setMaxLength(field.capacity);
        m_edits[e.id] = edit;
        edits << edit;
    }
    m_edits[S::fSesso]->setAlignment(Qt::AlignCenter);

    FieldBehaviours::colouredBackground(edits, Look::AliceBlue);
    FieldBehaviours::enterCycle(QList<QWidget *>(edits.begin(), edits.end()));
    FieldBehaviours::typingCleanup(m_edits[S::fSesso], true);
    FieldBehaviours::typingCleanup(m_edits[S::fCodFisc], true);
    FieldBehaviours::typingCleanup(m_edits[S::fEmail], false);
    FieldBehaviours::digitFilter(m_edits[S::fPartitaIva]);

    Look::picture(pan, QStringLiteral("icoRicontatta"), {788, 588, 31, 31}, QStringLiteral(":/art/ico_ricontatta.svg"));
    chkRicontatta = Look::place(new QCheckBox(QStringLiteral("Da ricontattare"), pan), QStringLiteral("chkRicontatta"),
                                {824, 590, 137, 30});
    chkRicontatta->setFont(Look::font(QStringLiteral("Verdana"), 9, true));
    chkRicontatta->setCursor(Qt::PointingHandCursor);

    QList<QWidget *> keyboardOrder(edits.begin(), edits.end());
    keyboardOrder << chkRicontatta;
    for (qsizetype i = 1; i < keyboardOrder.size(); ++i)
        setTabOrder(keyboardOrder[i - 1], keyboardOrder[i]);

    for (int i = 0; i < 6; ++i) {
        m_attachmentLabels[size_t(i)] = new QLabel(pan);
        m_attachmentLabels[size_t(i)]->setObjectName(str(kAttachmentLabels[i]));
        m_attachmentLabels[size_t(i)]->hide();
    }

    Look::rect(pan, QStringLiteral("shpInfo"), {16, 642, 962, 32}, Look::StatusBlue, Look::StatusBlue);
    panInfo = Look::label(pan, QStringLiteral("panInfo"), QString(), {22, 650}, Look::font(QStringLiteral("Tahoma"), 10),
                          Qt::white);
}

void TfrmCandidati::buildPhotoArea(QWidget *pan)
{
    const QColor photoBackground(0xE0, 0xE9, 0xF1);
    Look::rect(pan, QStringLiteral("shpFoto"), {30, 94, 324, 410}, photoBackground, photoBackground);
    imgFoto = Look::picture(pan, QStringLiteral("imgFoto"), {38, 102, 307, 394}, QString());
    imgBianco = Look::picture(pan, QStringLiteral("imgBianco"), {38, 102, 307, 394}, QString());
    imgBianco->setImage(placeholderPhoto());
    imgBianco->hide();
    imgFoto->setImage(imgBianco->image());
    Look::rect(pan, QStringLiteral("bkgPulsantiFoto"), {30, 515, 324, 56}, photoBackground, photoBackground);
}

void TfrmCandidati::wireHints(QWidget *pan)
{
    m_hints = new StatusHints(panInfo, QStringLiteral("Pronto per archiviare una nuova scheda..."));
    m_hints->addClearer(this);
    for (const char *name : kHintClearers)
        m_hints->addClearer(pan->objectName() == str(name) ? pan : pan->findChild<QWidget *>(str(name)));
    m_hints->addHint(chkRicontatta,
                     QStringLiteral("Spunta questa casella per annotare che la persona deve essere ricontattata."));
}

void TfrmCandidati::showEvent(QShowEvent *event)
{
    WorkWindow::showEvent(event);
    // Each opening from the launcher starts on an empty card; coming back
    // from a minimised state is not an opening.
    if (!event->spontaneous()) {
        holdFile(ProgramFolder::file(MemberArchive::FileName));
        clearCard();
        m_hints->showReady();
    }
}

void TfrmCandidati::clearCard()
{
    for (QLineEdit *edit : m_edits)
        edit->clear();
    setAttachments({});
    chkRicontatta->setChecked(false);
    showPlaceholder();
    setPosition(std::nullopt);
    m_edits[S::fCandidato]->setFocus();
}

void TfrmCandidati::showPlaceholder()
{
    imgFoto->setImage(imgBianco->image());
}

void TfrmCandidati::showRecord(qint64 index, const TSchedaAnagrafica &scheda)
{
    for (const CardEdit &e : kCardEdits)
        FieldBehaviours::showText(m_edits[e.id], Blanks::trimmed(scheda.*S::fields()[e.id].member));
    if (const auto yes = scheda.ricontatta())
        chkRicontatta->setChecked(*yes);
    setAttachments(scheda.attachments());
    setPosition(index + 1);
    m_loaded = scheda;
    // Noted before it is read: a photo another copy writes in between then
    // counts as that copy's change, never as what this card shows.
    m_loadedPhoto = FileStates({MemberArchive::photoPath(QString::number(index + 1))});
    imgFoto->setImage(MemberArchive::loadPhoto(QString::number(index + 1)));
}

TSchedaAnagrafica TfrmCandidati::cardRecord() const
{
    TSchedaAnagrafica scheda;
    for (const CardEdit &e : kCardEdits)
        scheda.*S::fields()[e.id].member = m_edits[e.id]->text();
    scheda.setRicontatta(chkRicontatta->isChecked());
    scheda.setAttachments(m_attachments);
    return scheda;
}

void TfrmCandidati::setAttachments(const Attachments &attachments)
{
    m_attachments = attachments;
    for (size_t n = 0; n < 3; ++n) {
        m_attachmentLabels[n]->setText(attachments.files[n]);
        m_attachmentLabels[n + 3]->setText(attachments.descriptions[n]);
    }
}

void TfrmCandidati::setPosition(std::optional<qint64> number)
{
    m_position = number;
    lblPosizione->setText(number ? QString::number(*number) : QString());
}

void TfrmCandidati::goToRecord(qint64 index)
{
    const auto scheda = MemberArchive().read(index);
    if (!scheda) {
        Messages::error(MemberArchive::ErrorText);
        return;
    }
    showRecord(index, *scheda);
}

void TfrmCandidati::cmdNuovoClick()
{
    clearCard();
}

void TfrmCandidati::cmdSalvaClick()
{
    for (const S::Mandatory &m : S::mandatory()) {
        if (Blanks::isBlank(m_edits[m.id]->text())) {
            Messages::warning(str(m.warning));
            m_edits[m.id]->setFocus();
            return;
        }
    }

    MemberArchive archive;
    const TSchedaAnagrafica scheda = cardRecord();
    QString message;
    bool photoSaved = false;
    if (m_position) {
        const qint64 number = *m_position;
        const auto saved = Messages::overwriteAsking([&](bool onlyIfUnchanged) {
            return archive.replace(number - 1, scheda, onlyIfUnchanged ? &m_loaded : nullptr, m_loadedPhoto,
                                   [&] { photoSaved = savePhoto(number); });
        });
        if (saved == Messages::Overwrite::Declined)
            return;
        if (saved == Messages::Overwrite::Failed) {
            Messages::error(MemberArchive::ErrorText);
            return;
        }
        message = QStringLiteral("Le modifiche apportate alla scheda corrente sono state salvate in archivio.");
    } else {
        const auto index = archive.append(scheda);
        if (!index) {
            Messages::error(MemberArchive::ErrorText);
            return;
        }
        setPosition(*index + 1);
        photoSaved = savePhoto(*index + 1);
        message = QStringLiteral("La scheda corrente è stata inserita in archivio.");
    }
    m_loaded = scheda;
    // The record is saved; a photo that cannot be written keeps its earlier
    // file, stays on the card to be saved again, and is reported.
    if (!photoSaved) {
        Messages::warning(QStringLiteral("Attenzione: la scheda è stata salvata in archivio, ma non è stato possibile "
                                         "salvare la foto del socio nella cartella Anagrafica.\n\r\n\rAccertarsi che il "
                                         "disco non sia pieno e di possedere i privilegi di scrittura nella cartella di "
                                         "installazione del programma."));
        return;
    }
    Messages::information(message);
}

bool TfrmCandidati::savePhoto(qint64 number)
{
    const QString recordNumber = QString::number(number);
    const bool saved = MemberArchive::savePhoto(recordNumber, imgFoto->image());
    m_loadedPhoto = FileStates({MemberArchive::photoPath(recordNumber)});
    return saved;
}

void TfrmCandidati::cmdDuplicaClick()
{
    if (!m_position) {
        Messages::warning(QStringLiteral("Attenzione: la duplicazione di una scheda può avvenire soltanto dopo che "
                                         "questa è stata inserita in archivio."));
        return;
    }
    setAttachments({});
    setPosition(std::nullopt);
    showPlaceholder();
    chkRicontatta->setChecked(false);
    m_edits[S::fCandidato]->setFocus();
    Messages::information(QStringLiteral("E' ora possibile apportare le proprie modifiche alla scheda corrente.\n\r\n\r"
                                         "Al termine premere Salva per inserire la scheda in archivio."));
}

void TfrmCandidati::navigate(RecordNavigation::Move move)
{
    RecordNavigation::go(move, m_position.value_or(0),
                         {[] { return MemberArchive().count(); }, [this](qint64 n) { goToRecord(n - 1); },
                          [this] { setPosition(std::nullopt); }, kEmptyArchive, MemberArchive::ErrorText});
}

void TfrmCandidati::cmdPrimoClick()
{
    navigate(RecordNavigation::Move::First);
}

void TfrmCandidati::cmdUltimoClick()
{
    navigate(RecordNavigation::Move::Last);
}

void TfrmCandidati::cmdAvantiClick()
{
    navigate(RecordNavigation::Move::Next);
}

void TfrmCandidati::cmdIndietroClick()
{
    navigate(RecordNavigation::Move::Previous);
}

void TfrmCandidati::cmdTrovaClick()
{
    TfrmTrovaCandidati frmTrovaCandidati(this);
    frmTrovaCandidati.setMode(QStringLiteral("candidati"));
    connect(&frmTrovaCandidati, &TfrmTrovaCandidati::memberChosen, this, &TfrmCandidati::showRecord);
    Modal::show(&frmTrovaCandidati);
}

void TfrmCandidati::cmdScaduteClick()
{
    TfrmDaRicontattare frmDaRicontattare(this);
    connect(&frmDaRicontattare, &TfrmDaRicontattare::memberChosen, this, &TfrmCandidati::showRecord);
    Modal::show(&frmDaRicontattare);
}

void TfrmCandidati::cmdStampaClick()
{
    TfrmStampaCandidati frmStampaCandidati(this, cardRecord(), imgFoto->image());
    Modal::show(&frmStampaCandidati);
}

void TfrmCandidati::cmdAnteprimaClick()
{
    TfrmAnteprimaCandidati frmAnteprimaCandidati(this, cardRecord(), imgFoto->image());
    Modal::show(&frmAnteprimaCandidati);
}

void TfrmCandidati::cmdFileClick()
{
    TfrmAllegaCartella frmAllegaCartella(this);
    frmAllegaCartella.setAttachments(QStringLiteral("candidati"), m_attachments);
    if (Modal::show(&frmAllegaCartella) == QDialog::Accepted)
        setAttachments(frmAllegaCartella.attachments());
}

void TfrmCandidati::cmdPrivacyClick()
{
    TfrmPrivacy frmPrivacy(this);
    frmPrivacy.setMember(cardRecord());
    Modal::show(&frmPrivacy);
}

void TfrmCandidati::cmdStatisticheClick()
{
    TfrmStatistiche frmStatistiche(this);
    Modal::show(&frmStatistiche);
}

void TfrmCandidati::cmdQuoteClick()
{
    if (!m_position) {
        Messages::warning(QStringLiteral("Attenzione: la scheda non è ancora in archivio. Salvarla prima di "
                                         "registrarne le quote."));
        return;
    }
    // The card as it is stored: a payment names the member the archive holds.
    TfrmQuote::showMember(this, *m_position + 1);
}

void TfrmCandidati::cmdGuidaClick()
{
    TfrmGuida::showTopic(this, HelpTexts::archive());
}

void TfrmCandidati::cmdEsportaClick()
{
    TfrmExpCandidati frmExpCandidati(this);
    Modal::show(&frmExpCandidati);
}

void TfrmCandidati::cmdEsciClick()
{
    close();
}

void TfrmCandidati::btnEmailClick()
{
    TMisc::Open(TMisc::mailCommand(m_edits[S::fEmail]->text()));
}

void TfrmCandidati::openCheck(bool vatNumber, const QString &code)
{
    if (vatNumber) {
        TfrmPartitaIva frmPartitaIva(this);
        FieldBehaviours::showText(frmPartitaIva.field(), code);
        Modal::show(&frmPartitaIva);
    } else {
        TfrmCodFisc frmCodFisc(this);
        FieldBehaviours::showText(frmCodFisc.field(), code);
        Modal::show(&frmCodFisc);
    }
}

void TfrmCandidati::btnCodFiscClick()
{
    // A code of digits only is the fiscal code of a body: its VAT number.
    const QString code = Blanks::trimmed(m_edits[S::fCodFisc]->text());
    const bool digitsOnly = !code.isEmpty()
        && std::all_of(code.begin(), code.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
    openCheck(digitsOnly, code);
}

void TfrmCandidati::btnPartitaIvaClick()
{
    openCheck(true, Blanks::trimmed(m_edits[S::fPartitaIva]->text()));
}

void TfrmCandidati::btnCaricaFotoClick()
{
    const auto photo = PhotoDialogs::load(this);
    if (!photo)
        return;
    if (photo->isNull())
        showPlaceholder();
    else
        imgFoto->setImage(*photo);
}

void TfrmCandidati::btnWebcamClick()
{
    TfrmWebCam frmWebCam(this);
    frmWebCam.setMemory(QStringLiteral("euro_01"));
    if (Modal::show(&frmWebCam) == QDialog::Accepted)
        imgFoto->setImage(frmWebCam.capture());
}

void TfrmCandidati::btnSalvaFotoClick()
{
    if (PhotoDialogs::save(this, imgFoto->image()) == PhotoDialogs::SaveResult::Failed)
        showPlaceholder();
}

void TfrmCandidati::btnCancFotoClick()
{
    showPlaceholder();
}

void TfrmCandidati::btnZoomFotoClick()
{
    TfrmZoom frmZoom(this);
    frmZoom.setPhoto(imgFoto->image());
    Modal::show(&frmZoom);
}
