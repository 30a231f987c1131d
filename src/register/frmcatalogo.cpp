#include "register/frmcatalogo.h"

#include "base/blanks.h"
#include "base/programfolder.h"
#include "help/frmguida.h"
#include "register/registerbook.h"
#include "ui/eventhook.h"
#include "ui/fieldbehaviours.h"
#include "ui/look.h"
#include "ui/messages.h"
#include "ui/picturebox.h"

#include <QCloseEvent>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QShowEvent>

namespace {

const QString kEmptyList = QStringLiteral("Attenzione: l'elenco non contiene nessun Quorvel.");

QLabel *hiddenLabel(QWidget *parent, const QString &name)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    label->hide();
    return label;
}

PictureBox *pictureButton(QWidget *parent, const QString &name, const QRect &geometry, const QString &art)
{
    return Look::picture(parent, name, geometry, art, true);
}

} // namespace

BookWindow::BookWindow(QWidget *parent, const QString &name, const QString &caption, const QString &heading,
                       const QStringList &lines)
    : WorkWindow(parent)
{
    setObjectName(name);
    setWindowTitle(caption);
    resize(1016, 713);
    Look::setVerticalGradient(this, QColor(0x42, 0x7A, 0xA8), Qt::white);
    m_panel = Look::centredPanel(this, 995, 692);
    Look::textBanner(m_panel, QStringLiteral("icoIstruzioni"), {142, 16, 710, 120}, heading, lines);
    auto *imgGuida = Look::picture(m_panel, QStringLiteral("imgGuida"), {950, 16, 29, 28},
                                   QStringLiteral(":/art/ico_guida.svg"), true);
    connect(imgGuida, &PictureBox::clicked, this, [this] { TfrmGuida::showTopic(this, HelpTexts::books()); });
    Look::shortcut(this, QKeySequence(Qt::Key_F1), imgGuida);
}

// --- creation ---------------------------------------------------------------

TfrmCreaCatalogo::TfrmCreaCatalogo(QWidget *parent)
    : BookWindow(parent, QStringLiteral("frmCreaCatalogo"), QStringLiteral(" Quorvel con Vori - Creazione nuovo Quorvel"),
                 QStringLiteral("CREAZIONE NUOVO QUORVEL"),
                 {QStringLiteral("Digitare nella casella sottostante il nome del nuovo Quorvel e fare clic su "
                                 "Applica e chiudi."),
                  QStringLiteral("Il nome apparirà nell'elenco mostrato dal pulsante Apri Quorvel esistente."),
                  QStringLiteral("Premere Annulla per uscire senza creare un nuovo Quorvel.")})
{
    QWidget *pan = panel();
    Look::picture(pan, QStringLiteral("icoIcona02"), {34, 200, 360, 360}, QStringLiteral(":/art/tile_crea.svg"));
    Look::picture(pan, QStringLiteral("icoIcona04"), {34, 600, 370, 29}, QStringLiteral(":/art/titolo.svg"));
    Look::label(pan, QStringLiteral("lblNomeQuorvel"), QStringLiteral("Nome del nuovo Quorvel:"), {438, 212},
                Look::font(QStringLiteral("Verdana"), 10, true));
    txtFile = Look::place(new QLineEdit(pan), QStringLiteral("txtFile"), {438, 240, 526, 34});
    txtFile->setFont(Look::font(QStringLiteral("Verdana"), 16, true));
    txtFile->setMaxLength(250);
    FieldBehaviours::colouredBackground({txtFile}, Look::AliceBlue);
    FieldBehaviours::fileNameFilter(txtFile);
    Look::picture(pan, QStringLiteral("icoMano"), {392, 238, 40, 38}, QStringLiteral(":/art/tool_avanti.svg"));
    lblFile = hiddenLabel(pan, QStringLiteral("lblFile"));

    auto *btnApplica = pictureButton(pan, QStringLiteral("btnApplica"), {438, 300, 258, 45},
                                     QStringLiteral(":/art/btn_applica.svg"));
    auto *btnAnnulla = pictureButton(pan, QStringLiteral("btnAnnulla"), {706, 300, 258, 45},
                                     QStringLiteral(":/art/btn_annulla.svg"));
    connect(btnApplica, &PictureBox::clicked, this, &TfrmCreaCatalogo::btnApplicaClick);
    connect(btnAnnulla, &PictureBox::clicked, this, &TfrmCreaCatalogo::btnAnnullaClick);
    // Enter on the name does what Applica e chiudi does.
    onEnter(txtFile, [this] { btnApplicaClick(); });
}

