#include "fees/frmquotemancanti.h"

#include "base/clock.h"
#include "base/fixedtext.h"
#include "base/formats.h"
#include "base/wholefile.h"
#include "report/reportoutput.h"
#include "report/summarytemplate.h"
#include "ui/filedialogs.h"
#include "ui/look.h"
#include "ui/messages.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QTableWidget>

namespace {

QString csvCell(const QString &text)
{
    if (!text.contains(u';') && !text.contains(u'"'))
        return text;
    return u'"' + QString(text).replace(QStringLiteral("\""), QStringLiteral("\"\"")) + u'"';
}

} // namespace

TfrmQuoteMancanti::TfrmQuoteMancanti(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmQuoteMancanti"));
    Look::fixedDialog(this, QStringLiteral(" Soci che non hanno versato la quota"), 820, 600);
    Look::setVerticalGradient(this, Look::SteelBlue, Qt::white);
    QWidget *pan = Look::centredPanel(this, 820, 600);
    Look::textBanner(pan, QStringLiteral("imgTitolo"), {16, 12, 788, 70}, QStringLiteral("QUOTE DA VERSARE"),
                     {QStringLiteral("I soci attivi alla fine dell'anno scelto (oggi, per l'anno in corso) che non "
                                     "hanno versato la quota di quell'anno.")});
    auto *lblAnno = Look::label(pan, QStringLiteral("lblAnno"), QStringLiteral("Anno:"), {16, 98},
                                Look::font(QStringLiteral("Verdana"), 9));
    cmbAnno = Look::place(new QComboBox(pan), QStringLiteral("cmbAnno"), {64, 92, 100, 28});
    cmbAnno->setAccessibleName(QStringLiteral("Anno"));
    lblAnno->setBuddy(cmbAnno);
    const int thisYear = Clock::today().year();
    for (int y = thisYear - 10; y <= thisYear; ++y)
        cmbAnno->addItem(QString::number(y));
    lblTotale = Look::label(pan, QStringLiteral("lblTotale"), QString(), {184, 98},
                            Look::font(QStringLiteral("Verdana"), 10, true), QColor(0x1F, 0x3B, 0x57));
    lblTotale->setFixedWidth(620);

    grdMancanti = Look::table(pan, QStringLiteral("grdMancanti"), {16, 132, 788, 400},
                              {QStringLiteral("Cognome e nome"), QStringLiteral("Tel. cellulare"), QStringLiteral("E-mail"),
                               QStringLiteral("Ultimo anno versato")},
                              {260, 150, 240});
    grdMancanti->setAccessibleName(QStringLiteral("Soci che non hanno versato la quota"));

    const QFont buttonFont = Look::font(QStringLiteral("Verdana"), 9);
    const struct
    {
        const char *name, *text, *tip;
        void (TfrmQuoteMancanti::*click)();
        QRect geometry;
    } commands[] = {
        {"cmdStampa", "Stampa", "Stampa l'elenco.", &TfrmQuoteMancanti::cmdStampaClick, {16, 548, 150, 32}},
        {"cmdEsportaCsv", "Esporta CSV", "Salva l'elenco in un file CSV.", &TfrmQuoteMancanti::cmdEsportaCsvClick,
         {176, 548, 150, 32}},
        {"cmdCopiaEmail", "Copia indirizzi e-mail",
         "Copia gli indirizzi e-mail dell'elenco, separati da punto e virgola, per un messaggio a tutti in copia "
         "nascosta.",
         &TfrmQuoteMancanti::cmdCopiaEmailClick, {336, 548, 190, 32}},
    };
    for (const auto &c : commands) {
        auto *button = Look::button(pan, QString::fromLatin1(c.name), QString::fromUtf8(c.text), c.geometry, buttonFont);
        button->setToolTip(QString::fromUtf8(c.tip));
        connect(button, &QPushButton::clicked, this, c.click);
    }
    auto *cmdChiudi = Look::button(pan, QStringLiteral("cmdChiudi"), QStringLiteral("Chiudi"), {668, 548, 136, 32},
                                   buttonFont);
    connect(cmdChiudi, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmbAnno, &QComboBox::currentIndexChanged, this, &TfrmQuoteMancanti::showList);
    connect(grdMancanti, &QTableWidget::cellDoubleClicked, this, [this](int row) {
        if (m_list && row >= 0 && row < m_list->members.size())
            emit memberChosen(m_list->members.at(row).record);
    });
    const QSignalBlocker quiet(cmbAnno);
    cmbAnno->setCurrentText(QString::number(thisYear));
}

