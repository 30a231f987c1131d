#include "report/reportrenderer.h"

#include "base/fontfamily.h"

#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>

namespace Report {

namespace {

// A font whose size is right in millimetre units on any device.
QFont fontFor(const Object &o, const QPaintDevice *device)
{
    QFont font = fontOfFamily(o.fontFamily);
    font.setStyleStrategy(QFont::PreferAntialias);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setBold(o.bold);
    // Points turn into device pixels at the device's resolution; the painter
    // then scales device pixels per millimetre: undo the one with the other.
    font.setPointSizeF(o.fontPoints * 25.4 / device->logicalDpiY());
    return font;
}

void drawFrame(QPainter &painter, const QRectF &rect, const QColor &fill, const QColor &frame)
{
    if (fill.isValid())
        painter.fillRect(rect, fill);
    if (frame.isValid()) {
        painter.setPen(QPen(frame, 0.2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect);
    }
}

void drawMemo(QPainter &painter, const Item &item)
{
    const Object &o = *item.source;
    drawFrame(painter, item.rect, o.fill, o.frame);
    if (item.lines.isEmpty())
        return;
    painter.save();
    painter.setClipRect(item.rect);
    painter.setFont(fontFor(o, painter.device()));
    painter.setPen(o.textColour);
    const qreal lh = o.lineHeight();
    const qreal block = lh * item.lines.size();
    qreal y = item.rect.top();
    if (o.alignment & Qt::AlignVCenter)
        y += (item.rect.height() - block) / 2;
    else if (o.alignment & Qt::AlignBottom)
        y += item.rect.height() - block;
    const QRectF text = item.rect.adjusted(o.padding, 0, -o.padding, 0);
    const int horizontal = int(o.alignment & Qt::AlignHorizontal_Mask);
    for (const QString &line : item.lines) {
        // Never wrapped: the clip cuts what passes the frame.
        painter.drawText(QRectF(text.left(), y, text.width(), lh), horizontal | Qt::AlignVCenter | Qt::TextDontClip,
                         line);
        y += lh;
    }
    painter.restore();
}

} // namespace

void renderPage(QPainter &painter, const Page &page)
{
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    for (const Item &item : page.items) {
        switch (item.source->kind()) {
        case Object::Memo:
            drawMemo(painter, item);
            break;
        case Object::Shape:
            drawFrame(painter, item.rect, item.source->fill, item.source->frame);
            break;
        case Object::Picture:
            if (!item.source->picture.isNull())
                painter.drawImage(item.pictureRect, item.source->picture);
            break;
        }
    }
}

bool paintPages(QPagedPaintDevice &device, const std::vector<Page> &pages, QPageLayout::Orientation orientation)
{
    device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), orientation, QMarginsF(0, 0, 0, 0)));
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    for (size_t i = 0; i < pages.size(); ++i) {
        if (i > 0 && !device.newPage())
            return false;
        painter.save();
        const qreal scale = device.logicalDpiX() / 25.4;
        painter.scale(scale, scale);
        renderPage(painter, pages[i]);
        painter.restore();
    }
    return painter.end();
}

bool writePdf(const QString &path, const Template &report)
{
    QPdfWriter pdf(path);
    pdf.setResolution(300);
    pdf.setCreator(QStringLiteral("Quorvel con Vori"));
    pdf.setTitle(report.name());
    return paintPages(pdf, report.prepare(), report.orientation());
}

} // namespace Report
