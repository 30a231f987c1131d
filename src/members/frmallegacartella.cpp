#include "members/frmallegacartella.h"

#include "base/tmisc.h"
#include "base/blanks.h"
#include "base/fixedtext.h"
#include "base/programfolder.h"
#include "base/wholefile.h"
#include "members/schedaanagrafica.h"
#include "ui/fieldbehaviours.h"
#include "ui/filedialogs.h"
#include "ui/look.h"
#include "ui/messages.h"
#include "ui/picturebox.h"
#include "ui/shaperect.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QCoreApplication>
#include <QProgressDialog>
#include <QPushButton>

const QString TfrmAllegaCartella::Folder = QStringLiteral("Documenti_Allegati");

namespace {

const char *const kOrdinals[3] = {"1°", "2°", "3°"};

// A plain file name: nothing that could reach outside the attachments folder.
bool plainFileName(const QString &name)
{
    return !name.isEmpty() && name != QStringLiteral(".") && name != QStringLiteral("..")
        && !name.contains(u'/') && !name.contains(u'\\') && !name.contains(u':');
}

// A name the card can store exactly and that makes the same file on every
// system: otherwise the stored name would point at nothing.
bool storableFileName(const QString &name)
{
    const int capacity = TSchedaAnagrafica::fields()[TSchedaAnagrafica::fFile01].capacity;
    const QByteArray stored = FixedText::toWindows1252(name);
    return ProgramFolder::portableFileName(name) && Blanks::trimmed(name) == name && stored.size() <= capacity
        && FixedText::fromWindows1252(stored.constData(), stored.size()) == name;
}

// The paper clip with the instructions, as the window's heading.
QImage heading()
{
    const QSize size(543, 49);
    return Look::drawnImage(size, [&](QPainter &p) {
        p.drawImage(QRectF(0, 5, 37, 39),
                    PictureBox::svgImage(QStringLiteral(":/art/tool_allega.svg"), QSize(37, 39), Look::DrawnScale));
        p.setPen(QColor(0x1F, 0x3B, 0x57));
        p.setFont(Look::font(QStringLiteral("Verdana"), 8));
        p.drawText(QRectF(48, 0, size.width() - 48, size.height()), Qt::AlignVCenter | Qt::TextWordWrap,
                   QStringLiteral("Scegliere i documenti da allegare con Sfoglia, poi fare clic su Applica e chiudi e "
                                  "infine su Salva nella scheda per archiviare le modifiche. Per aprire un file "
                                  "premere Apri."));
    });
}

} // namespace

TfrmAllegaCartella::TfrmAllegaCartella(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAllegaCartella"));
    Look::fixedDialog(this, QStringLiteral(" Allega file"), 634, 534);
    Look::setVerticalGradient(this, QColor(0x93, 0xB7, 0xD4), Qt::white);
    QWidget *pan = Look::centredPanel(this, 609, 503);
    Look::rect(pan, QStringLiteral("shpSfondo"), {8, 8, 593, 433}, Qt::white, Qt::white);
    Look::place(new PictureBox(pan), QStringLiteral("imgLogo"), {20, 20, 543, 49})->setImage(heading());

    const QFont labelFont = Look::font(QStringLiteral("Verdana"), 12);
    const QFont buttonFont = Look::font(QStringLiteral("Verdana"), 9);
    for (int n = 0; n < 3; ++n) {
        const int dy = 120 * n;
        const QString number = QStringLiteral("0%1").arg(n + 1);
        const QString ordinal = QString::fromUtf8(kOrdinals[n]);
        auto *frame = Look::rect(pan, QStringLiteral("shpFile") + number, {16, 80 + dy, 577, 113}, Qt::white,
                                 QColor(0xA8, 0xCA, 0xE5));
        frame->setFill(QColor(0xA8, 0xCA, 0xE5), Qt::white);
        Look::label(pan, QStringLiteral("lblNomeFile") + number, QStringLiteral("Nome ") + ordinal + QStringLiteral(" file allegato:"),
                    {28, 90 + dy}, labelFont);
        Slot &slot = m_slots[size_t(n)];
        slot.file = Look::place(new QLineEdit(pan), QStringLiteral("txtFile") + number, {28, 108 + dy, 338, 24});
        slot.file->setReadOnly(true);
        slot.file->setMaxLength(250);
        slot.file->setFont(Look::font(QStringLiteral("Verdana"), 10, true));
        slot.file->setStyleSheet(QStringLiteral("color: grey;"));
        auto *eraser = Look::picture(pan, QStringLiteral("imgCancella") + number, {370, 109 + dy, 22, 22},
                                     QStringLiteral(":/art/ico_gomma.svg"), true);
        auto *browse = Look::button(pan, QStringLiteral("btnSfoglia") + number, QStringLiteral("Sfoglia..."),
                                    {400, 104 + dy, 86, 28}, buttonFont);
        slot.open = Look::button(pan, QStringLiteral("btnApri") + number, QStringLiteral("Apri"), {494, 104 + dy, 86, 28},
                                 buttonFont);
        slot.open->setEnabled(false);
        Look::label(pan, QStringLiteral("lblDescrizione") + number,
                    QStringLiteral("Descrizione ") + ordinal + QStringLiteral(" file allegato:"), {28, 140 + dy}, labelFont);
        slot.description = Look::place(new QLineEdit(pan), QStringLiteral("txtDesc") + number, {28, 158 + dy, 552, 24});
        slot.description->setFont(Look::font(QStringLiteral("Verdana"), 12, true));
        slot.description->setMaxLength(250);

        FieldBehaviours::enableOnContent(slot.open, {slot.file}, false);
        connect(browse, &QPushButton::clicked, this, [this, n] { btnSfogliaClick(n); });
        connect(eraser, &PictureBox::clicked, this, [this, n] { imgCancellaClick(n); });
        connect(slot.open, &QPushButton::clicked, this, [this, n] { btnApriClick(n); });
    }
    auto *btnAnnulla = Look::button(pan, QStringLiteral("btnAnnulla"), QStringLiteral("Annulla"), {312, 456, 126, 32},
                                    buttonFont);
    auto *btnApplica = Look::button(pan, QStringLiteral("btnApplica"), QStringLiteral("Applica e chiudi"),
                                    {447, 456, 154, 32}, buttonFont);
    connect(btnAnnulla, &QPushButton::clicked, this, &QDialog::reject);
    connect(btnApplica, &QPushButton::clicked, this, &TfrmAllegaCartella::btnApplicaClick);
    lblMemory = new QLabel(pan);
    lblMemory->setObjectName(QStringLiteral("lblMemory"));
    lblMemory->hide();
}

