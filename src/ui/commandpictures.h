#pragma once

#include "ui/fieldbehaviours.h"
#include "ui/look.h"
#include "ui/picturebox.h"
#include "ui/statushints.h"

#include <QKeySequence>
#include <QLineEdit>
#include <QRect>

// A window's command pictures, each from a line of a table: the picture, its
// place, its status-line hint (also its tooltip, unless it has one of its
// own), the handler it runs and the keys that run it too.
template <typename Window>
struct CommandPicture
{
    const char *name;
    QRect geometry;
    const char *art;
    const char *hint;
    void (Window::*click)(); // none for a command whose window does not exist
    QKeyCombination keys = {};
    const char *tooltip = nullptr;
};

template <typename Window, size_t N>
void placeCommandPictures(Window *window, QWidget *panel, StatusHints *hints,
                          const CommandPicture<Window> (&commands)[N])
{
    QList<QKeySequence> keys;
    for (const CommandPicture<Window> &c : commands) {
        auto *button = Look::picture(panel, QString::fromUtf8(c.name), c.geometry, QString::fromUtf8(c.art), true);
        if (c.click)
            QObject::connect(button, &PictureBox::clicked, window, c.click);
        hints->addHint(button, QString::fromUtf8(c.hint));
        if (c.tooltip)
            button->setToolTip(QString::fromUtf8(c.tooltip));
        if (c.keys != QKeyCombination()) {
            Look::shortcut(window, QKeySequence(c.keys), button);
            keys << QKeySequence(c.keys);
        }
    }
    // The fields leave the commands' keys (Ctrl+Home among them) to the window.
    FieldBehaviours::leaveKeysToWindow(window->template findChildren<QLineEdit *>(), keys);
}
