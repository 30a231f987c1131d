#pragma once

#include "base/progress.h"
#include "import/spreadsheetimport.h"

#include <QDate>
#include <QString>

#include <functional>

// What Importa does once the user asks for it, without a window: the rows
// judged again against the archive as it is now (another copy of the program
// may have saved members since the file was opened), the user asked how many
// go in, the kept rows written all or none, and what the user is told.
namespace ImportConfirmation {

enum class Stage { Judging, Writing };

struct Hooks
{
    // The progress of a stage, made when the stage starts and dropped when
    // it ends; answering false stops the work.
    std::function<Progress(Stage)> progress;
    // Asked before anything is written; false writes nothing.
    std::function<bool(const QString &question)> proceed;
    // The amounts of the fee column ("Quota 2026") recorded in the fees
    // ledger as that year's payments, with method Altro and today's date.
    bool recordFees = false;
};

struct Result
{
    enum Kind {
        StoppedJudging, // the rows are judged in part only: the file is to be put away
        Unreadable,     // the archive cannot be read or written
        NothingToImport,
        Declined,
        StoppedWriting,
        ArchiveChanged, // another copy took every row meanwhile
        Imported,
    } kind = Unreadable;
    // What the user is told (empty when declined); for an import, the summary
    // ending with the offer to save it.
    QString message;
    SpreadsheetImport::Outcome outcome;
    qint64 feesRecorded = 0;
};

Result run(SpreadsheetImport &import, quint8 accepted, const QDate &today, const Hooks &hooks);

// "Importazione interrotta: l'archivio è rimasto com'era."
extern const QString StoppedText;

} // namespace ImportConfirmation
