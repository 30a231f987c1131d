#include "documents/cardoutputwindow.h"

#include "documents/cardtemplate.h"
#include "report/reportoutput.h"
#include "ui/look.h"
#include "ui/messages.h"
#include "ui/picturebox.h"
#include "ui/shaperect.h"

#include <QPushButton>

#include <new>

CardOutputWindow::CardOutputWindow(QWidget *parent, const Design &design, const TSchedaAnagrafica &card,
                                   const QImage &photo)
    : OutputWindow(parent, design.windowName, design.caption, design.outputButton,
                   {{12, 12, 340, 222}, {12, 246, 145, 28}, {207, 246, 145, 28}})
    , m_design(design)
    , m_card(card)
    , m_report(CardReport::create())
{
    Look::picture(panel(), QStringLiteral("imgSfondo"), {8, 8, 324, 206}, design.art);

    imgLogo = Look::picture(this, QStringLiteral("imgLogo"), {0, 0, 297, 184}, QString());
    imgLogo->hide();
    auto *imgTemp =
        Look::picture(this, QStringLiteral("imgTemp"), {0, 0, 297, 184}, QStringLiteral(":/art/foto_assente.svg"));
    imgTemp->hide();
    // The card's photo; the placeholder when it has none.
    imgLogo->setImage(photo.isNull() ? imgTemp->image() : photo);
}

CardOutputWindow::~CardOutputWindow() = default;

void CardOutputWindow::btnStampaClick()
{
    bool ok = false;
    try {
        CardReport::fill(*m_report, m_card, imgLogo->image());
        ok = output();
    } catch (const std::bad_alloc &) {
        ok = false;
    }
    if (!ok)
        Messages::warning(m_design.failure + QStringLiteral("\n\r\n\rSi consiglia di ridurre le dimensioni della foto."));
    accept();
}

TfrmStampaCandidati::TfrmStampaCandidati(QWidget *parent, const TSchedaAnagrafica &card, const QImage &photo)
    : CardOutputWindow(parent, {QStringLiteral("frmStampaCandidati"), QStringLiteral(" Stampa documento"),
                                QStringLiteral("Stampa"), QStringLiteral(":/art/stampa_scheda.svg"),
                                QStringLiteral("Attenzione: la stampa non è andata a buon fine.")},
                       card, photo)
{
}

bool TfrmStampaCandidati::output()
{
    return ReportOutput::print(this, report()) != ReportOutput::Result::Failed;
}

TfrmAnteprimaCandidati::TfrmAnteprimaCandidati(QWidget *parent, const TSchedaAnagrafica &card,
                                               const QImage &photo)
    : CardOutputWindow(parent, {QStringLiteral("frmAnteprimaCandidati"), QStringLiteral(" Anteprima di stampa"),
                                QStringLiteral("Mostra anteprima"), QStringLiteral(":/art/anteprima_scheda.svg"),
                                QStringLiteral("Attenzione: la visualizzazione dell'anteprima di stampa non è "
                                               "andata a buon fine.")},
                       card, photo)
{
}

bool TfrmAnteprimaCandidati::output()
{
    ReportOutput::preview(this, report());
    return true;
}
