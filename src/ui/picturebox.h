#pragma once

#include <QImage>
#include <QWidget>

// A picture: a member's photo or a piece of artwork. The image is kept at its
// own resolution and drawn scaled to fit, proportions kept, centred; saving a
// photo writes the kept image, never the drawn one. A clickable picture shows
// the hand cursor.
class PictureBox : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QImage image READ image WRITE setImage)
public:
    explicit PictureBox(QWidget *parent = nullptr);

    QImage image() const;
    void setImage(const QImage &image);
    // Artwork from the resources, rendered sharp for the widget's size when
    // it is first painted or asked for: a window that is never shown never
    // renders its artwork.
    void setSvg(const QString &resource);

    void setClickable(bool clickable);

    // Renders an SVG resource for a box of the given size, sharp at `scale`.
    static QImage svgImage(const QString &resource, const QSize &size, qreal scale = 1.0);

signals:
    void pressed();
    void released();
    void clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    mutable QImage m_image;
    mutable QString m_svg; // artwork not rendered yet
    bool m_clickable = false;
};
