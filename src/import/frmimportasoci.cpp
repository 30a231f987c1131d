#include "import/frmimportasoci.h"

#include "base/clock.h"
#include "base/formats.h"
#include "base/wholefile.h"
#include "import/frmvaloricomuni.h"
#include "import/importconfirmation.h"
#include "import/importtablemodel.h"
#include "import/importfields.h"
#include "import/importhistory.h"
#include "help/frmguida.h"
#include "members/memberarchive.h"
#include "ui/eventhook.h"
#include "ui/filedialogs.h"
#include "ui/look.h"
#include "ui/messages.h"
#include "ui/modal.h"
#include "ui/picturebox.h"
#include "ui/shaperect.h"
#include "ui/statushints.h"
#include "ui/workprogress.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QCheckBox>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QPushButton>
#include <QShowEvent>
#include <QTableView>

#include <numeric>

using S = TSchedaAnagrafica;

namespace {

constexpr int kFixedColumns = ImportTableModel::FixedColumns;
constexpr int kStatusWidth = 300; // the judgement's column at the least

const struct
{
    const char *name;
    const char *text;
    const char *hint;
} kKinds[SpreadsheetImport::ProblemCount] = {
    {"chkMancanti", "Anche le righe con dati obbligatori mancanti",
     "Importa anche i soci a cui mancano dati obbligatori: le loro schede andranno completate a mano."},
    {"chkCodFisc", "Anche le righe con codice fiscale errato",
     "Importa anche i soci il cui codice fiscale non risulta valido."},
    {"chkDoppi", "Anche le righe già in archivio o ripetute nel file",
     "Importa anche i soci già presenti in archivio o ripetuti nel file, che avranno così due schede."},
    {"chkLunghi", "Anche le righe con testi troppo lunghi (tagliati)",
     "Importa anche i soci con testi più lunghi dei campi della scheda: i testi saranno tagliati."},
};

QString number(qint64 n)
{
    return QLocale(QLocale::Italian).toString(n);
}

} // namespace

