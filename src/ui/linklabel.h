#pragma once

#include <QLabel>

class PictureBox;

// An underlined link text, dark blue, orange while a mouse button is held down
// on it or on its picture; a click on either emits activated().
class LinkLabel : public QLabel
{
    Q_OBJECT
public:
    LinkLabel(const QString &text, QWidget *parent = nullptr);

    void attachPicture(PictureBox *picture);
    bool isPressedLook() const;

signals:
    void activated();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void setPressedLook(bool pressed);
    void click();
};
