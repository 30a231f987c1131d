#include "ui/linklabel.h"

#include "ui/look.h"
#include "ui/picturebox.h"

#include <QMouseEvent>

LinkLabel::LinkLabel(const QString &text, QWidget *parent)
    : QLabel(text, parent)
{
    QFont f = Look::font(QStringLiteral("Tahoma"), 14);
    f.setUnderline(true);
    setFont(f);
    setCursor(Qt::PointingHandCursor);
    setPressedLook(false);
}

void LinkLabel::attachPicture(PictureBox *picture)
{
    picture->setClickable(true);
    connect(picture, &PictureBox::pressed, this, [this] { setPressedLook(true); });
    connect(picture, &PictureBox::released, this, [this] { setPressedLook(false); });
    connect(picture, &PictureBox::clicked, this, &LinkLabel::click);
}

bool LinkLabel::isPressedLook() const
{
    return palette().color(QPalette::WindowText) == Look::LinkPressed;
}

void LinkLabel::setPressedLook(bool pressed)
{
    QPalette p = palette();
    p.setColor(QPalette::WindowText, pressed ? Look::LinkPressed : Look::LinkBlue);
    setPalette(p);
}

void LinkLabel::click()
{
    setPressedLook(false);
    emit activated();
}

void LinkLabel::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        setPressedLook(true);
}

void LinkLabel::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    setPressedLook(false);
    if (rect().contains(event->position().toPoint()))
        click();
}
