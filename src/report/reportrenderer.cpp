#include "report/reportrenderer.h"

#include "base/fontfamily.h"
#include "base/wholefile.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>

namespace Report {

namespace {

// Text is laid out in hundredths of a millimetre: fonts come in whole pixel
// sizes, and in these units every point size is exact to a hundredth.
constexpr qreal kTextUnits = 100;

QFont fontFor(const Object &o)
{
    QFont font = fontOfFamily(o.fontFamily);
    font.setStyleStrategy(QFont::PreferAntialias);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setBold(o.bold);
    font.setPixelSize(qMax(1, qRound(o.fontPoints * 25.4 / 72 * kTextUnits)));
    return font;
}

// The longest start of `line` that fits in `width` whole: nothing is drawn,
// or written into a PDF's text, beyond the memo's frame.
QString fitted(const QString &line, const QFontMetricsF &metrics, qreal width)
{
    if (metrics.horizontalAdvance(line) <= width)
        return line;
    qsizetype fits = 0, fails = line.size();
    while (fails - fits > 1) {
        const qsizetype middle = (fits + fails) / 2;
        if (metrics.horizontalAdvance(line.left(middle)) <= width)
            fits = middle;
        else
            fails = middle;
    }
    return line.left(fits);
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
    painter.scale(1 / kTextUnits, 1 / kTextUnits);
    painter.setFont(fontFor(o));
    painter.setPen(o.textColour);
    const QFontMetricsF metrics(painter.font(), painter.device());
    const qreal lh = o.lineHeight() * kTextUnits;
    const qreal block = lh * item.lines.size();
    const QRectF frame(item.rect.topLeft() * kTextUnits, item.rect.size() * kTextUnits);
    qreal y = frame.top();
    if (o.alignment & Qt::AlignVCenter)
        y += (frame.height() - block) / 2;
    else if (o.alignment & Qt::AlignBottom)
        y += frame.height() - block;
    const qreal padding = o.padding * kTextUnits;
    const QRectF text = frame.adjusted(padding, 0, -padding, 0);
    const int horizontal = int(o.alignment & Qt::AlignHorizontal_Mask);
    for (const QString &line : item.lines) {
        // Never wrapped: what passes the frame is left out.
        painter.drawText(QRectF(text.left(), y, text.width(), lh), horizontal | Qt::AlignVCenter | Qt::TextDontClip,
                         fitted(line, metrics, text.width()));
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
        case Object::Drawing:
            if (item.source->draw) {
                painter.save();
                painter.setClipRect(item.rect);
                item.source->draw(painter, item.rect);
                painter.restore();
            }
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
    WholeFile file(path);
    if (!file.open())
        return false;
    QPdfWriter pdf(file.device());
    pdf.setResolution(300);
    pdf.setCreator(QStringLiteral("Quorvel con Vori"));
    pdf.setTitle(report.name());
    return paintPages(pdf, report.prepare(), report.orientation()) && file.commit();
}

} // namespace Report