void TfrmCreaCatalogo::showEvent(QShowEvent *event)
{
    BookWindow::showEvent(event);
    if (event->spontaneous())
        return;
    txtFile->clear();
    txtFile->setFocus();
}

void TfrmCreaCatalogo::btnApplicaClick()
{
    lblFile->clear();
    const QString name = Blanks::trimmed(txtFile->text());
    if (name.isEmpty()) {
        Messages::warning(QStringLiteral("Attenzione: per creare l'archivio è necessario indicare il nome del nuovo "
                                         "Quorvel."));
        txtFile->setFocus();
        return;
    }
    // Typed characters are filtered; a pasted name is checked here, so that
    // nothing is ever created outside the program folder.
    if (!RegisterBook::acceptableName(name)) {
        Messages::warning(QStringLiteral("Attenzione: il nome del Quorvel contiene caratteri non ammessi."));
        txtFile->setFocus();
        return;
    }
    lblFile->setText(RegisterBook::pathFor(name));
    switch (RegisterBook::create(name)) {
    case RegisterBook::Created::Exists:
        Messages::warning(QStringLiteral(
            "Attenzione: il nome del Quorvel indicato è già stato utilizzato in precedenza.\r\n\r\nInserire un nome "
            "diverso oppure, se si desidera aprire un Quorvel già creato, premere il pulsante Apri Quorvel esistente."));
        return;
    case RegisterBook::Created::Failed:
        Messages::error(QStringLiteral("Attenzione: non è stato possibile creare il file del nuovo Quorvel.\n\r\n\r"
                                       "Accertarsi di possedere i privilegi di scrittura nella cartella di "
                                       "installazione del programma."));
        return;
    case RegisterBook::Created::Yes:
        break;
    }
    Messages::information(QStringLiteral("Il file di archivio relativo al nuovo Quorvel è stato creato con successo."
                                         "\r\n\r\nE' ora possibile visualizzarlo nell'elenco dei Quorvel esistenti."));
    close();
}

void TfrmCreaCatalogo::btnAnnullaClick()
{
    close();
}

// --- list, open, delete -----------------------------------------------------

const QString TfrmApriCatalogo::ReasonStart = QStringLiteral("avvio");
const QString TfrmApriCatalogo::ReasonPages = QStringLiteral("listino");

TfrmApriCatalogo::TfrmApriCatalogo(QWidget *parent)
    : BookWindow(parent, QStringLiteral("frmApriCatalogo"), QStringLiteral(" Quorvel con Vori - Apertura Quorvel esistente"),
                 QStringLiteral("APERTURA QUORVEL ESISTENTE"),
                 {QStringLiteral("Selezionare il Quorvel nell'elenco sottostante e premere il pulsante Apri archivio."),
                  QStringLiteral("Fare clic sull'icona del cestino per eliminare il Quorvel selezionato."),
                  QStringLiteral("Premere Annulla per uscire senza aprire un Quorvel.")})
{
    QWidget *pan = panel();
    auto *btnElimina = pictureButton(pan, QStringLiteral("btnElimina"), {24, 158, 43, 45},
                                     QStringLiteral(":/art/btn_cestino.svg"));
    lblCreati = Look::label(pan, QStringLiteral("lblCreati"), QStringLiteral("Sono stati creati 0 Quorvel."),
                            {80, 170}, Look::font(QStringLiteral("Verdana"), 12), QColor(0x00, 0x80, 0x00));
    lstFiles = Look::place(new QListWidget(pan), QStringLiteral("lstFiles"), {34, 224, 926, 298});
    lstFiles->setSortingEnabled(true);
    lstFiles->setFont(Look::font(QStringLiteral("Courier New"), 14));
    QPalette colours = lstFiles->palette();
    colours.setColor(QPalette::Text, Qt::black);
    lstFiles->setPalette(colours);
    auto *btnApri = pictureButton(pan, QStringLiteral("btnApri"), {434, 540, 258, 45},
                                  QStringLiteral(":/art/btn_apriarchivio.svg"));
    auto *btnAnnulla = pictureButton(pan, QStringLiteral("btnAnnulla"), {702, 540, 258, 45},
                                     QStringLiteral(":/art/btn_annulla.svg"));
    lblMemory = hiddenLabel(pan, QStringLiteral("lblMemory"));
    lblFile = hiddenLabel(pan, QStringLiteral("lblFile"));
    // An entry is chosen by a click or the arrow keys, never by the list
    // taking the focus; Enter or a double-click opens it as Apri archivio does.
    // The first arrow key chooses the entry the focus stands on, so that the
    // only book of a list can be chosen too.
    lstFiles->setSelectionMode(QAbstractItemView::SingleSelection);
    new EventHook(lstFiles, [this](QEvent *event) {
        if (event->type() != QEvent::KeyPress || !lstFiles->selectedItems().isEmpty() || !lstFiles->currentItem())
            return false;
        switch (static_cast<QKeyEvent *>(event)->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_Home:
        case Qt::Key_End:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            lstFiles->currentItem()->setSelected(true);
            return true;
        default:
            return false;
        }
    });
    connect(lstFiles, &QListWidget::itemDoubleClicked, this, &TfrmApriCatalogo::btnApriClick);
    onEnter(lstFiles, [this] { btnApriClick(); });
    connect(btnElimina, &PictureBox::clicked, this, &TfrmApriCatalogo::btnEliminaClick);
    connect(btnApri, &PictureBox::clicked, this, &TfrmApriCatalogo::btnApriClick);
    connect(btnAnnulla, &PictureBox::clicked, this, &TfrmApriCatalogo::btnAnnullaClick);
}