TfrmImportaSoci::TfrmImportaSoci(QWidget *parent)
    : QDialog(parent)
    , m_model(new ImportTableModel(m_import, this))
{
    setObjectName(QStringLiteral("frmImportaSoci"));
    // It grows, and the grid with it, for sheets of many columns.
    Look::sizableDialog(this, QStringLiteral(" Importazione soci da foglio di calcolo"), 980, 680);
    Look::setVerticalGradient(this, Look::SteelBlue, Qt::white);
    QWidget *pan = Look::growingPanel(this, 980, 680);
    Look::textBanner(pan, QStringLiteral("imgTitolo"), {16, 12, 892, 84},
                     QStringLiteral("IMPORTAZIONE SOCI DA FOGLIO DI CALCOLO"),
                     {QStringLiteral("Aprire il file dei soci (CSV, Excel .xlsx, LibreOffice .ods o Archivio_Soci.xls), "
                                     "controllare le righe e premere Importa."),
                      QStringLiteral("Un clic sull'intestazione di una colonna sceglie il campo della scheda in cui "
                                     "importarla.")});
    Look::rect(pan, QStringLiteral("shpGuida"), {916, 12, 48, 84}, Qt::white, Look::TileBorder);
    auto *cmdGuida = Look::picture(pan, QStringLiteral("cmdGuida"), {921, 34, 37, 39},
                                   QStringLiteral(":/art/tool_guida.svg"), true);

    const QFont buttonFont = Look::font(QStringLiteral("Tahoma"), 9);
    auto *cmdApri = Look::button(pan, QStringLiteral("cmdApri"), QStringLiteral("Apri file..."), {16, 104, 150, 30},
                                 buttonFont);
    lblFile = Look::label(pan, QStringLiteral("lblFile"), QStringLiteral("Nessun file aperto."), {178, 111},
                          Look::font(QStringLiteral("Tahoma"), 9), QColor(0x1F, 0x3B, 0x57));
    // The file's name, kind and rows on up to two lines, wider as the window grows.
    lblFile->setGeometry(178, 102, 574, 34);
    lblFile->setWordWrap(true);
    lblFile->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    auto *cmdValori = Look::button(pan, QStringLiteral("cmdValori"), QStringLiteral("Valori per tutte le righe..."),
                                   {764, 104, 200, 30}, buttonFont);

    grdImport = Look::place(new QTableView(pan), QStringLiteral("grdImport"), {16, 142, 948, 314});
    grdImport->setAccessibleName(QStringLiteral("Righe del file"));
    grdImport->setAccessibleDescription(QStringLiteral("Invio, Spazio o il tasto Menu su una cella scelgono il campo "
                                                       "della scheda in cui importare la sua colonna."));
    grdImport->setModel(m_model);
    // Tab goes on to the next control, not through every cell.
    grdImport->setTabKeyNavigation(false);
    m_model->setGrid(grdImport);
    grdImport->setAlternatingRowColors(true);
    // One cell is the current one, so that a keyboard user sees the column
    // that Enter or Space will send to a field.
    grdImport->setSelectionBehavior(QAbstractItemView::SelectItems);
    grdImport->setSelectionMode(QAbstractItemView::SingleSelection);
    grdImport->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdImport->setWordWrap(false);
    grdImport->verticalHeader()->hide();
    grdImport->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grdImport->verticalHeader()->setDefaultSectionSize(21);
    grdImport->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    grdImport->horizontalHeader()->setDefaultSectionSize(150);
    grdImport->horizontalHeader()->setSectionsClickable(true);
    grdImport->horizontalHeader()->setHighlightSections(false);
    grdImport->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    mnuCampi = new QMenu(this);
    mnuCampi->setObjectName(QStringLiteral("mnuCampi"));
    connect(grdImport->horizontalHeader(), &QHeaderView::sectionClicked, this, &TfrmImportaSoci::chooseField);
    // The same menu by keyboard, for the column of the current cell. Enter
    // never reaches the window's buttons from here.
    new EventHook(grdImport, [this](QEvent *event) {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
        const bool enter = modifiers == Qt::NoModifier && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter);
        const bool opens = enter
            || (modifiers == Qt::NoModifier && (key->key() == Qt::Key_Space || key->key() == Qt::Key_Menu))
            || (modifiers == Qt::ShiftModifier && key->key() == Qt::Key_F10);
        const int section = grdImport->currentIndex().isValid() ? grdImport->currentIndex().column() : -1;
        if (!opens || section < kFixedColumns)
            return enter;
        chooseField(section);
        return true;
    });
    // The whole judgement of the current row, which the grid's column may cut.
    lblEsito = Look::label(pan, QStringLiteral("lblEsito"), QString(), {16, 460}, Look::font(QStringLiteral("Verdana"), 8),
                           QColor(0x1F, 0x3B, 0x57));
    lblEsito->setGeometry(16, 460, 948, 20);
    lblEsito->setAccessibleName(QStringLiteral("Esito della riga corrente"));
    connect(grdImport->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &TfrmImportaSoci::showCurrent);

    // Which rows go in: the ready ones always, the others as ticked.
    Look::rect(pan, QStringLiteral("shpScelte"), {16, 488, 948, 84}, Qt::white, Look::TileBorder);
    const QFont optionFont = Look::font(QStringLiteral("Verdana"), 8);
    Look::label(pan, QStringLiteral("lblScelte"), QStringLiteral("Scelta delle righe:"), {28, 496},
                Look::font(QStringLiteral("Verdana"), 8, true), QColor(0x1F, 0x3B, 0x57));
    Look::rect(pan, QStringLiteral("shpPronte"), {204, 497, 14, 14}, ImportTableModel::kindColour(0), QColor(0x80, 0x80, 0x80));
    lblPronte = Look::label(pan, QStringLiteral("lblPronte"), QString(), {224, 496}, optionFont);
    lblPronte->setFixedWidth(700);
    for (int k = 0; k < SpreadsheetImport::ProblemCount; ++k) {
        const int x = 28 + (k % 2) * 468, y = 522 + (k / 2) * 24;
        Look::rect(pan, QStringLiteral("shpTipo%1").arg(k + 1), {x, y + 3, 14, 14},
                   ImportTableModel::kindColour(SpreadsheetImport::Problems[k]), QColor(0x80, 0x80, 0x80));
        auto *box = Look::place(new QCheckBox(QString::fromUtf8(kKinds[k].text), pan),
                                QString::fromLatin1(kKinds[k].name), {x + 20, y, 440, 20});
        box->setFont(optionFont);
        box->setCursor(Qt::PointingHandCursor);
        connect(box, &QCheckBox::toggled, this, &TfrmImportaSoci::showCounts);
        m_kinds[size_t(k)] = box;
    }

    lblRiepilogo = Look::label(pan, QStringLiteral("lblRiepilogo"), QString(), {16, 592},
                               Look::font(QStringLiteral("Verdana"), 10, true), QColor(0x1F, 0x3B, 0x57));
    lblRiepilogo->setFixedWidth(400);
    auto *cmdAnnullaImportazione =
        Look::button(pan, QStringLiteral("cmdAnnullaImportazione"), QStringLiteral("Annulla l'ultima importazione"),
                     {428, 584, 240, 32}, buttonFont);
    cmdConferma = Look::button(pan, QStringLiteral("cmdConferma"), QStringLiteral("Importa"), {676, 584, 140, 32},
                               buttonFont);
    auto *cmdChiudi = Look::button(pan, QStringLiteral("cmdChiudi"), QStringLiteral("Chiudi"), {824, 584, 140, 32},
                                   buttonFont);

    Look::rect(pan, QStringLiteral("shpInfo"), {16, 632, 948, 32}, Look::StatusBlue, Look::StatusBlue);
    panInfo = Look::label(pan, QStringLiteral("panInfo"), QString(), {22, 638}, Look::font(QStringLiteral("Tahoma"), 10),
                          Qt::white);
    m_hints = new StatusHints(panInfo, QStringLiteral("Importazione in archivio dei soci di un foglio di calcolo."));
    m_hints->addClearer(this);
    m_hints->addClearer(pan);
    m_hints->addClearer(grdImport->viewport());
    m_hints->addHint(cmdApri, QStringLiteral("Sceglie il foglio di calcolo con i soci da importare."));
    m_hints->addHint(cmdConferma, QStringLiteral("Importa in archivio le righe scelte."));
    m_hints->addHint(cmdValori, QStringLiteral("Dà un valore a tutte le righe per i campi della scheda che nessuna "
                                               "colonna del file riempie (per esempio la qualifica)."));
    m_hints->addHint(cmdAnnullaImportazione,
                     QStringLiteral("Toglie dall'archivio le schede aggiunte dall'ultima importazione, finché nessuna è "
                                    "stata modificata e nessun'altra scheda è stata aggiunta dopo di esse."));
    m_hints->addHint(cmdChiudi, QStringLiteral("Esci da questo ambiente di lavoro."));
    m_hints->addHint(cmdGuida, QStringLiteral("Visualizza la pagina della guida sensibile al contesto."));
    m_hints->addHint(grdImport->horizontalHeader(),
                     QStringLiteral("Fare clic sull'intestazione di una colonna per scegliere il campo della scheda."));
    for (int k = 0; k < SpreadsheetImport::ProblemCount; ++k)
        m_hints->addHint(m_kinds[size_t(k)], QString::fromUtf8(kKinds[k].hint));

    connect(cmdApri, &QPushButton::clicked, this, &TfrmImportaSoci::cmdApriClick);
    connect(cmdConferma, &QPushButton::clicked, this, &TfrmImportaSoci::cmdConfermaClick);
    connect(cmdChiudi, &QPushButton::clicked, this, &TfrmImportaSoci::cmdChiudiClick);
    connect(cmdValori, &QPushButton::clicked, this, &TfrmImportaSoci::cmdValoriClick);
    connect(cmdAnnullaImportazione, &QPushButton::clicked, this, &TfrmImportaSoci::cmdAnnullaImportazioneClick);
    connect(cmdGuida, &PictureBox::clicked, this, [this] { TfrmGuida::showTopic(this, HelpTexts::importing()); });
    Look::shortcut(this, QKeySequence(Qt::Key_F1), cmdGuida);

    // As the window grows: the grid with it, the commands on the right to
    // the right, what stands below the grid down with the bottom edge.
    const struct
    {
        const char *name;
        int anchors;
    } kAnchors[] = {
        {"shpGuida", Look::Right}, {"cmdGuida", Look::Right}, {"cmdValori", Look::Right},
        {"lblFile", Look::Wider},
        {"grdImport", Look::Wider | Look::Taller}, {"lblEsito", Look::Wider | Look::Down},
        {"shpScelte", Look::Wider | Look::Down}, {"lblScelte", Look::Down}, {"shpPronte", Look::Down},
        {"lblPronte", Look::Down}, {"lblRiepilogo", Look::Down}, {"cmdAnnullaImportazione", Look::Right | Look::Down},
        {"cmdConferma", Look::Right | Look::Down}, {"cmdChiudi", Look::Right | Look::Down},
        {"shpInfo", Look::Wider | Look::Down}, {"panInfo", Look::Down},
    };
    for (const auto &a : kAnchors)
        Look::anchor(pan->findChild<QWidget *>(QString::fromLatin1(a.name), Qt::FindDirectChildrenOnly), a.anchors);
    for (int k = 0; k < SpreadsheetImport::ProblemCount; ++k) {
        Look::anchor(pan->findChild<QWidget *>(QStringLiteral("shpTipo%1").arg(k + 1), Qt::FindDirectChildrenOnly),
                     Look::Down);
        Look::anchor(m_kinds[size_t(k)], Look::Down);
    }
    // The amounts of a "Quota 2026" column, also as that year's payments.
    chkVersamenti = Look::place(new QCheckBox(pan), QStringLiteral("chkVersamenti"), {48, 572, 610, 20});
    chkVersamenti->setFont(Look::font(QStringLiteral("Verdana"), 8));
    chkVersamenti->setCursor(Qt::PointingHandCursor);
    chkVersamenti->setToolTip(QStringLiteral("Registra anche nelle quote associative gli importi della colonna della "
                                             "quota, con la data di oggi e la modalità Altro."));
    Look::anchor(chkVersamenti, Look::Down);
    showFile();
}

