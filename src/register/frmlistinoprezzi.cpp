#include "register/frmlistinoprezzi.h"

#include "base/blanks.h"
#include "base/imagefiles.h"
#include "base/programfolder.h"
#include "members/memberarchive.h"
#include "members/photodialogs.h"
#include "members/placeholderphoto.h"
#include "help/frmguida.h"
#include "register/frmfrontespizioreg.h"
#include "register/frmistruzioni.h"
#include "register/memberimport.h"
#include "register/pageoutputwindow.h"
#include "register/slotlayout.h"
#include "search/frmtrovacandidati.h"
#include "ui/commandpictures.h"
#include "ui/fieldbehaviours.h"
#include "ui/look.h"
#include "ui/messages.h"
#include "ui/modal.h"
#include "ui/picturebox.h"
#include "ui/statushints.h"

#include <QLabel>
#include <QLineEdit>
#include <QShowEvent>

namespace {

const QString kEmptyBook = QStringLiteral("L'archivio non contiene nessuna scheda.");

// Slots A to D down the left column, E to H down the right one.
QPoint slotCorner(int slot)
{
    return {24 + (slot / 4) * 478, 112 + (slot % 4) * 128};
}

using Command = CommandPicture<TfrmListinoPrezzi>;

const Command kCommands[] = {
    {"cmdNuovo", {24, 26, 37, 39}, ":/art/tool_nuovo.svg",
     "Prepara la schermata per l'inserimento di una nuova scheda.", &TfrmListinoPrezzi::cmdNuovoClick, Qt::CTRL | Qt::Key_N},
    {"cmdSalva", {64, 26, 37, 39}, ":/art/tool_salva.svg", "Salva la scheda corrente.", &TfrmListinoPrezzi::cmdSalvaClick, Qt::CTRL | Qt::Key_S},
    {"cmdAnteprima", {119, 28, 148, 32}, ":/art/btn_anteprima.svg",
     "Visualizza l'anteprima di stampa della scheda corrente.", &TfrmListinoPrezzi::cmdAnteprimaClick},
    {"cmdStampa", {275, 28, 148, 32}, ":/art/btn_stampa.svg", "Stampa la scheda corrente.",
     &TfrmListinoPrezzi::cmdStampaClick, Qt::CTRL | Qt::Key_P},
    {"cmdFrontespizio", {431, 28, 148, 32}, ":/art/btn_frontespizio.svg", "Stampa il frontespizio del Quorvel.",
     &TfrmListinoPrezzi::cmdFrontespizioClick},
    {"cmdPrimo", {604, 26, 37, 39}, ":/art/tool_primo.svg", "Visualizza la prima scheda in archivio.",
     &TfrmListinoPrezzi::cmdPrimoClick, Qt::CTRL | Qt::Key_Home},
    {"cmdIndietro", {646, 26, 37, 39}, ":/art/tool_indietro.svg", "Visualizza la scheda precedente in archivio.",
     &TfrmListinoPrezzi::cmdIndietroClick, Qt::Key_PageUp},
    {"cmdAvanti", {748, 26, 37, 39}, ":/art/tool_avanti.svg", "Visualizza la scheda successiva in archivio.",
     &TfrmListinoPrezzi::cmdAvantiClick, Qt::Key_PageDown},
    {"cmdUltimo", {790, 26, 37, 39}, ":/art/tool_ultimo.svg", "Visualizza l'ultima scheda in archivio.",
     &TfrmListinoPrezzi::cmdUltimoClick, Qt::CTRL | Qt::Key_End},
    {"cmdGuida", {893, 26, 37, 39}, ":/art/tool_guida.svg", "Visualizza la pagina della guida sensibile al contesto.",
     &TfrmListinoPrezzi::cmdGuidaClick, Qt::Key_F1},
    {"cmdEsci", {936, 26, 37, 39}, ":/art/tool_esci.svg", "Esci da questa schermata di lavoro.",
     &TfrmListinoPrezzi::cmdEsciClick},
    {"cmdIstruzioni", {786, 646, 183, 32}, ":/art/btn_istruzioni.svg",
     "Visualizza le istruzioni per la compilazione del Quorvel.", &TfrmListinoPrezzi::cmdIstruzioniClick},
};

const struct
{
    const char *name;
    QRect geometry;
} kGroups[] = {
    {"shpNuovo", {16, 16, 90, 57}},   {"shpStampa", {111, 16, 476, 57}},
    {"shpRecord", {592, 16, 243, 57}}, {"shpEsci", {840, 16, 138, 57}},
};

QString str(const char *text)
{
    return QString::fromUtf8(text);
}

QLabel *hiddenLabel(QWidget *parent, const QString &name)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    label->hide();
    return label;
}

} // namespace

