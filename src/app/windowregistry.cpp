#include "app/windowregistry.h"

#include "access/frmpassword.h"
#include "app/frmavvio.h"
#include "app/persistentwindow.h"
#include "base/backups.h"
#include "members/frmcandidati.h"
#include "register/frmcatalogo.h"
#include "register/frmlistinoprezzi.h"

#include "ui/fieldbehaviours.h"
#include "ui/look.h"

#include <QCloseEvent>
#include <QHideEvent>
#include <QCoreApplication>

#include <functional>
#include <iterator>

namespace {

struct Entry
{
    const char *name;
    std::function<PersistentWindow *()> create;
};

template <typename T>
T *windowNamed(const char *name)
{
    return qobject_cast<T *>(WindowRegistry::instance().window(QString::fromLatin1(name)));
}

// The book list hands the chosen book to the page window, which takes its place.
PersistentWindow *bookList()
{
    auto *list = new TfrmApriCatalogo;
    QObject::connect(list, &TfrmApriCatalogo::bookChosen, list, [list](const RegisterBook &book) {
        windowNamed<TfrmListinoPrezzi>("frmListinoPrezzi")->openBook(book);
        WindowRegistry::instance().showInstead(list, QStringLiteral("frmListinoPrezzi"));
    });
    return list;
}

// Closing the change window brings the password window back, emptied.
PersistentWindow *passwordChange()
{
    auto *change = new TfrmCambiaPassword;
    QObject::connect(change, &TfrmCambiaPassword::closed, change,
                     [] { windowNamed<TfrmPassword>("frmPassword")->showEmptied(); });
    return change;
}

// In the order of creation; adding a persistent window is one line here. The
// windows that hand something to another are wired here, the one place that
// knows them all.
const Entry kPersistentWindows[] = {
    {"frmPassword", [] { return new TfrmPassword; }},
    {"frmAvvio", [] { return new TfrmAvvio; }},
    {"frmApriCatalogo", bookList},
    {"frmCambiaPassword", passwordChange},
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
    Look::commandsAfterFields(this);
    FieldBehaviours::wholeTextTips(this);
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

WorkWindow::~WorkWindow() = default;

void WorkWindow::closeEvent(QCloseEvent *event)
{
    event->accept();
    WindowRegistry::instance().showInstead(this, QStringLiteral("frmAvvio"));
}

void WorkWindow::hideEvent(QHideEvent *event)
{
    PersistentWindow::hideEvent(event);
    if (!event->spontaneous())
        m_held.reset();
}

void WorkWindow::holdFile(const QString &path)
{
    m_held.reset();
    m_held = std::make_unique<FileInUse>(path);
}

WindowRegistry &WindowRegistry::instance()
{
    static WindowRegistry registry;
    return registry;
}

void WindowRegistry::createAll()
{
    for (size_t i = 0; i < std::size(kPersistentWindows); ++i)
        windowAt(i);
}

void WindowRegistry::destroyAll()
{
    // In the reverse of the table's order, however they were created: later
    // windows may refer to earlier ones.
    while (!m_windows.isEmpty())
        delete m_windows.takeLast().data();
}

PersistentWindow *WindowRegistry::windowAt(size_t position)
{
    if (m_windows.size() != qsizetype(std::size(kPersistentWindows)))
        m_windows.resize(qsizetype(std::size(kPersistentWindows)));
    QPointer<PersistentWindow> &window = m_windows[qsizetype(position)];
    if (!window) {
        window = kPersistentWindows[position].create();
        window->setObjectName(QString::fromLatin1(kPersistentWindows[position].name));
    }
    return window;
}

PersistentWindow *WindowRegistry::window(const QString &name)
{
    for (size_t i = 0; i < std::size(kPersistentWindows); ++i)
        if (name == QLatin1String(kPersistentWindows[i].name))
            return windowAt(i);
    return nullptr;
}

PersistentWindow *WindowRegistry::mainWindow()
{
    return windowAt(0);
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
