#include "ui/statushints.h"

#include "ui/eventhook.h"

#include <QLabel>
#include <QMouseEvent>

StatusHints::StatusHints(QLabel *panInfo, const QString &initialText)
    : QObject(panInfo)
    , m_panInfo(panInfo)
    , m_ready(initialText)
{
    show(initialText);
}

void StatusHints::show(const QString &text)
{
    m_panInfo->setText(text);
    m_panInfo->adjustSize();
}

void StatusHints::addHint(QWidget *command, const QString &hint)
{
    command->setMouseTracking(true);
    command->setToolTip(hint);
    new EventHook(command, [this, hint](QEvent *event) {
        if (event->type() == QEvent::MouseMove)
            show(hint);
        return false;
    });
}

void StatusHints::addClearer(QWidget *background)
{
    background->setMouseTracking(true);
    new EventHook(background, [this, background](QEvent *event) {
        if (event->type() != QEvent::MouseMove)
            return false;
        // A move that an unlisted child passed up to its background does not
        // count: only the background itself under the mouse empties the line.
        const auto *move = static_cast<QMouseEvent *>(event);
        if (!background->childAt(move->position().toPoint()))
            show(QString());
        return false;
    });
}
