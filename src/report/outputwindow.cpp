#include "report/outputwindow.h"

#include "ui/look.h"
#include "ui/shaperect.h"

#include <QPushButton>

OutputWindow::OutputWindow(QWidget *parent, const QString &windowName, const QString &caption,
                           const QString &outputButton, const Layout &layout)
    : QDialog(parent)
{
    setObjectName(windowName);
    Look::fixedDialog(this, caption, 364, 287);
    Look::setVerticalGradient(this, Look::SteelBlue, Qt::white);
    m_panel = Look::rect(this, QStringLiteral("shpSfondo"), layout.panel, Qt::white, Look::TileBorder);
    auto *btnAnnulla = Look::button(this, QStringLiteral("btnAnnulla"), QStringLiteral("Annulla"), layout.cancelButton,
                                    Look::font(QStringLiteral("Verdana"), 9));
    auto *btnStampa = Look::button(this, QStringLiteral("btnStampa"), outputButton, layout.outputButton,
                                   Look::font(QStringLiteral("Verdana"), 9));
    btnStampa->setDefault(true);
    connect(btnAnnulla, &QPushButton::clicked, this, &QDialog::reject);
    connect(btnStampa, &QPushButton::clicked, this, [this] { btnStampaClick(); });
}
