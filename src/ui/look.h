#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRect>
#include <QString>
#include <QStringList>

#include <functional>

class QLabel;
class QPainter;
class QPushButton;
class QTableWidget;
class QWidget;
class PictureBox;
class ShapeRect;

// The program's look in one place: colours, fonts by family, gradient window
// backgrounds, the fixed design panel and the pieces laid on it.
namespace Look {

inline const QColor SteelBlue{0x46, 0x82, 0xB4};
inline const QColor TileBorder{0xD8, 0xE5, 0xEF};
inline const QColor Yellow{0xFF, 0xFF, 0x00};
inline const QColor AliceBlue{0xF0, 0xF8, 0xFF};
inline const QColor SkyBlue{0x87, 0xCE, 0xEB};
inline const QColor LinkBlue{0x00, 0x00, 0x8B};
inline const QColor LinkPressed{0xFF, 0xA5, 0x00};
inline const QColor StatusBlue{0x30, 0x30, 0xDD};

// A font by family name ("Verdana", "Tahoma", "Arial", "Courier New"); the
// system's font configuration stands in for a family it does not have.
QFont font(const QString &family, int pointSize, bool bold = false);

// Paints the window's background as a vertical gradient over its whole height.
void setVerticalGradient(QWidget *window, const QColor &top, const QColor &bottom);

// The fixed design panel that holds a window's controls, kept centred in the
// window however large it is.
QWidget *centredPanel(QWidget *window, int width, int height,
                      const QString &name = QStringLiteral("panContainer"));

// A dialog of fixed size with a single border and no border icons; with
// Qt::Window as `kind`, a top-level window of the same look.
void fixedDialog(QWidget *dialog, const QString &caption, int width, int height, Qt::WindowType kind = Qt::Dialog);

// A dialog of the same look that the user may enlarge and maximise, never
// below its design size.
void sizableDialog(QWidget *dialog, const QString &caption, int width, int height);

// The design panel of a sizable window: it fills the window, no smaller than
// the design size; its controls keep their design places unless anchored.
QWidget *growingPanel(QWidget *window, int width, int height, const QString &name = QStringLiteral("panContainer"));
// How a control on a growing panel follows the panel's right and bottom
// edges as the panel grows past its design size: wider and taller stretch
// it, right and down move it.
enum Anchor { Wider = 1, Taller = 2, Right = 4, Down = 8 };
void anchor(QWidget *control, int anchors);

// Moves a window so that it stands in the middle of its screen.
void centreOnScreen(QWidget *window);

// Names a widget (its objectName) and places it on its parent.
template <typename W>
W *place(W *widget, const QString &name, const QRect &geometry);

ShapeRect *rect(QWidget *parent, const QString &name, const QRect &geometry, const QColor &fill,
                const QColor &border);
PictureBox *picture(QWidget *parent, const QString &name, const QRect &geometry,
                    const QString &svgResource, bool clickable = false);
QLabel *label(QWidget *parent, const QString &name, const QString &text, const QPoint &position,
              const QFont &font, const QColor &colour = Qt::black);
// A push button; with the focus it shows a clear focus mark, and Enter
// presses it as Space does.
// A read-only table of rows chosen whole, one at a time, with these headings
// and the first columns' widths (the last one stretches); Tab leaves it.
QTableWidget *table(QWidget *parent, const QString &name, const QRect &geometry, const QStringList &headings,
                    const QList<int> &widths);

QPushButton *button(QWidget *parent, const QString &name, const QString &text, const QRect &geometry,
                    const QFont &font);

// A picture of text: a heading in bold capitals and lines under it, as the
// instruction banners of the work areas show them.
PictureBox *textBanner(QWidget *parent, const QString &name, const QRect &geometry, const QString &heading,
                       const QStringList &lines);

// A picture drawn in code for a box of `size`: `draw` paints in the box's
// units on an antialiased painter, at DrawnScale times the pixels so that it
// stays sharp on high-density screens.
inline constexpr int DrawnScale = 2;
QImage drawnImage(const QSize &size, const std::function<void(QPainter &)> &draw,
                  const QColor &background = Qt::transparent);

// Makes `keys` anywhere in `window` do what a click on `command` does, and
// names them in its tooltip: "Salva la scheda corrente. (Ctrl+S)".
void shortcut(QWidget *window, const QKeySequence &keys, PictureBox *command);

// Puts a window's commands (buttons and command pictures) after its fields
// in the Tab order, each in the order it had: a keyboard user fills the
// fields, then reaches the commands.
void commandsAfterFields(QWidget *window);

} // namespace Look

#include <QWidget>

template <typename W>
W *Look::place(W *widget, const QString &name, const QRect &geometry)
{
    widget->setObjectName(name);
    widget->setGeometry(geometry);
    return widget;
}
