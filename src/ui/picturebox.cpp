#include "ui/picturebox.h"

#include "ui/look.h"

#include <QMouseEvent>
#include <QPainter>

PictureBox::PictureBox(QWidget *parent)
    : QWidget(parent)
{
}

void PictureBox::setImage(const QImage &image)
{
    m_image = image;
    update();
}

void PictureBox::setSvg(const QString &resource)
{
    setImage(Look::svgImage(resource, size(), 2.0));
}

void PictureBox::setClickable(bool clickable)
{
    m_clickable = clickable;
    if (clickable)
        setCursor(Qt::PointingHandCursor);
    else
        unsetCursor();
}

void PictureBox::paintEvent(QPaintEvent *)
{
    if (m_image.isNull())
        return;
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    // At least a pixel each way: a long thin picture stays a visible line.
    const QSizeF fitted =
        QSizeF(m_image.size()).scaled(QSizeF(size()), Qt::KeepAspectRatio).expandedTo(QSizeF(1, 1));
    const QRectF target((width() - fitted.width()) / 2, (height() - fitted.height()) / 2,
                        fitted.width(), fitted.height());
    p.drawImage(target, m_image);
}

void PictureBox::mousePressEvent(QMouseEvent *event)
{
    if (!m_clickable || event->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(event);
    emit pressed();
}

void PictureBox::mouseReleaseEvent(QMouseEvent *event)
{
    if (!m_clickable || event->button() != Qt::LeftButton)
        return QWidget::mouseReleaseEvent(event);
    emit released();
    if (rect().contains(event->position().toPoint()))
        emit clicked();
}