void TfrmQuoteMancanti::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_list)
        showList();
}

void TfrmQuoteMancanti::setYear(int year)
{
    if (cmbAnno->findText(QString::number(year)) < 0)
        cmbAnno->addItem(QString::number(year));
    if (cmbAnno->currentText() == QString::number(year))
        showList();
    else
        cmbAnno->setCurrentText(QString::number(year));
}

void TfrmQuoteMancanti::showList()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_list = Owing::of(cmbAnno->currentText().toInt(), Clock::today());
    QApplication::restoreOverrideCursor();
    grdMancanti->setRowCount(0);
    if (!m_list) {
        lblTotale->setText(QStringLiteral("L'elenco non può essere letto."));
        Messages::error(QStringLiteral("Attenzione: non è stato possibile leggere l'archivio dei soci o il file delle "
                                       "quote (Quote.sqlite).\n\r\n\rAccertarsi di avere i privilegi necessari e che i "
                                       "file non siano danneggiati."));
        return;
    }
    grdMancanti->setRowCount(int(m_list->members.size()));
    for (qsizetype r = 0; r < m_list->members.size(); ++r) {
        const Owing::Member &m = m_list->members.at(r);
        const QStringList cells = {m.name, m.mobile, m.email,
                                   m.lastYearPaid ? QString::number(*m.lastYearPaid) : QStringLiteral("mai")};
        for (qsizetype c = 0; c < cells.size(); ++c)
            grdMancanti->setItem(int(r), int(c), new QTableWidgetItem(cells.at(c)));
    }
    lblTotale->setText(Owing::summary(*m_list));
}

void TfrmQuoteMancanti::cmdStampaClick()
{
    if (!m_list)
        return;
    QStringList rows;
    for (const Owing::Member &m : m_list->members)
        rows << QStringLiteral("%1 %2 %3 %4")
                    .arg(m.name.left(40), -40)
                    .arg(m.mobile.left(18), -18)
                    .arg(m.email.left(40), -40)
                    .arg(m.lastYearPaid ? QString::number(*m.lastYearPaid) : QStringLiteral("mai"));
    rows << QString() << Owing::summary(*m_list);
    auto report = SummaryReport::create();
    SummaryReport::fill(*report, QStringLiteral("Soci che non hanno versato la quota %1").arg(m_list->year), rows,
                        Clock::now());
    ReportOutput::print(this, *report);
}

void TfrmQuoteMancanti::cmdEsportaCsvClick()
{
    if (!m_list)
        return;
    const QString path = FileDialogs::save(this, QStringLiteral("Esporta l'elenco delle quote da versare"),
                                           QStringLiteral("File CSV (*.csv)"),
                                           QStringLiteral("Quote_da_versare_%1.csv").arg(m_list->year));
    if (path.isEmpty())
        return;
    QString out = QStringLiteral("Cognome e nome;Tel. cellulare;E-mail;Ultimo anno versato\r\n");
    for (const Owing::Member &m : m_list->members)
        out += QStringList{csvCell(m.name), csvCell(m.mobile), csvCell(m.email),
                           m.lastYearPaid ? QString::number(*m.lastYearPaid) : QString()}
                   .join(u';')
            + QStringLiteral("\r\n");
    if (!WholeFile::write(path, FixedText::toWindows1252(out))) {
        Messages::plain(QStringLiteral("Attenzione: il sistema non permette di esportare l'elenco.\n\r\n\rAccertarsi "
                                       "che il file non sia già aperto e che il disco non sia pieno."));
        return;
    }
    Messages::information(QStringLiteral("L'elenco è stato esportato con successo."));
}

void TfrmQuoteMancanti::cmdCopiaEmailClick()
{
    if (!m_list)
        return;
    QStringList addresses;
    for (const Owing::Member &m : m_list->members)
        if (m.email.contains(u'@') && !addresses.contains(m.email, Qt::CaseInsensitive))
            addresses << m.email;
    if (addresses.isEmpty()) {
        Messages::warning(QStringLiteral("Attenzione: nessun socio dell'elenco ha un indirizzo e-mail."));
        return;
    }
    QApplication::clipboard()->setText(addresses.join(u';'));
    Messages::information(QStringLiteral("%1 copiati negli appunti: incollarli nel campo Ccn di un nuovo messaggio.")
                              .arg(Formats::count(addresses.size(), QStringLiteral("indirizzo e-mail"),
                                                  QStringLiteral("indirizzi e-mail"))));
}
