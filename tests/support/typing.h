#pragma once

#include <QCoreApplication>
#include <QKeyEvent>
#include <QString>
#include <QWidget>

// Types any text into a widget one key at a time, as a keyboard would, also
// characters outside Latin-1's ASCII half (QTest::keyClicks stops at those).
inline void typeText(QWidget *widget, const QString &text)
{
    for (QChar c : text) {
        int key = Qt::Key_unknown;
        if (c.unicode() < 128)
            key = c.isLetter() ? Qt::Key_A + (c.toUpper().unicode() - u'A') : int(c.unicode());
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(c));
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(widget, &press);
        QCoreApplication::sendEvent(widget, &release);
    }
}
