#include "fees/frmquote.h"

#include "base/blanks.h"
#include "base/carddate.h"
#include "base/clock.h"
#include "base/formats.h"
#include "base/programfolder.h"
#include "fees/amounts.h"
#include "fees/frmquotemancanti.h"
#include "fees/receipt.h"
#include "help/frmguida.h"
#include "members/memberarchive.h"
#include "report/reportoutput.h"
#include "ui/look.h"
#include "ui/messages.h"
#include "ui/modal.h"
#include "ui/picturebox.h"
#include "ui/statushints.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

namespace {

const QString kLedgerError = QStringLiteral(
    "Attenzione: non è stato possibile leggere o scrivere il file delle quote (Quote.sqlite) nella cartella del "
    "programma.\n\r\n\rAccertarsi che il file non sia danneggiato né in uso e di avere i privilegi necessari per "
    "scriverlo; il resto del programma funziona come sempre.");

QLineEdit *field(QWidget *parent, const QString &name, const QString &label, const QRect &geometry)
{
    auto *caption = Look::label(parent, QStringLiteral("lbl") + name.mid(3), label, geometry.topLeft() - QPoint(0, 18),
                                Look::font(QStringLiteral("Verdana"), 8));
    auto *edit = Look::place(new QLineEdit(parent), name, geometry);
    edit->setFont(Look::font(QStringLiteral("Verdana"), 10));
    edit->setAccessibleName(label);
    caption->setBuddy(edit);
    return edit;
}

} // namespace

