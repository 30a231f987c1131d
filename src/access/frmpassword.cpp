#include "access/frmpassword.h"

#include "access/passwordstore.h"
#include "base/blanks.h"
#include "ui/eventhook.h"
#include "ui/fieldbehaviours.h"
#include "ui/look.h"
#include "ui/messages.h"
#include "ui/picturebox.h"
#include "ui/shaperect.h"

#include <QCloseEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QShowEvent>

namespace {

// A padlock beside a title and a few lines, the heading of both windows.
QImage padlockHeading(const QSize &size, const QString &title, const QStringList &lines)
{
    return Look::drawnImage(size, [&](QPainter &p) {
        // The padlock: a shackle over a rounded body with a keyhole.
        p.setPen(QPen(QColor(0x1F, 0x3B, 0x57), 7, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(18, 14, 44, 48), 0, 180 * 16);
        p.drawLine(QPointF(18, 38), QPointF(18, 50));
        p.drawLine(QPointF(62, 38), QPointF(62, 50));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xE8, 0xA3, 0x3D));
        p.drawRoundedRect(QRectF(8, 46, 64, 50), 8, 8);
        p.setBrush(QColor(0x1F, 0x3B, 0x57));
        p.drawEllipse(QPointF(40, 66), 6, 6);
        p.drawRect(QRectF(37.5, 68, 5, 14));

        p.setPen(Qt::white);
        p.setFont(Look::font(QStringLiteral("Verdana"), 18, true));
        p.drawText(QRectF(86, 8, size.width() - 90, 32), Qt::AlignLeft | Qt::AlignVCenter, title);
        p.setFont(Look::font(QStringLiteral("Verdana"), 8));
        qreal y = 44;
        for (const QString &line : lines) {
            QRectF used;
            p.drawText(QRectF(86, y, size.width() - 90, size.height() - y), Qt::TextWordWrap, line, &used);
            y += used.height() + 6;
        }
    });
}

QLineEdit *passwordField(QWidget *parent, const QString &name, const QRect &geometry, const QString &effect)
{
    auto *field = Look::place(new QLineEdit(parent), name, geometry);
    field->setFont(Look::font(QStringLiteral("Verdana"), 14, true));
    field->setEchoMode(QLineEdit::Password);
    FieldBehaviours::highlightRectangle(field, effect);
    return field;
}

void fixedWindow(QWidget *window, const QString &caption, int width, int height)
{
    Look::fixedDialog(window, caption, width, height, Qt::Window);
    Look::setVerticalGradient(window, Look::SteelBlue, Qt::white);
}

const QString kReadError = QStringLiteral(
    "Attenzione: si è verificato un errore durante la procedura di lettura della password. Si consiglia di "
    "reinstallare il software.");
const QString kChangeError = QStringLiteral(
    "Attenzione: si è verificato un errore durante la procedura di modifica della password. Si consiglia di "
    "reinstallare il software.");

} // namespace

// --- login -------------------------------------------------------------------

