#include "ui/fieldbehaviours.h"
#include "ui/shaperect.h"
#include "ui/statushints.h"
#include "support/typing.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <memory>

namespace {

// Renders the field and reads the colour in the middle of its background.
QColor backgroundOf(QLineEdit *field)
{
    const QImage image = field->grab().toImage();
    return image.pixelColor(image.width() - 3, image.height() / 2);
}

// A window of line edits placed one under the other.
struct Form
{
    std::unique_ptr<QWidget> window = std::make_unique<QWidget>();
    QList<QLineEdit *> fields;

    explicit Form(int count)
    {
        window->resize(400, 40 * count + 80);
        for (int i = 0; i < count; ++i) {
            auto *f = new QLineEdit(window.get());
            f->setObjectName(QStringLiteral("txt%1").arg(i));
            f->setGeometry(20, 20 + 40 * i, 200, 22);
            fields << f;
        }
    }

    void show()
    {
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QApplication::setActiveWindow(window.get());
    }

    QList<QWidget *> widgets() const { return {fields.begin(), fields.end()}; }
};

void focus(QWidget *w)
{
    w->setFocus(Qt::TabFocusReason);
    QCoreApplication::processEvents();
}

} // namespace

class TestFieldBehaviours : public QObject
{
    Q_OBJECT

private slots:
    void colouredBackgroundFollowsFocus_data();
    void colouredBackgroundFollowsFocus();
    void highlightRectangleFollowsFocus();
    void enterCyclesAndDoesNothingElse();
    void enterToAButton();
    void digitFilter_data();
    void digitFilter();
    void digitFieldEditingKeys_data();
    void digitFieldEditingKeys();
    void wholeTextTips();
    void caretWhenFocusComesBack_data();
    void caretWhenFocusComesBack();
    void fileNameFilter_data();
    void fileNameFilter();
    void typingCleanup_data();
    void typingCleanup();
    void provinceList();
    void enableOnContent();
    void statusHints();
};

void TestFieldBehaviours::colouredBackgroundFollowsFocus_data()
{
    QTest::addColumn<QColor>("idle");
    QTest::newRow("alice blue") << QColor(0xF0, 0xF8, 0xFF);
    QTest::newRow("white in the page window") << QColor(Qt::white);
}

void TestFieldBehaviours::colouredBackgroundFollowsFocus()
{
    QFETCH(QColor, idle);
    Form form(3);
    FieldBehaviours::colouredBackground(form.fields, idle);
    form.show();
    const QColor yellow(0xFF, 0xFF, 0x00);
    const QColor sky(0x87, 0xCE, 0xEB);

    focus(form.fields[0]);
    QCOMPARE(backgroundOf(form.fields[0]), yellow);
    QCOMPARE(backgroundOf(form.fields[1]), idle);
    QCOMPARE(backgroundOf(form.fields[2]), idle);

    focus(form.fields[1]);
    QCOMPARE(backgroundOf(form.fields[0]), idle);
    QCOMPARE(backgroundOf(form.fields[1]), yellow);
    // The border is sky blue in both states, and the fill reaches it.
    const QImage image = form.fields[0]->grab().toImage();
    QCOMPARE(image.pixelColor(0, image.height() / 2), sky);
    QCOMPARE(image.pixelColor(1, image.height() / 2), idle);
}

void TestFieldBehaviours::highlightRectangleFollowsFocus()
{
    Form form(3);
    QList<ShapeRect *> rects;
    for (QLineEdit *f : form.fields)
        rects << FieldBehaviours::highlightRectangle(f, QStringLiteral("eff") + f->objectName());
    auto *button = new QPushButton(QStringLiteral("OK"), form.window.get());
    button->move(250, 20);
    form.show();

    QCOMPARE(rects[1]->objectName(), QStringLiteral("efftxt1"));
    QCOMPARE(rects[1]->geometry(), QRect(16, 56, 208, 30));
    for (int focused = 0; focused < 3; ++focused) {
        focus(form.fields[focused]);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(rects[i]->isVisible(), i == focused);
    }
    focus(button);
    for (ShapeRect *r : rects)
        QVERIFY(!r->isVisible());
}

void TestFieldBehaviours::enterCyclesAndDoesNothingElse()
{
    Form form(25);
    FieldBehaviours::enterCycle(form.widgets());
    int returns = 0;
    for (QLineEdit *f : form.fields)
        connect(f, &QLineEdit::returnPressed, this, [&] { ++returns; });
    form.show();
    focus(form.fields[0]);
    form.fields[0]->setText(QStringLiteral("abc"));

    for (int press = 1; press <= 25; ++press) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), form.fields[press % 25]);
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter);
    QCOMPARE(QApplication::focusWidget(), form.fields[1]);
    QCOMPARE(returns, 0);
    QCOMPARE(form.fields[0]->text(), QStringLiteral("abc"));
    // Other keys still type.
    typeText(form.fields[1], QStringLiteral("xy"));
    QCOMPARE(form.fields[1]->text(), QStringLiteral("xy"));
}