TfrmQuote::TfrmQuote(QWidget *parent)
    : QDialog(parent)
    , m_held(ProgramFolder::file(QString::fromLatin1(FeeLedger::FileName)))
{
    setObjectName(QStringLiteral("frmQuote"));
    Look::fixedDialog(this, QStringLiteral(" Quote associative"), 820, 600);
    Look::setVerticalGradient(this, Look::SteelBlue, Qt::white);
    QWidget *pan = Look::centredPanel(this, 820, 600);
    Look::textBanner(pan, QStringLiteral("imgTitolo"), {16, 12, 732, 70}, QStringLiteral("QUOTE ASSOCIATIVE"),
                     {QStringLiteral("I versamenti del socio anno per anno, ciascuno con la sua ricevuta.")});
    Look::rect(pan, QStringLiteral("shpGuida"), {756, 12, 48, 70}, Qt::white, Look::TileBorder);
    auto *cmdGuida = Look::picture(pan, QStringLiteral("cmdGuida"), {761, 27, 37, 39},
                                   QStringLiteral(":/art/tool_guida.svg"), true);
    lblSocio = Look::label(pan, QStringLiteral("lblSocio"), QString(), {16, 92},
                           Look::font(QStringLiteral("Verdana"), 11, true), QColor(0x1F, 0x3B, 0x57));
    lblSocio->setFixedWidth(788);

    grdQuote = Look::table(pan, QStringLiteral("grdQuote"), {16, 118, 788, 250},
                    {QStringLiteral("Anno"), QStringLiteral("Data"), QStringLiteral("Importo"), QStringLiteral("Modalità"),
                     QStringLiteral("Ricevuta"), QStringLiteral("Note")},
                    {60, 100, 100, 130, 160});
    grdQuote->setAccessibleName(QStringLiteral("Versamenti del socio"));

    Look::rect(pan, QStringLiteral("shpNuovo"), {16, 380, 788, 100}, Qt::white, Look::TileBorder);
    Look::label(pan, QStringLiteral("lblNuovo"), QStringLiteral("Nuovo versamento"), {26, 386},
                Look::font(QStringLiteral("Verdana"), 9, true), QColor(0x1F, 0x3B, 0x57));
    auto *lblAnno = Look::label(pan, QStringLiteral("lblAnno"), QStringLiteral("Anno"), {26, 412},
                                Look::font(QStringLiteral("Verdana"), 8));
    cmbAnno = Look::place(new QComboBox(pan), QStringLiteral("cmbAnno"), {26, 430, 90, 26});
    cmbAnno->setAccessibleName(QStringLiteral("Anno"));
    lblAnno->setBuddy(cmbAnno);
    txtData = field(pan, QStringLiteral("txtData"), QStringLiteral("Data del versamento"), {126, 430, 120, 26});
    txtImporto = field(pan, QStringLiteral("txtImporto"), QStringLiteral("Importo (euro)"), {256, 430, 110, 26});
    auto *lblModalita = Look::label(pan, QStringLiteral("lblModalita"), QStringLiteral("Modalità"), {376, 412},
                                    Look::font(QStringLiteral("Verdana"), 8));
    cmbModalita = Look::place(new QComboBox(pan), QStringLiteral("cmbModalita"), {376, 430, 140, 26});
    cmbModalita->setAccessibleName(QStringLiteral("Modalità"));
    lblModalita->setBuddy(cmbModalita);
    for (FeeLedger::Method m : FeeLedger::Methods)
        cmbModalita->addItem(FeeLedger::methodName(m), int(m));
    txtNote = field(pan, QStringLiteral("txtNote"), QStringLiteral("Note"), {526, 430, 268, 26});
    txtNote->setMaxLength(200);

    const QFont buttonFont = Look::font(QStringLiteral("Verdana"), 9);
    const struct
    {
        const char *name, *text, *hint;
        void (TfrmQuote::*click)();
        QRect geometry;
    } commands[] = {
        {"cmdRegistra", "Registra", "Registra il versamento e gli dà il numero di ricevuta.", &TfrmQuote::cmdRegistraClick,
         {16, 492, 126, 32}},
        {"cmdRicevuta", "Ricevuta", "Stampa la ricevuta del versamento scelto nell'elenco.", &TfrmQuote::cmdRicevutaClick,
         {148, 492, 126, 32}},
        {"cmdAnnullaRicevuta", "Annulla ricevuta", "Annulla la ricevuta scelta, che resta nell'elenco come ANNULLATA.",
         &TfrmQuote::cmdAnnullaRicevutaClick, {280, 492, 140, 32}},
        {"cmdMancanti", "Chi non ha versato", "Elenca i soci attivi che non hanno versato la quota dell'anno scelto.",
         &TfrmQuote::cmdMancantiClick, {426, 492, 150, 32}},
        {"cmdImpostazioni", "Impostazioni", "Dati dell'associazione e quota di ogni anno.",
         &TfrmQuote::cmdImpostazioniClick, {582, 492, 110, 32}},
    };
    Look::rect(pan, QStringLiteral("shpInfo"), {16, 542, 788, 32}, Look::StatusBlue, Look::StatusBlue);
    panInfo = Look::label(pan, QStringLiteral("panInfo"), QString(), {22, 548}, Look::font(QStringLiteral("Tahoma"), 10),
                          Qt::white);
    panInfo->setFixedWidth(776);
    m_hints = new StatusHints(panInfo, QStringLiteral("Quote associative del socio."));
    for (const auto &c : commands) {
        auto *button = Look::button(pan, QString::fromLatin1(c.name), QString::fromUtf8(c.text), c.geometry, buttonFont);
        connect(button, &QPushButton::clicked, this, c.click);
        m_hints->addHint(button, QString::fromUtf8(c.hint));
    }
    auto *cmdChiudi = Look::button(pan, QStringLiteral("cmdChiudi"), QStringLiteral("Chiudi"), {698, 492, 106, 32},
                                   buttonFont);
    m_hints->addHint(cmdChiudi, QStringLiteral("Chiude le quote del socio."));
    m_hints->addHint(cmdGuida, QStringLiteral("Visualizza la pagina della guida sensibile al contesto."));
    connect(cmdChiudi, &QPushButton::clicked, this, &QDialog::accept);
    connect(grdQuote, &QTableWidget::itemDoubleClicked, this, &TfrmQuote::cmdRicevutaClick);
    connect(cmdGuida, &PictureBox::clicked, this, [this] { TfrmGuida::showTopic(this, HelpTexts::fees()); });
    Look::shortcut(this, QKeySequence(Qt::Key_F1), cmdGuida);
    // The year's fee proposed as the amount.
    connect(cmbAnno, &QComboBox::currentIndexChanged, this, [this] {
        if (const auto fee = FeeLedger::yearlyFee(cmbAnno->currentText().toInt()))
            txtImporto->setText(Amounts::figures(*fee));
    });
}

void TfrmQuote::setMember(qint64 record, const TSchedaAnagrafica &card)
{
    m_record = record;
    m_card = card;
    lblSocio->setText(QStringLiteral("%1 - scheda n. %2").arg(Blanks::trimmed(card.Candidato)).arg(record));
    // Ten years back (or from the admission, if earlier) to next year; this
    // year chosen.
    const int thisYear = Clock::today().year();
    const auto admitted = CardDate::read(card.Competenze);
    const int first = qMin(admitted ? admitted->year() : thisYear, thisYear - 10);
    {
        const QSignalBlocker quiet(cmbAnno);
        cmbAnno->clear();
        for (int y = first; y <= thisYear + 1; ++y)
            cmbAnno->addItem(QString::number(y));
        cmbAnno->setCurrentText(QString::number(thisYear));
    }
    txtData->setText(CardDate::text(Clock::today()));
    const auto fee = FeeLedger::yearlyFee(thisYear);
    txtImporto->setText(fee ? Amounts::figures(*fee) : QString());
    txtNote->clear();
    showPayments();
}

