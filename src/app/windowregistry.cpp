#include "app/windowregistry.h"

#include "access/frmpassword.h"
#include "app/frmavvio.h"
#include "app/persistentwindow.h"
#include "members/frmcandidati.h"
#include "register/frmcatalogo.h"
#include "register/frmlistinoprezzi.h"

#include <QCloseEvent>
#include <QCoreApplication>

#include <functional>

namespace {

struct Entry
{
    const char *name;
    std::function<PersistentWindow *()> create;
};

// In the order of creation; adding a persistent window is one line here.
const Entry kPersistentWindows[] = {
    {"frmPassword", [] { return new TfrmPassword; }},
    {"frmAvvio", [] { return new TfrmAvvio; }},
    {"frmApriCatalogo", [] { return new TfrmApriCatalogo; }},
    {"frmCambiaPassword", [] { return new TfrmCambiaPassword; }},
    {"frmCandidati", [] { return new TfrmCandidati; }},
    {"frmCreaCatalogo", [] { return new TfrmCreaCatalogo; }},
    {"frmListinoPrezzi", [] { return new TfrmListinoPrezzi; }},
};

} // namespace

PersistentWindow::PersistentWindow(QWidget *parent, bool opensMaximised)
    : QWidget(parent)
    , m_opensMaximised(opensMaximised)
{
}

void PersistentWindow::present()
{
    if (m_opensMaximised)
        showMaximized();
    else
        show();
    raise();
    activateWindow();
}

WorkWindow::WorkWindow(QWidget *parent)
    : PersistentWindow(parent, true)
{
}

void WorkWindow::closeEvent(QCloseEvent *event)
{
    event->accept();
    WindowRegistry::instance().showInstead(this, QStringLiteral("frmAvvio"));
}

WindowRegistry &WindowRegistry::instance()
{
    static WindowRegistry registry;
    return registry;
}

void WindowRegistry::createAll()
{
    for (const Entry &entry : kPersistentWindows) {
        PersistentWindow *window = entry.create();
        window->setObjectName(QString::fromLatin1(entry.name));
        m_windows.append(window);
    }
}

void WindowRegistry::destroyAll()
{
    // Latest first: later windows may refer to earlier ones.
    while (!m_windows.isEmpty())
        delete m_windows.takeLast().data();
}

PersistentWindow *WindowRegistry::window(const QString &name) const
{
    for (const auto &window : m_windows)
        if (window && window->objectName() == name)
            return window;
    return nullptr;
}

PersistentWindow *WindowRegistry::mainWindow() const
{
    return m_windows.isEmpty() ? nullptr : m_windows.first().data();
}

void WindowRegistry::showInstead(QWidget *current, const QString &name)
{
    PersistentWindow *next = window(name);
    if (!next || next == current)
        return;
    next->present();
    if (current)
        current->hide();
}

void WindowRegistry::terminate()
{
    for (const auto &window : m_windows)
        if (window)
            window->hide();
    QCoreApplication::quit();
}