void TestFieldBehaviours::enterToAButton()
{
    Form form(1);
    auto *button = new QPushButton(QStringLiteral("Trova"), form.window.get());
    button->move(250, 20);
    int clicks = 0;
    connect(button, &QPushButton::clicked, this, [&] { ++clicks; });
    FieldBehaviours::enterMovesTo(form.fields[0], button);
    form.show();
    focus(form.fields[0]);
    QTest::keyClick(form.fields[0], Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), button);
    QCOMPARE(clicks, 0);
}

void TestFieldBehaviours::digitFilter_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("digits") << QStringLiteral("0123456789") << QStringLiteral("0123456789");
    QTest::newRow("letters and blanks refused") << QStringLiteral("1a 2B-3.") << QStringLiteral("123");
    QTest::newRow("accented letter refused") << QStringLiteral("4è5") << QStringLiteral("45");
}

void TestFieldBehaviours::digitFilter()
{
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    Form form(2);
    FieldBehaviours::enterCycle(form.widgets());
    FieldBehaviours::digitFilter(form.fields[0]);
    form.show();
    focus(form.fields[0]);
    typeText(form.fields[0], typed);
    QCOMPARE(form.fields[0]->text(), shown);

    // Backspace, Delete, Left and Right still work; Enter still moves on.
    form.fields[0]->setText(QStringLiteral("123"));
    form.fields[0]->setCursorPosition(3);
    QTest::keyClick(form.fields[0], Qt::Key_Backspace);
    QTest::keyClick(form.fields[0], Qt::Key_Left);
    QTest::keyClick(form.fields[0], Qt::Key_Left);
    QTest::keyClick(form.fields[0], Qt::Key_Delete);
    QTest::keyClick(form.fields[0], Qt::Key_Right);
    QTest::keyClick(form.fields[0], Qt::Key_9);
    QCOMPARE(form.fields[0]->text(), QStringLiteral("29"));
    QTest::keyClick(form.fields[0], Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), form.fields[1]);
}

void TestFieldBehaviours::digitFieldEditingKeys_data()
{
    // What a user does to correct a VAT number, key by key, from "12345".
    using Keys = QList<QKeyCombination>;
    QTest::addColumn<Keys>("keys");
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<QString>("shown");
    QTest::newRow("Ctrl+A then Backspace empties it") << Keys{Qt::CTRL | Qt::Key_A, Qt::Key_Backspace} << QString()
                                                      << QString();
    QTest::newRow("Home, then a digit in front") << Keys{Qt::Key_Home, Qt::Key_0} << QString() << QStringLiteral("012345");
    QTest::newRow("End after Home, then a digit")
        << Keys{Qt::Key_Home, Qt::Key_End, Qt::Key_6} << QString() << QStringLiteral("123456");
    QTest::newRow("Shift selection replaced by a digit")
        << Keys{Qt::Key_Home, Qt::SHIFT | Qt::Key_Right, Qt::SHIFT | Qt::Key_Right, Qt::Key_9} << QString()
        << QStringLiteral("9345");
    QTest::newRow("paste keeps the digits")
        << Keys{Qt::CTRL | Qt::Key_A, Qt::CTRL | Qt::Key_V} << QStringLiteral("IT 0123-4567 890")
        << QStringLiteral("01234567890");
    QTest::newRow("paste with Shift+Insert") << Keys{Qt::CTRL | Qt::Key_A, Qt::SHIFT | Qt::Key_Insert}
                                             << QStringLiteral("IT 98765432109") << QStringLiteral("98765432109");
    QTest::newRow("a letter still refused") << Keys{Qt::Key_End, Qt::Key_X} << QString() << QStringLiteral("12345");
}

void TestFieldBehaviours::digitFieldEditingKeys()
{
    QFETCH(QList<QKeyCombination>, keys);
    QFETCH(QString, clipboard);
    QFETCH(QString, shown);
    Form form(1);
    form.fields[0]->setMaxLength(11);
    FieldBehaviours::digitFilter(form.fields[0]);
    form.show();
    focus(form.fields[0]);
    form.fields[0]->setText(QStringLiteral("12345"));
    QApplication::clipboard()->setText(clipboard);
    for (const QKeyCombination key : keys)
        QTest::keyClick(form.fields[0], key.key(), key.keyboardModifiers());
    QCOMPARE(form.fields[0]->text(), shown);
}