TfrmImportaSoci::~TfrmImportaSoci()
{
    // The rows go before the window's children, which must not ask for them.
    delete grdImport;
    delete m_model;
}

quint8 TfrmImportaSoci::accepted() const
{
    quint8 accepted = 0;
    for (int k = 0; k < SpreadsheetImport::ProblemCount; ++k)
        if (m_kinds[size_t(k)]->isChecked())
            accepted |= SpreadsheetImport::Problems[k];
    return accepted;
}

void TfrmImportaSoci::showEvent(QShowEvent *event)
{
    Look::centreOnScreen(this);
    QDialog::showEvent(event);
}

void TfrmImportaSoci::showFile()
{
    m_model->reset();
    // The row number and judgement first, each column as wide as it needs
    // within reason.
    grdImport->setColumnWidth(0, 48);
    // Wide enough for the usual judgements; the user may widen it further.
    grdImport->resizeColumnToContents(1);
    grdImport->setColumnWidth(1, qBound(kStatusWidth, grdImport->columnWidth(1) + 12, kStatusWidth * 3 / 2));
    for (int c = kFixedColumns; c < m_model->columnCount(); ++c)
        grdImport->setColumnWidth(c, qBound(110, grdImport->horizontalHeader()->sectionSizeHint(c) + 12, 240));
    showCounts();
}