void TfrmApriCatalogo::showEvent(QShowEvent *event)
{
    BookWindow::showEvent(event);
    if (!event->spontaneous())
        listBooks();
}

void TfrmApriCatalogo::setReason(Reason reason)
{
    m_reason = reason;
    lblMemory->setText(reason == Reason::Pages ? ReasonPages : ReasonStart);
}

void TfrmApriCatalogo::listBooks()
{
    setReason(Reason::Start);
    m_chosen.reset();
    lblFile->setText(ProgramFolder::path());
    lstFiles->clear();
    lstFiles->addItems(RegisterBook::entries());
    lblCreati->setText(QStringLiteral("Sono stati creati %1 Quorvel.").arg(lstFiles->count()));
    lblCreati->adjustSize();
}

std::optional<QString> TfrmApriCatalogo::selectedEntry(const QString &noSelectionWarning)
{
    if (lstFiles->count() == 0) {
        Messages::warning(kEmptyList);
        return std::nullopt;
    }
    const QList<QListWidgetItem *> selected = lstFiles->selectedItems();
    if (selected.isEmpty()) {
        Messages::warning(noSelectionWarning);
        return std::nullopt;
    }
    return Blanks::trimmed(selected.first()->text());
}

void TfrmApriCatalogo::btnApriClick()
{
    const auto entry = selectedEntry(
        QStringLiteral("Attenzione: selezionare il Quorvel dall'elenco prima di premere il pulsante Apri archivio."));
    if (!entry)
        return;
    // The entry ends in ".qvl": the book's name is what stands before it.
    m_chosen.emplace(ProgramFolder::path() + *entry, entry->left(entry->size() - RegisterBook::Extension.size()));
    lblFile->setText(ProgramFolder::path() + *entry);
    setReason(Reason::Pages);
    close();
}

void TfrmApriCatalogo::btnEliminaClick()
{
    const auto entry = selectedEntry(QStringLiteral(
        "Attenzione: selezionare dall'elenco il Quorvel da eliminare prima di fare clic sull'icona del cestino."));
    if (!entry)
        return;
    if (!Messages::riskyQuestion(QStringLiteral("Si sta per eliminare il Quorvel selezionato. Si ricorda che il file "
                                           "eliminato non potrà essere recuperato.\r\n\r\nSi conferma "
                                           "l'eliminazione dell'archivio?")))
        return;
    // Only the book file goes: its photos stay in Foto_Gruppo.
    if (QFile::remove(ProgramFolder::path() + *entry))
        Messages::information(QStringLiteral("Il Quorvel è stato eliminato con successo."));
    else
        Messages::warning(QStringLiteral("Attenzione: non è stato possibile eliminare il Quorvel selezionato."));
    lblFile->clear();
    listBooks();
}

void TfrmApriCatalogo::btnAnnullaClick()
{
    close();
}

void TfrmApriCatalogo::closeEvent(QCloseEvent *event)
{
    if (m_reason != Reason::Pages || !m_chosen) {
        WorkWindow::closeEvent(event);
        return;
    }
    event->accept();
    emit bookChosen(*m_chosen);
}
