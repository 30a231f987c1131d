#include "statistics/frmstatistiche.h"

#include "base/clock.h"
#include "base/formats.h"
#include "fees/amounts.h"
#include "fees/feeledger.h"
#include "fees/frmquote.h"
#include "base/wholefile.h"
#include "help/frmguida.h"
#include "members/memberarchive.h"
#include "report/reportoutput.h"
#include "statistics/statisticscharts.h"
#include "ui/filedialogs.h"
#include "ui/look.h"
#include "ui/picturebox.h"
#include "ui/messages.h"

#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QtConcurrent/QtConcurrentRun>

namespace {

// The year's fees: who paid, what came in by method, who still owes.
QString feeFigures(const MemberRoll &roll, int year)
{
    const auto totals = FeeLedger::totals(year);
    const auto paid = FeeLedger::paidFor(year);
    if (!totals || !paid)
        return QStringLiteral("Quote %1: il file delle quote non può essere letto.").arg(year);
    qint64 owing = 0;
    for (qint64 record : roll.activeMembers(year))
        owing += paid->contains(record) ? 0 : 1;
    QStringList byMethod;
    for (auto it = totals->centsByMethod.cbegin(); it != totals->centsByMethod.cend(); ++it)
        byMethod << FeeLedger::methodName(it.key()) + u' ' + Amounts::figures(it.value());
    return QStringLiteral("Quote %1: %2, euro %3%4; %5.")
        .arg(year)
        .arg(Formats::count(totals->payers, QStringLiteral("socio ha versato"), QStringLiteral("soci hanno versato")),
             Amounts::figures(totals->cents),
             byMethod.isEmpty() ? QString() : QStringLiteral(" (") + byMethod.join(QStringLiteral(", ")) + u')',
             owing == 1 ? QStringLiteral("manca 1 quota") : QStringLiteral("mancano %1 quote").arg(owing));
}

} // namespace

TfrmStatistiche::TfrmStatistiche(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmStatistiche"));
    Look::fixedDialog(this, QStringLiteral(" Statistiche soci"), 1000, 720);
    Look::setVerticalGradient(this, Look::SteelBlue, Qt::white);
    Look::textBanner(this, QStringLiteral("imgTitolo"), {16, 12, 912, 70}, QStringLiteral("STATISTICHE SOCI"),
                     {QStringLiteral("I soci in archivio a colpo d'occhio, per l'assemblea annuale: scegliere l'anno, "
                                     "poi stampare la pagina o esportare le tabelle.")});
    Look::rect(this, QStringLiteral("shpGuida"), {936, 12, 48, 70}, Qt::white, Look::TileBorder);
    auto *cmdGuida = Look::picture(this, QStringLiteral("cmdGuida"), {941, 27, 37, 39},
                                   QStringLiteral(":/art/tool_guida.svg"), true);
    cmdGuida->setToolTip(QStringLiteral("Visualizza la pagina della guida sensibile al contesto."));

    const QFont caption = Look::font(QStringLiteral("Verdana"), 8);
    const QFont number = Look::font(QStringLiteral("Verdana"), 18, true);
    // Each figure's caption says, on its second line, the day or year it
    // describes; the numbers follow the chosen year.
    const QList<MemberStatistics::Figure> named = MemberStatistics().headline();
    for (int i = 0; i < 6; ++i) {
        const QRect tile(16 + i * 140, 92, 132, 66);
        Look::rect(this, QStringLiteral("shpDato%1").arg(i + 1), tile, Qt::white, Look::TileBorder);
        m_captions[size_t(i)] = Look::label(this, QStringLiteral("lblDidascalia%1").arg(i + 1), QString(),
                                            tile.topLeft() + QPoint(8, 4), caption, QColor(0x1F, 0x3B, 0x57));
        m_captions[size_t(i)]->setFixedSize(tile.width() - 12, 28);
        m_figures[size_t(i)] = Look::label(this, QString::fromLatin1(named.at(i).name).replace(0, 3, QStringLiteral("lbl")),
                                           QString(), tile.topLeft() + QPoint(8, 32), number,
                                           QColor(0x2F, 0x65, 0x94));
        m_figures[size_t(i)]->setFixedWidth(tile.width() - 16);
    }
    Look::label(this, QStringLiteral("lblAnno"), QStringLiteral("Anno:"), {866, 98}, caption, Qt::black);
    cmbAnno = Look::place(new QComboBox(this), QStringLiteral("cmbAnno"), {866, 116, 118, 28});
    cmbAnno->setFont(Look::font(QStringLiteral("Verdana"), 11, true));

    for (int c = 0; c < 4; ++c) {
        auto *view = Look::place(new QChartView(this), QStringLiteral("chtGrafico%1").arg(c + 1),
                                 {16 + c % 2 * 488, 168 + c / 2 * 246, 480, 240});
        view->setRenderHint(QPainter::Antialiasing);
        view->setFocusPolicy(Qt::NoFocus);
        m_charts[size_t(c)] = view;
    }
    lblQuote = Look::label(this, QStringLiteral("lblQuote"), QString(), {16, 662}, Look::font(QStringLiteral("Verdana"), 8),
                           QColor(0x1F, 0x3B, 0x57));
    lblQuote->setWordWrap(true);
    lblQuote->setFixedSize(380, 46);
    lblAttendere = Look::label(this, QStringLiteral("lblAttendere"), QStringLiteral("Calcolo delle statistiche in "
                                                                                    "corso. Attendere..."),
                               {24, 672}, Look::font(QStringLiteral("Verdana"), 11, true), QColor(0xDC, 0x14, 0x3C));

    const QFont buttonFont = Look::font(QStringLiteral("Verdana"), 9);
    const struct
    {
        const char *name, *text;
        void (TfrmStatistiche::*click)();
        QRect geometry;
    } commands[] = {
        {"cmdAnteprima", "Anteprima", &TfrmStatistiche::cmdAnteprimaClick, {404, 668, 112, 32}},
        {"cmdStampa", "Stampa", &TfrmStatistiche::cmdStampaClick, {522, 668, 112, 32}},
        {"cmdEsportaCsv", "Esporta CSV", &TfrmStatistiche::cmdEsportaCsvClick, {640, 668, 112, 32}},
        {"cmdMancanti", "Quote mancanti", &TfrmStatistiche::cmdMancantiClick, {758, 668, 112, 32}},
        {"cmdChiudi", "Chiudi", &TfrmStatistiche::cmdChiudiClick, {872, 668, 112, 32}},
    };
    for (size_t i = 0; i < std::size(commands); ++i) {
        auto *button = Look::button(this, QString::fromLatin1(commands[i].name), QString::fromUtf8(commands[i].text),
                                    commands[i].geometry, buttonFont);
        connect(button, &QPushButton::clicked, this, commands[i].click);
        if (i < m_outputs.size())
            m_outputs[i] = button;
    }
    connect(&m_reading, &QFutureWatcher<std::optional<MemberRoll>>::finished, this, &TfrmStatistiche::read);
    connect(cmdGuida, &PictureBox::clicked, this, [this] { TfrmGuida::showTopic(this, HelpTexts::statistics()); });
    Look::shortcut(this, QKeySequence(Qt::Key_F1), cmdGuida);
    connect(cmbAnno, &QComboBox::currentIndexChanged, this, [this] {
        if (m_roll)
            showFigures();
    });
}

