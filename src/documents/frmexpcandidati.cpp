#include "documents/frmexpcandidati.h"

#include "base/tmisc.h"
#include "base/programfolder.h"
#include "import/frmimportasoci.h"
#include "help/frmguida.h"
#include "ui/look.h"
#include "ui/messages.h"
#include "ui/modal.h"
#include "ui/picturebox.h"
#include "ui/shaperect.h"
#include "ui/statushints.h"
#include "ui/workprogress.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QTableView>

const QString TfrmExpCandidati::FileName = QStringLiteral("Archivio_Soci.xls");
const QString TfrmExpCandidati::WorkbookFileName = QStringLiteral("Archivio_Soci.xlsx");

// The grid's view of the table: the record number, then the 25 fields.
class ArchiveTableModel : public QAbstractTableModel
{
public:
    explicit ArchiveTableModel(ArchiveTable &table, QObject *parent)
        : QAbstractTableModel(parent)
        , m_table(table)
    {
    }

    void reload()
    {
        beginResetModel();
        m_table.load();
        endResetModel();
    }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : int(m_table.rowCount());
    }
    int columnCount(const QModelIndex &parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : ArchiveTable::ColumnCount + 1;
    }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
            return QVariant();
        if (index.column() == 0)
            return QString::number(index.row() + 1);
        return m_table.cell(index.row(), index.column() - 1);
    }

    bool setData(const QModelIndex &index, const QVariant &value, int role) override
    {
        if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable))
            return false;
        m_table.setCell(index.row(), index.column() - 1, value.toString());
        emit dataChanged(index, index);
        return true;
    }

    Qt::ItemFlags flags(const QModelIndex &index) const override
    {
        Qt::ItemFlags f = QAbstractTableModel::flags(index);
        if (index.column() > 0 && ArchiveTable::columns()[size_t(index.column() - 1)].editable)
            f |= Qt::ItemIsEditable;
        return f;
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
            return QVariant();
        return section == 0 ? QStringLiteral("N.")
                            : QString::fromUtf8(ArchiveTable::columns()[size_t(section - 1)].header);
    }

private:
    ArchiveTable &m_table;
};

TfrmExpCandidati::TfrmExpCandidati(QWidget *parent)
    : QDialog(parent)
    , m_model(new ArchiveTableModel(m_table, this))
{
    setObjectName(QStringLiteral("frmExpCandidati"));
    Look::fixedDialog(this, QStringLiteral(" Esportazione archivio soci in Excel"), 862, 560);
    Look::setVerticalGradient(this, Look::SteelBlue, Qt::white);
    QWidget *pan = Look::centredPanel(this, 862, 560);
    Look::rect(pan, QStringLiteral("shpComandi"), {16, 12, 140, 57}, Qt::white, Look::TileBorder);
    auto *cmdEsporta = Look::picture(pan, QStringLiteral("cmdEsporta"), {24, 21, 37, 39},
                                     QStringLiteral(":/art/tool_esporta.svg"), true);
    auto *cmdGuida = Look::picture(pan, QStringLiteral("cmdGuida"), {66, 21, 37, 39}, QStringLiteral(":/art/tool_guida.svg"),
                                   true);
    auto *cmdEsci = Look::picture(pan, QStringLiteral("cmdEsci"), {108, 21, 37, 39}, QStringLiteral(":/art/tool_esci.svg"),
                                  true);

    grdRecords = Look::place(new QTableView(pan), QStringLiteral("grdRecords"), {16, 80, 830, 384});
    grdRecords->setModel(m_model);
    grdRecords->setAlternatingRowColors(true);
    grdRecords->verticalHeader()->hide();
    grdRecords->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grdRecords->verticalHeader()->setDefaultSectionSize(21);
    grdRecords->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grdRecords->setColumnWidth(0, 60);
    for (int c = 0; c < ArchiveTable::ColumnCount; ++c)
        grdRecords->setColumnWidth(c + 1, ArchiveTable::columns()[size_t(c)].width);
    grdRecords->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                                | QAbstractItemView::AnyKeyPressed);
    // Tab goes on to the commands; the arrows move from cell to cell.
    grdRecords->setTabKeyNavigation(false);

    // Below the grid: the commands beyond the Excel export.
    const QFont buttonFont = Look::font(QStringLiteral("Tahoma"), 9);
    auto *cmdImporta = Look::button(pan, QStringLiteral("cmdImporta"), QStringLiteral("Importa"), {16, 472, 150, 32},
                                    buttonFont);
    auto *cmdEsportaXlsx = Look::button(pan, QStringLiteral("cmdEsportaXlsx"), QStringLiteral("Esporta in .xlsx"),
                                        {176, 472, 150, 32}, buttonFont);

    auto *shpInfo = Look::rect(pan, QStringLiteral("shpInfo"), {16, 516, 830, 32}, Look::StatusBlue,
                               Look::StatusBlue);
    panInfo = Look::label(pan, QStringLiteral("panInfo"), QString(), {22, 522}, Look::font(QStringLiteral("Tahoma"), 10),
                          Qt::white);
    m_hints = new StatusHints(panInfo, QStringLiteral("Esportazione archivio in Microsoft Excel."));
    m_hints->addClearer(this);
    m_hints->addClearer(pan);
    m_hints->addClearer(shpInfo);
    m_hints->addClearer(grdRecords->viewport());
    m_hints->addClearer(grdRecords->horizontalHeader()->viewport());
    m_hints->addHint(cmdEsporta, QStringLiteral("Esporta l'archivio in formato Microsoft Excel."));
    m_hints->addHint(cmdGuida, QStringLiteral("Visualizza la pagina della guida sensibile al contesto."));
    m_hints->addHint(cmdEsci, QStringLiteral("Esci da questo ambiente di lavoro."));
    m_hints->addHint(cmdImporta, QStringLiteral("Importa in archivio i soci di un foglio di calcolo (CSV, Excel, "
                                                "LibreOffice)."));
    m_hints->addHint(cmdEsportaXlsx, QStringLiteral("Esporta l'archivio nel formato Excel moderno (Archivio_Soci.xlsx)."));
    connect(cmdEsporta, &PictureBox::clicked, this, &TfrmExpCandidati::cmdEsportaClick);
    connect(cmdEsportaXlsx, &QPushButton::clicked, this, &TfrmExpCandidati::cmdEsportaXlsxClick);
    connect(cmdEsci, &PictureBox::clicked, this, &TfrmExpCandidati::cmdEsciClick);
    connect(cmdGuida, &PictureBox::clicked, this, [this] { TfrmGuida::showTopic(this, HelpTexts::exporting()); });
    connect(cmdImporta, &QPushButton::clicked, this, [this] {
        TfrmImportaSoci frmImportaSoci(this);
        Modal::show(&frmImportaSoci);
        if (frmImportaSoci.importedCount() > 0)
            m_model->reload();
    });
    Look::shortcut(this, QKeySequence(Qt::Key_F1), cmdGuida);
}

