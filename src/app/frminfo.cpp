#include "app/frminfo.h"

#include "app/maker.h"
#include "base/tmisc.h"
#include "ui/linklabel.h"
#include "ui/look.h"
#include "ui/picturebox.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>

TfrmInfo::TfrmInfo(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmInfo"));
    Look::fixedDialog(this, QStringLiteral(" Informazioni su Quorvel con Vori"), 473, 579);
    Look::setVerticalGradient(this, Look::SteelBlue, Qt::white);

    auto *pan = Look::place(new QWidget(this), QStringLiteral("panContainer"), {15, 15, 442, 490});
    Look::rect(pan, QStringLiteral("shpSfondo"), {8, 8, 425, 72}, Qt::white, QColor(0x84, 0xAD, 0xD0));
    Look::picture(pan, QStringLiteral("imgLogo"), {24, 16, 392, 54}, QStringLiteral(":/art/info_titolo.svg"));

    // What the program is, on a white card below the title.
    Look::rect(pan, QStringLiteral("shpTesto"), {8, 92, 425, 390}, Qt::white, QColor(0x84, 0xAD, 0xD0));
    auto *lblProdotto = Look::label(pan, QStringLiteral("lblProdotto"), QStringLiteral("Quorvel con Vori"),
                                    {24, 108}, Look::font(QStringLiteral("Verdana"), 16, true), Look::SteelBlue.darker(140));
    Look::label(pan, QStringLiteral("lblVersione"),
                QStringLiteral("Versione %1").arg(QCoreApplication::applicationVersion().isEmpty()
                                                      ? QStringLiteral("1.0")
                                                      : QCoreApplication::applicationVersion()),
                {24, lblProdotto->geometry().bottom() + 6}, Look::font(QStringLiteral("Verdana"), 10));
    auto *lblDescrizione = Look::label(
        pan, QStringLiteral("lblDescrizione"),
        QStringLiteral("Il programma con cui l'associazione tiene il Quorvel, il registro dei propri soci: "
                       "l'archivio delle schede anagrafiche con foto e documenti allegati, i Quorvel con le "
                       "pagine da otto soci e il frontespizio, le ricerche, i riepiloghi, le stampe e "
                       "l'esportazione dei dati.\n\n"
                       "Tutti i dati restano nella cartella del programma: per spostarli o farne una copia "
                       "di sicurezza basta copiare la cartella."),
        {24, 172}, Look::font(QStringLiteral("Verdana"), 10));
    lblDescrizione->setWordWrap(true);
    lblDescrizione->setFixedWidth(393);
    lblDescrizione->adjustSize();
    Look::label(pan, QStringLiteral("lblCopyright"), Maker::Notice, {24, 440}, Look::font(QStringLiteral("Verdana"), 9),
                QColor(0x55, 0x55, 0x55));

    auto *btnChiudi = Look::button(this, QStringLiteral("btnChiudi"), QStringLiteral("Chiudi"), {297, 523, 161, 41},
                                   Look::font(QStringLiteral("Verdana"), 12));
    auto *imgEmail = Look::picture(this, QStringLiteral("imgEmail"), {15, 531, 23, 16}, QStringLiteral(":/art/ico_email.svg"));
    auto *lnkWeb = new LinkLabel(Maker::Email, this);
    lnkWeb->setObjectName(QStringLiteral("lnkWeb"));
    lnkWeb->move(46, 528);
    lnkWeb->adjustSize();
    lnkWeb->attachPicture(imgEmail);

    connect(btnChiudi, &QPushButton::clicked, this, &QDialog::accept);
    connect(lnkWeb, &LinkLabel::activated, this, &TfrmInfo::lnkWebClick);
}

void TfrmInfo::showEvent(QShowEvent *event)
{
    // Centred on the screen, not on the launcher.
    Look::centreOnScreen(this);
    QDialog::showEvent(event);
}

void TfrmInfo::lnkWebClick()
{
    TMisc::Open(Maker::mailLink());
}