void TfrmImportaSoci::showCounts()
{
    const bool loaded = m_import.rowCount() > 0;
    lblPronte->setText(loaded ? QStringLiteral("pronte: %1 (importate sempre)").arg(number(m_import.readyCount()))
                              : QStringLiteral("pronte (importate sempre)"));
    for (int k = 0; k < SpreadsheetImport::ProblemCount; ++k) {
        QString text = QString::fromUtf8(kKinds[k].text);
        if (loaded)
            text += QStringLiteral(": %1").arg(number(m_import.countWith(SpreadsheetImport::Problems[k])));
        m_kinds[size_t(k)]->setText(text);
    }
    lblRiepilogo->setText(loaded ? QStringLiteral("Righe da importare: %1 su %2")
                                       .arg(number(m_import.keptCount(accepted())), number(m_import.rowCount()))
                                 : QString());
    cmdConferma->setEnabled(loaded);
    const auto feeYear = m_import.feeYear();
    chkVersamenti->setVisible(loaded && feeYear);
    chkVersamenti->setText(feeYear ? QStringLiteral("Registra gli importi della colonna come versamenti della quota %1")
                                         .arg(*feeYear)
                                   : QString());
    showCurrent();
}

void TfrmImportaSoci::showCurrent()
{
    const QModelIndex current = grdImport->currentIndex();
    const QString text = current.isValid() && current.row() < m_import.rowCount()
        ? QStringLiteral("Riga %1: %2").arg(m_import.rowNumber(current.row())).arg(m_import.status(current.row()))
        : QString();
    lblEsito->setText(text);
    lblEsito->setToolTip(text);
}

