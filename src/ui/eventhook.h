#pragma once

#include <QObject>

#include <functional>

class QEvent;

// An event filter made of a function, owned by the object it watches. The
// function returns true to swallow the event.
class EventHook : public QObject
{
public:
    using Function = std::function<bool(QEvent *)>;
    EventHook(QObject *watched, Function function);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    Function m_function;
};

// Runs `action` when Enter (or Return) is pressed on `watched`; the key goes
// no further.
void onEnter(QObject *watched, std::function<void()> action);