TfrmPassword::TfrmPassword(QWidget *parent)
    : PersistentWindow(parent)
{
    setObjectName(QStringLiteral("frmPassword"));
    fixedWindow(this, QStringLiteral(" Quorvel con Vori - Accesso"), 388, 405);
    QWidget *pan = Look::centredPanel(this, 360, 378);
    auto *sfondo = Look::rect(pan, QStringLiteral("shpSfondo"), {8, 8, 344, 265}, Look::SteelBlue, Qt::white);
    sfondo->setFill(Look::SteelBlue, Qt::white);
    Look::place(new PictureBox(pan), QStringLiteral("imgLogo"), {16, 16, 328, 160})
        ->setImage(padlockHeading({328, 160}, QStringLiteral("Password"),
                                  {QStringLiteral("Proteggi l'accesso all'app con una password di tua scelta."),
                                   QStringLiteral("Al primo accesso digita la password lucernaoctavia "
                                                  "(senza virgolette).")}));
    auto *titolo = Look::rect(pan, QStringLiteral("shpTitolo"), {16, 184, 328, 81}, QColor(0x7D, 0xA9, 0xCD), Qt::white);
    titolo->setFill(QColor(0x7D, 0xA9, 0xCD), Qt::white);
    Look::label(pan, QStringLiteral("lblRigo05"), QStringLiteral("Immetti la password e premi OK."), {36, 200},
                Look::font(QStringLiteral("Verdana"), 9));
    txtPassword = passwordField(pan, QStringLiteral("txtPassword"), {36, 222, 230, 22}, QStringLiteral("effPassword"));
    const QFont buttonFont = Look::font(QStringLiteral("Verdana"), 9);
    cmdOK = Look::button(pan, QStringLiteral("cmdOK"), QStringLiteral("OK"), {280, 216, 49, 33}, buttonFont);
    auto *cmdEsci = Look::button(pan, QStringLiteral("cmdEsci"), QStringLiteral("Esci"), {8, 338, 146, 32}, buttonFont);
    auto *btnCambia = Look::button(pan, QStringLiteral("btnCambiaPassword"), QStringLiteral("Cambia password"),
                                   {205, 338, 146, 32}, buttonFont);
    setTabOrder(txtPassword, cmdOK);
    setTabOrder(cmdOK, cmdEsci);
    setTabOrder(cmdEsci, btnCambia);
    FieldBehaviours::enableOnContent(cmdOK, {txtPassword}, true);
    onEnter(txtPassword, [this] {
        if (!Blanks::isBlank(txtPassword->text()))
            cmdOKClick();
    });
    connect(cmdOK, &QPushButton::clicked, this, &TfrmPassword::cmdOKClick);
    connect(cmdEsci, &QPushButton::clicked, this, &TfrmPassword::cmdEsciClick);
    connect(btnCambia, &QPushButton::clicked, this, &TfrmPassword::btnCambiaPasswordClick);
}

void TfrmPassword::showEvent(QShowEvent *event)
{
    Look::centreOnScreen(this);
    PersistentWindow::showEvent(event);
    txtPassword->setFocus();
}

void TfrmPassword::showEmptied()
{
    txtPassword->clear();
    present();
    txtPassword->setFocus();
}

void TfrmPassword::cmdOKClick()
{
    const auto stored = PasswordStore::stored();
    if (!stored) {
        Messages::plain(kReadError);
        return;
    }
    if (PasswordStore::normalised(txtPassword->text()) == *stored) {
        emit accepted();
        return;
    }
    Messages::plain(QStringLiteral("Attenzione: password errata."));
    txtPassword->clear();
    txtPassword->setFocus();
}

void TfrmPassword::cmdEsciClick()
{
    close();
}

void TfrmPassword::closeEvent(QCloseEvent *event)
{
    event->accept();
    emit quitAsked();
}

void TfrmPassword::btnCambiaPasswordClick()
{
    emit changeAsked();
}

// --- change ------------------------------------------------------------------

