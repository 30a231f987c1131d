#include "ui/picturebox.h"

#include <QMouseEvent>
#include <QPainter>
#include <QSvgRenderer>

PictureBox::PictureBox(QWidget *parent)
    : QWidget(parent)
{
}

QImage PictureBox::svgImage(const QString &resource, const QSize &size, qreal scale)
{
    QImage image(size * scale, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QSvgRenderer renderer(resource);
    if (renderer.isValid()) {
        QPainter p(&image);
        renderer.setAspectRatioMode(Qt::KeepAspectRatio);
        renderer.render(&p);
    }
    return image;
}

QImage PictureBox::image() const
{
    if (!m_svg.isEmpty()) {
        m_image = svgImage(m_svg, size(), 2.0);
        m_svg.clear();
    }
    return m_image;
}

void PictureBox::setImage(const QImage &image)
{
    m_svg.clear();
    m_image = image;
    update();
}

void PictureBox::setSvg(const QString &resource)
{
    m_svg = resource;
    m_image = QImage();
    update();
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
    const QImage picture = image();
    if (picture.isNull())
        return;
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    // At least a pixel each way: a long thin picture stays a visible line.
    const QSizeF fitted =
        QSizeF(picture.size()).scaled(QSizeF(size()), Qt::KeepAspectRatio).expandedTo(QSizeF(1, 1));
    const QRectF target((width() - fitted.width()) / 2, (height() - fitted.height()) / 2,
                        fitted.width(), fitted.height());
    p.drawImage(target, picture);
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