TfrmListinoPrezzi::TfrmListinoPrezzi(QWidget *parent)
    : WorkWindow(parent)
{
    setObjectName(QStringLiteral("frmListinoPrezzi"));
    setWindowTitle(QStringLiteral(" Quorvel con Vori - Gestione Pagine Quorvel"));
    resize(1016, 713);
    Look::setVerticalGradient(this, QColor(0x42, 0x7A, 0xA8), Qt::white);
    QWidget *pan = Look::centredPanel(this, 994, 692);

    buildToolbar(pan);
    buildSlots(pan);
    wireHints(pan);
    placeCommandPictures(this, pan, m_hints, kCommands);
}

void TfrmListinoPrezzi::buildToolbar(QWidget *pan)
{
    for (const auto &g : kGroups)
        Look::rect(pan, str(g.name), g.geometry, Qt::white, Look::TileBorder);
    lblPosizione = Look::place(new QLabel(pan), QStringLiteral("lblPosizione"), {688, 34, 56, 24});
    lblPosizione->setFont(Look::font(QStringLiteral("Verdana"), 10, true));
    lblPosizione->setAlignment(Qt::AlignCenter);

    Look::rect(pan, QStringLiteral("bkgTitolo"), {24, 82, 946, 24}, Qt::black, Qt::black);
    lblNome = Look::place(new QLabel(pan), QStringLiteral("lblNome"), {24, 82, 946, 24});
    lblNome->setFont(Look::font(QStringLiteral("Verdana"), 12));
    lblNome->setAlignment(Qt::AlignCenter);
    lblNome->setStyleSheet(QStringLiteral("color: #FFFF00;"));
    lblNome->setAttribute(Qt::WA_TransparentForMouseEvents);

    lblFile = hiddenLabel(pan, QStringLiteral("lblFile"));
    lblRecord = hiddenLabel(pan, QStringLiteral("lblRecord"));
    imgBianco = Look::picture(pan, QStringLiteral("imgBianco"), {0, 0, 282, 366}, QString());
    imgBianco->setImage(placeholderPhoto().scaled(RegisterBook::PhotoSize, Qt::IgnoreAspectRatio,
                                                  Qt::SmoothTransformation));
    imgBianco->hide();
}

void TfrmListinoPrezzi::buildSlots(QWidget *pan)
{
    const QFont editFont = Look::font(QStringLiteral("Verdana"), 12, true);
    QList<QLineEdit *> edits;
    for (int s = 0; s < SlotCount; ++s) {
        const QPoint corner = slotCorner(s);
        const QString letter = QString(TPaginaRegistro::letter(s));
        const QColor grey(0xE4, 0xE4, 0xE4);
        Look::rect(pan, QStringLiteral("bkgProdotto_0%1").arg(s + 1), {corner, SlotLayout::Frame}, grey, grey);

        Slot &slot = m_slots[size_t(s)];
        slot.photo = Look::picture(pan, QStringLiteral("imgFoto_") + letter, SlotLayout::Photo.translated(corner),
                                   QString(), true);
        slot.photo->setImage(imgBianco->image());
        connect(slot.photo, &PictureBox::clicked, this, [this, s] { imgFotoClick(s); });

        for (const SlotLayout::Line &e : SlotLayout::Lines) {
            const TSlotPagina::Field &field = TSlotPagina::fields()[e.id];
            auto *edit = Look::place(new QLineEdit(pan), QStringLiteral("txt") + str(field.name) + u'_' + letter,
                                     e.geometry.translated(corner));
            edit->setFont(editFont);
            edit->setMaxLength(field.capacity);
            if (e.id == TSlotPagina::fPrezzo)
                edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            slot.edits[e.id] = edit;
            edits << edit;
        }
        auto *arrow = Look::picture(pan, QStringLiteral("impProdotto_") + letter,
                                    SlotLayout::ImportArrow.translated(corner), QStringLiteral(":/art/imp_freccia.svg"), true);
        connect(arrow, &PictureBox::clicked, this, [this, s] { impProdottoClick(s); });
    }
    FieldBehaviours::colouredBackground(edits, Qt::white);
    FieldBehaviours::enterCycle(QList<QWidget *>(edits.begin(), edits.end()));
    for (qsizetype i = 1; i < edits.size(); ++i)
        setTabOrder(edits[i - 1], edits[i]);

    Look::rect(pan, QStringLiteral("shpInfo"), {16, 646, 762, 32}, Look::StatusBlue, Look::StatusBlue);
    panInfo = Look::label(pan, QStringLiteral("panInfo"), QString(), {22, 652}, Look::font(QStringLiteral("Tahoma"), 12),
                          Qt::white);
}

