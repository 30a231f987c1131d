#include "search/frmtrovacandidati.h"

#include "members/memberarchive.h"
#include "search/resultpage.h"
#include "search/resultrows.h"
#include "ui/fieldbehaviours.h"
#include "ui/look.h"
#include "ui/messages.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

struct Filter
{
    const char *name;
    const char *effect;
    const char *caption;
    int x, y;
};

// In focus order; two columns.
const Filter kFilters[10] = {
    {"txtCandidato", "effCampo01", "Cognome e nome:", 24, 130},
    {"txtDataNasc", "effCampo02", "Data di nascita (gg/mm/aaaa):", 440, 130},
    {"txtCittadinanza", "effCampo09", "Cittadinanza:", 24, 192},
    {"txtLuogoNasc", "effCampo10", "Luogo di nascita:", 440, 192},
    {"txtCodFisc", "effCampo05", "Codice fiscale:", 24, 254},
    {"txtSettore", "effCampo06", "Qualifica:", 440, 254},
    {"txtLingue", "effCampo07", "Lingue conosciute:", 24, 316},
    {"txtPatente", "effCampo08", "Tessera n.", 440, 316},
    {"txtCel", "effCampo03", "Tel. cellulare:", 24, 378},
    {"txtNote", "effCampo04", "Note:", 440, 378},
};

} // namespace

TfrmTrovaCandidati::TfrmTrovaCandidati(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmTrovaCandidati"));
    Look::fixedDialog(this, QStringLiteral(" Trova schede soci in archivio"), 862, 560);
    Look::setVerticalGradient(this, Look::SteelBlue, Qt::white);

    panAvvio = Look::place(new QWidget(this), QStringLiteral("panAvvio"), {0, 0, 862, 560});
    Look::picture(panAvvio, QStringLiteral("imgTitolo"), {16, 12, 830, 50}, QStringLiteral(":/art/trova_titolo.svg"));
    Look::label(panAvvio, QStringLiteral("lblTitolo"), QStringLiteral("Trova schede soci in archivio"), {84, 24},
                Look::font(QStringLiteral("Verdana"), 14, true), Qt::white);
    Look::label(panAvvio, QStringLiteral("lblIstruzioni"),
                QStringLiteral("Compilare uno o più campi e premere Cerca: saranno elencate le schede che contengono "
                               "tutti i testi indicati."),
                {24, 76}, Look::font(QStringLiteral("Verdana"), 9), QColor(0x1F, 0x3B, 0x57));

    QList<QWidget *> cycle;
    for (size_t i = 0; i < m_filters.size(); ++i) {
        const Filter &f = kFilters[i];
        Look::label(panAvvio, QStringLiteral("lbl") + QString::fromLatin1(f.name).mid(3),
                    QString::fromUtf8(f.caption), {f.x, f.y - 20}, Look::font(QStringLiteral("Verdana"), 9));
        m_filters[i] = Look::place(new QLineEdit(panAvvio), QString::fromLatin1(f.name), {f.x, f.y, 398, 24});
        m_filters[i]->setFont(Look::font(QStringLiteral("Verdana"), 10, true));
        FieldBehaviours::highlightRectangle(m_filters[i], QString::fromLatin1(f.effect));
        cycle << m_filters[i];
    }
    FieldBehaviours::enterCycle(cycle);

    lblAttendere = Look::label(panAvvio, QStringLiteral("lblAttendere"),
                               QStringLiteral("Ricerca schede in corso. Attendere..."), {24, 440},
                               Look::font(QStringLiteral("Verdana"), 11, true), QColor(0xDC, 0x14, 0x3C));
    lblAttendere->hide();
    lblConta = Look::label(panAvvio, QStringLiteral("lblConta"), QString(), {0, 0}, font());
    lblConta->hide();
    lblMemory = Look::label(this, QStringLiteral("lblMemory"), QString(), {0, 0}, font());
    lblMemory->hide();

    auto *btnAnnulla = Look::button(panAvvio, QStringLiteral("btnAnnulla"), QStringLiteral("Chiudi"),
                                    {566, 516, 136, 30}, Look::font(QStringLiteral("Verdana"), 9));
    auto *btnCerca = Look::button(panAvvio, QStringLiteral("btnCerca"), QStringLiteral("Cerca"), {710, 516, 136, 30},
                                  Look::font(QStringLiteral("Verdana"), 9));
    connect(btnAnnulla, &QPushButton::clicked, this, &QDialog::reject);
    // The wait notice shows as soon as the button goes down.
    connect(btnCerca, &QPushButton::pressed, this, [this] {
        lblAttendere->show();
        lblAttendere->repaint();
    });
    connect(btnCerca, &QPushButton::clicked, this, &TfrmTrovaCandidati::btnCercaClick);

    m_results = new ResultPage(this, QStringLiteral("Risultati della ricerca"),
                               QStringLiteral("Fare doppio clic sulla voce in elenco per richiamare la scheda"),
                               QStringLiteral("Riepilogo schede soci in archivio"));
    lblTrovate = Look::label(m_results, QStringLiteral("lblTrovate"), QString(), {16, 504},
                             Look::font(QStringLiteral("Verdana"), 9), QColor(0x1F, 0x3B, 0x57));
    m_results->hide();
    connect(m_results->btnChiudi, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_results, &ResultPage::memberChosen, this, &TfrmTrovaCandidati::lstRecordsDblClick);
    connect(m_results, &ResultPage::noRowChosen, this, &QDialog::reject);

    // Opened to fill a page slot, the window says which one, on both pages.
    lblImporta = Look::label(this, QStringLiteral("lblImporta"), QString(), {16, 528},
                             Look::font(QStringLiteral("Verdana"), 9, true), QColor(0x1F, 0x3B, 0x57));
    lblImporta->hide();
}

void TfrmTrovaCandidati::setMode(const QString &mode)
{
    lblMemory->setText(mode);
    // "persona_a" to "persona_h": slots A to H of a register page.
    const bool import = mode.size() == 9 && mode.startsWith(QStringLiteral("persona_"));
    lblImporta->setText(import ? QStringLiteral("Il socio scelto sarà importato nel riquadro %1 della pagina.")
                                     .arg(mode.at(8).toUpper())
                               : QString());
    lblImporta->adjustSize();
    lblImporta->setVisible(import);
    lblImporta->raise();
}

QString TfrmTrovaCandidati::mode() const
{
    return lblMemory->text();
}

void TfrmTrovaCandidati::showEvent(QShowEvent *event)
{
    Look::centreOnScreen(this);
    QDialog::showEvent(event);
    if (panAvvio->isVisible())
        m_filters[0]->setFocus();
}

void TfrmTrovaCandidati::btnCercaClick()
{
    SearchFilters filters;
    for (size_t i = 0; i < m_filters.size(); ++i)
        filters[i] = m_filters[i]->text();
    lblConta->setText(QString::number(MemberSearch::activeFilters(filters)));

    auto rows = MemberSearch::find(filters);
    lblAttendere->hide();
    if (!rows) {
        Messages::plain(MemberArchive::ErrorText);
        return;
    }
    lblTrovate->setText(QStringLiteral("Il presente riepilogo contiene %1 schede").arg(rows->size()));
    lblTrovate->adjustSize();
    m_results->setRows(std::move(*rows));
    panAvvio->hide();
    m_results->show();
}

void TfrmTrovaCandidati::lstRecordsDblClick(qint64 index)
{
    // The row knows its record: the member is read by its position, also
    // when another member gives the same row.
    if (const auto member = MemberArchive().read(index))
        emit memberChosen(index, *member);
    accept();
}
