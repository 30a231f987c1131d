#include "members/frmzoom.h"

#include "ui/eventhook.h"
#include "ui/look.h"
#include "ui/picturebox.h"

#include <QGridLayout>
#include <QMouseEvent>
#include <QScreen>

TfrmZoom::TfrmZoom(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmZoom"));
    setWindowTitle(QStringLiteral(" Fai clic sulla foto per chiudere questa finestra"));
    setWindowState(Qt::WindowMaximized);
    Look::setVerticalGradient(this, Look::SteelBlue, Qt::white);
    m_panel = Look::centredPanel(this, 100, 100);
    imgFoto = Look::picture(m_panel, QStringLiteral("imgFoto"), m_panel->rect(), QString());
    auto *layout = new QGridLayout(m_panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(imgFoto);

    for (QWidget *clickable : {m_panel, static_cast<QWidget *>(imgFoto)})
        new EventHook(clickable, [this](QEvent *event) {
            if (event->type() == QEvent::MouseButtonRelease)
                accept();
            return false;
        });
}

void TfrmZoom::setPhoto(const QImage &photo)
{
    imgFoto->setImage(photo);
}

void TfrmZoom::showEvent(QShowEvent *event)
{
    if (const QScreen *screen = this->screen())
        m_panel->setFixedSize(screen->size().width() - 60, screen->size().height() - 90);
    QDialog::showEvent(event);
}
