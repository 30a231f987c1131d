#pragma once

#include "members/schedaanagrafica.h"

#include <QByteArray>
#include <QDate>
#include <QString>

#include <optional>
#include <vector>

// How the columns and cells of a members' spreadsheet become card fields:
// which field a column heading names, and how a cell's text is cleaned for
// its field.
namespace ImportFields {

// Where a column goes: a card field (TSchedaAnagrafica::FieldId, from
// Candidato to Ricontatta), the surname or the first name (joined, surname
// first, into Candidato), or nowhere.
enum Target : int {
    Ignored = -1,
    Surname = TSchedaAnagrafica::FieldCount,
    FirstName,
    // A telephone the heading does not say is mobile or home; a sheet's
    // columns never keep it (see SpreadsheetImport).
    AnyPhone,
};

// Every target in the order a menu offers them, Ignored first.
const std::vector<int> &targets();
// "Cognome e nome", "Data nascita", ..., "(ignorata)".
QString label(int target);
// The target of a label (Ignored for one that names none).
int targetOf(const QString &label);
// The card field a target fills (Candidato for the surname and the first
// name); -1 for Ignored.
int fieldOf(int target);

// The target a heading names: the export's own headings and the usual
// variants ("C.F.", "Nato il", "Cell.", "Posta elettronica"...), case,
// accents, dots, blanks and signs not counting, nor a year or the word
// "anno" ("Quota 2026"), nor words after a heading of two or more
// ("Data iscrizione al circolo"); Ignored for any other.
int match(const QString &heading);
// The heading as it is compared: small letters and digits only, accents
// dropped ("Città " and "citta" are alike).
QString comparable(const QString &heading);

// A date written in any common way (01/02/1980, 1/2/80, 1980-02-01,
// 01.02.1980, 01-02-1980, 1 febbraio 1980, a spreadsheet's day number);
// nothing for anything else, a year alone included. A two-digit year is
// taken in the latest century that does not put the date after `today`, or
// with `future`, as a date of this century unless it lies more than fifty
// years ahead.
std::optional<QDate> date(QStringView text, const QDate &today, bool future = false);
bool isDateField(int field);

// A cell's text cleaned for a card field: blanks at the ends removed; dates
// as dd/mm/yyyy where they can be read; the sex as M or F where it says so;
// the fiscal code in capitals without blanks; a postcode of fewer digits
// (or a spreadsheet's number, "12" or "12.0") padded to five; Ricontatta "Sì" for Sì, Si, S, Yes, X, 1, Vero (in any
// case), "No" for anything else.
QString clean(int field, const QString &text, const QDate &today);

// Whether a postcode can be an Italian one: five digits, 00010 to 98168.
bool italianPostcode(const QString &cap);

// The text with no control character: line breaks and tabs become blanks,
// the others (a NUL byte...) go.
QString withoutControls(const QString &text);

// Whether a fiscal code is one: valid by its check character, or eleven
// digits with a valid check digit (the code of a body).
bool validCode(const QString &code);

// Bytes of Windows-1252 as they are compared to find the same member twice:
// capitals, no blanks anywhere.
QByteArray folded(QByteArrayView windows1252);
// Characters a text takes in Windows-1252: one for each character, one for
// each pair of surrogates.
qsizetype storedLength(const QString &text);

} // namespace ImportFields
