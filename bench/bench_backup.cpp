// Times the daily backup over a large generated archive: the save that makes
// the day's first write (its copy goes on in the background), saves made
// while the copy runs, a save later that day, and the whole copy, beside a
// plain copy of the same file; then the same first save on an archive small
// enough to be copied before the save.
//
//   bench_backup [members] [runs]   (default 100000 members, 7 runs)

#include "base/backups.h"
#include "base/clock.h"
#include "members/memberarchive.h"
#include "memberdata.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cstdio>

namespace {

void removeCopies()
{
    Backups::waitForCopies();
    for (const Backups::Copy &copy : Backups::list())
        QFile::remove(copy.path);
}

// A save as the card makes it, over record `index`.
double save(MemberArchive &archive, qint64 index)
{
    const TSchedaAnagrafica member = *archive.read(index);
    return BenchData::timed([&] { archive.overwrite(index, member); });
}

void firstSaveOfADay(const char *label, int members, int runs)
{
    QTemporaryDir dir;
    const QString path = BenchData::archiveIn(dir.path(), members);
    MemberArchive archive;
    BenchData::Series plainCopy, first, during, later, whole;
    for (int run = 0; run < runs; ++run) {
        Clock::setForTesting(QDateTime(QDate(2026, 1, 1).addDays(run), QTime(9, 0)));
        plainCopy.add(BenchData::timed([&] { QFile::copy(path, path + QStringLiteral(".plain")); }));
        QFile::remove(path + QStringLiteral(".plain"));

        QElapsedTimer sinceFirst;
        sinceFirst.start();
        first.add(save(archive, 17));
        double slowest = 0;
        for (int i = 0; i < 20; ++i)
            slowest = std::max(slowest, save(archive, (100 + 97 * i) % members));
        during.add(slowest);
        Backups::waitForCopies();
        whole.add(sinceFirst.nsecsElapsed() / 1e6);
        later.add(save(archive, 42));
        removeCopies();
    }
    std::printf("%s: %d members, %.0f MB | plain copy %.0f ms | first save of the day %.1f ms (median %.1f) | slowest "
                "of 20 saves during the copy %.1f ms | copy done after %.0f ms (%.1fx the plain copy) | a later save "
                "%.1f ms\n",
                label, members, QFile(path).size() / 1e6, plainCopy.median(), first.min(), first.median(),
                during.median(), whole.median(), whole.median() / plainCopy.median(), later.median());
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int members = argc > 1 ? std::atoi(argv[1]) : 100000;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 7;
    firstSaveOfADay("large archive, copied in the background", members, runs);
    firstSaveOfADay("small archive, copied before the save", 1000, runs);
    return 0;
}
