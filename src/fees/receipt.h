#pragma once

#include "fees/feeledger.h"
#include "report/reporttemplate.h"

#include <memory>

// The receipt of a payment, on the upper half of an A4 sheet (cut along the
// dashes for an A5): "Ricevuta quota associativa n. 12/2026", the
// association, the date, the member, the amount in figures and in words,
// the year paid for, the method and a line for the signature. A cancelled
// receipt says "ANNULLATA" and why.
namespace Receipt {

std::unique_ptr<Report::Template> make(const FeeLedger::Payment &payment, const FeeLedger::Association &association);

} // namespace Receipt
