#pragma once

#include "ui/look.h"
#include "ui/picturebox.h"
#include "ui/statushints.h"

#include <QRect>

// A window's command pictures, each from a line of a table: the picture, its
// place, its status-line hint (also its tooltip) and the handler it runs.
template <typename Window>
struct CommandPicture
{
    const char *name;
    QRect geometry;
    const char *art;
    const char *hint;
    void (Window::*click)(); // none for a command whose window does not exist
};

template <typename Window, size_t N>
void placeCommandPictures(Window *window, QWidget *panel, StatusHints *hints,
                          const CommandPicture<Window> (&commands)[N])
{
    for (const CommandPicture<Window> &c : commands) {
        auto *button = Look::picture(panel, QString::fromUtf8(c.name), c.geometry, QString::fromUtf8(c.art), true);
        if (c.click)
            QObject::connect(button, &PictureBox::clicked, window, c.click);
        hints->addHint(button, QString::fromUtf8(c.hint));
    }
}