void TestFieldBehaviours::wholeTextTips()
{
    // A text wider than its box, there before and set afterwards: its start
    // is shown and the whole text is the tooltip; a text that fits has none.
    Form form(3);
    const QString longText = QStringLiteral("Luogo e data nascita: Città di Castello (10/12/1980)");
    form.fields[0]->setFixedWidth(80);
    form.fields[0]->setText(longText);
    form.show();
    focus(form.fields[2]); // the user is elsewhere
    FieldBehaviours::wholeTextTips(form.window.get());
    QCOMPARE(form.fields[0]->toolTip(), longText);
    QCOMPARE(form.fields[0]->cursorPosition(), 0);
    form.fields[1]->setText(QStringLiteral("Roma"));
    QCOMPARE(form.fields[1]->toolTip(), QString());
    form.fields[1]->setFixedWidth(80);
    form.fields[1]->setText(longText);
    QCOMPARE(form.fields[1]->toolTip(), longText);
    QCOMPARE(form.fields[1]->cursorPosition(), 0);
}

// How the focus leaves the field and comes back to it.
enum Away { OtherWindow, OtherWindowTextSet, ProgramFocus, TabBack };

void TestFieldBehaviours::caretWhenFocusComesBack_data()
{
    QTest::addColumn<int>("away");
    QTest::addColumn<bool>("leftwards");
    QTest::addColumn<int>("cursor");
    QTest::addColumn<QString>("selected");
    // The user selected "80", the cursor after it (or before it, selecting
    // leftwards).
    QTest::newRow("a message box or another window, then back")
        << int(OtherWindow) << false << 8 << QStringLiteral("80");
    QTest::newRow("another window, selected leftwards") << int(OtherWindow) << true << 6 << QStringLiteral("80");
    QTest::newRow("the program set another text meanwhile") << int(OtherWindowTextSet) << false << 0 << QString();
    QTest::newRow("another field, then the program's setFocus") << int(ProgramFocus) << false << 8 << QString();
    QTest::newRow("Tab back selects the whole text")
        << int(TabBack) << false << 16 << QStringLiteral("RSSMRA80A01H501U");
}

void TestFieldBehaviours::caretWhenFocusComesBack()
{
    QFETCH(int, away);
    QFETCH(bool, leftwards);
    QFETCH(int, cursor);
    QFETCH(QString, selected);
    Form form(2);
    form.fields[0]->setFixedWidth(60); // the code is wider than its box
    FieldBehaviours::wholeTextTips(form.window.get());
    form.show();
    QLineEdit *field = form.fields[0];
    focus(field);
    QTest::keyClicks(field, QStringLiteral("RSSMRA80A01H501U"));
    if (leftwards)
        field->setSelection(8, -2); // "80" selected, the cursor before it
    else
        field->setSelection(6, 2); // "80" selected, the cursor after it

    QWidget other;
    switch (away) {
    case OtherWindow:
    case OtherWindowTextSet:
        other.show();
        QApplication::setActiveWindow(&other);
        QTRY_VERIFY(!field->hasFocus());
        QCOMPARE(field->cursorPosition(), 0); // the start shows meanwhile
        if (away == OtherWindowTextSet)
            field->setText(QStringLiteral("VRDLGU75B02F205X"));
        other.hide();
        QApplication::setActiveWindow(form.window.get());
        QTRY_VERIFY(field->hasFocus());
        break;
    case ProgramFocus:
        focus(form.fields[1]);
        QCOMPARE(field->cursorPosition(), 0);
        field->setFocus();
        break;
    case TabBack:
        focus(form.fields[1]);
        QTest::keyClick(form.fields[1], Qt::Key_Tab, Qt::ShiftModifier);
        break;
    }
    QVERIFY(field->hasFocus());
    QCOMPARE(field->cursorPosition(), cursor);
    QCOMPARE(field->selectedText(), selected);
    if (away == OtherWindow) {
        // The next character typed replaces what was selected, where it was.
        QTest::keyClicks(field, QStringLiteral("X"));
        QCOMPARE(field->text(), QStringLiteral("RSSMRAXA01H501U"));
    }
}

void TestFieldBehaviours::fileNameFilter_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("plain name") << QStringLiteral("Registro 2026") << QStringLiteral("Registro 2026");
    QTest::newRow("colon and question mark refused") << QStringLiteral("a:b?c") << QStringLiteral("abc");
    QTest::newRow("vertical bar accepted") << QStringLiteral("a|b") << QStringLiteral("a|b");
    QTest::newRow("every refused character")
        << QStringLiteral("x\"*/:<>?\\°ÇÑçñy") << QStringLiteral("xy");
}

void TestFieldBehaviours::fileNameFilter()
{
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    Form form(1);
    FieldBehaviours::fileNameFilter(form.fields[0]);
    form.show();
    focus(form.fields[0]);
    typeText(form.fields[0], typed);
    QCOMPARE(form.fields[0]->text(), shown);
}

