#pragma once

#include "members/schedaanagrafica.h"
#include "report/reporttemplate.h"

#include <QImage>

#include <memory>

// The member card "Scheda Socio": the name on a blue bar, the photo, and nine
// rows of captioned boxes, one per field, on a portrait A4 sheet.
namespace CardReport {

std::unique_ptr<Report::Template> create();

// The value memos in the order they are filled; each is named "txt" and the
// record field it shows, as the archive window's edit of that field.
const QStringList &valueNames();

// The template filled with a member's card (saved or not) and its photo,
// blanks at the ends of every text removed.
void fill(Report::Template &report, const TSchedaAnagrafica &card, const QImage &photo);

} // namespace CardReport