void TfrmListinoPrezzi::wireHints(QWidget *pan)
{
    m_hints = new StatusHints(panInfo, QStringLiteral("Pronto per archiviare una nuova scheda..."));
    m_hints->addClearer(this);
    m_hints->addClearer(pan);
    QStringList backgrounds = {QStringLiteral("bkgTitolo"), QStringLiteral("shpInfo")};
    for (const auto &g : kGroups)
        backgrounds << str(g.name);
    for (int s = 0; s < SlotCount; ++s)
        backgrounds << QStringLiteral("bkgProdotto_0%1").arg(s + 1);
    for (const QString &name : backgrounds)
        m_hints->addClearer(pan->findChild<QWidget *>(name));
    for (int s = 0; s < SlotCount; ++s) {
        const QString letter = QString(TPaginaRegistro::letter(s));
        m_hints->addHint(m_slots[size_t(s)].photo, QStringLiteral("Carica la foto del socio."));
        m_hints->addHint(pan->findChild<QWidget *>(QStringLiteral("impProdotto_") + letter),
                         QStringLiteral("Importa i dati dall'archivio dei soci."));
    }
}

void TfrmListinoPrezzi::openBook(const RegisterBook &book)
{
    m_book = book;
    holdFile(book.path());
    lblFile->setText(book.path());
    lblNome->setText(book.name());
}

QString TfrmListinoPrezzi::bookName() const
{
    return m_book.name();
}

QString TfrmListinoPrezzi::pageNumber() const
{
    return m_page ? QString::number(*m_page) : QString();
}

void TfrmListinoPrezzi::setPage(std::optional<qint64> page)
{
    m_page = page;
    lblPosizione->setText(pageNumber());
}

QImage TfrmListinoPrezzi::blank() const
{
    return imgBianco->image();
}

void TfrmListinoPrezzi::showEvent(QShowEvent *event)
{
    WorkWindow::showEvent(event);
    if (!event->spontaneous()) {
        clearPage();
        m_hints->showReady();
    }
}

void TfrmListinoPrezzi::clearPage()
{
    for (Slot &slot : m_slots) {
        for (QLineEdit *edit : slot.edits)
            edit->clear();
        slot.photo->setImage(blank());
    }
    setPage(std::nullopt);
    m_loaded.reset();
    m_loadedPhotos = {};
    m_slots[0].edits[TSlotPagina::fNome]->setFocus();
}

void TfrmListinoPrezzi::cmdNuovoClick()
{
    clearPage();
}

void TfrmListinoPrezzi::showPage(qint64 page)
{
    const auto content = m_book.read(page);
    if (!content) {
        Messages::error(MemberArchive::ErrorText);
        return;
    }
    for (int s = 0; s < SlotCount; ++s)
        for (const SlotLayout::Line &e : SlotLayout::Lines)
            FieldBehaviours::showText(m_slots[size_t(s)].edits[e.id],
                                      content->slotTexts[size_t(s)].*TSlotPagina::fields()[e.id].member);
    setPage(page);
    m_loaded = *content;
    // Noted before they are read: a photo another copy writes in between
    // then counts as that copy's change, never as what this page shows.
    m_loadedPhotos = FileStates(m_book.photoPaths(pageNumber()));
    for (int s = 0; s < SlotCount; ++s)
        setSlotPhoto(s, RegisterBook::readPhoto(m_book.photoPath(TPaginaRegistro::letter(s), pageNumber())));
}

