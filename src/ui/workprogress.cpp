#include "ui/workprogress.h"

#include "base/formats.h"

#include <QApplication>
#include <QLabel>
#include <QLocale>
#include <QProgressBar>
#include <QProgressDialog>
#include <QPushButton>

namespace {

constexpr int kShowAfter = 500; // ms: quicker work shows no dialog
constexpr int kRefreshEvery = 150; // ms between two looks at the window

WorkProgress::Answer &testAnswer()
{
    static WorkProgress::Answer answer;
    return answer;
}

} // namespace

WorkProgress::WorkProgress(QWidget *window, const QString &text, const QString &one, const QString &many)
    : m_text(text)
    , m_one(one)
    , m_many(many)
    , m_dialog(new QProgressDialog(window))
{
    m_dialog->setObjectName(QStringLiteral("dlgAvanzamento"));
    m_dialog->setAccessibleName(text);
    m_dialog->setWindowTitle(window ? window->windowTitle() : QString());
    m_dialog->setWindowModality(Qt::WindowModal);
    auto *label = new QLabel(m_dialog);
    label->setObjectName(QStringLiteral("lblAvanzamento"));
    label->setAccessibleName(QStringLiteral("Avanzamento"));
    m_dialog->setLabel(label);
    auto *bar = new QProgressBar(m_dialog);
    bar->setObjectName(QStringLiteral("prbAvanzamento"));
    bar->setAccessibleName(text);
    m_dialog->setBar(bar);
    auto *stop = new QPushButton(QStringLiteral("Interrompi"), m_dialog);
    stop->setObjectName(QStringLiteral("cmdInterrompi"));
    stop->setAccessibleName(QStringLiteral("Interrompi"));
    stop->setAutoDefault(false);
    m_dialog->setCancelButton(stop);
    m_dialog->setAutoClose(false);
    m_dialog->setAutoReset(false);
    m_dialog->setMinimumWidth(380);
    m_dialog->setLabelText(text);
    m_dialog->setMinimumDuration(kShowAfter);
    m_clock.start();
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

WorkProgress::~WorkProgress()
{
    if (m_cursor)
        QApplication::restoreOverrideCursor();
    delete m_dialog;
}

Progress WorkProgress::callback()
{
    return [this](qint64 done, qint64 total) { return step(done, total); };
}

bool WorkProgress::step(qint64 done, qint64 total)
{
    if (testAnswer()) {
        m_stopped = m_stopped || !testAnswer()(m_text, done, total);
        return !m_stopped;
    }
    m_stopped = m_stopped || m_dialog->wasCanceled();
    if (!m_stopped && m_clock.elapsed() - m_lastShown >= kRefreshEvery)
        show(done, total);
    return !m_stopped;
}

void WorkProgress::show(qint64 done, qint64 total)
{
    m_lastShown = m_clock.elapsed();
    QString counted = Formats::count(done, m_one, m_many);
    if (total > 0) {
        // The bar counts in thousandths: the totals may pass an int.
        m_dialog->setRange(0, 1000);
        m_dialog->setValue(int(qBound(qint64(1), done * 1000 / total, qint64(1000))));
        counted += QStringLiteral(" su ") + QLocale(QLocale::Italian).toString(total);
    } else {
        m_dialog->setRange(0, 0); // moving: the total is not known
    }
    m_dialog->setLabelText(m_text + u'\n' + counted);
    if (!m_dialog->isVisible() && m_lastShown >= kShowAfter) {
        m_dialog->show();
        // The button must look pressable.
        QApplication::restoreOverrideCursor();
        m_cursor = false;
    }
    // Until the dialog stands over the window, a click must not reach the
    // window's own commands in the middle of the work.
    QApplication::processEvents(m_dialog->isVisible() ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
    m_stopped = m_dialog->wasCanceled();
}

void WorkProgress::setAnswerForTesting(Answer answer)
{
    testAnswer() = std::move(answer);
}