TfrmExpCandidati::~TfrmExpCandidati() = default;

void TfrmExpCandidati::showEvent(QShowEvent *event)
{
    Look::centreOnScreen(this);
    QDialog::showEvent(event);
    if (!event->spontaneous())
        m_model->reload();
}

void TfrmExpCandidati::cmdEsportaClick()
{
    exportTo(FileName, &ArchiveTable::writeSpreadsheet);
}

void TfrmExpCandidati::cmdEsportaXlsxClick()
{
    exportTo(WorkbookFileName, &ArchiveTable::writeWorkbook);
}

void TfrmExpCandidati::exportTo(const QString &fileName,
                                bool (ArchiveTable::*write)(const QString &, const Progress &) const)
{
    // A sheet with part of the members must never replace a complete one.
    if (!m_table.complete()) {
        Messages::plain(QStringLiteral("Attenzione: non è stato possibile leggere tutte le schede dell'archivio, "
                                       "quindi i dati non sono stati esportati.\n\r\n\rAccertarsi di possedere i "
                                       "privilegi di accesso all'archivio nella cartella di installazione del "
                                       "programma."));
        return;
    }
    if (!Messages::question(QStringLiteral("L'esportazione dei dati in Excel può richiedere diversi minuti a seconda "
                                           "del numero di schede presenti in archivio.\n\r\n\rSi vuole esportare i "
                                           "dati adesso?")))
        return;
    // A cell still being typed into is taken as it stands: its editor
    // hands its text over when it loses the focus.
    if (grdRecords->isAncestorOf(QApplication::focusWidget()) && QApplication::focusWidget() != grdRecords)
        setFocus();
    const QString path = ProgramFolder::file(fileName);
    bool written = false;
    bool stopped = false;
    {
        WorkProgress progress(this, QStringLiteral("Esportazione dell'archivio..."), QStringLiteral("riga scritta"),
                              QStringLiteral("righe scritte"));
        written = (m_table.*write)(path, progress.callback());
        stopped = progress.stopped();
    }
    if (stopped) {
        Messages::information(QFileInfo::exists(path)
                                  ? QStringLiteral("Esportazione interrotta: il file %1 è rimasto com'era.").arg(fileName)
                                  : QStringLiteral("Esportazione interrotta: il file %1 non è stato scritto.").arg(fileName));
        return;
    }
    if (!written) {
        Messages::plain(QStringLiteral("Attenzione: il sistema non permette di esportare i dati.\n\r\n\rAccertarsi "
                                       "che il file di Excel non sia già aperto."));
        return;
    }
    if (Messages::question(QStringLiteral("Le schede in archivio sono state esportate con successo.\n\r\n\rSi vuole "
                                          "aprire il file di Excel?")))
        TMisc::Open(u'"' + path + u'"');
}

void TfrmExpCandidati::cmdEsciClick()
{
    close();
}
