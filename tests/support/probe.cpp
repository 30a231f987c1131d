// A second process for the tests, to see what one process alone cannot.
//
//   quorvel_probe photo PATH        reads a photo as the program does; prints
//                                   "WIDTH HEIGHT MILLISECONDS PEAK_KB"
//   quorvel_probe append PATH AT    waits until AT (milliseconds since the
//                                   epoch), then appends one member record;
//                                   exit 0 when it was written

#include "base/imagefiles.h"
#include "base/recordfile.h"
#include "members/schedaanagrafica.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QImage>

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
    std::fprintf(stderr, "usage: quorvel_probe photo PATH | append PATH AT\n");
    return 2;
}