TfrmStatistiche::~TfrmStatistiche()
{
    m_reading.waitForFinished();
}

int TfrmStatistiche::year() const
{
    return cmbAnno->currentText().toInt();
}

void TfrmStatistiche::showEvent(QShowEvent *event)
{
    Look::centreOnScreen(this);
    QDialog::showEvent(event);
    if (!event->spontaneous() && !m_reading.isRunning())
        compute();
}

void TfrmStatistiche::compute()
{
    // Busy until the worker has read the whole archive.
    for (QLabel *figure : m_figures)
        figure->setText(QStringLiteral("..."));
    for (QPushButton *output : m_outputs)
        output->setEnabled(false);
    lblAttendere->show();
    setCursor(Qt::BusyCursor);
    m_reading.setFuture(QtConcurrent::run(&MemberRoll::read, Clock::today()));
}

void TfrmStatistiche::read()
{
    unsetCursor();
    lblAttendere->hide();
    m_roll = m_reading.result();
    if (!m_roll) {
        m_stats.reset();
        for (QLabel *figure : m_figures)
            figure->setText(QStringLiteral("-"));
        Messages::error(MemberArchive::ErrorText);
    } else {
        // From the first admission to this year, this year chosen.
        const int thisYear = m_roll->today().year();
        const QSignalBlocker quiet(cmbAnno);
        cmbAnno->clear();
        for (int y = qMin(m_roll->firstYear().value_or(thisYear), thisYear); y <= thisYear; ++y)
            cmbAnno->addItem(QString::number(y));
        cmbAnno->setCurrentIndex(cmbAnno->count() - 1);
        showFigures();
        for (QPushButton *output : m_outputs)
            output->setEnabled(true);
    }
    emit ready();
}

void TfrmStatistiche::showFigures()
{
    m_stats = m_roll->figures(year());
    const QList<MemberStatistics::Figure> figures = m_stats->headline();
    for (qsizetype i = 0; i < figures.size(); ++i) {
        const MemberStatistics::Figure &f = figures.at(i);
        m_captions[size_t(i)]->setText(f.what + u'\n' + f.when);
        m_figures[size_t(i)]->setText(QString::number(f.value));
    }
    lblQuote->setText(feeFigures(*m_roll, m_stats->year));
    for (int c = 0; c < StatisticsCharts::ChartCount; ++c) {
        QChart *old = m_charts[size_t(c)]->chart();
        m_charts[size_t(c)]->setChart(StatisticsCharts::make(StatisticsCharts::Chart(c), *m_stats));
        delete old;
    }
}

Report::Template &TfrmStatistiche::filledReport()
{
    m_report = StatisticsCharts::page(*m_stats);
    return *m_report;
}

void TfrmStatistiche::cmdAnteprimaClick()
{
    if (m_stats)
        ReportOutput::preview(this, filledReport());
}

void TfrmStatistiche::cmdStampaClick()
{
    if (m_stats)
        ReportOutput::print(this, filledReport());
}

void TfrmStatistiche::cmdEsportaCsvClick()
{
    if (!m_stats)
        return;
    const QString path = FileDialogs::save(this, QStringLiteral("Esporta le tabelle delle statistiche"),
                                           QStringLiteral("File CSV (*.csv)"), QStringLiteral("Statistiche_Soci.csv"));
    if (path.isEmpty())
        return;
    if (!WholeFile::write(path, m_stats->csv())) {
        Messages::plain(QStringLiteral("Attenzione: il sistema non permette di esportare le statistiche.\n\r\n\r"
                                       "Accertarsi che il file non sia già aperto e che il disco non sia pieno."));
        return;
    }
    Messages::information(QStringLiteral("Le tabelle delle statistiche sono state esportate con successo."));
}

void TfrmStatistiche::cmdMancantiClick()
{
    if (!m_roll)
        return;
    TfrmQuote::showOwing(this, year());
    showFigures();
}

void TfrmStatistiche::cmdChiudiClick()
{
    close();
}
