// Times the spreadsheet export over a large generated archive: the window open
// with its grid filled, and the .xls and the .xlsx written, each beside
// reading the same archive sequentially; and the memory each export takes
// above the program's.
//
//   bench_export [members] [folder]   (default 100000 members, a temporary folder)
//
// Given a folder, the archive and both files stay there afterwards, to be
// opened in a spreadsheet program.

#include "app/startup.h"
#include "base/programfolder.h"
#include "documents/frmexpcandidati.h"
#include "members/memberarchive.h"
#include "memberdata.h"
#include "ui/messages.h"

#include <QApplication>
#include <QTableView>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Startup::prepareApplication(app);
    const int members = argc > 1 ? std::atoi(argv[1]) : 100000;

    QTemporaryDir dir;
    const QString folder = argc > 2 ? QString::fromLocal8Bit(argv[2]) : dir.path();
    const QString path = BenchData::archiveIn(folder, members);
    Messages::Recorder messages;
    std::printf("archive: %d members, %.0f MB; resident before the export: %ld MB\n", members,
                QFile(path).size() / 1e6, BenchData::residentMegabytes());

    for (int run = 1; run <= 3; ++run) {
        const double baseline = BenchData::readSequentially(path);
        QElapsedTimer timer;
        timer.start();
        auto *window = new TfrmExpCandidati;
        window->show();
        QCoreApplication::processEvents();
        const double open = timer.nsecsElapsed() / 1e6;
        const qsizetype rows = window->grid()->model()->rowCount();

        // Each file: the time to write it, its size, and the highest memory
        // while writing it above the window's.
        struct Written
        {
            double ms;
            double megabytes;
            long peak;
        };
        const auto write = [&](void (TfrmExpCandidati::*command)(), const QString &name) {
            messages.answerNext(true);
            messages.answerNext(false);
            const long resident = BenchData::resetPeak();
            const double ms = BenchData::timed([&] { (window->*command)(); });
            return Written{ms, QFile(ProgramFolder::file(name)).size() / 1e6,
                           BenchData::peakResidentMegabytes() - resident};
        };
        const Written xls = write(&TfrmExpCandidati::cmdEsportaClick, TfrmExpCandidati::FileName);
        const Written xlsx = write(&TfrmExpCandidati::cmdEsportaXlsxClick, TfrmExpCandidati::WorkbookFileName);
        std::printf("run %d: sequential read %.0f ms | window open with %lld rows %.0f ms (%.1fx)\n"
                    "       .xls of %.0f MB written %.0f ms (%.1fx), peak +%ld MB | .xlsx of %.0f MB written %.0f ms "
                    "(%.1fx), peak +%ld MB\n",
                    run, baseline, static_cast<long long>(rows), open, open / baseline, xls.megabytes, xls.ms,
                    xls.ms / baseline, xls.peak, xlsx.megabytes, xlsx.ms, xlsx.ms / baseline, xlsx.peak);
        if (messages.shown().size() != qsizetype(4 * run))
            std::printf("       an export failed: %s\n", qPrintable(messages.shown().last().text));
        delete window;
    }
    return 0;
}
