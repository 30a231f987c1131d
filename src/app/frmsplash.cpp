#include "app/frmsplash.h"

#include "app/maker.h"
#include "base/tmisc.h"
#include "ui/linklabel.h"
#include "ui/look.h"
#include "ui/picturebox.h"

#include <QPushButton>

TfrmSplash::TfrmSplash(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmSplash"));
    Look::fixedDialog(this, QStringLiteral(" Quorvel con Vori - ") + Maker::Notice, 661, 467);
    Look::setVerticalGradient(this, Qt::white, QColor(0x35, 0x25, 0x25));
    QWidget *pan = Look::centredPanel(this, 642, 448);

    Look::picture(pan, QStringLiteral("imgLogo"), {8, 8, 625, 380}, QStringLiteral(":/art/crediti.svg"));
    auto *btnChiudi = Look::button(pan, QStringLiteral("btnChiudi"), QStringLiteral("Chiudi"),
                                   {473, 402, 160, 34}, Look::font(QStringLiteral("Verdana"), 10));
    // A light band keeps the dark blue link readable on the dark end of the gradient.
    Look::rect(pan, QStringLiteral("shpWeb"), {4, 396, 212, 44}, Qt::white, Look::TileBorder);
    auto *imgWeb = Look::picture(pan, QStringLiteral("imgWeb"), {8, 400, 39, 36}, QStringLiteral(":/art/ico_web.svg"));
    auto *lnkWeb = new LinkLabel(Maker::webAddressShown(), pan);
    lnkWeb->setObjectName(QStringLiteral("lnkWeb"));
    lnkWeb->move(54, 409);
    lnkWeb->adjustSize();
    lnkWeb->attachPicture(imgWeb);

    connect(btnChiudi, &QPushButton::clicked, this, &QDialog::accept);
    connect(lnkWeb, &LinkLabel::activated, this, &TfrmSplash::lnkWebClick);
}

void TfrmSplash::lnkWebClick()
{
    TMisc::Open(Maker::WebAddress);
}
