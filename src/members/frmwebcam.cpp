#include "members/frmwebcam.h"

#include "members/camerafeed.h"
#include "members/photodialogs.h"
#include "ui/look.h"
#include "ui/messages.h"
#include "ui/picturebox.h"
#include "ui/shaperect.h"

#include <QLabel>
#include <QPushButton>

namespace {

struct Button
{
    const char *name;
    const char *text;
    QRect geometry;
    void (TfrmWebCam::*click)();
};

const Button kButtons[] = {
    {"btnAccendi", "Accendi webcam", {16, 312, 382, 34}, &TfrmWebCam::btnAccendiClick},
    {"btnSpegni", "Spegni webcam", {16, 352, 382, 34}, &TfrmWebCam::btnSpegniClick},
    {"btnCattura", "Cattura foto", {408, 312, 188, 34}, &TfrmWebCam::btnCatturaClick},
    {"btnSalvaFotogramma", "Salva foto su disco", {603, 312, 188, 34}, &TfrmWebCam::btnSalvaFotogrammaClick},
    {"btnImportaFoto", "Importa foto in scheda", {408, 352, 188, 34}, &TfrmWebCam::btnImportaFotoClick},
    {"btnClose", "Annulla", {603, 352, 188, 34}, &TfrmWebCam::btnCloseClick},
};

PictureBox *framedPicture(QWidget *parent, const QString &panel, const QString &picture, int left,
                          const QString &art)
{
    auto *frame = Look::rect(parent, panel, {left, 16, 382, 290}, Qt::white, Look::TileBorder);
    return Look::picture(frame, picture, {8, 8, 366, 274}, art);
}

} // namespace

TfrmWebCam::TfrmWebCam(QWidget *parent)
    : QDialog(parent)
    , m_camera(new CameraFeed(this))
{
    setObjectName(QStringLiteral("frmWebCam"));
    Look::fixedDialog(this, QStringLiteral(" Cattura foto con webcam"), 807, 405);
    Look::setVerticalGradient(this, QColor(0x4F, 0x73, 0x97), Qt::white);

    imgCamera = framedPicture(this, QStringLiteral("panCamera"), QStringLiteral("imgCamera"), 16,
                              QStringLiteral(":/art/webcam.svg"));
    imgTarget = framedPicture(this, QStringLiteral("panTarget"), QStringLiteral("imgTarget"), 408,
                              QStringLiteral(":/art/fotocamera.svg"));
    imgBianco = Look::picture(this, QStringLiteral("imgBianco"), {0, 0, 366, 274}, QStringLiteral(":/art/webcam.svg"));
    imgBianco->hide();
    lblMemory = new QLabel(this);
    lblMemory->setObjectName(QStringLiteral("lblMemory"));
    lblMemory->hide();

    for (const Button &b : kButtons) {
        auto *button = Look::button(this, QString::fromLatin1(b.name), QString::fromLatin1(b.text), b.geometry,
                                    Look::font(QStringLiteral("Verdana"), 9));
        connect(button, &QPushButton::clicked, this, b.click);
    }
    connect(m_camera, &CameraFeed::frameReady, this, &TfrmWebCam::showFrame);
}

void TfrmWebCam::setMemory(const QString &tag)
{
    lblMemory->setText(tag);
}

void TfrmWebCam::showFrame(const QImage &frame)
{
    imgCamera->setImage(frame);
}

void TfrmWebCam::btnAccendiClick()
{
    if (!m_camera->switchOn())
        Messages::plain(QStringLiteral("Attenzione: non è stata trovata nessuna webcam.\n\r\n\rCollegare la webcam al "
                                       "computer e premere di nuovo Accendi webcam."));
}

void TfrmWebCam::btnSpegniClick()
{
    m_camera->switchOff();
}

void TfrmWebCam::btnCatturaClick()
{
    imgTarget->setImage(imgCamera->image());
}

void TfrmWebCam::btnSalvaFotogrammaClick()
{
    if (PhotoDialogs::save(this, imgTarget->image()) == PhotoDialogs::SaveResult::Failed)
        imgTarget->setImage(imgBianco->image());
}

void TfrmWebCam::btnImportaFotoClick()
{
    m_camera->switchOff();
    if (lblMemory->text() != QStringLiteral("euro_01"))
        return;
    accept();
}

QImage TfrmWebCam::capture() const
{
    return imgTarget->image();
}

void TfrmWebCam::btnCloseClick()
{
    m_camera->switchOff();
    reject();
}
