#include "checks/frmpartitaiva.h"

#include "base/blanks.h"
#include "checks/partitaiva.h"
#include "ui/fieldbehaviours.h"

#include <QLineEdit>

TfrmPartitaIva::TfrmPartitaIva(QWidget *parent)
    : IdentifierCheckWindow(parent, {QStringLiteral("frmPartitaIva"), QStringLiteral(" Controllo partita IVA"), 480,
                                     Qt::white, QColor(0xFF, 0xE4, 0xC4), QStringLiteral(":/art/banner_partitaiva.svg"),
                                     QStringLiteral("Immettere il numero di partita IVA e premere il pulsante di controllo."),
                                     QStringLiteral("txtPartitaIva"), 11})
{
    FieldBehaviours::digitFilter(field());
}

void TfrmPartitaIva::btnControllaClick()
{
    const QString number = Blanks::upperAscii(field()->text());
    if (number.size() != 11) {
        lengthWarning(QStringLiteral("Attenzione: la partita IVA deve essere composta da 11 caratteri numerici."));
        return;
    }
    if (PartitaIvaValida(number)) {
        const QString office = UfficioIva(field()->text().mid(7, 3));
        verdict(true, QStringLiteral("Il numero di partita IVA digitato risulta VALIDO.\r\n\r\n"
                                     "E' stato rilasciato dall'Ufficio IVA del Comune di ")
                          + office + QStringLiteral("."));
    } else {
        verdict(false, QStringLiteral("Attenzione: il numero di partita IVA digitato risulta ERRATO!\r\n\r\n"
                                      "Non è quindi possibile fornire informazioni relative all'Ufficio IVA che lo "
                                      "ha rilasciato."));
    }
}
