#include "app/windowregistry.h"

#include "access/frmpassword.h"
#include "app/frmavvio.h"
#include "members/frmcandidati.h"
#include "register/frmcatalogo.h"
#include "register/frmlistinoprezzi.h"

#include "ui/persistentwindow.h"

#include <QCoreApplication>

#include <functional>
#include <iterator>

namespace {

struct Entry
{
    const char *name;
    const QMetaObject *type;
    std::function<PersistentWindow *()> create;
};

template <typename T>
Entry entry(const char *name, std::function<T *()> create)
{
    return {name, &T::staticMetaObject, [create] { return create(); }};
}

// The window of type T, created if need be.
template <typename T>
T *windowOf()
{
    return qobject_cast<T *>(WindowRegistry::instance().window(T::staticMetaObject));
}

// Shows the window of type T in place of `current`.
template <typename T>
void moveTo(QWidget *current)
{
    WindowRegistry::instance().showInstead(current, windowOf<T>());
}

// The right password opens the launcher; the change window is asked for from
// here and brings the password window back, emptied, when it closes.
TfrmPassword *password()
{
    auto *window = new TfrmPassword;
    QObject::connect(window, &TfrmPassword::accepted, window, [window] { moveTo<TfrmAvvio>(window); });
    QObject::connect(window, &TfrmPassword::changeAsked, window,
                     [window] { moveTo<TfrmCambiaPassword>(window); });
    return window;
}

TfrmCambiaPassword *passwordChange()
{
    auto *change = new TfrmCambiaPassword;
    QObject::connect(change, &TfrmCambiaPassword::closed, change, [] { windowOf<TfrmPassword>()->showEmptied(); });
    return change;
}

// Each tile of the launcher opens its work area.
TfrmAvvio *launcher()
{
    auto *window = new TfrmAvvio;
    QObject::connect(window, &TfrmAvvio::workAreaChosen, window, [window](TfrmAvvio::WorkArea area) {
        switch (area) {
        case TfrmAvvio::WorkArea::Archive: moveTo<TfrmCandidati>(window); break;
        case TfrmAvvio::WorkArea::NewBook: moveTo<TfrmCreaCatalogo>(window); break;
        case TfrmAvvio::WorkArea::BookList: moveTo<TfrmApriCatalogo>(window); break;
        }
    });
    return window;
}

// The book list hands the chosen book to the page window, which takes its place.
TfrmApriCatalogo *bookList()
{
    auto *list = new TfrmApriCatalogo;
    QObject::connect(list, &TfrmApriCatalogo::bookChosen, list, [list](const RegisterBook &book) {
        windowOf<TfrmListinoPrezzi>()->openBook(book);
        moveTo<TfrmListinoPrezzi>(list);
    });
    return list;
}

// In the order of creation; adding a persistent window is one line here. The
// moves between windows are wired here, the one place that knows them all:
// each window only says what the user asked for.
const Entry kPersistentWindows[] = {
    entry<TfrmPassword>("frmPassword", password),
    entry<TfrmAvvio>("frmAvvio", launcher),
    entry<TfrmApriCatalogo>("frmApriCatalogo", bookList),
    entry<TfrmCambiaPassword>("frmCambiaPassword", passwordChange),
    entry<TfrmCandidati>("frmCandidati", [] { return new TfrmCandidati; }),
    entry<TfrmCreaCatalogo>("frmCreaCatalogo", [] { return new TfrmCreaCatalogo; }),
    entry<TfrmListinoPrezzi>("frmListinoPrezzi", [] { return new TfrmListinoPrezzi; }),
};

} // namespace

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
        QObject::connect(window, &PersistentWindow::quitAsked, window, [this] { terminate(); });
        if (auto *work = qobject_cast<WorkWindow *>(window))
            QObject::connect(work, &WorkWindow::left, work, [work] { moveTo<TfrmAvvio>(work); });
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

PersistentWindow *WindowRegistry::window(const QMetaObject &type)
{
    for (size_t i = 0; i < std::size(kPersistentWindows); ++i)
        if (kPersistentWindows[i].type == &type)
            return windowAt(i);
    return nullptr;
}

PersistentWindow *WindowRegistry::mainWindow()
{
    return windowAt(0);
}

void WindowRegistry::showInstead(QWidget *current, PersistentWindow *next)
{
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
