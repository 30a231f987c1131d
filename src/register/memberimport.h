#pragma once

#include "members/schedaanagrafica.h"
#include "register/paginaregistro.h"

// The five lines a member brings into a page slot: heading, birth line,
// address line, admission and leaving lines, each member field without
// blanks at its ends.
namespace MemberImport {

TSlotPagina slotLines(const TSchedaAnagrafica &member);

} // namespace MemberImport
