#pragma once

#include <QList>
#include <QPointer>
#include <QString>

class PersistentWindow;
class QWidget;
struct QMetaObject;

// The persistent windows, each created once and kept until the end (the first
// in the table is the application's main window and the first shown), and the
// moves between them. Start-up creates them all in the table's order; a window
// asked for before that is created on the spot.
class WindowRegistry
{
public:
    static WindowRegistry &instance();

    // Creates every window not created yet.
    void createAll();
    void destroyAll();

    // The window of that variable name ("frmAvvio"), or of that class,
    // created if need be; null when there is no such window.
    PersistentWindow *window(const QString &name);
    PersistentWindow *window(const QMetaObject &type);
    PersistentWindow *mainWindow();

    // Shows `next` in place of `current`.
    void showInstead(QWidget *current, PersistentWindow *next);

    // Ends the program at once: every window goes away and the event loop stops.
    void terminate();

private:
    WindowRegistry() = default;
    PersistentWindow *windowAt(size_t position);

    // In the table's order; null for a window not created yet.
    QList<QPointer<PersistentWindow>> m_windows;
};