void TfrmImportaSoci::cmdApriClick()
{
    const QString path =
        FileDialogs::open(this, QStringLiteral("Apri il foglio di calcolo dei soci"),
                          QStringLiteral("Fogli di calcolo (*.csv *.txt *.xlsx *.ods *.xls);;Tutti i file (*)"));
    if (path.isEmpty())
        return;
    SpreadsheetFile::Result read;
    bool judged = false;
    bool stopped = false;
    {
        WorkProgress progress(this, QStringLiteral("Lettura del foglio di calcolo..."), QStringLiteral("riga letta"),
                              QStringLiteral("righe lette"));
        read = m_import.load(path, {}, progress.callback());
        stopped = progress.stopped();
    }
    if (read.ok && !stopped) {
        WorkProgress progress(this, QStringLiteral("Controllo delle righe..."), QStringLiteral("riga controllata"),
                              QStringLiteral("righe controllate"));
        judged = m_import.judge(Clock::today(), progress.callback());
        stopped = progress.stopped();
    }
    if (!read.ok || !judged)
        m_import.clear(); // nothing shown of a file that cannot be judged
    m_path = read.ok && judged ? path : QString();
    showFile();
    if (stopped) {
        lblFile->setText(QStringLiteral("Nessun file aperto."));
        Messages::information(QStringLiteral("Lettura interrotta: il file non è stato aperto."));
        return;
    }
    if (!read.ok) {
        lblFile->setText(QStringLiteral("Nessun file aperto."));
        Messages::plain(QStringLiteral("Attenzione: non è stato possibile leggere il file scelto.\n\r\n\r") + read.reason);
        return;
    }
    if (!judged) {
        lblFile->setText(QStringLiteral("Nessun file aperto."));
        Messages::error(MemberArchive::ErrorText);
        return;
    }
    lblFile->setText(QStringLiteral("%1  -  %2, %3 %4 di dati")
                         .arg(QFileInfo(path).fileName(), read.description, number(m_import.rowCount()),
                              m_import.rowCount() == 1 ? QStringLiteral("riga") : QStringLiteral("righe")));
    if (m_import.rowCount() == 0)
        Messages::warning(QStringLiteral("Attenzione: il file scelto non contiene righe di soci da importare."));
    else if (!m_import.anyColumnMatched())
        Messages::warning(QStringLiteral("Attenzione: nessuna colonna del file è stata riconosciuta come un campo della "
                                         "scheda.\n\r\n\rFare clic sull'intestazione di ogni colonna da importare per "
                                         "scegliere il campo in cui importarla."));
}