TfrmCambiaPassword::TfrmCambiaPassword(QWidget *parent)
    : PersistentWindow(parent)
{
    setObjectName(QStringLiteral("frmCambiaPassword"));
    fixedWindow(this, QStringLiteral(" Cambia password"), 411, 418);
    QWidget *pan = Look::centredPanel(this, 385, 390);
    auto *sfondo = Look::rect(pan, QStringLiteral("shpSfondo"), {8, 8, 369, 334}, Look::SteelBlue, Qt::white);
    sfondo->setFill(Look::SteelBlue, Qt::white);
    Look::place(new PictureBox(pan), QStringLiteral("imgLogo"), {16, 16, 353, 148})
        ->setImage(padlockHeading({353, 148}, QStringLiteral("Cambia password"),
                                  {QStringLiteral("Per cambiare la password immetti i dati nei campi sottostanti "
                                                  "e premi OK.")}));
    const QFont labelFont = Look::font(QStringLiteral("Verdana"), 9);
    Look::label(pan, QStringLiteral("lblRigo05"), QStringLiteral("Vecchia password:"), {16, 172}, labelFont);
    Look::label(pan, QStringLiteral("lblRigo06"), QStringLiteral("Nuova password:"), {16, 228}, labelFont);
    Look::label(pan, QStringLiteral("lblRigo07"), QStringLiteral("Conferma nuova password:"), {16, 284}, labelFont);
    txtPasswordOld = passwordField(pan, QStringLiteral("txtPasswordOld"), {16, 193, 353, 22},
                                   QStringLiteral("effPasswordOld"));
    txtPasswordNew = passwordField(pan, QStringLiteral("txtPasswordNew"), {16, 249, 353, 22},
                                   QStringLiteral("effPasswordNew"));
    txtConferma = passwordField(pan, QStringLiteral("txtConferma"), {16, 305, 353, 22}, QStringLiteral("effConferma"));
    const QFont buttonFont = Look::font(QStringLiteral("Verdana"), 9);
    auto *cmdEsci = Look::button(pan, QStringLiteral("cmdEsci"), QStringLiteral("Chiudi"), {8, 350, 146, 32}, buttonFont);
    auto *cmdOK = Look::button(pan, QStringLiteral("cmdOK"), QStringLiteral("OK"), {232, 350, 146, 32}, buttonFont);
    setTabOrder(txtPasswordOld, txtPasswordNew);
    setTabOrder(txtPasswordNew, txtConferma);
    setTabOrder(txtConferma, cmdEsci);
    setTabOrder(cmdEsci, cmdOK);
    FieldBehaviours::enableOnContent(cmdOK, {txtPasswordOld, txtPasswordNew, txtConferma}, true);
    // Enter in the confirmation goes back to the old password; it does not press OK.
    FieldBehaviours::enterCycle({txtPasswordOld, txtPasswordNew, txtConferma});
    connect(cmdOK, &QPushButton::clicked, this, &TfrmCambiaPassword::cmdOKClick);
    connect(cmdEsci, &QPushButton::clicked, this, &TfrmCambiaPassword::cmdEsciClick);
}

void TfrmCambiaPassword::showEvent(QShowEvent *event)
{
    Look::centreOnScreen(this);
    PersistentWindow::showEvent(event);
    if (event->spontaneous())
        return;
    txtPasswordOld->clear();
    txtPasswordNew->clear();
    txtConferma->clear();
    txtPasswordOld->setFocus();
}

void TfrmCambiaPassword::cmdOKClick()
{
    const auto stored = PasswordStore::stored();
    if (!stored) {
        Messages::plain(kChangeError);
        return;
    }
    if (PasswordStore::normalised(txtPasswordOld->text()) != *stored) {
        Messages::plain(QStringLiteral("Attenzione: vecchia password errata."));
        txtPasswordOld->clear();
        txtPasswordOld->setFocus();
        return;
    }
    if (Blanks::trimmed(txtPasswordNew->text()) != Blanks::trimmed(txtConferma->text())) {
        Messages::plain(QStringLiteral("Attenzione: la nuova password non è stata confermata correttamente. E' "
                                       "necessario reinserire entrambi i valori."));
        txtPasswordNew->clear();
        txtConferma->clear();
        txtPasswordNew->setFocus();
        return;
    }
    const QString password = PasswordStore::normalised(txtPasswordNew->text());
    // The scrambling keeps 8 bits of at most 255 characters: anything else
    // could never be typed in again.
    if (!PasswordStore::storable(password)) {
        Messages::plain(QStringLiteral("Attenzione: la password contiene caratteri non ammessi o è troppo lunga."));
        return;
    }
    if (!PasswordStore::store(password)) {
        Messages::plain(kChangeError);
        return;
    }
    Messages::plain(QStringLiteral("Modifica della password completata con successo."));
    close();
}

void TfrmCambiaPassword::cmdEsciClick()
{
    close();
}

void TfrmCambiaPassword::closeEvent(QCloseEvent *event)
{
    event->accept();
    hide();
    emit closed();
}
