#include "register/pageoutputwindow.h"

#include "report/reportoutput.h"
#include "ui/look.h"


PageOutputWindow::PageOutputWindow(QWidget *parent, PageReport::Content page, const QString &windowName,
                                   const QString &caption, const QString &outputButton, const QString &heading,
                                   const QStringList &lines)
    : OutputWindow(parent, windowName, caption, outputButton,
                   {{18, 18, 326, 215}, {18, 243, 145, 28}, {200, 243, 145, 28}})
    , m_page(std::move(page))
    , m_report(PageReport::create())
{
    Look::textBanner(panel(), QStringLiteral("imgSfondo"), {0, 0, 326, 215}, heading, lines);
}

PageOutputWindow::~PageOutputWindow() = default;

void PageOutputWindow::fillReport()
{
    PageReport::fill(*m_report, m_page);
}

void PageOutputWindow::btnStampaClick()
{
    fillReport();
    output();
    accept();
}

TfrmStampaProdotto::TfrmStampaProdotto(QWidget *parent, PageReport::Content page)
    : PageOutputWindow(parent, std::move(page), QStringLiteral("frmStampaProdotto"), QStringLiteral(" Stampa scheda"),
                       QStringLiteral("Stampa"), QStringLiteral("Stampa documento"),
                       {QStringLiteral("Questa operazione stampa su carta"),
                        QStringLiteral("il documento con i dati inseriti"), QStringLiteral("nei campi di testo."),
                        QString(), QStringLiteral("Premere Stampa per avviare la stampa"),
                        QStringLiteral("oppure Annulla per rinunciare.")})
{
}

void TfrmStampaProdotto::output()
{
    ReportOutput::print(this, report());
}

TfrmAnteprimaProdotto::TfrmAnteprimaProdotto(QWidget *parent, PageReport::Content page)
    : PageOutputWindow(parent, std::move(page), QStringLiteral("frmAnteprimaProdotto"), QStringLiteral(" Anteprima di stampa"),
                       QStringLiteral("Mostra anteprima"), QStringLiteral("Anteprima di stampa"),
                       {QStringLiteral("Questa operazione mostra in anteprima"),
                        QStringLiteral("i dati che verranno stampati."), QString(),
                        QStringLiteral("Fare clic su Mostra anteprima per vedere"),
                        QStringLiteral("il documento sullo schermo prima"), QStringLiteral("di stamparlo su carta.")})
{
}

void TfrmAnteprimaProdotto::output()
{
    ReportOutput::preview(this, report());
}