void TfrmQuote::showPayments()
{
    const auto payments = FeeLedger::ofMember(m_record);
    grdQuote->setRowCount(0);
    m_payments.clear();
    if (!payments) {
        m_hints->show(QStringLiteral("Il file delle quote non può essere letto."));
        return;
    }
    // A payment recorded for someone else who had this card number before.
    const QString code = Blanks::upperAscii(Blanks::trimmed(m_card.CodFisc));
    for (const FeeLedger::Payment &p : *payments) {
        if (!code.isEmpty() && !p.fiscalCode.isEmpty() && Blanks::upperAscii(p.fiscalCode) != code)
            continue;
        m_payments << p;
    }
    grdQuote->setRowCount(int(m_payments.size()));
    for (qsizetype r = 0; r < m_payments.size(); ++r) {
        const FeeLedger::Payment &p = m_payments.at(r);
        const QStringList cells = {QString::number(p.year), Formats::shortDate(p.paid), Amounts::figures(p.cents),
                                   FeeLedger::methodName(p.method),
                                   p.cancelled ? p.receipt() + QStringLiteral(" ANNULLATA") : p.receipt(),
                                   p.cancelled ? p.reason : p.note};
        for (qsizetype c = 0; c < cells.size(); ++c) {
            auto *item = new QTableWidgetItem(cells.at(c));
            if (p.cancelled) {
                item->setForeground(QColor(0x90, 0x90, 0x90));
                item->setToolTip(QStringLiteral("Ricevuta annullata: ") + p.reason);
            }
            if (c == 2)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            grdQuote->setItem(int(r), int(c), item);
        }
    }
    const qint64 skipped = qint64(payments->size() - m_payments.size());
    m_hints->show(skipped > 0 ? QStringLiteral("Attenzione: %1 del numero di scheda %2 sono di un'altra persona "
                                               "(codice fiscale diverso) e non sono mostrati.")
                                    .arg(Formats::count(skipped, QStringLiteral("versamento"), QStringLiteral("versamenti")))
                                    .arg(m_record)
                              : QStringLiteral("Versamenti registrati: %1.").arg(m_payments.size()));
}

std::optional<FeeLedger::Payment> TfrmQuote::chosen()
{
    const int row = grdQuote->currentRow();
    if (row < 0 || row >= m_payments.size() || grdQuote->selectedItems().isEmpty()) {
        Messages::warning(QStringLiteral("Attenzione: scegliere prima un versamento nell'elenco."));
        return std::nullopt;
    }
    return m_payments.at(row);
}

void TfrmQuote::cmdRegistraClick()
{
    const int year = cmbAnno->currentText().toInt();
    const auto paid = CardDate::read(txtData->text());
    if (!paid) {
        Messages::warning(QStringLiteral("Attenzione: la data del versamento non è valida. Scriverla nella forma "
                                         "gg/mm/aaaa, per esempio ") + CardDate::text(Clock::today()) + u'.');
        return;
    }
    const Amounts::Parsed amount = Amounts::parse(txtImporto->text());
    if (amount.problem == Amounts::Problem::Zero) {
        if (!Messages::riskyQuestion(Amounts::problemText(amount.problem)))
            return;
    } else if (amount.problem != Amounts::Problem::None) {
        Messages::warning(Amounts::problemText(amount.problem));
        return;
    }
    const auto admitted = CardDate::read(m_card.Competenze);
    if (year > Clock::today().year()
        && !Messages::question(QStringLiteral("L'anno %1 è successivo all'anno in corso. Si vuole registrare "
                                              "ugualmente il versamento per il %1?")
                                   .arg(year)))
        return;
    if (admitted && year < admitted->year()
        && !Messages::question(QStringLiteral("Il socio è stato ammesso nel %1: il %2 è precedente. Si vuole "
                                              "registrare ugualmente il versamento per il %2?")
                                   .arg(admitted->year())
                                   .arg(year)))
        return;
    for (const FeeLedger::Payment &p : std::as_const(m_payments))
        if (p.year == year && !p.cancelled
            && !Messages::question(QStringLiteral("Il socio ha già versato la quota del %1 (ricevuta n. %2). Si vuole "
                                                  "registrare un altro versamento per lo stesso anno?")
                                       .arg(year)
                                       .arg(p.receipt())))
            return;

    FeeLedger::Payment p;
    p.member = m_record;
    p.fiscalCode = Blanks::upperAscii(Blanks::trimmed(m_card.CodFisc));
    p.name = Blanks::trimmed(m_card.Candidato);
    p.year = year;
    p.paid = *paid;
    p.cents = *amount.cents;
    p.method = FeeLedger::Method(cmbModalita->currentData().toInt());
    p.note = Blanks::trimmed(txtNote->text());
    const auto recorded = FeeLedger::record(p);
    if (!recorded) {
        Messages::error(kLedgerError);
        return;
    }
    showPayments();
    for (qsizetype r = 0; r < m_payments.size(); ++r)
        if (m_payments.at(r).id == recorded->id)
            grdQuote->selectRow(int(r));
    txtNote->clear();
    Messages::information(QStringLiteral("Il versamento di euro %1 per il %2 è stato registrato con la ricevuta n. %3.")
                              .arg(Amounts::figures(recorded->cents))
                              .arg(recorded->year)
                              .arg(recorded->receipt()));
}

