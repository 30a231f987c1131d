#pragma once

#include <QString>
#include <QStringList>

// The help topics: a title and its paragraphs, fixed texts of the program.
namespace HelpTexts {

struct Topic
{
    QString title;
    QStringList paragraphs;
    // The paragraphs as the help window shows them: an empty line between two.
    QString text() const { return paragraphs.join(QStringLiteral("\r\n\r\n")); }
};

Topic archive();   // "App Archivio Soci"
Topic pages();     // "App Gestione Pagine Quorvel"
Topic exporting(); // "Esportazione archivio soci in Excel"
Topic importing(); // "Importazione soci da foglio di calcolo"
Topic books();     // "Creazione e apertura Quorvel"
Topic statistics(); // "Statistiche soci"
Topic fees();       // "Quote associative"
Topic backups();    // "Copie di sicurezza"
Topic guide();     // "Uno sguardo a Quorvel con Vori": the complete guide

} // namespace HelpTexts