void TfrmListinoPrezzi::setSlotPhoto(int slot, const QImage &picture)
{
    // A slot keeps its page photo, not the picture it came from: a page of
    // eight camera photos stays small.
    m_slots[size_t(slot)].photo->setImage(picture.isNull() ? blank() : RegisterBook::pagePhoto(picture));
}

void TfrmListinoPrezzi::navigate(RecordNavigation::Move move)
{
    RecordNavigation::go(move, m_page.value_or(0),
                         {[this] { return m_book.count(); }, [this](qint64 page) { showPage(page); },
                          [this] { setPage(std::nullopt); }, kEmptyBook, MemberArchive::ErrorText});
}

void TfrmListinoPrezzi::cmdPrimoClick()
{
    navigate(RecordNavigation::Move::First);
}

void TfrmListinoPrezzi::cmdUltimoClick()
{
    navigate(RecordNavigation::Move::Last);
}

void TfrmListinoPrezzi::cmdAvantiClick()
{
    navigate(RecordNavigation::Move::Next);
}

void TfrmListinoPrezzi::cmdIndietroClick()
{
    navigate(RecordNavigation::Move::Previous);
}

TPaginaRegistro TfrmListinoPrezzi::pageOnScreen() const
{
    TPaginaRegistro page;
    for (int s = 0; s < SlotCount; ++s)
        for (const SlotLayout::Line &e : SlotLayout::Lines)
            page.slotTexts[size_t(s)].*TSlotPagina::fields()[e.id].member = m_slots[size_t(s)].edits[e.id]->text();
    return page;
}

PageReport::Content TfrmListinoPrezzi::printed() const
{
    PageReport::Content content{bookName(), pageOnScreen(), {}, pageNumber()};
    for (int s = 0; s < SlotCount; ++s)
        content.photos[size_t(s)] = m_slots[size_t(s)].photo->image();
    return content;
}

void TfrmListinoPrezzi::cmdSalvaClick()
{
    const Slot &a = m_slots[0];
    for (TSlotPagina::FieldId id : {TSlotPagina::fNome, TSlotPagina::fUM, TSlotPagina::fCaratteristiche,
                                    TSlotPagina::fCodice}) {
        if (Blanks::isBlank(a.edits[id]->text())) {
            Messages::warning(QStringLiteral("Attenzione: per salvare la scheda è necessario compilare i campi "
                                             "riguardanti il socio che appare in cima alla pagina."));
            a.edits[id]->setFocus();
            return;
        }
    }
    const bool isNew = !m_page;
    const TPaginaRegistro content = pageOnScreen();
    std::optional<qint64> page;
    bool photosSaved = false;
    if (isNew) {
        page = m_book.append(content);
        if (page)
            photosSaved = savePagePhotos(*page);
    } else {
        const qint64 number = *m_page;
        const auto saved = Messages::overwriteAsking([&](bool onlyIfUnchanged) {
            return m_book.replace(number, content, onlyIfUnchanged && m_loaded ? &*m_loaded : nullptr, m_loadedPhotos,
                                  [&] { photosSaved = savePagePhotos(number); });
        });
        if (saved == Messages::Overwrite::Declined)
            return;
        if (saved == Messages::Overwrite::Saved)
            page = number;
    }
    if (!page) {
        Messages::error(MemberArchive::ErrorText);
        return;
    }
    setPage(*page);
    m_loaded = content;
    if (!photosSaved) {
        Messages::warning(QStringLiteral("Attenzione: la scheda è stata salvata in archivio, ma non è stato possibile "
                                         "salvare le foto dei soci nella cartella Foto_Gruppo.\n\r\n\rAccertarsi che "
                                         "il disco non sia pieno e di possedere i privilegi di scrittura nella cartella "
                                         "di installazione del programma."));
        return;
    }
    Messages::information(isNew ? QStringLiteral("La scheda corrente è stata inserita in archivio.")
                                : QStringLiteral("Le modifiche apportate alla scheda corrente sono state salvate in "
                                                 "archivio."));
}

