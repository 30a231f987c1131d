#include "import/importconfirmation.h"

#include "fees/amounts.h"
#include "fees/feeledger.h"
#include "import/importhistory.h"
#include "members/memberarchive.h"

#include <QLocale>

#include <numeric>

namespace ImportConfirmation {

const QString StoppedText = QStringLiteral("Importazione interrotta: l'archivio è rimasto com'era.");

namespace {

QString number(qint64 n)
{
    return QLocale(QLocale::Italian).toString(n);
}

// The stage's progress, and whether it asked to stop.
struct Watched
{
    Progress progress;
    bool stopped = false;

    Progress callback()
    {
        return [this](qint64 done, qint64 total) {
            if (progress && !progress(done, total))
                stopped = true;
            return !stopped;
        };
    }
};

// The fee column's amounts of the members just written, as that year's
// payments: read back from the cards as the archive holds them. Nothing for a
// card whose fee is no amount. Nothing at all when the ledger cannot be written.
std::optional<qint64> recordFees(const SpreadsheetImport::Outcome &done, int year, const QDate &today)
{
    qint64 recorded = 0;
    MemberArchive archive;
    for (qint64 i = 0; i < done.count; ++i) {
        const auto card = archive.read(done.first + i);
        if (!card)
            return std::nullopt;
        const Amounts::Parsed amount = Amounts::parse(card->Esperienze);
        if (amount.problem != Amounts::Problem::None)
            continue;
        FeeLedger::Payment p;
        p.member = done.first + i + 1;
        p.fiscalCode = card->CodFisc;
        p.name = card->Candidato;
        p.year = year;
        p.paid = today;
        p.cents = *amount.cents;
        p.method = FeeLedger::Method::Other;
        p.note = QStringLiteral("Importazione");
        if (!FeeLedger::record(p))
            return std::nullopt;
        ++recorded;
    }
    return recorded;
}

QString summary(const SpreadsheetImport::Outcome &done)
{
    using SI = SpreadsheetImport;
    const qint64 read = done.count + done.notMembers
        + std::accumulate(done.skipped.begin(), done.skipped.end(), qint64(0));
    const qint64 left = read - done.count;
    QString text = done.count == 1
        ? QStringLiteral("È stato importato in archivio 1 socio (scheda %1).").arg(done.first + 1)
        : QStringLiteral("Sono stati importati in archivio %1 soci (schede da %2 a %3).")
              .arg(number(done.count))
              .arg(done.first + 1)
              .arg(done.first + done.count);
    if (left > 0) {
        QStringList why;
        for (int p = 0; p < SI::ProblemCount; ++p)
            if (done.skipped[size_t(p)])
                why << QStringLiteral("%1 %2").arg(number(done.skipped[size_t(p)]), SI::problemText(SI::Problems[p]));
        if (done.notMembers)
            why << QStringLiteral("%1 %2").arg(number(done.notMembers), done.notMembers == 1
                                                                             ? QStringLiteral("che non è un socio")
                                                                             : SI::problemText(SI::NotMember));
        text += QStringLiteral("\n\r\n\rRighe non importate: %1 (%2).").arg(number(left), why.join(QStringLiteral(", ")));
    }
    if (!done.undoable)
        text += QStringLiteral("\n\r\n\rAttenzione: non è stato possibile registrare l'importazione nel file %1, "
                               "quindi non potrà essere annullata.")
                    .arg(QString::fromLatin1(ImportHistory::FileName));
    return text + QStringLiteral("\n\r\n\rSi vuole salvare il riepilogo dell'importazione in un file di testo?");
}

} // namespace

Result run(SpreadsheetImport &import, quint8 accepted, const QDate &today, const Hooks &hooks)
{
    Result result;
    // Taken now: the rows and their columns are put away once written.
    const std::optional<int> feeYear = hooks.recordFees ? import.feeYear() : std::nullopt;
    bool judged = false;
    {
        Watched judging{hooks.progress ? hooks.progress(Stage::Judging) : Progress()};
        judged = import.judge(today, judging.callback());
        if (judging.stopped) {
            result.kind = Result::StoppedJudging;
            result.message = StoppedText;
            return result;
        }
    }
    if (!judged) {
        result.kind = Result::Unreadable;
        return result;
    }
    const qint64 count = import.keptCount(accepted);
    if (count == 0) {
        result.kind = Result::NothingToImport;
        result.message = QStringLiteral("Attenzione: con le scelte fatte nessuna riga del file può essere importata.");
        return result;
    }
    const QString going = count == 1 ? QStringLiteral("Sarà importato in archivio 1 socio")
                                     : QStringLiteral("Saranno importati in archivio %1 soci").arg(number(count));
    const QString from = import.rowCount() == 1 ? QStringLiteral("dall'unica riga del file")
                                                : QStringLiteral("dalle %1 righe del file").arg(number(import.rowCount()));
    if (hooks.proceed
        && !hooks.proceed(going + QStringLiteral(", ") + from
                          + QStringLiteral(".\n\r\n\rSi vuole procedere con l'importazione?"))) {
        result.kind = Result::Declined;
        return result;
    }
    {
        Watched writing{hooks.progress ? hooks.progress(Stage::Writing) : Progress()};
        result.outcome = import.importInto(accepted, writing.callback());
    }
    switch (result.outcome.kind) {
    case SpreadsheetImport::Outcome::Stopped:
        result.kind = Result::StoppedWriting;
        result.message = StoppedText;
        break;
    case SpreadsheetImport::Outcome::Failed:
        result.kind = Result::Unreadable;
        break;
    case SpreadsheetImport::Outcome::NoRows:
        result.kind = Result::ArchiveChanged;
        result.message = QStringLiteral("Attenzione: nel frattempo l'archivio è cambiato e nessuna riga del file può "
                                        "più essere importata.");
        break;
    case SpreadsheetImport::Outcome::Imported: {
        result.kind = Result::Imported;
        QString fees;
        if (feeYear) {
            const int year = *feeYear;
            const auto recorded = recordFees(result.outcome, year, today);
            result.feesRecorded = recorded.value_or(0);
            fees = recorded ? QStringLiteral("\n\r\n\rVersamenti della quota %1 registrati: %2.")
                                  .arg(year)
                                  .arg(number(*recorded))
                            : QStringLiteral("\n\r\n\rAttenzione: non è stato possibile registrare tutti i versamenti "
                                             "della quota %1 nel file Quote.sqlite.")
                                  .arg(year);
        }
        result.message = summary(result.outcome);
        // Before the offer to save the summary.
        result.message.insert(result.message.lastIndexOf(QStringLiteral("\n\r\n\r")), fees);
        break;
    }
    }
    return result;
}

} // namespace ImportConfirmation