void TfrmImportaSoci::chooseField(int section)
{
    const int column = section - kFixedColumns;
    if (column < 0 || size_t(column) >= m_import.columns().size())
        return;
    mnuCampi->clear();
    const int current = m_import.columns()[size_t(column)].target;
    for (int target : ImportFields::targets()) {
        QAction *action = mnuCampi->addAction(ImportFields::label(target));
        action->setCheckable(true);
        action->setChecked(target == current);
        connect(action, &QAction::triggered, this, [this, column, target] {
            m_import.setTarget(column, target);
            m_model->changed();
            showCounts();
        });
        if (target == ImportFields::Ignored)
            mnuCampi->addSeparator();
    }
    QHeaderView *header = grdImport->horizontalHeader();
    mnuCampi->popup(header->viewport()->mapToGlobal(QPoint(header->sectionViewportPosition(section), header->height())));
    // The arrow keys start from the field chosen now.
    for (QAction *action : mnuCampi->actions())
        if (action->isChecked())
            mnuCampi->setActiveAction(action);
}

void TfrmImportaSoci::cmdConfermaClick()
{
    if (m_import.rowCount() == 0) {
        Messages::warning(QStringLiteral("Attenzione: aprire prima il foglio di calcolo con i soci da importare."));
        return;
    }
    using ImportConfirmation::Result;
    using ImportConfirmation::Stage;
    ImportConfirmation::Hooks hooks;
    hooks.progress = [this](Stage stage) -> Progress {
        const auto shown = stage == Stage::Judging
            ? std::make_shared<WorkProgress>(this, QStringLiteral("Controllo delle righe..."),
                                             QStringLiteral("riga controllata"), QStringLiteral("righe controllate"))
            : std::make_shared<WorkProgress>(this, QStringLiteral("Importazione dei soci..."),
                                             QStringLiteral("socio scritto"), QStringLiteral("soci scritti"));
        return [shown](qint64 done, qint64 total) { return shown->step(done, total); };
    };
    hooks.recordFees = !chkVersamenti->isHidden() && chkVersamenti->isChecked();
    hooks.proceed = [this](const QString &question) {
        // The rows as judged now, before the user answers.
        m_model->changed();
        showCounts();
        return Messages::question(question);
    };
    const Result result = ImportConfirmation::run(m_import, accepted(), Clock::today(), hooks);
    switch (result.kind) {
    case Result::StoppedJudging:
        // The rows are judged only in part: the file is put away.
        m_import.clear();
        m_path.clear();
        showFile();
        lblFile->setText(QStringLiteral("Nessun file aperto."));
        Messages::information(result.message);
        return;
    case Result::Unreadable:
        Messages::error(MemberArchive::ErrorText);
        return;
    case Result::NothingToImport:
    case Result::ArchiveChanged:
        m_model->changed();
        showCounts();
        Messages::warning(result.message);
        return;
    case Result::Declined:
        return;
    case Result::StoppedWriting:
        Messages::information(result.message);
        return;
    case Result::Imported:
        break;
    }
    m_imported += result.outcome.count;
    showFile();
    lblFile->setText(QStringLiteral("Importazione completata: %1 in archivio.")
                         .arg(Formats::count(result.outcome.count, QStringLiteral("socio importato"),
                                             QStringLiteral("soci importati"))));
    if (Messages::question(result.message))
        saveReport(result.outcome.report);
}

void TfrmImportaSoci::cmdValoriClick()
{
    const std::vector<int> fields = m_import.unfilledFields();
    if (m_import.columns().empty() || fields.empty()) {
        Messages::warning(m_import.columns().empty()
                              ? QStringLiteral("Attenzione: aprire prima il foglio di calcolo con i soci da importare.")
                              : QStringLiteral("Attenzione: ogni campo della scheda è già riempito da una colonna del "
                                               "file."));
        return;
    }
    std::vector<TfrmValoriComuni::Value> values;
    for (int field : fields)
        values.push_back({field, m_import.commonValue(field)});
    TfrmValoriComuni frmValoriComuni(values, this);
    if (Modal::show(&frmValoriComuni) != QDialog::Accepted)
        return;
    for (const TfrmValoriComuni::Value &v : frmValoriComuni.values())
        m_import.setCommonValue(v.field, v.text);
    m_model->changed();
    showCounts();
}

