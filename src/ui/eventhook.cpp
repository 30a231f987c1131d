#include "ui/eventhook.h"

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
