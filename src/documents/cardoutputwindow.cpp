#include "documents/cardoutputwindow.h"

#include "base/blanks.h"
#include "documents/cardtemplate.h"
#include "report/reportoutput.h"
#include "ui/look.h"
#include "ui/messages.h"
#include "ui/picturebox.h"
#include "ui/shaperect.h"

#include <QLineEdit>
#include <QPushButton>

#include <new>

CardOutputWindow::CardOutputWindow(QWidget *parent, const Design &design)
    : OutputWindow(parent, design.windowName, design.caption, design.outputButton,
                   {{12, 12, 340, 222}, {12, 246, 145, 28}, {207, 246, 145, 28}})
    , m_design(design)
    , m_report(CardReport::create())
{
    Look::picture(panel(), QStringLiteral("imgSfondo"), {8, 8, 324, 206}, design.art);

    imgLogo = Look::picture(this, QStringLiteral("imgLogo"), {0, 0, 297, 184}, QString());
    imgLogo->hide();
    imgTemp = Look::picture(this, QStringLiteral("imgTemp"), {0, 0, 297, 184}, QStringLiteral(":/art/foto_assente.svg"));
    imgTemp->hide();
}

CardOutputWindow::~CardOutputWindow() = default;

void CardOutputWindow::showEvent(QShowEvent *event)
{
    // The photo as the archive window shows it; the placeholder when there is none.
    const auto *photo = parentWidget() ? parentWidget()->findChild<PictureBox *>(QStringLiteral("imgFoto")) : nullptr;
    const QImage image = photo ? photo->image() : QImage();
    imgLogo->setImage(image.isNull() ? imgTemp->image() : image);
    OutputWindow::showEvent(event);
}

void CardOutputWindow::fillReport()
{
    m_report->setOrientation(QPageLayout::Portrait);
    m_report->findObject(QStringLiteral("imgLogo"))->picture = imgLogo->image();
    for (const QString &name : CardReport::valueNames()) {
        const auto *edit = parentWidget() ? parentWidget()->findChild<QLineEdit *>(name) : nullptr;
        m_report->findObject(name)->setText(edit ? Blanks::trimmed(edit->text()) : QString());
    }
}

void CardOutputWindow::btnStampaClick()
{
    bool ok = false;
    try {
        fillReport();
        ok = output();
    } catch (const std::bad_alloc &) {
        ok = false;
    }
    if (!ok)
        Messages::warning(m_design.failure + QStringLiteral("\n\r\n\rSi consiglia di ridurre le dimensioni della foto."));
    accept();
}

TfrmStampaCandidati::TfrmStampaCandidati(QWidget *parent)
    : CardOutputWindow(parent, {QStringLiteral("frmStampaCandidati"), QStringLiteral(" Stampa documento"),
                                QStringLiteral("Stampa"), QStringLiteral(":/art/stampa_scheda.svg"),
                                QStringLiteral("Attenzione: la stampa non è andata a buon fine.")})
{
}

bool TfrmStampaCandidati::output()
{
    return ReportOutput::print(this, report()) != ReportOutput::Result::Failed;
}

TfrmAnteprimaCandidati::TfrmAnteprimaCandidati(QWidget *parent)
    : CardOutputWindow(parent, {QStringLiteral("frmAnteprimaCandidati"), QStringLiteral(" Anteprima di stampa"),
                                QStringLiteral("Mostra anteprima"), QStringLiteral(":/art/anteprima_scheda.svg"),
                                QStringLiteral("Attenzione: la visualizzazione dell'anteprima di stampa non è "
                                               "andata a buon fine.")})
{
}

bool TfrmAnteprimaCandidati::output()
{
    ReportOutput::preview(this, report());
    return true;
}