void TfrmImportaSoci::cmdAnnullaImportazioneClick()
{
    bool failed = false;
    const auto last = ImportHistory::last(&failed);
    if (!last) {
        if (failed)
            Messages::error(MemberArchive::ErrorText);
        else
            Messages::warning(QStringLiteral("Attenzione: non risulta alcuna importazione da annullare."));
        return;
    }
    const QString which = last->count == 1 ? QStringLiteral("la scheda %1").arg(last->first + 1)
                                           : QStringLiteral("le %1 schede da %2 a %3")
                                                 .arg(number(last->count))
                                                 .arg(last->first + 1)
                                                 .arg(last->first + last->count);
    if (!Messages::riskyQuestion(QStringLiteral("L'ultima importazione, del %1 dal file %2, ha aggiunto all'archivio %3."
                                                "\n\r\n\rSi vuole annullarla togliendo %4 dall'archivio?")
                                     .arg(Formats::shortDate(last->when.date()) + QStringLiteral(" alle ")
                                              + last->when.time().toString(QStringLiteral("HH:mm")),
                                          last->file,
                                          which, last->count == 1 ? QStringLiteral("la scheda") : QStringLiteral("le schede"))))
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const ImportHistory::Undo undo = ImportHistory::undoLast();
    QApplication::restoreOverrideCursor();
    switch (undo.kind) {
    case ImportHistory::Undo::Undone:
        m_imported -= qMin(m_imported, undo.import.count);
        // Rows on show that repeated the cards taken away are new again.
        if (m_import.rowCount() > 0 && m_import.judge(Clock::today())) {
            m_model->changed();
            showCounts();
        }
        // OK alone: a Cancel here would read as taking back the undo.
        Messages::plain(
            (undo.import.count == 1 ? QStringLiteral("È stata tolta dall'archivio 1 scheda, aggiunta dall'ultima importazione.")
                                    : QStringLiteral("Sono state tolte dall'archivio %1 schede, aggiunte dall'ultima "
                                                     "importazione.")
                                          .arg(number(undo.import.count)))
            + QStringLiteral("\n\r\n\rUna copia delle schede tolte è nel file %1 della cartella Backup.")
                  .arg(QFileInfo(undo.keptIn).fileName()));
        break;
    case ImportHistory::Undo::NoImport:
        Messages::warning(QStringLiteral("Attenzione: non risulta alcuna importazione da annullare."));
        break;
    case ImportHistory::Undo::NotLast:
        Messages::warning(QStringLiteral("Attenzione: l'ultima importazione non può più essere annullata, perché dopo "
                                         "di essa sono state aggiunte o tolte altre schede nell'archivio."));
        break;
    case ImportHistory::Undo::Changed:
        Messages::warning(QStringLiteral("Attenzione: l'ultima importazione non può più essere annullata, perché una o "
                                         "più delle sue schede sono state modificate e salvate dopo l'importazione."));
        break;
    case ImportHistory::Undo::Failed:
        Messages::error(QStringLiteral("Attenzione: non è stato possibile annullare l'importazione; l'archivio è "
                                       "rimasto com'era.\n\r\n\rAccertarsi che il disco non sia pieno e di possedere i "
                                       "privilegi di scrittura nella cartella di installazione del programma."));
        break;
    }
}

void TfrmImportaSoci::saveReport(const QString &report)
{
    const QString path = FileDialogs::save(this, QStringLiteral("Salva il riepilogo dell'importazione"),
                                           QStringLiteral("File di testo (*.txt)"),
                                           QStringLiteral("Riepilogo_Importazione.txt"));
    if (path.isEmpty())
        return;
    if (!WholeFile::write(path, QByteArray("\xEF\xBB\xBF") + report.toUtf8()))
        Messages::plain(QStringLiteral("Attenzione: il sistema non permette di salvare il riepilogo.\n\r\n\rAccertarsi "
                                       "che il disco non sia pieno e di possedere i privilegi di scrittura nella "
                                       "cartella scelta."));
}

void TfrmImportaSoci::cmdChiudiClick()
{
    close();
}
