#include "checks/identifiercheckwindow.h"

#include "ui/fieldbehaviours.h"
#include "ui/look.h"
#include "ui/messages.h"
#include "ui/shaperect.h"

#include <QLineEdit>
#include <QPushButton>

IdentifierCheckWindow::IdentifierCheckWindow(QWidget *parent, const Design &design)
    : QDialog(parent)
{
    setObjectName(design.windowName);
    Look::fixedDialog(this, design.caption, design.width, 254);
    Look::setVerticalGradient(this, Look::SteelBlue, Qt::white);
    QWidget *pan = Look::centredPanel(this, 453, 222);

    Look::rect(pan, QStringLiteral("shpContainer"), {8, 8, 437, 169}, design.containerFill, design.containerBorder);
    Look::picture(pan, QStringLiteral("imgLogo"), {16, 16, 421, 73}, design.logo);
    Look::label(pan, QStringLiteral("lblTitolo"), design.prompt, {16, 98}, Look::font(QStringLiteral("Arial"), 9));
    auto *frame = Look::rect(pan, QStringLiteral("shpCodFisc"), {16, 118, 421, 50}, Look::SteelBlue, Qt::white);
    frame->setFill(Look::SteelBlue, Qt::white);

    m_field = Look::place(new QLineEdit(pan), design.fieldName, {26, 128, 233, 28});
    m_field->setFont(Look::font(QStringLiteral("Courier New"), 16, true));
    FieldBehaviours::typingLimit(m_field, design.maxLength);
    btnControlla = Look::button(pan, QStringLiteral("btnControlla"), QStringLiteral("Controlla"), {268, 128, 160, 28},
                                Look::font(QStringLiteral("Verdana"), 9));
    auto *btnChiudi = Look::button(pan, QStringLiteral("btnChiudi"), QStringLiteral("Chiudi"), {170, 184, 116, 28},
                                   Look::font(QStringLiteral("Verdana"), 9));
    setTabOrder(m_field, btnControlla);
    setTabOrder(btnControlla, btnChiudi);
    FieldBehaviours::enterMovesTo(m_field, btnControlla);

    connect(btnControlla, &QPushButton::clicked, this, &IdentifierCheckWindow::btnControllaClick);
    connect(btnChiudi, &QPushButton::clicked, this, &IdentifierCheckWindow::btnChiudiClick);
}

void IdentifierCheckWindow::showEvent(QShowEvent *event)
{
    Look::centreOnScreen(this);
    QDialog::showEvent(event);
    m_field->setFocus();
}

void IdentifierCheckWindow::btnChiudiClick()
{
    reject();
}

void IdentifierCheckWindow::verdict(bool valid, const QString &message)
{
    if (valid)
        Messages::information(message);
    else
        Messages::warning(message);
    accept();
}

void IdentifierCheckWindow::lengthWarning(const QString &message)
{
    Messages::warning(message);
    m_field->setFocus();
}
