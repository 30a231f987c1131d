// A second process for the tests, to see what one process alone cannot.
//
//   quorvel_probe photo PATH        reads a photo as the program does; prints
//                                   "WIDTH HEIGHT MILLISECONDS PEAK_KB"
//   quorvel_probe append PATH AT    waits until AT (milliseconds since the
//                                   epoch), then appends one member record;
//                                   exit 0 when it was written
//   quorvel_probe killedappend PATH N  starts an all-or-nothing append of N
//                                   member records and kills itself after
//                                   N - 1 of them were made, past the first
//                                   blocks written
//   quorvel_probe import FOLDER SHEET AT  reads and judges SHEET for the
//                                   archive in FOLDER, waits until AT, then
//                                   imports its ready rows; exit 0 when it
//                                   imported, 3 when none could go in
//   quorvel_probe save FOLDER DAY INDEX FILL [kill]
//                                   on day DAY (yyyy-mm-dd) in program folder
//                                   FOLDER, overwrites member record INDEX with
//                                   FILL bytes, every copy made in the
//                                   background; with "kill", the process kills
//                                   itself in the middle of that copy;
//                                   exit 0 when the record was written
//   quorvel_probe memberphoto FOLDER NUMBER COLOUR
//                                   another copy of the program in FOLDER
//                                   saving only the photo of member NUMBER,
//                                   a picture of one colour ("#00ff00"), as
//                                   the card's save writes it; exit 0 when
//                                   written
//   quorvel_probe pagephoto FOLDER BOOK SLOT PAGE COLOUR
//                                   the same for the photo of slot SLOT ("A"
//                                   to "H") of page PAGE of book BOOK
//   quorvel_probe locale            starts as the program does with the
//                                   environment it is given; prints the
//                                   system locale, 11 December 2026 at 9:05
//                                   in its short form, the date separator,
//                                   and LC_ALL, LANG and LC_TIME once started

#include "base/backups.h"
#include "base/clock.h"
#include "base/formats.h"
#include "base/imagefiles.h"
#include "base/programfolder.h"
#include "base/recordfile.h"
#include "import/spreadsheetimport.h"
#include "members/memberarchive.h"
#include "members/schedaanagrafica.h"
#include "register/registerbook.h"

#include <QColor>
#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QImage>
#include <QLocale>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <optional>
#include <sys/resource.h>

namespace {

void waitUntil(const char *at)
{
    const qint64 when = QByteArray(at).toLongLong();
    while (QDateTime::currentMSecsSinceEpoch() < when) {
    }
}

} // namespace

int main(int argc, char **argv)
{
    if (argc == 2 && std::strcmp(argv[1], "locale") == 0) {
        std::optional<QCoreApplication> app;
        {
            const Formats::ItalianSystemLocale italian;
            app.emplace(argc, argv);
        }
        const QDateTime when(QDate(2026, 12, 11), QTime(9, 5));
        std::printf("%s|%s|%s|%s|%s|%s\n", qPrintable(QLocale::system().name()),
                    qPrintable(QLocale::system().toString(when, QLocale::ShortFormat)),
                    qPrintable(QString(Formats::dateSeparator())), qgetenv("LC_ALL").constData(),
                    qgetenv("LANG").constData(), qgetenv("LC_TIME").constData());
        return 0;
    }
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
        waitUntil(argv[3]);
        RecordFile file(QString::fromLocal8Bit(argv[2]), TSchedaAnagrafica::RecordSize);
        return file.append(QByteArray(TSchedaAnagrafica::RecordSize, 'x')) ? 0 : 1;
    }
    if (argc == 4 && std::strcmp(argv[1], "killedappend") == 0) {
        const qint64 count = QByteArray(argv[3]).toLongLong();
        RecordFile file(QString::fromLocal8Bit(argv[2]), TSchedaAnagrafica::RecordSize);
        file.appendAll([count](const RecordFile::Locked &) { return count; },
                       [count](qint64 i) {
                           if (i == count - 1)
                               std::raise(SIGKILL);
                           return QByteArray(TSchedaAnagrafica::RecordSize, 'k');
                       },
                       {}, nullptr);
        return 1;
    }
    if (argc == 5 && std::strcmp(argv[1], "import") == 0) {
        ProgramFolder::setForTesting(QString::fromLocal8Bit(argv[2]));
        SpreadsheetImport import;
        if (!import.load(QString::fromLocal8Bit(argv[3])).ok || !import.judge(Clock::today()))
            return 1;
        waitUntil(argv[4]);
        const auto outcome = import.importInto(0);
        return outcome.kind == SpreadsheetImport::Outcome::Imported ? 0
             : outcome.kind == SpreadsheetImport::Outcome::NoRows   ? 3
                                                                    : 1;
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
    std::fprintf(stderr, "usage: quorvel_probe photo PATH | append PATH AT | killedappend PATH N | "
                         "import FOLDER SHEET AT | save FOLDER DAY INDEX FILL [kill] | "
                         "memberphoto FOLDER NUMBER COLOUR | pagephoto FOLDER BOOK SLOT PAGE COLOUR\n");
    return 2;
}
