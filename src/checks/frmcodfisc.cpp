#include "checks/frmcodfisc.h"

#include "base/blanks.h"
#include "checks/codicefiscale.h"
#include "ui/fieldbehaviours.h"

#include <QLineEdit>

TfrmCodFisc::TfrmCodFisc(QWidget *parent)
    : IdentifierCheckWindow(parent, {QStringLiteral("frmCodFisc"), QStringLiteral(" Controllo codice fiscale"), 478,
                                     QColor(0xF3, 0xF1, 0xF1), QColor(0xF5, 0xDE, 0xB3),
                                     QStringLiteral(":/art/banner_codfisc.svg"),
                                     QStringLiteral("Immettere il codice fiscale e premere il pulsante di controllo."),
                                     QStringLiteral("txtCodFisc"), 16})
{
    FieldBehaviours::typingCleanup(field(), true);
}

void TfrmCodFisc::btnControllaClick()
{
    const QString code = Blanks::upperAscii(field()->text());
    if (code.size() != 16) {
        lengthWarning(QStringLiteral("Attenzione: il codice fiscale deve essere composto da 16 caratteri alfanumerici."));
        return;
    }
    if (CodFiscValido(code))
        verdict(true, QStringLiteral("Il codice fiscale digitato è VALIDO."));
    else
        verdict(false, QStringLiteral("Attenzione: il codice fiscale digitato è ERRATO."));
}
