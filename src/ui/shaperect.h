#pragma once

#include <QColor>
#include <QWidget>

// A rectangle drawn behind controls: a solid or top-to-bottom gradient fill and
// a one-pixel border, itself solid or fading from one colour to another.
class ShapeRect : public QWidget
{
    Q_OBJECT
public:
    explicit ShapeRect(QWidget *parent = nullptr);

    void setFill(const QColor &colour) { setFill(colour, colour); }
    void setFill(const QColor &top, const QColor &bottom);
    void setBorder(const QColor &colour) { setBorder(colour, colour); }
    void setBorder(const QColor &start, const QColor &end);
    // The fill runs from left to right instead of top to bottom.
    void setHorizontal(bool horizontal);

    QColor fillTop() const { return m_fillTop; }
    QColor fillBottom() const { return m_fillBottom; }
    QColor borderStart() const { return m_borderStart; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_fillTop = Qt::white;
    QColor m_fillBottom = Qt::white;
    QColor m_borderStart = Qt::white;
    QColor m_borderEnd = Qt::white;
    bool m_horizontal = false;
};
