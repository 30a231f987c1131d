#pragma once

#include "base/progress.h"

#include <QElapsedTimer>
#include <QString>

#include <functional>

class QProgressDialog;
class QWidget;

// The progress of a long piece of work done on the window's thread, from the
// work's own callbacks: a wait cursor at once, and a dialog with a bar and an
// "Interrompi" button only when the work goes on past half a second. Between
// calls the window is kept alive a few times a second at most, so that a
// callback made for every row costs next to nothing.
class WorkProgress
{
public:
    // `text` says the work ("Importazione dei soci..."); `one` and `many`
    // what is counted ("socio scritto", "soci scritti").
    WorkProgress(QWidget *window, const QString &text, const QString &one, const QString &many);
    ~WorkProgress();
    WorkProgress(const WorkProgress &) = delete;
    WorkProgress &operator=(const WorkProgress &) = delete;

    // How far the work has gone (`total` 0: not known); false once the user
    // asked to stop.
    bool step(qint64 done, qint64 total);
    // The callback the work takes: step() of this object.
    Progress callback();
    bool stopped() const { return m_stopped; }

    // While an answer is set, it answers every step instead of the user and
    // no dialog is shown: tests stop the work at a chosen step. An empty
    // function restores the dialog.
    using Answer = std::function<bool(const QString &text, qint64 done, qint64 total)>;
    static void setAnswerForTesting(Answer answer);

private:
    void show(qint64 done, qint64 total);

    QString m_text;
    QString m_one, m_many;
    QProgressDialog *m_dialog;
    QElapsedTimer m_clock;
    qint64 m_lastShown = 0;
    bool m_cursor = true;
    bool m_stopped = false;
};
