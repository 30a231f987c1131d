#include "ui/persistentwindow.h"

#include "base/backups.h"
#include "ui/fieldbehaviours.h"
#include "ui/look.h"

#include <QCloseEvent>
#include <QHideEvent>

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
    emit left();
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
