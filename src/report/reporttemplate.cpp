#include "report/reporttemplate.h"

#include <QRegularExpression>

namespace Report {

namespace {
constexpr QSizeF kA4(210.0, 297.0);
constexpr qreal kPointMm = 25.4 / 72.0;
} // namespace

void Object::setText(const QString &text)
{
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\n|\r"));
    m_lines = text.isEmpty() ? QStringList() : text.split(lineBreak);
}

qreal Object::lineHeight() const
{
    // The summaries measure Courier New 8 pt at 12.822 screen units a line;
    // every font keeps the same proportion.
    return fontPoints * kPointMm * (12.822 / (8 * 96 / 72.0));
}

QRectF fitCentred(const QSizeF &size, const QRectF &frame)
{
    if (size.isEmpty())
        return QRectF();
    const QSizeF fitted = size.scaled(frame.size(), Qt::KeepAspectRatio);
    return QRectF(frame.left() + (frame.width() - fitted.width()) / 2,
                  frame.top() + (frame.height() - fitted.height()) / 2, fitted.width(), fitted.height());
}

Template::Template(const QString &name, QPageLayout::Orientation orientation, const QMarginsF &margins)
    : m_name(name)
    , m_orientation(orientation)
    , m_margins(margins)
{
}

QSizeF Template::sheetSize() const
{
    return m_orientation == QPageLayout::Portrait ? kA4 : kA4.transposed();
}

QSizeF Template::printableSize() const
{
    const QSizeF sheet = sheetSize();
    return QSizeF(sheet.width() - m_margins.left() - m_margins.right(),
                  sheet.height() - m_margins.top() - m_margins.bottom());
}

Object *Template::addObject(Object::Kind kind, const QString &name, const QRectF &rect)
{
    m_objects.push_back(std::make_unique<Object>(kind, name, rect));
    return m_objects.back().get();
}

Object *Template::addText(const QString &name, const QRectF &rect, const QString &family, qreal points, bool bold,
                          Qt::Alignment alignment, const QColor &colour)
{
    Object *o = addObject(Object::Memo, name, rect);
    o->fontFamily = family;
    o->fontPoints = points;
    o->bold = bold;
    o->textColour = colour;
    o->alignment = alignment;
    return o;
}

Band *Template::addBand(Band::Kind kind, const QString &name, qreal height)
{
    m_bands.push_back(std::make_unique<Band>(kind, name, height));
    return m_bands.back().get();
}

Object *Template::findObject(const QString &name) const
{
    for (const auto &o : m_objects)
        if (o->name() == name)
            return o.get();
    for (const auto &b : m_bands)
        for (const auto &o : b->objects)
            if (o->name() == name)
                return o.get();
    return nullptr;
}

Band *Template::findBand(const QString &name) const
{
    for (const auto &b : m_bands)
        if (b->name() == name)
            return b.get();
    return nullptr;
}

namespace {

Item place(const Object &o, const QRectF &rect, const QStringList &lines)
{
    Item item{&o, rect, lines, QRectF()};
    if (o.kind() == Object::Picture)
        item.pictureRect = fitCentred(o.picture.size(), rect);
    return item;
}

// Lays out a data band that does not fit on the page: each memo prints the
// whole lines that fit, the rest goes on at the top of the next page. Returns
// where the band ends on the last page.
qreal layOutSplitting(const Band &band, const QPointF &origin, qreal bottom, qreal top, std::vector<Page> &pages)
{
    qreal memoTop = band.height();
    qreal memoBottom = 0;
    for (const auto &o : band.objects) {
        if (o->kind() == Object::Memo) {
            memoTop = qMin(memoTop, o->rect().top());
            memoBottom = qMax(memoBottom, o->rect().bottom());
        }
    }
    std::vector<qsizetype> done(band.objects.size(), 0);
    qreal bandTop = top;
    qreal printedBottom = top;
    for (bool firstPage = true;; firstPage = false) {
        bool more = false;
        for (size_t i = 0; i < band.objects.size(); ++i) {
            const Object &o = *band.objects[i];
            const QRectF r = o.rect().translated(origin.x(), bandTop);
            if (o.kind() != Object::Memo) {
                if (firstPage)
                    pages.back().items.push_back(place(o, r, {}));
                continue;
            }
            qsizetype fit = qsizetype((bottom - r.top()) / o.lineHeight() + 1e-6);
            if (!firstPage)
                fit = qMax<qsizetype>(1, fit);
            const qsizetype count = qMax<qsizetype>(0, qMin(fit, o.lineCount() - done[i]));
            if (count > 0) {
                QRectF part = r;
                part.setHeight(count * o.lineHeight());
                pages.back().items.push_back(place(o, part, o.lines().mid(done[i], count)));
                done[i] += count;
                printedBottom = qMax(printedBottom, part.bottom());
            }
            more = more || done[i] < o.lineCount();
        }
        if (!more)
            break;
        pages.push_back(Page{pages.back().size, {}});
        bandTop = origin.y() - memoTop;
        printedBottom = origin.y();
    }
    return printedBottom + (band.height() - memoBottom);
}

} // namespace

std::vector<Page> Template::prepare() const
{
    const QPointF origin(m_margins.left(), m_margins.top());
    const qreal bottom = m_margins.top() + printableSize().height();
    std::vector<Page> pages(1, Page{sheetSize(), {}});

    for (const auto &o : m_objects)
        pages.back().items.push_back(place(*o, o->rect().translated(origin), o->lines()));

    // Bands stack down the page in the order title, data, footer. A data band
    // that does not fit goes on over the following pages, its memos split
    // between whole lines; other bands move whole to a new page.
    qreal y = origin.y();
    for (Band::Kind kind : {Band::Title, Band::Data, Band::Footer}) {
        for (const auto &band : m_bands) {
            if (band->kind() != kind)
                continue;
            if (y + band->height() > bottom && y > origin.y() && kind != Band::Data) {
                pages.push_back(Page{sheetSize(), {}});
                y = origin.y();
            }
            if (kind != Band::Data || y + band->height() <= bottom) {
                for (const auto &o : band->objects)
                    pages.back().items.push_back(place(*o, o->rect().translated(origin.x(), y), o->lines()));
                y += band->height();
                continue;
            }
            y = layOutSplitting(*band, origin, bottom, y, pages);
        }
    }
    return pages;
}

} // namespace Report
