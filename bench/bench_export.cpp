// Times the spreadsheet export over a large generated archive: the window open
// with its grid filled, and the file written, each beside reading the same
// archive sequentially; and the memory the export takes above the program's.
//
//   bench_export [members]   (default 100000)

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
    const QString path = BenchData::archiveIn(dir.path(), members);
    Messages::Recorder messages;
    const long before = BenchData::residentMegabytes();
    std::printf("archive: %d members, %.0f MB; resident before the export: %ld MB\n", members,
                QFile(path).size() / 1e6, before);

    for (int run = 1; run <= 3; ++run) {
        const double baseline = BenchData::readSequentially(path);
        QElapsedTimer timer;
        timer.start();
        auto *window = new TfrmExpCandidati;
        window->show();
        QCoreApplication::processEvents();
        const double open = timer.nsecsElapsed() / 1e6;
        const qsizetype rows = window->grid()->model()->rowCount();

        messages.answerNext(true);
        messages.answerNext(false);
        timer.restart();
        window->cmdEsportaClick();
        const double write = timer.nsecsElapsed() / 1e6;
        const double megabytes = QFile(ProgramFolder::file(TfrmExpCandidati::FileName)).size() / 1e6;
        std::printf("run %d: sequential read %.0f ms | window open with %lld rows %.0f ms (%.1fx) | file of %.0f MB "
                    "written %.0f ms (%.1fx) | peak memory %ld MB above the program's before\n",
                    run, baseline, static_cast<long long>(rows), open, open / baseline, megabytes, write,
                    write / baseline, BenchData::peakMegabytes() - before);
        delete window;
    }
    return 0;
}