void TfrmAllegaCartella::showEvent(QShowEvent *event)
{
    Look::centreOnScreen(this);
    QDialog::showEvent(event);
}

void TfrmAllegaCartella::btnSfogliaClick(int slot)
{
    const QString chosen = FileDialogs::open(this, QStringLiteral("Selezionare il file da allegare:"),
                                             QStringLiteral("Tutti i file (*)"));
    if (chosen.isEmpty())
        return;
    // A pipe or a device would never end; a folder is not a document.
    if (!QFileInfo(chosen).isFile()) {
        Messages::warning(QStringLiteral("Attenzione: il file selezionato non può essere allegato perché non è un "
                                         "documento."));
        return;
    }
    const QString name = QFileInfo(chosen).fileName();
    if (!storableFileName(name)) {
        Messages::warning(QStringLiteral("Attenzione: il nome del file selezionato è troppo lungo o contiene caratteri "
                                         "non ammessi.\n\r\n\rRinominare il file prima di allegarlo."));
        return;
    }
    QLineEdit *file = m_slots[size_t(slot)].file;
    const QString before = file->text();
    FieldBehaviours::showText(file, name);
    const QString copy = ProgramFolder::file(Folder + u'/' + name);
    if (ProgramFolder::ensureFolder(Folder) && QFileInfo(copy) == QFileInfo(chosen))
        return; // chosen from the attachments folder itself
    if (QFile::exists(copy)
        && !Messages::riskyQuestion(QStringLiteral("Attenzione: nella cartella dei documenti allegati è presente un file "
                                              "con lo stesso nome.\r\n\r\nSi vuole sovrascrivere il file esistente?")))
        return;
    // Written beside the earlier copy under a name of its own and put in its
    // place once complete: a failure leaves the earlier copy as it was. A
    // long copy (a video) shows how far it has come and can be stopped.
    QProgressDialog progress(QStringLiteral("Copia del file nella cartella dei documenti allegati..."),
                             QStringLiteral("Annulla"), 0, 1000, this);
    progress.setWindowTitle(QStringLiteral(" Allega file"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500);
    progress.setAutoReset(false);
    const bool copied = WholeFile::copy(chosen, copy, [&progress](qint64 done, qint64 total) {
        progress.setValue(total > 0 ? int(done * 1000 / total) : 1000);
        QCoreApplication::processEvents();
        return !progress.wasCanceled();
    });
    if (progress.wasCanceled()) {
        FieldBehaviours::showText(file, before);
        return;
    }
    if (!copied) {
        FieldBehaviours::showText(file, before);
        Messages::warning(QStringLiteral("Attenzione: non è stato possibile copiare il file nella cartella dei "
                                         "documenti allegati.\n\r\n\rAccertarsi che il disco non sia pieno e di "
                                         "possedere i privilegi di scrittura nella cartella di installazione del "
                                         "programma."));
    }
}

void TfrmAllegaCartella::imgCancellaClick(int slot)
{
    m_slots[size_t(slot)].file->clear();
}

void TfrmAllegaCartella::btnApriClick(int slot)
{
    const QString name = Blanks::trimmed(m_slots[size_t(slot)].file->text());
    // A damaged record cannot send the shell to a file outside the folder.
    if (!plainFileName(name))
        return;
    TMisc::Open(u'"' + ProgramFolder::file(Folder + u'/' + name) + u'"');
}

void TfrmAllegaCartella::setAttachments(const QString &tag, const Attachments &attachments)
{
    lblMemory->setText(tag);
    for (size_t n = 0; n < 3; ++n) {
        FieldBehaviours::showText(m_slots[n].file, Blanks::trimmed(attachments.files[n]));
        FieldBehaviours::showText(m_slots[n].description, Blanks::trimmed(attachments.descriptions[n]));
    }
}

Attachments TfrmAllegaCartella::attachments() const
{
    Attachments result;
    for (size_t n = 0; n < 3; ++n) {
        result.files[n] = Blanks::trimmed(m_slots[n].file->text());
        result.descriptions[n] = Blanks::trimmed(m_slots[n].description->text());
    }
    return result;
}

void TfrmAllegaCartella::btnApplicaClick()
{
    if (Blanks::trimmed(lblMemory->text()) == QStringLiteral("candidati"))
        accept();
}
