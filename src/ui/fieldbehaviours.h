#pragma once

#include <QColor>
#include <QKeySequence>
#include <QList>

class QAbstractButton;
class QComboBox;
class QLineEdit;
class QWidget;
class ShapeRect;

// The small behaviours every data-entry window gives its fields, each wired
// with one call.
namespace FieldBehaviours {

// The field's whole background is `idle` (alice blue, or white in the register
// page window) with a sky-blue border, and yellow while it has the focus.
void colouredBackground(const QList<QLineEdit *> &fields, const QColor &idle);

// A yellow rectangle, 4 units larger than the field on every side, behind it;
// visible only while the field has the focus. Named `name`.
ShapeRect *highlightRectangle(QWidget *field, const QString &name);

// Enter moves the focus to the next widget; the last leads back to the first.
// The key does nothing else.
void enterCycle(const QList<QWidget *> &cycle);
void enterMovesTo(QWidget *from, QWidget *to);

// Every line of `window` whose text is wider than its box shows the text's
// start while the line has not the focus, and the whole text as its tooltip.
// When the focus comes back other than by Tab or a click (a message box
// closed, another window left), the cursor and selection are where they were.
void wholeTextTips(QWidget *window);

// Only digits are typed or pasted (a pasted text keeps its digits); every key
// that types nothing (moving, selecting, the clipboard's, Enter) works.
void digitFilter(QLineEdit *field);

// Refuses the characters that cannot stand in a file name.
void fileNameFilter(QLineEdit *field);

// After each typed change: blanks removed at both ends and, with `capitals`,
// a-z turned into A-Z.
void typingCleanup(QLineEdit *field, bool capitals);

// A province box: clean-up with capitals while typing and again on leaving;
// no entry of its list is selected when it gets the focus.
void provinceList(QComboBox *box);

// The command is enabled while every watched field holds more than blanks;
// checked on each change and, with `onKeyRelease`, on each key release.
void enableOnContent(QWidget *command, const QList<QLineEdit *> &watched, bool onKeyRelease);

// At most `length` characters can be typed or pasted; a longer text put in by
// the program is shown whole and can still be shortened.
void typingLimit(QLineEdit *field, int length);

// The window's own shortcuts for `keys` work also while one of the fields has
// the focus (an edit would take Ctrl+Home and Ctrl+End for itself).
void leaveKeysToWindow(const QList<QLineEdit *> &fields, const QList<QKeySequence> &keys);

// Puts a text the program gives into an edit, shown from its first
// character however long it is and whatever the edit showed before.
void showText(QLineEdit *field, const QString &text);

// Characters refused by fileNameFilter.
bool isForbiddenInFileName(QChar c);

} // namespace FieldBehaviours
