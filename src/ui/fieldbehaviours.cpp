#include "ui/fieldbehaviours.h"

#include "base/blanks.h"
#include "ui/eventhook.h"
#include "ui/look.h"
#include "ui/shaperect.h"

#include <QClipboard>
#include <QComboBox>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QValidator>

#include <optional>

namespace FieldBehaviours {

namespace {

class TypingLimit : public QValidator
{
public:
    TypingLimit(QLineEdit *field, int length)
        : QValidator(field)
        , m_length(length)
        , m_shown(field->text().size())
    {
        connect(field, &QLineEdit::textChanged, this, [this](const QString &text) { m_shown = text.size(); });
    }

    State validate(QString &input, int &) const override
    {
        // Growing past the limit is refused; shortening never is.
        return input.size() > m_length && input.size() > m_shown ? Invalid : Acceptable;
    }

private:
    int m_length;
    qsizetype m_shown;
};

// Focus moves as with Tab: a line edit selects its text, a button shows the
// focus mark.
void focusOn(QWidget *widget)
{
    widget->window()->setAttribute(Qt::WA_KeyboardFocusChange);
    widget->setFocus(Qt::TabFocusReason);
}

QString cleaned(const QString &text, bool capitals)
{
    const QString trimmed = Blanks::trimmed(text);
    return capitals ? Blanks::upperAscii(trimmed) : trimmed;
}

void replaceText(QLineEdit *field, const QString &text)
{
    if (field->text() == text)
        return;
    // Keep the cursor where it was, less what went from the start.
    const QString old = field->text();
    qsizetype lead = 0;
    while (lead < old.size() && old.at(lead).unicode() <= 32)
        ++lead;
    const qsizetype cursor = qBound<qsizetype>(0, field->cursorPosition() - lead, text.size());
    // An edit of the user's text, as typing is: it can be undone, and the
    // field does not take it for a text put in by the program.
    field->selectAll();
    field->insert(text);
    field->setCursorPosition(int(cursor));
}

} // namespace

void colouredBackground(const QList<QLineEdit *> &fields, const QColor &idle)
{
    const QString sheet = QStringLiteral(
        "QLineEdit { background-color: %1; border: 1px solid %2; padding: 0px; margin: 0px; }"
        "QLineEdit:focus { background-color: %3; }")
        .arg(idle.name(), Look::SkyBlue.name(), Look::Yellow.name());
    for (QLineEdit *field : fields)
        field->setStyleSheet(sheet);
}

ShapeRect *highlightRectangle(QWidget *field, const QString &name)
{
    auto *rect = new ShapeRect(field->parentWidget());
    rect->setObjectName(name);
    rect->setGeometry(field->geometry().adjusted(-4, -4, 4, 4));
    rect->setFill(Look::Yellow);
    rect->setBorder(Look::Yellow, Qt::white);
    rect->setAttribute(Qt::WA_TransparentForMouseEvents);
    rect->stackUnder(field);
    rect->setVisible(field->hasFocus());
    new EventHook(field, [rect](QEvent *event) {
        if (event->type() == QEvent::FocusIn)
            rect->show();
        else if (event->type() == QEvent::FocusOut)
            rect->hide();
        return false;
    });
    return rect;
}

void enterMovesTo(QWidget *from, QWidget *to)
{
    onEnter(from, [to] { focusOn(to); });
}

void enterCycle(const QList<QWidget *> &cycle)
{
    for (qsizetype i = 0; i < cycle.size(); ++i)
        enterMovesTo(cycle.at(i), cycle.at((i + 1) % cycle.size()));
}

namespace {

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

} // namespace

namespace {

// `left`: the field was left, or its text set by the program (not typed).
void showWholeText(QLineEdit *field, bool left)
{
    if (left && !field->hasFocus())
        field->setCursorPosition(0);
    const int room = field->contentsRect().width() - field->textMargins().left() - field->textMargins().right() - 4;
    const QString text = field->text();
    const bool cut = field->echoMode() == QLineEdit::Normal && field->fontMetrics().horizontalAdvance(text) > room;
    field->setToolTip(cut ? text : QString());
}

} // namespace

namespace {

// Where the user left the cursor (and the selection Qt keeps when only the
// window lost the focus) before the field went back to showing its start.
struct Caret
{
    QString text;
    int cursor = 0;
    int anchor = 0;

    static Caret of(const QLineEdit *field, bool keepSelection)
    {
        Caret caret{field->text(), field->cursorPosition(), field->cursorPosition()};
        if (keepSelection && field->hasSelectedText()) {
            const int start = field->selectionStart();
            caret.anchor = caret.cursor == start ? start + field->selectionLength() : start;
        }
        return caret;
    }

