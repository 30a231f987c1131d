// The files beside the data that a kill or a damaged disk may leave in any
// state: a daily copy put back by a restore (the archive, a book, an INI
// file), the journal of a day's copy that was being made in the background,
// and the journal of an import cut short. The first byte says which.

#include "fuzzsupport.h"

#include "base/backups.h"
#include "base/clock.h"
#include "base/programfolder.h"
#include "base/recordfile.h"
#include "members/schedaanagrafica.h"

#include <QDir>
#include <QFile>

#include <cstdlib>

namespace {

constexpr int kRecord = TSchedaAnagrafica::RecordSize;

QByteArray archive()
{
    TSchedaAnagrafica a, b;
    a.Candidato = QStringLiteral("Rossi Mario");
    b.Candidato = QStringLiteral("Verdi Anna");
    return a.toBytes() + b.toBytes();
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A copy of any content put back: either it is taken whole, or the file
// stays as it was.
void restore(const QString &fileName, const QByteArray &content)
{
    const QString target = ProgramFolder::file(fileName);
    QFile::remove(target);
    const QByteArray before = fileName.endsWith(QLatin1String(".ini")) ? QByteArray("[Frontespizio Registro]\r\n")
                                                                      : archive();
    Fuzz::writeInput(fileName, reinterpret_cast<const uint8_t *>(before.constData()), size_t(before.size()));
    const QString copy = QStringLiteral("Backup/") + fileName.section(u'.', 0, 0) + QStringLiteral("_2026-01-05.")
        + fileName.section(u'.', 1);
    Fuzz::writeInput(copy, reinterpret_cast<const uint8_t *>(content.constData()), size_t(content.size()));
    for (const Backups::Copy &c : Backups::list()) {
        if (c.fileName != fileName || c.time.isValid())
            continue;
        const Backups::Restored restored = Backups::restore(c);
        const QByteArray now = readAll(target);
        if (restored == Backups::Restored::Yes ? now != content : now != before)
            std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    Fuzz::initialise(argc, argv);
    RecordFile::setLockTimeout(100);
    Backups::setReporter([](const QString &) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    static qint64 run = 0;
    QDir(Backups::folder()).removeRecursively();
    const QByteArray input = Fuzz::bytes(data + 1, size - 1);
    const QString members = QStringLiteral("Archivio_Anagrafico.pro");
    switch (data[0] % 4) {
    case 0:
        restore(members, input);
        break;
    case 1:
        restore(QStringLiteral("Quorvel.ini"), input);
        break;
    case 2: {
        // A day's copy left half made, its journal the input: the next save
        // finishes it, or names it by its time.
        Clock::setForTesting(QDateTime(QDate(2026, 1, 1).addDays(++run), QTime(9, 0)));
        Backups::setBackgroundThresholdForTesting(0);
        const QByteArray before = archive() + archive();
        Fuzz::writeInput(members, reinterpret_cast<const uint8_t *>(before.constData()), size_t(before.size()));
        const QString dayCopy = QStringLiteral("Backup/Archivio_Anagrafico_")
            + Clock::today().toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral(".pro");
        const QByteArray half = before.left(kRecord);
        Fuzz::writeInput(dayCopy + QStringLiteral(".parziale"), reinterpret_cast<const uint8_t *>(half.constData()),
                         size_t(half.size()));
        Fuzz::writeInput(dayCopy + QStringLiteral(".diario"), data + 1, size - 1);
        RecordFile file(ProgramFolder::file(members), kRecord);
        if (!file.overwrite(1, archive().left(kRecord)))
            std::abort();
        Backups::waitForCopies();
        break;
    }
    default: {
        // An import cut short, its journal the input: the archive is never
        // longer afterwards, and its whole records before the journal's length stay.
        const QByteArray before = archive() + input.left(3 * kRecord);
        Fuzz::writeInput(members, reinterpret_cast<const uint8_t *>(before.constData()), size_t(before.size()));
        RecordFile file(ProgramFolder::file(members), kRecord);
        Fuzz::writeInput(members + QStringLiteral(".incompleto"), data + 1, size - 1);
        const auto count = file.count();
        const QByteArray after = readAll(ProgramFolder::file(members));
        if (!count || after.size() > before.size() || QFile::exists(file.journalPath()))
            std::abort();
        break;
    }
    }
    return 0;
}
