#include "ui/picturebox.h"

#include <QKeyEvent>
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
    // A command picture is reached with Tab as a button is, and started by
    // Enter or Space; a click leaves the focus where it was, as a toolbar's.
    m_clickable = clickable;
    setFocusPolicy(clickable ? Qt::TabFocus : Qt::NoFocus);
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
    if (hasFocus()) {
        // The buttons' own focus mark.
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(0x1F, 0x3B, 0x57), 2));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 3, 3);
    }
}

void PictureBox::keyPressEvent(QKeyEvent *event)
{
    const int key = event->key();
    if (m_clickable && isEnabled() && !event->isAutoRepeat()
        && (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space)) {
        emit clicked();
        return;
    }
    QWidget::keyPressEvent(event);
}

void PictureBox::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    update();
}

void PictureBox::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    update();
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
