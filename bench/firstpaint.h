#pragma once

// Ends a start-up benchmark's child process at its first window painted.

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstdlib>

namespace FirstPaint {

// Prints "painted" once the first paint of any window has finished, and ends
// the process there.
class Watcher : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (!m_seen && event->type() == QEvent::Paint && watched->isWidgetType()
            && static_cast<QWidget *>(watched)->isWindow()) {
            m_seen = true;
            QTimer::singleShot(0, [] {
                std::printf("painted\n");
                std::fflush(stdout);
                std::_Exit(0);
            });
        }
        return false;
    }

private:
    bool m_seen = false;
};

inline void watch()
{
    QCoreApplication::instance()->installEventFilter(new Watcher(QCoreApplication::instance()));
}

} // namespace FirstPaint
