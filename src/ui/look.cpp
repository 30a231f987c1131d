#include "ui/look.h"

#include "base/fontfamily.h"

#include "ui/eventhook.h"
#include "ui/picturebox.h"
#include "ui/shaperect.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QGridLayout>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPointer>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QShortcut>
#include <QScreen>

namespace Look {

QFont font(const QString &family, int pointSize, bool bold)
{
    QFont f = fontOfFamily(family);
    f.setPointSize(pointSize);
    f.setBold(bold);
    return f;
}

void setVerticalGradient(QWidget *window, const QColor &top, const QColor &bottom)
{
    // Painted, not set in the palette: a palette would pass the gradient on to
    // the message boxes and dialogs the window opens.
    new EventHook(window, [window, top, bottom](QEvent *event) {
        if (event->type() == QEvent::Paint) {
            QLinearGradient gradient(0, 0, 0, window->height());
            gradient.setColorAt(0, top);
            gradient.setColorAt(1, bottom);
            QPainter(window).fillRect(window->rect(), gradient);
        }
        return false;
    });
}

namespace {

// The design panel alone in its window's layout.
QWidget *panelOf(QWidget *window, const QString &name, Qt::Alignment alignment)
{
    auto *panel = new QWidget(window);
    panel->setObjectName(name);
    auto *layout = new QGridLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(panel, 0, 0, alignment);
    return panel;
}

} // namespace

QWidget *centredPanel(QWidget *window, int width, int height, const QString &name)
{
    QWidget *panel = panelOf(window, name, Qt::AlignCenter);
    panel->setFixedSize(width, height);
    return panel;
}

void fixedDialog(QWidget *dialog, const QString &caption, int width, int height, Qt::WindowType kind)
{
    dialog->setWindowTitle(caption);
    dialog->setWindowFlags(kind | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                           | Qt::MSWindowsFixedSizeDialogHint);
    dialog->setFixedSize(width, height);
}

void sizableDialog(QWidget *dialog, const QString &caption, int width, int height)
{
    dialog->setWindowTitle(caption);
    dialog->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowMaximizeButtonHint);
    dialog->setMinimumSize(width, height);
    dialog->resize(width, height);
}

QWidget *growingPanel(QWidget *window, int width, int height, const QString &name)
{
    QWidget *panel = panelOf(window, name, {});
    panel->setMinimumSize(width, height);
    return panel;
}

void anchor(QWidget *control, int anchors)
{
    QWidget *panel = control->parentWidget();
    const QRect design = control->geometry();
    const QSize panelDesign = panel->minimumSize();
    const QPointer<QWidget> guarded(control);
    new EventHook(panel, [=](QEvent *event) {
        if (event->type() != QEvent::Resize || !guarded)
            return false;
        const int dw = qMax(0, panel->width() - panelDesign.width());
        const int dh = qMax(0, panel->height() - panelDesign.height());
        // A label sized to its text keeps its size; only what stretches is
        // given one.
        const QPoint at = design.topLeft() + QPoint(anchors & Right ? dw : 0, anchors & Down ? dh : 0);
        if (anchors & (Wider | Taller))
            guarded->setGeometry(QRect(at, QSize(anchors & Wider ? design.width() + dw : guarded->width(),
                                                 anchors & Taller ? design.height() + dh : guarded->height())));
        else
            guarded->move(at);
        return false;
    });
}

void centreOnScreen(QWidget *window)
{
    if (const QScreen *screen = window->screen()) {
        QRect frame = window->frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        window->move(frame.topLeft());
    }
}

ShapeRect *rect(QWidget *parent, const QString &name, const QRect &geometry, const QColor &fill,
                const QColor &border)
{
    auto *shape = place(new ShapeRect(parent), name, geometry);
    shape->setFill(fill);
    shape->setBorder(border);
    return shape;
}

PictureBox *picture(QWidget *parent, const QString &name, const QRect &geometry,
                    const QString &svgResource, bool clickable)
{
    auto *box = place(new PictureBox(parent), name, geometry);
    if (!svgResource.isEmpty())
        box->setSvg(svgResource);
    box->setClickable(clickable);
    return box;
}

QLabel *label(QWidget *parent, const QString &name, const QString &text, const QPoint &position,
              const QFont &font, const QColor &colour)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setFont(font);
    QPalette palette = l->palette();
    palette.setColor(QPalette::WindowText, colour);
    l->setPalette(palette);
    l->move(position);
    l->adjustSize();
    return l;
}

