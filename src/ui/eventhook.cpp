#include "ui/eventhook.h"

#include <QKeyEvent>

EventHook::EventHook(QObject *watched, Function function)
    : QObject(watched)
    , m_function(std::move(function))
{
    watched->installEventFilter(this);
}

bool EventHook::eventFilter(QObject *, QEvent *event)
{
    return m_function(event);
}

void onEnter(QObject *watched, std::function<void()> action)
{
    new EventHook(watched, [action = std::move(action)](QEvent *event) {
        if (event->type() != QEvent::KeyPress)
            return false;
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key != Qt::Key_Return && key != Qt::Key_Enter)
            return false;
        action();
        return true;
    });
}