void TestFieldBehaviours::typingCleanup_data()
{
    QTest::addColumn<bool>("capitals");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("capitals at once") << true << QStringLiteral("rssmra") << QStringLiteral("RSSMRA");
    QTest::newRow("trailing blank vanishes") << true << QStringLiteral("ab ") << QStringLiteral("AB");
    QTest::newRow("leading blank vanishes") << true << QStringLiteral(" x") << QStringLiteral("X");
    QTest::newRow("only a-z change") << true << QStringLiteral("àb1") << QStringLiteral("àB1");
    QTest::newRow("blanks only keeps case") << false << QStringLiteral(" Mario.Rossi@Esempio.it ")
                                            << QStringLiteral("Mario.Rossi@Esempio.it");
}

void TestFieldBehaviours::typingCleanup()
{
    QFETCH(bool, capitals);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    Form form(1);
    FieldBehaviours::typingCleanup(form.fields[0], capitals);
    form.show();
    focus(form.fields[0]);
    typeText(form.fields[0], typed);
    QCOMPARE(form.fields[0]->text(), shown);
}

void TestFieldBehaviours::provinceList()
{
    Form form(1);
    auto *box = new QComboBox(form.window.get());
    box->setEditable(true);
    box->addItems({QStringLiteral("MI"), QStringLiteral("RM"), QStringLiteral("TO")});
    box->setGeometry(20, 60, 80, 22);
    FieldBehaviours::provinceList(box);
    form.show();

    box->setCurrentIndex(1);
    focus(box);
    QCOMPARE(box->currentIndex(), -1);
    QCOMPARE(box->currentText(), QStringLiteral("RM"));

    box->lineEdit()->clear();
    typeText(box->lineEdit(), QStringLiteral("fi"));
    QCOMPARE(box->currentText(), QStringLiteral("FI"));
    // Cleaned again on leaving, whatever put the text there.
    box->lineEdit()->setText(QStringLiteral(" na "));
    focus(form.fields[0]);
    QCOMPARE(box->currentText(), QStringLiteral("NA"));
}

void TestFieldBehaviours::enableOnContent()
{
    Form form(3);
    auto *ok = new QPushButton(QStringLiteral("OK"), form.window.get());
    FieldBehaviours::enableOnContent(ok, form.fields, true);
    form.show();
    QVERIFY(!ok->isEnabled());

    form.fields[0]->setText(QStringLiteral("a"));
    form.fields[1]->setText(QStringLiteral("b"));
    QVERIFY(!ok->isEnabled());
    form.fields[2]->setText(QStringLiteral(" \t"));
    QVERIFY(!ok->isEnabled());
    focus(form.fields[2]);
    typeText(form.fields[2], QStringLiteral("c"));
    QVERIFY(ok->isEnabled());
    QTest::keyClick(form.fields[2], Qt::Key_Backspace);
    QVERIFY(!ok->isEnabled());
}

void TestFieldBehaviours::statusHints()
{
    QWidget window;
    window.resize(500, 300);
    auto *panel = new QWidget(&window);
    panel->setGeometry(0, 0, 500, 260);
    auto *shape = new ShapeRect(panel);
    shape->setGeometry(300, 10, 150, 100);
    auto *command = new QPushButton(QStringLiteral("Salva"), panel);
    command->setGeometry(10, 10, 80, 30);
    auto *edit = new QLineEdit(panel);
    edit->setGeometry(10, 60, 150, 22);
    auto *panInfo = new QLabel(&window);
    panInfo->move(10, 270);

    StatusHints hints(panInfo, QStringLiteral("Pronto per archiviare una nuova scheda..."));
    hints.addHint(command, QStringLiteral("Salva la scheda"));
    hints.addClearer(&window);
    hints.addClearer(panel);
    hints.addClearer(shape);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(panInfo->text(), QStringLiteral("Pronto per archiviare una nuova scheda..."));

    QTest::mouseMove(command, QPoint(20, 10));
    QCOMPARE(panInfo->text(), QStringLiteral("Salva la scheda"));
    QCOMPARE(panInfo->width(), panInfo->sizeHint().width());
    // Onto an edit: the hint stays.
    QTest::mouseMove(edit, QPoint(30, 10));
    QCOMPARE(panInfo->text(), QStringLiteral("Salva la scheda"));
    // Over a listed background shape: emptied.
    QTest::mouseMove(shape, QPoint(50, 50));
    QCOMPARE(panInfo->text(), QString());
    QTest::mouseMove(command, QPoint(20, 10));
    QCOMPARE(panInfo->text(), QStringLiteral("Salva la scheda"));
    // Over the bare panel: emptied.
    QTest::mouseMove(panel, QPoint(250, 200));
    QCOMPARE(panInfo->text(), QString());
}

QTEST_MAIN(TestFieldBehaviours)
#include "tst_fieldbehaviours.moc"
