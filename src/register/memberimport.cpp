#include "register/memberimport.h"

#include "base/blanks.h"

namespace MemberImport {

TSlotPagina slotLines(const TSchedaAnagrafica &m)
{
    const auto t = [](const QString &text) { return Blanks::trimmed(text); };
    TSlotPagina slot;
    slot.Nome = QStringLiteral("#. ") + t(m.Candidato) + QStringLiteral(" (") + t(m.Settore) + QStringLiteral(")");
    slot.UM = QStringLiteral("Luogo e data nascita: ") + t(m.LuogoNasc) + QStringLiteral(" (") + t(m.DataNasc)
        + QStringLiteral(")  -  C.F. ") + t(m.CodFisc);
    slot.Caratteristiche = t(m.Indirizzo) + QStringLiteral("  -  CAP: ") + t(m.Cap) + QStringLiteral("  -  ") + t(m.Citta);
    slot.Codice = QStringLiteral("Ammissione: ") + t(m.Competenze);
    slot.Prezzo = QStringLiteral("Cessazione: ") + t(m.Disponibilita);
    return slot;
}

} // namespace MemberImport
