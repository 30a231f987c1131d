#include "app/frmcopiesicurezza.h"

#include "base/formats.h"
#include "base/programfolder.h"
#include "help/frmguida.h"
#include "ui/look.h"
#include "ui/messages.h"
#include "ui/picturebox.h"

#include <QApplication>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTreeWidget>

namespace {

// The day in the copy's name, and its time: the one in the name, or when a
// day's copy was written. A copy named by its time (the file a restore
// replaced, or a day's copy whose before-state was lost) is the file as it
// was at that moment.
QString whenTaken(const Backups::Copy &copy)
{
    const QString day = Formats::shortDate(copy.date);
    if (copy.time.isValid())
        return QStringLiteral("%1 alle %2 (copia di quel momento)").arg(day, copy.time.toString(QStringLiteral("HH:mm:ss")));
    return QStringLiteral("%1 alle %2").arg(day, copy.modified.time().toString(QStringLiteral("HH:mm:ss")));
}

} // namespace

TfrmCopieSicurezza::TfrmCopieSicurezza(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmCopieSicurezza"));
    Look::fixedDialog(this, QStringLiteral(" Copie di sicurezza"), 640, 480);
    Look::setVerticalGradient(this, Look::SteelBlue, Qt::white);
    QWidget *pan = Look::centredPanel(this, 640, 480);

    Look::rect(pan, QStringLiteral("shpTesto"), {16, 12, 608, 84}, Qt::white, Look::TileBorder);
    auto *lblSpiegazione = Look::label(
        pan, QStringLiteral("lblSpiegazione"),
        QStringLiteral("Ogni giorno, prima della prima modifica, il programma copia l'archivio dei soci, i registri, "
                       "le quote e i file di impostazione nella cartella Backup della cartella del programma, e ne tiene le "
                       "copie degli ultimi %1 giorni. Scegliere una copia e premere Ripristina per riportare il "
                       "file com'era quel giorno.")
            .arg(Backups::DaysKept),
        {26, 20}, Look::font(QStringLiteral("Verdana"), 9));
    lblSpiegazione->setWordWrap(true);
    lblSpiegazione->setFixedSize(546, 68);
    auto *cmdGuida = Look::picture(pan, QStringLiteral("cmdGuida"), {580, 34, 37, 39},
                                   QStringLiteral(":/art/tool_guida.svg"), true);
    cmdGuida->setToolTip(QStringLiteral("Visualizza la pagina della guida sensibile al contesto."));

    lstCopie = Look::place(new QTreeWidget(pan), QStringLiteral("lstCopie"), {16, 108, 608, 300});
    lstCopie->setHeaderLabels({QStringLiteral("File"), QStringLiteral("Data della copia"), QStringLiteral("Dimensione")});
    lstCopie->setRootIsDecorated(false);
    lstCopie->setAlternatingRowColors(true);
    lstCopie->setSelectionMode(QAbstractItemView::SingleSelection);
    lstCopie->header()->setSectionsMovable(false);
    lstCopie->setColumnWidth(0, 180);
    lstCopie->setColumnWidth(1, 310);

    lblStato = Look::label(pan, QStringLiteral("lblStato"), QString(), {16, 424}, Look::font(QStringLiteral("Verdana"), 9));
    lblStato->setFixedWidth(300);
    auto *cmdRipristina = Look::button(pan, QStringLiteral("cmdRipristina"), QStringLiteral("Ripristina"),
                                       {340, 420, 136, 32}, Look::font(QStringLiteral("Verdana"), 10));
    auto *cmdChiudi = Look::button(pan, QStringLiteral("cmdChiudi"), QStringLiteral("Chiudi"), {488, 420, 136, 32},
                                   Look::font(QStringLiteral("Verdana"), 10));

    connect(cmdRipristina, &QPushButton::clicked, this, &TfrmCopieSicurezza::cmdRipristinaClick);
    connect(lstCopie, &QTreeWidget::itemDoubleClicked, this, &TfrmCopieSicurezza::cmdRipristinaClick);
    connect(cmdChiudi, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdGuida, &PictureBox::clicked, this, [this] { TfrmGuida::showTopic(this, HelpTexts::backups()); });
    Look::shortcut(this, QKeySequence(Qt::Key_F1), cmdGuida);
}

void TfrmCopieSicurezza::showEvent(QShowEvent *event)
{
    Look::centreOnScreen(this);
    QDialog::showEvent(event);
    fillList();
}

void TfrmCopieSicurezza::fillList()
{
    m_copies = Backups::list();
    lstCopie->clear();
    const QLocale italian(QLocale::Italian, QLocale::Italy);
    for (const Backups::Copy &copy : m_copies) {
        auto *item = new QTreeWidgetItem(lstCopie, {copy.fileName, whenTaken(copy),
                                                    italian.formattedDataSize(copy.size, 1,
                                                                              QLocale::DataSizeTraditionalFormat)});
        item->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
    }
    if (!m_copies.empty())
        lstCopie->setCurrentItem(lstCopie->topLevelItem(0));
    lblStato->setText(m_copies.empty() ? QStringLiteral("Nessuna copia di sicurezza presente.")
                                       : QStringLiteral("Copie presenti: %1.").arg(m_copies.size()));
}

void TfrmCopieSicurezza::cmdRipristinaClick()
{
    const int row = lstCopie->currentItem() ? lstCopie->indexOfTopLevelItem(lstCopie->currentItem()) : -1;
    if (row < 0 || size_t(row) >= m_copies.size()) {
        Messages::warning(QStringLiteral("Selezionare nell'elenco la copia da ripristinare."));
        return;
    }
    const Backups::Copy copy = m_copies[size_t(row)];
    if (!Messages::riskyQuestion(QStringLiteral("Si vuole sostituire il file %1 con la copia del %2?\n\r\n\rIl file "
                                                "attuale sarà a sua volta copiato nella cartella Backup.")
                                     .arg(copy.fileName, whenTaken(copy))))
        return;
    const bool replacing = QFileInfo::exists(ProgramFolder::file(copy.fileName));
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const Backups::Restored restored = Backups::restore(copy);
    QApplication::restoreOverrideCursor();
    switch (restored) {
    case Backups::Restored::InUse:
        Messages::warning(QStringLiteral("Attenzione: il file %1 è aperto in un'altra copia del programma, quindi la "
                                         "copia non è stata ripristinata.\n\r\n\rChiudere l'archivio o il registro "
                                         "sugli altri computer e riprovare.")
                              .arg(copy.fileName));
        return;
    case Backups::Restored::Damaged:
        Messages::warning(QStringLiteral("Attenzione: la copia del %2 non è un file %1 integro, quindi non è stata "
                                         "ripristinata; il file %1 è rimasto com'era.")
                              .arg(copy.fileName, whenTaken(copy)));
        return;
    case Backups::Restored::Failed:
        Messages::error(QStringLiteral("Attenzione: non è stato possibile ripristinare la copia; il file %1 è rimasto "
                                       "com'era.\n\r\n\rAccertarsi che il disco non sia pieno e di possedere i "
                                       "privilegi di scrittura nella cartella di installazione del programma.")
                            .arg(copy.fileName));
        return;
    case Backups::Restored::Yes:
        break;
    }
    fillList();
    QString done = QStringLiteral("Il file %1 è stato ripristinato dalla copia del %2.").arg(copy.fileName, whenTaken(copy));
    if (replacing)
        done += QStringLiteral("\n\r\n\rIl file che è stato sostituito si trova anch'esso nella cartella Backup.");
    Messages::plain(done);
}
