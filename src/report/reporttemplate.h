#pragma once

#include <QColor>
#include <QImage>
#include <QList>
#include <QPageLayout>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

// Templates of printed output: a sheet (A4, orientation, margins) holding named
// objects, and for the summaries three bands (title, data, footer) stacked
// down the page. Every length is in millimetres; positions are from the corner
// of the printable area (inside the margins), or from the band's top.
class QPainter;

namespace Report {

// 96 screen units to the inch, as the templates' figures are given.
constexpr qreal unitsToMm(qreal units) { return units * 25.4 / 96.0; }

class Object
{
public:
    enum Kind { Memo, Picture, Shape, Drawing };

    Object(Kind kind, const QString &name, const QRectF &rect)
        : m_kind(kind), m_name(name), m_rect(rect) {}

    Kind kind() const { return m_kind; }
    const QString &name() const { return m_name; }
    QRectF rect() const { return m_rect; }
    void setHeight(qreal mm) { m_rect.setHeight(mm); }

    // Memo: lines of text, printed literally, one printed line each, never
    // wrapped and cut at the frame.
    QStringList lines() const { return m_lines; }
    void setText(const QString &text);
    void setLines(const QStringList &lines) { m_lines = lines; }
    qsizetype lineCount() const { return m_lines.size(); }

    QString fontFamily = QStringLiteral("Arial");
    qreal fontPoints = 10;
    bool bold = false;
    QColor textColour = Qt::black;
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop;
    qreal padding = 0; // mm between the frame and the text, left and right

    // Memo and shape: fill (none when invalid) and frame (none when invalid).
    QColor fill;
    QColor frame;

    // Picture: drawn as large as the frame allows, proportions kept, centred.
    QImage picture;

    // Drawing: paints itself into its frame (in millimetres), as vectors
    // wherever the output keeps them.
    std::function<void(QPainter &painter, const QRectF &frame)> draw;

    // The height of one printed line of this memo's font.
    qreal lineHeight() const;

private:
    Kind m_kind;
    QString m_name;
    QRectF m_rect;
    QStringList m_lines;
};

class Band
{
public:
    enum Kind { Title, Data, Footer };
    Band(Kind kind, const QString &name, qreal height) : m_kind(kind), m_name(name), m_height(height) {}

    Kind kind() const { return m_kind; }
    const QString &name() const { return m_name; }
    qreal height() const { return m_height; }
    void setHeight(qreal mm) { m_height = mm; }

    std::vector<std::unique_ptr<Object>> objects;

private:
    Kind m_kind;
    QString m_name;
    qreal m_height;
};

// A piece of a laid-out page: positions are from the sheet's corner.
struct Item
{
    const Object *source;
    QRectF rect;          // the object's frame on this page
    QStringList lines;    // memo lines that fall on this page
    QRectF pictureRect;   // where the picture lands, fitted and centred
};

struct Page
{
    QSizeF size; // the sheet, in mm
    std::vector<Item> items;
};

class Template
{
public:
    Template(const QString &name, QPageLayout::Orientation orientation, const QMarginsF &margins);

    const QString &name() const { return m_name; }
    QPageLayout::Orientation orientation() const { return m_orientation; }
    void setOrientation(QPageLayout::Orientation o) { m_orientation = o; }
    QMarginsF margins() const { return m_margins; }
    QSizeF sheetSize() const;
    QSizeF printableSize() const;

    // Objects placed on the page itself (templates without bands).
    Object *addObject(Object::Kind kind, const QString &name, const QRectF &rect);
    // A memo in the given font, colour and alignment.
    Object *addText(const QString &name, const QRectF &rect, const QString &family, qreal points, bool bold,
                    Qt::Alignment alignment, const QColor &colour = Qt::black);
    Band *addBand(Band::Kind kind, const QString &name, qreal height);

    // The object of that name, on the page or in a band; null when there is none.
    Object *findObject(const QString &name) const;
    Band *findBand(const QString &name) const;

    // Lays out the pages from the template as it stands now.
    std::vector<Page> prepare() const;

private:
    QString m_name;
    QPageLayout::Orientation m_orientation;
    QMarginsF m_margins;
    std::vector<std::unique_ptr<Object>> m_objects;
    std::vector<std::unique_ptr<Band>> m_bands;
};

// Where a picture of `size` lands in `frame`: as large as fits, centred.
QRectF fitCentred(const QSizeF &size, const QRectF &frame);

} // namespace Report