bool TfrmListinoPrezzi::writePagePhotos(const QString &page)
{
    // Each slot's picture is encoded once, for its page photo and its preview
    // copy. A file that cannot be written keeps its earlier content, and the
    // slot its picture. The slots then take the pictures as encoded here,
    // never as read back from the shared files: another copy of the program
    // working on the same book may write those at any moment.
    bool written = true;
    for (int s = 0; s < SlotCount; ++s) {
        const QChar letter = TPaginaRegistro::letter(s);
        const QByteArray jpeg = RegisterBook::encodePhoto(m_slots[size_t(s)].photo->image());
        if (!page.isEmpty())
            written = RegisterBook::writePhotoFile(m_book.photoPath(letter, page), jpeg) && written;
        written = RegisterBook::writePhotoFile(m_book.previewPath(letter), jpeg) && written;
        const QImage copy = ImageFiles::decode(jpeg);
        if (!copy.isNull())
            m_slots[size_t(s)].photo->setImage(copy);
    }
    return written;
}

bool TfrmListinoPrezzi::savePagePhotos(qint64 page)
{
    const QString number = QString::number(page);
    const bool written = writePagePhotos(number);
    m_loadedPhotos = FileStates(m_book.photoPaths(number));
    return written;
}

bool TfrmListinoPrezzi::writePreviewCopies()
{
    return writePagePhotos(QString());
}

void TfrmListinoPrezzi::imgFotoClick(int slot)
{
    if (const auto image = PhotoDialogs::load(this, RegisterBook::PhotoReadSide))
        setSlotPhoto(slot, *image);
}

void TfrmListinoPrezzi::impProdottoClick(int slot)
{
    TfrmTrovaCandidati frmTrovaCandidati(this);
    frmTrovaCandidati.setMode(QStringLiteral("persona_") + QString(TPaginaRegistro::letter(slot)).toLower());
    connect(&frmTrovaCandidati, &TfrmTrovaCandidati::memberChosen, this,
            [this, slot](qint64 index, const TSchedaAnagrafica &member) { importMember(slot, index, member); });
    Modal::show(&frmTrovaCandidati);
}

void TfrmListinoPrezzi::importMember(int slot, qint64 index, const TSchedaAnagrafica &member)
{
    const TSlotPagina lines = MemberImport::slotLines(member);
    Slot &target = m_slots[size_t(slot)];
    for (const SlotLayout::Line &e : SlotLayout::Lines)
        FieldBehaviours::showText(target.edits[e.id], lines.*TSlotPagina::fields()[e.id].member);
    lblRecord->setText(QString::number(index + 1));
    ProgramFolder::ensureFolder(MemberArchive::PhotoFolder);
    setSlotPhoto(slot, ImageFiles::read(MemberArchive::photoPath(lblRecord->text()), RegisterBook::PhotoReadSide));
}

void TfrmListinoPrezzi::cmdAnteprimaClick()
{
    writePreviewCopies();
    TfrmAnteprimaProdotto frmAnteprimaProdotto(this, printed());
    Modal::show(&frmAnteprimaProdotto);
}

void TfrmListinoPrezzi::cmdStampaClick()
{
    writePreviewCopies();
    TfrmStampaProdotto frmStampaProdotto(this, printed());
    Modal::show(&frmStampaProdotto);
}

void TfrmListinoPrezzi::cmdFrontespizioClick()
{
    TfrmFrontespizioReg frmFrontespizioReg(this);
    Modal::show(&frmFrontespizioReg);
}

void TfrmListinoPrezzi::cmdIstruzioniClick()
{
    TfrmIstruzioni frmIstruzioni(this);
    Modal::show(&frmIstruzioni);
}

void TfrmListinoPrezzi::cmdGuidaClick()
{
    TfrmGuida::showTopic(this, HelpTexts::pages());
}

void TfrmListinoPrezzi::cmdEsciClick()
{
    close();
}