void TfrmQuote::cmdRicevutaClick()
{
    const auto p = chosen();
    if (!p)
        return;
    const auto association = FeeLedger::association();
    if (!association) {
        Messages::error(kLedgerError);
        return;
    }
    const auto receipt = Receipt::make(*p, *association);
    ReportOutput::preview(this, *receipt);
}

void TfrmQuote::cmdAnnullaRicevutaClick()
{
    const auto p = chosen();
    if (!p)
        return;
    if (p->cancelled) {
        Messages::warning(QStringLiteral("Attenzione: la ricevuta n. %1 è già annullata.").arg(p->receipt()));
        return;
    }
    if (!Messages::riskyQuestion(QStringLiteral("Si vuole annullare la ricevuta n. %1 di euro %2? La ricevuta resterà "
                                                "nell'elenco come ANNULLATA e il suo numero non sarà più usato.")
                                     .arg(p->receipt(), Amounts::figures(p->cents))))
        return;
    const auto reason = Messages::text(QStringLiteral("Il motivo dell'annullamento della ricevuta n. %1:").arg(p->receipt()));
    if (!reason)
        return;
    if (Blanks::isBlank(*reason)) {
        Messages::warning(QStringLiteral("Attenzione: indicare il motivo dell'annullamento. La ricevuta non è stata "
                                         "annullata."));
        return;
    }
    if (!FeeLedger::cancel(p->id, Blanks::trimmed(*reason))) {
        Messages::error(kLedgerError);
        return;
    }
    showPayments();
}

void TfrmQuote::cmdImpostazioniClick()
{
    TfrmImpostazioniQuote frmImpostazioniQuote(this);
    Modal::show(&frmImpostazioniQuote);
    if (const auto fee = FeeLedger::yearlyFee(cmbAnno->currentText().toInt()); fee && txtImporto->text().isEmpty())
        txtImporto->setText(Amounts::figures(*fee));
}

void TfrmQuote::cmdMancantiClick()
{
    showOwing(this, cmbAnno->currentText().toInt());
    showPayments();
}

void TfrmQuote::showMember(QWidget *parent, qint64 record)
{
    const auto card = MemberArchive().read(record - 1);
    if (!card) {
        Messages::error(MemberArchive::ErrorText);
        return;
    }
    TfrmQuote frmQuote(parent);
    frmQuote.setMember(record, *card);
    Modal::show(&frmQuote);
}

void TfrmQuote::showOwing(QWidget *parent, int year)
{
    TfrmQuoteMancanti frmQuoteMancanti(parent);
    QObject::connect(&frmQuoteMancanti, &TfrmQuoteMancanti::memberChosen, &frmQuoteMancanti,
                     [&frmQuoteMancanti](qint64 record) {
                         showMember(&frmQuoteMancanti, record);
                         frmQuoteMancanti.showList();
                     });
    frmQuoteMancanti.setYear(year);
    Modal::show(&frmQuoteMancanti);
}

// --- settings ------------------------------------------------------------------