    void restore(QLineEdit *field) const
    {
        if (anchor == cursor)
            field->setCursorPosition(cursor);
        else
            field->setSelection(anchor, cursor - anchor);
    }
};

bool focusLeftWindowOnly(const QEvent *event)
{
    const Qt::FocusReason reason = static_cast<const QFocusEvent *>(event)->reason();
    return reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason;
}

// Tab, Backtab and a shortcut select the whole text, a click puts the cursor
// where it points: any other return (a message box closed, a window left and
// taken up again, the program giving the focus back) finds the cursor where
// it was, unless the text changed meanwhile.
bool restoresCaret(const QEvent *event)
{
    switch (static_cast<const QFocusEvent *>(event)->reason()) {
    case Qt::TabFocusReason:
    case Qt::BacktabFocusReason:
    case Qt::ShortcutFocusReason:
    case Qt::MouseFocusReason:
        return false;
    default:
        return true;
    }
}

} // namespace

void wholeTextTips(QWidget *window)
{
    for (QLineEdit *field : window->findChildren<QLineEdit *>()) {
        if (field->property("wholeTextTips").toBool())
            continue;
        field->setProperty("wholeTextTips", true);
        QObject::connect(field, &QLineEdit::textChanged, field,
                         [field] { showWholeText(field, !field->isModified()); });
        new EventHook(field, [field, left = std::optional<Caret>()](QEvent *event) mutable {
            switch (event->type()) {
            case QEvent::FocusOut:
                left = Caret::of(field, focusLeftWindowOnly(event));
                showWholeText(field, true);
                break;
            case QEvent::FocusIn:
                if (left && left->text == field->text() && restoresCaret(event))
                    left->restore(field);
                left.reset();
                break;
            case QEvent::Resize:
                showWholeText(field, false);
                break;
            default:
                break;
            }
            return false;
        });
        showWholeText(field, true);
    }
}

void digitFilter(QLineEdit *field)
{
    new EventHook(field, [field](QEvent *event) {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        // A paste keeps the pasted number's digits ("IT 0123-4567 890").
        if (key->matches(QKeySequence::Paste)) {
            QString digits = QGuiApplication::clipboard()->text();
            digits.removeIf([](QChar c) { return !isDigit(c); });
            field->insert(digits);
            return true;
        }
        // Keys that type nothing pass: moving, selecting, Ctrl+A, copy, cut,
        // undo, Backspace, Delete. A character typed passes if it is a digit.
        const QString text = key->text();
        const bool types = !text.isEmpty() && text.at(0).unicode() >= 32 && text.at(0).unicode() != 127
            && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
        return types && !(text.size() == 1 && isDigit(text.at(0)));
    });
}

void typingLimit(QLineEdit *field, int length)
{
    field->setValidator(new TypingLimit(field, length));
}

bool isForbiddenInFileName(QChar c)
{
    static const QString forbidden = QStringLiteral("\"*/:<>?\\°ÇÑçñ");
    return forbidden.contains(c);
}

void fileNameFilter(QLineEdit *field)
{
    new EventHook(field, [](QEvent *event) {
        if (event->type() != QEvent::KeyPress)
            return false;
        const QString text = static_cast<QKeyEvent *>(event)->text();
        return text.size() == 1 && isForbiddenInFileName(text.at(0));
    });
}

void typingCleanup(QLineEdit *field, bool capitals)
{
    QObject::connect(field, &QLineEdit::textEdited, field, [field, capitals](const QString &text) {
        replaceText(field, cleaned(text, capitals));
    });
}

void showText(QLineEdit *field, const QString &text)
{
    field->setText(text);
    field->setCursorPosition(0);
}

void leaveKeysToWindow(const QList<QLineEdit *> &fields, const QList<QKeySequence> &keys)
{
    for (QLineEdit *field : fields)
        new EventHook(field, [keys](QEvent *event) {
            if (event->type() != QEvent::ShortcutOverride)
                return false;
            const QKeySequence pressed(static_cast<QKeyEvent *>(event)->keyCombination());
            return keys.contains(pressed); // not claimed by the field: the shortcut runs
        });
}

void provinceList(QComboBox *box)
{
    QLineEdit *edit = box->lineEdit();
    if (!edit)
        return;
    typingCleanup(edit, true);
    new EventHook(box, [box, edit](QEvent *event) {
        if (event->type() == QEvent::FocusIn) {
            const QString text = box->currentText();
            box->setCurrentIndex(-1);
            box->setEditText(text);
        } else if (event->type() == QEvent::FocusOut) {
            replaceText(edit, cleaned(edit->text(), true));
        }
        return false;
    });
}

void enableOnContent(QWidget *command, const QList<QLineEdit *> &watched, bool onKeyRelease)
{
    const auto check = [command, watched] {
        bool all = true;
        for (const QLineEdit *field : watched)
            all = all && !Blanks::isBlank(field->text());
        command->setEnabled(all);
    };
    for (QLineEdit *field : watched) {
        QObject::connect(field, &QLineEdit::textChanged, command, check);
        if (onKeyRelease)
            new EventHook(field, [check](QEvent *event) {
                if (event->type() == QEvent::KeyRelease)
                    check();
                return false;
            });
    }
    check();
}

} // namespace FieldBehaviours
