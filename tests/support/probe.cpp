// A second process for the tests, to see what one process alone cannot.
//
//   quorvel_probe photo PATH        reads a photo as the program does; prints
//                                   "WIDTH HEIGHT MILLISECONDS PEAK_KB"
//   quorvel_probe append PATH AT    waits until AT (milliseconds since the
//                                   epoch), then appends one member record;
//                                   exit 0 when it was written
//   quorvel_probe save FOLDER DAY INDEX FILL [kill]
//                                   on day DAY (yyyy-mm-dd) in program folder
//                                   FOLDER, overwrites member record INDEX with
//                                   FILL bytes, every copy made in the
//                                   background; with "kill", the process kills
//                                   itself in the middle of that copy;
//                                   exit 0 when the record was written

#include "base/backups.h"
#include "base/clock.h"
#include "base/imagefiles.h"
#include "base/programfolder.h"
#include "base/recordfile.h"
#include "members/schedaanagrafica.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QImage>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <sys/resource.h>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc == 3 && std::strcmp(argv[1], "photo") == 0) {
        QElapsedTimer timer;
        timer.start();
        const QImage image = ImageFiles::read(QString::fromLocal8Bit(argv[2]));
        const qint64 ms = timer.elapsed();
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        std::printf("%d %d %lld %ld\n", image.width(), image.height(), static_cast<long long>(ms), usage.ru_maxrss);
        return 0;
    }
    if (argc == 4 && std::strcmp(argv[1], "append") == 0) {
        const qint64 at = QByteArray(argv[3]).toLongLong();
        while (QDateTime::currentMSecsSinceEpoch() < at) {
        }
        RecordFile file(QString::fromLocal8Bit(argv[2]), TSchedaAnagrafica::RecordSize);
        return file.append(QByteArray(TSchedaAnagrafica::RecordSize, 'x')) ? 0 : 1;
    }
    if ((argc == 6 || argc == 7) && std::strcmp(argv[1], "save") == 0) {
        ProgramFolder::setForTesting(QString::fromLocal8Bit(argv[2]));
        Clock::setForTesting(QDateTime(QDate::fromString(QString::fromLatin1(argv[3]), Qt::ISODate), QTime(9, 0)));
        Backups::setBackgroundThresholdForTesting(0);
        if (argc == 7 && std::strcmp(argv[6], "kill") == 0) {
            // Killed before the copy's second piece, once the save is done.
            static int pieces = 0;
            Backups::setBetweenPiecesForTesting([] {
                if (++pieces == 2)
                    std::raise(SIGKILL);
            });
        }
        RecordFile file(ProgramFolder::file(QStringLiteral("Archivio_Anagrafico.pro")), TSchedaAnagrafica::RecordSize);
        const bool saved = file.overwrite(QByteArray(argv[4]).toLongLong(),
                                          QByteArray(TSchedaAnagrafica::RecordSize, argv[5][0]));
        Backups::waitForCopies();
        return saved ? 0 : 1;
    }
    std::fprintf(stderr, "usage: quorvel_probe photo PATH | append PATH AT | save FOLDER DAY INDEX FILL [kill]\n");
    return 2;
}