TfrmImpostazioniQuote::TfrmImpostazioniQuote(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmImpostazioniQuote"));
    Look::fixedDialog(this, QStringLiteral(" Impostazioni delle quote"), 560, 520);
    Look::setVerticalGradient(this, Look::SteelBlue, Qt::white);
    QWidget *pan = Look::centredPanel(this, 560, 520);
    Look::rect(pan, QStringLiteral("shpAssociazione"), {16, 12, 528, 190}, Qt::white, Look::TileBorder);
    txtNome = field(pan, QStringLiteral("txtNome"), QStringLiteral("Nome dell'associazione"), {26, 42, 508, 26});
    txtIndirizzo = field(pan, QStringLiteral("txtIndirizzo"), QStringLiteral("Indirizzo"), {26, 102, 508, 26});
    txtCodiceFiscale = field(pan, QStringLiteral("txtCodiceFiscale"), QStringLiteral("Codice fiscale"), {26, 162, 220, 26});
    Look::label(pan, QStringLiteral("lblQuoteAnnue"), QStringLiteral("Quota di ogni anno (euro)"), {16, 214},
                Look::font(QStringLiteral("Verdana"), 8));
    grdQuoteAnnue = Look::table(pan, QStringLiteral("grdQuoteAnnue"), {16, 232, 528, 220},
                         {QStringLiteral("Anno"), QStringLiteral("Quota")}, {100});
    grdQuoteAnnue->setEditTriggers(QAbstractItemView::AllEditTriggers);
    grdQuoteAnnue->setSelectionBehavior(QAbstractItemView::SelectItems);
    grdQuoteAnnue->setAccessibleName(QStringLiteral("Quota di ogni anno"));
    auto *cmdSalva = Look::button(pan, QStringLiteral("cmdSalva"), QStringLiteral("Salva"), {264, 470, 136, 32},
                                  Look::font(QStringLiteral("Verdana"), 9));
    auto *cmdAnnulla = Look::button(pan, QStringLiteral("cmdAnnulla"), QStringLiteral("Annulla"), {408, 470, 136, 32},
                                    Look::font(QStringLiteral("Verdana"), 9));
    connect(cmdSalva, &QPushButton::clicked, this, &TfrmImpostazioniQuote::cmdSalvaClick);
    connect(cmdAnnulla, &QPushButton::clicked, this, &QDialog::reject);

    const auto association = FeeLedger::association();
    const auto fees = FeeLedger::yearlyFees();
    if (!association || !fees) {
        Messages::error(kLedgerError);
        cmdSalva->setEnabled(false);
        return;
    }
    txtNome->setText(association->name);
    txtIndirizzo->setText(association->address);
    txtCodiceFiscale->setText(association->fiscalCode);
    // The years with a fee, and the five around this one.
    QMap<int, qint64> shown = *fees;
    const int thisYear = Clock::today().year();
    for (int y = thisYear - 3; y <= thisYear + 1; ++y)
        if (!shown.contains(y))
            shown.insert(y, -1);
    grdQuoteAnnue->setRowCount(int(shown.size()));
    int row = 0;
    for (auto it = shown.cbegin(); it != shown.cend(); ++it, ++row) {
        auto *year = new QTableWidgetItem(QString::number(it.key()));
        year->setFlags(year->flags() & ~Qt::ItemIsEditable);
        grdQuoteAnnue->setItem(row, 0, year);
        grdQuoteAnnue->setItem(row, 1, new QTableWidgetItem(it.value() >= 0 ? Amounts::figures(it.value()) : QString()));
    }
}

void TfrmImpostazioniQuote::cmdSalvaClick()
{
    // Every fee read first: a wrong one saves nothing.
    QList<QPair<int, qint64>> fees;
    for (int r = 0; r < grdQuoteAnnue->rowCount(); ++r) {
        const QString text = grdQuoteAnnue->item(r, 1) ? grdQuoteAnnue->item(r, 1)->text() : QString();
        if (Blanks::isBlank(text))
            continue;
        const Amounts::Parsed amount = Amounts::parse(text);
        if (amount.problem != Amounts::Problem::None) {
            Messages::warning(QStringLiteral("Quota del %1: ").arg(grdQuoteAnnue->item(r, 0)->text())
                              + Amounts::problemText(amount.problem == Amounts::Problem::Zero
                                                         ? Amounts::Problem::NotAnAmount
                                                         : amount.problem));
            return;
        }
        fees.append({grdQuoteAnnue->item(r, 0)->text().toInt(), *amount.cents});
    }
    bool saved = FeeLedger::setAssociation({Blanks::trimmed(txtNome->text()), Blanks::trimmed(txtIndirizzo->text()),
                                            Blanks::upperAscii(Blanks::trimmed(txtCodiceFiscale->text()))});
    for (const auto &[year, cents] : fees)
        saved = saved && FeeLedger::setYearlyFee(year, cents);
    if (!saved) {
        Messages::error(kLedgerError);
        return;
    }
    accept();
}
