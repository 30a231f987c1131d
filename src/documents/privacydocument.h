#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

// Modulo_Privacy.rtf: the association's privacy notice and the member's
// consent, one line of Windows-1252 RTF made of fixed pieces and the values
// of the privacy window's fields.
namespace PrivacyDocument {

// The fields' texts by field name ("txtStudioDent", "txtPaziente", ...); a
// missing name counts as empty.
using Values = QHash<QString, QString>;

// The fifty pieces of the document, in order. Each value is written trimmed,
// with \, { and } escaped so that no value can break the document.
QStringList pieces(const Values &values);
// The pieces one after the other, in Windows-1252.
QByteArray rtf(const Values &values);

} // namespace PrivacyDocument
