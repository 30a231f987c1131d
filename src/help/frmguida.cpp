#include "help/frmguida.h"

#include "base/tmisc.h"
#include "base/programfolder.h"
#include "ui/linklabel.h"
#include "ui/look.h"
#include "ui/modal.h"
#include "ui/picturebox.h"
#include "ui/shaperect.h"

#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>

const QString TfrmGuida::GuideName = QStringLiteral("Guida.pdf");

namespace {

// The blue question mark beside the window's title.
QImage heading()
{
    const QSize size(587, 69);
    return Look::drawnImage(size, [&](QPainter &p) {
        p.setPen(Qt::NoPen);
        p.setBrush(Look::SteelBlue);
        p.drawEllipse(QRectF(6, 6, 57, 57));
        p.setPen(Qt::white);
        p.setFont(Look::font(QStringLiteral("Verdana"), 28, true));
        p.drawText(QRectF(6, 6, 57, 57), Qt::AlignCenter, QStringLiteral("?"));
        p.setPen(QColor(0x1F, 0x3B, 0x57));
        p.setFont(Look::font(QStringLiteral("Verdana"), 18, true));
        p.drawText(QRectF(80, 0, size.width() - 80, size.height()), Qt::AlignVCenter,
                   QStringLiteral("Guida all'utilizzo del software"));
    });
}

} // namespace

TfrmGuida::TfrmGuida(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmGuida"));
    Look::fixedDialog(this, QStringLiteral(" Guida all'utilizzo del software"), 670, 572);
    Look::setVerticalGradient(this, Qt::white, QColor(0xBF, 0xD8, 0xEF));
    QWidget *pan = Look::centredPanel(this, 642, 540);
    Look::rect(pan, QStringLiteral("shpSfondo"), {8, 8, 625, 89}, Qt::white, QColor(0xF5, 0xDE, 0xB3));
    Look::place(new PictureBox(pan), QStringLiteral("imgLogo"), {24, 16, 587, 69})->setImage(heading());
    lblTitolo = Look::label(pan, QStringLiteral("lblTitolo"), QStringLiteral("Argomento della guida."), {8, 104},
                            Look::font(QStringLiteral("Arial"), 16, true), QColor(0xDC, 0x14, 0x3C));
    txtGuida = Look::place(new QPlainTextEdit(pan), QStringLiteral("txtGuida"), {8, 128, 625, 350});
    txtGuida->setReadOnly(true);
    txtGuida->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    txtGuida->setFont(Look::font(QStringLiteral("Verdana"), 12, true));

    auto *imgPDF = Look::picture(pan, QStringLiteral("imgPDF"), {8, 496, 27, 27}, QStringLiteral(":/art/ico_pdf.svg"), true);
    auto *lnkWeb = new LinkLabel(QStringLiteral("Visualizza guida in formato PDF"), pan);
    lnkWeb->setObjectName(QStringLiteral("lnkWeb"));
    lnkWeb->move(44, 500);
    lnkWeb->adjustSize();
    lnkWeb->attachPicture(imgPDF);
    auto *btnChiudi = Look::button(pan, QStringLiteral("btnChiudi"), QStringLiteral("Chiudi"), {472, 490, 161, 38},
                                   Look::font(QStringLiteral("Verdana"), 9));
    connect(lnkWeb, &LinkLabel::activated, this, &TfrmGuida::lnkWebClick);
    connect(btnChiudi, &QPushButton::clicked, this, &QDialog::accept);
}

void TfrmGuida::showTopic(QWidget *opener, const HelpTexts::Topic &topic)
{
    TfrmGuida frmGuida(opener);
    frmGuida.setTopic(topic);
    Modal::show(&frmGuida);
}

void TfrmGuida::setTopic(const HelpTexts::Topic &topic)
{
    lblTitolo->setText(topic.title);
    lblTitolo->adjustSize();
    txtGuida->setPlainText(topic.text());
}

void TfrmGuida::showEvent(QShowEvent *event)
{
    Look::centreOnScreen(this);
    QDialog::showEvent(event);
}

void TfrmGuida::lnkWebClick()
{
    TMisc::Open(u'"' + ProgramFolder::file(GuideName) + u'"');
}
