#include "members/placeholderphoto.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

QImage placeholderPhoto()
{
    static const QImage image = [] {
        QImage img(307, 394, QImage::Format_RGB32);
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);

        QLinearGradient background(0, 0, 0, img.height());
        background.setColorAt(0, QColor(0xF4, 0xF7, 0xFA));
        background.setColorAt(1, QColor(0xD8, 0xE5, 0xEF));
        p.fillRect(img.rect(), background);

        const QColor figure(0xA9, 0xBE, 0xD0);
        p.setPen(Qt::NoPen);
        p.setBrush(figure);
        // Shoulders: a rounded bust standing on the bottom edge.
        QPainterPath bust;
        bust.moveTo(28, 394);
        bust.cubicTo(28, 300, 86, 262, 153.5, 262);
        bust.cubicTo(221, 262, 279, 300, 279, 394);
        bust.closeSubpath();
        p.drawPath(bust);
        // Neck and head, with a light ring that separates the head from the bust.
        p.drawRect(QRectF(132, 210, 43, 60));
        p.setPen(QPen(QColor(0xE8, 0xEF, 0xF5), 8));
        p.drawEllipse(QPointF(153.5, 160), 70, 80);
        p.end();
        return img;
    }();
    return image;
}
