#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Modulo_Privacy.rtf: the association's privacy notice and the member's
// consent, one line of Windows-1252 RTF made of fixed pieces and the values
// of the privacy window's fields.
namespace PrivacyDocument {

// The texts of the privacy window's fields: the association's, kept between
// uses, then the member's and the date and place of signing.
struct Values
{
    QString association, associationPhone, associationVatNumber, associationFiscalCode;
    QString associationTown, associationProvince, associationAddress, associationPostcode;
    QString member, birthTown, birthProvince, birthDate, fiscalCode;
    QString residenceTown, residenceProvince, address, postcode, phone;
    QString privacyHolder, date, place;
};

// The fifty pieces of the document, in order. Each value is written trimmed,
// with \, { and } escaped so that no value can break the document.
QStringList pieces(const Values &values);
// The pieces one after the other, in Windows-1252.
QByteArray rtf(const Values &values);

} // namespace PrivacyDocument
