#include "ui/shaperect.h"

#include <QLinearGradient>
#include <QPainter>

ShapeRect::ShapeRect(QWidget *parent)
    : QWidget(parent)
{
}

void ShapeRect::setFill(const QColor &top, const QColor &bottom)
{
    m_fillTop = top;
    m_fillBottom = bottom;
    update();
}

void ShapeRect::setBorder(const QColor &start, const QColor &end)
{
    m_borderStart = start;
    m_borderEnd = end;
    update();
}

void ShapeRect::setHorizontal(bool horizontal)
{
    m_horizontal = horizontal;
    update();
}

void ShapeRect::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QRectF area = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QLinearGradient fill(0, 0, m_horizontal ? width() : 0, m_horizontal ? 0 : height());
    fill.setColorAt(0, m_fillTop);
    fill.setColorAt(1, m_fillBottom);
    QLinearGradient border(0, 0, width(), height());
    border.setColorAt(0, m_borderStart);
    border.setColorAt(1, m_borderEnd);
    p.setBrush(fill);
    p.setPen(QPen(QBrush(border), 1));
    p.drawRect(area);
}
