#pragma once

#include <QList>
#include <QPointer>
#include <QString>

class PersistentWindow;
class QWidget;

// The persistent windows, created once in a fixed order (the first is the
// application's main window and the first shown), and the moves between them.
class WindowRegistry
{
public:
    static WindowRegistry &instance();

    void createAll();
    void destroyAll();

    // The window of that variable name ("frmAvvio"), or null when there is none.
    PersistentWindow *window(const QString &name) const;
    PersistentWindow *mainWindow() const;

    // Shows the named window in place of `current`; nothing happens when the
    // named window does not exist.
    void showInstead(QWidget *current, const QString &name);

    // Ends the program at once: every window goes away and the event loop stops.
    void terminate();

private:
    WindowRegistry() = default;
    QList<QPointer<PersistentWindow>> m_windows;
};
