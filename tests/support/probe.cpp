// A second process for the tests, to see what one process alone cannot.
//
//   quorvel_probe photo PATH        reads a photo as the program does; prints
//                                   "WIDTH HEIGHT MILLISECONDS PEAK_KB"
//   quorvel_probe append PATH AT    waits until AT (milliseconds since the
//                                   epoch), then appends one member record;
//                                   exit 0 when it was written
//   quorvel_probe memberphoto FOLDER NUMBER COLOUR
//                                   another copy of the program in FOLDER
//                                   saving only the photo of member NUMBER,
//                                   a picture of one colour ("#00ff00"), as
//                                   the card's save writes it; exit 0 when
//                                   written
//   quorvel_probe pagephoto FOLDER BOOK SLOT PAGE COLOUR
//                                   the same for the photo of slot SLOT ("A"
//                                   to "H") of page PAGE of book BOOK

#include "base/imagefiles.h"
#include "base/programfolder.h"
#include "base/recordfile.h"
#include "members/memberarchive.h"
#include "members/schedaanagrafica.h"
#include "register/registerbook.h"

#include <QColor>
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
    if (argc == 5 && std::strcmp(argv[1], "memberphoto") == 0) {
        ProgramFolder::setForTesting(QString::fromLocal8Bit(argv[2]));
        QImage photo(60, 80, QImage::Format_RGB32);
        photo.fill(QColor(QString::fromLatin1(argv[4])));
        return MemberArchive::savePhoto(QString::fromLocal8Bit(argv[3]), photo) ? 0 : 1;
    }
    if (argc == 7 && std::strcmp(argv[1], "pagephoto") == 0) {
        ProgramFolder::setForTesting(QString::fromLocal8Bit(argv[2]));
        const QString name = QString::fromLocal8Bit(argv[3]);
        const RegisterBook book(RegisterBook::pathFor(name), name);
        QImage picture(300, 400, QImage::Format_RGB32);
        picture.fill(QColor(QString::fromLatin1(argv[6])));
        const QString path = book.photoPath(QChar::fromLatin1(argv[4][0]), QString::fromLocal8Bit(argv[5]));
        return RegisterBook::writePhoto(path, RegisterBook::pagePhoto(picture)) ? 0 : 1;
    }
    std::fprintf(stderr, "usage: quorvel_probe photo PATH | append PATH AT | memberphoto FOLDER NUMBER COLOUR | "
                         "pagephoto FOLDER BOOK SLOT PAGE COLOUR\n");
    return 2;
}