QTableWidget *table(QWidget *parent, const QString &name, const QRect &geometry, const QStringList &headings,
                    const QList<int> &widths)
{
    auto *t = place(new QTableWidget(0, int(headings.size()), parent), name, geometry);
    t->setHorizontalHeaderLabels(headings);
    t->verticalHeader()->hide();
    t->setSelectionBehavior(QAbstractItemView::SelectRows);
    t->setSelectionMode(QAbstractItemView::SingleSelection);
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->setAlternatingRowColors(true);
    t->setTabKeyNavigation(false);
    t->horizontalHeader()->setStretchLastSection(true);
    for (qsizetype c = 0; c < widths.size(); ++c)
        t->setColumnWidth(int(c), widths.at(c));
    return t;
}

QPushButton *button(QWidget *parent, const QString &name, const QString &text, const QRect &geometry,
                    const QFont &font)
{
    auto *b = place(new QPushButton(text, parent), name, geometry);
    b->setFont(font);
    b->setCursor(Qt::PointingHandCursor);
    // The style's own mark is a faint line; this one reads on every background.
    b->setStyleSheet(QStringLiteral(
        "QPushButton { color: black; border: 1px solid #8A9AAA; border-radius: 3px; padding: 2px 8px;"
        " background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #FFFFFF, stop:1 #E4EAF0); }"
        "QPushButton:hover { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #FFFFFF, stop:1 #D8E5EF); }"
        "QPushButton:pressed { background: #C8D6E3; }"
        "QPushButton:focus { border: 2px solid #1F3B57; background: #FFF8D0; }"
        "QPushButton:disabled { color: #A0AAB4; border: 1px solid #C8D0D8; background: #F0F3F6; }"));
    // Enter presses the button that has the focus, and no other: in a field
    // or a grid the key is the field's (a dialog would otherwise press its
    // first button). A window that Enter confirms says so with setDefault.
    b->setAutoDefault(false);
    onEnter(b, [b] { b->click(); });
    return b;
}

void shortcut(QWidget *window, const QKeySequence &keys, PictureBox *command)
{
    QObject::connect(new QShortcut(keys, window), &QShortcut::activated, command, [command] {
        if (command->isEnabled())
            emit command->clicked();
    });
    const QString named = keys.toString(QKeySequence::NativeText);
    command->setToolTip(command->toolTip().isEmpty() ? named : command->toolTip() + QStringLiteral(" (") + named + u')');
}

void commandsAfterFields(QWidget *window)
{
    QList<QWidget *> fields, commands;
    for (QWidget *w = window->nextInFocusChain(); w && w != window; w = w->nextInFocusChain()) {
        if (!window->isAncestorOf(w) || !(w->focusPolicy() & Qt::TabFocus) || w->focusProxy())
            continue;
        (qobject_cast<QPushButton *>(w) || qobject_cast<PictureBox *>(w) ? commands : fields) << w;
    }
    const QList<QWidget *> order = fields + commands;
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

PictureBox *textBanner(QWidget *parent, const QString &name, const QRect &geometry, const QString &heading,
                       const QStringList &lines)
{
    const QImage image = drawnImage(geometry.size(), [&](QPainter &p) {
        const QRectF frame(0.5, 0.5, geometry.width() - 1, geometry.height() - 1);
        p.setPen(QPen(TileBorder, 1));
        p.setBrush(Qt::white);
        p.drawRoundedRect(frame, 8, 8);
        p.fillRect(QRectF(1, 1, 8, geometry.height() - 2), SteelBlue);
        p.setPen(SteelBlue);
        p.setFont(font(QStringLiteral("Verdana"), 14, true));
        qreal y = 14;
        const QFontMetricsF headingMetrics(p.font());
        p.drawText(QPointF(24, y + headingMetrics.ascent()), heading);
        y += headingMetrics.height() + 8;
        p.setPen(QColor(0x30, 0x30, 0x30));
        p.setFont(font(QStringLiteral("Verdana"), 9));
        const QFontMetricsF lineMetrics(p.font());
        for (const QString &line : lines) {
            p.drawText(QPointF(24, y + lineMetrics.ascent()), line);
            y += lineMetrics.height() + 4;
        }
    });
    auto *picture = place(new PictureBox(parent), name, geometry);
    picture->setImage(image);
    return picture;
}

QImage drawnImage(const QSize &size, const std::function<void(QPainter &)> &draw, const QColor &background)
{
    QImage image(size * DrawnScale, QImage::Format_ARGB32_Premultiplied);
    image.fill(background);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(DrawnScale, DrawnScale);
    draw(p);
    return image;
}


} // namespace Look
