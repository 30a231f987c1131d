// Times the member search and the members-to-recontact summary over a large
// generated archive, from pressing the button to the list filled, beside the
// time of reading the same file sequentially in the same run.
//
//   bench_search [members]   (default 100000)

#include "app/startup.h"
#include "base/programfolder.h"
#include "members/memberarchive.h"
#include "search/frmdaricontattare.h"
#include "search/frmtrovacandidati.h"
#include "search/resultpage.h"
#include "memberdata.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <cstdio>
#include <sys/resource.h>

namespace {

double search(const QStringList &filters, size_t &rows)
{
    TfrmTrovaCandidati window;
    window.show();
    for (int i = 0; i < filters.size(); ++i)
        window.filter(i)->setText(filters[i]);
    QElapsedTimer timer;
    timer.start();
    window.findChild<QPushButton *>(QStringLiteral("btnCerca"))->click();
    QCoreApplication::processEvents();
    const double ms = timer.nsecsElapsed() / 1e6;
    rows = window.resultPage()->rows().size();
    return ms;
}

double recontact(size_t &rows)
{
    QElapsedTimer timer;
    timer.start();
    TfrmDaRicontattare window;
    window.show();
    QCoreApplication::processEvents();
    const double ms = timer.nsecsElapsed() / 1e6;
    rows = window.resultPage()->rows().size();
    return ms;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Startup::prepareApplication(app);
    const int members = argc > 1 ? std::atoi(argv[1]) : 100000;

    QTemporaryDir dir;
    const QString path = BenchData::archiveIn(dir.path(), members);
    std::printf("archive: %d members, %.0f MB; peak memory after generating: %ld MB\n", members,
                QFile(path).size() / 1e6, BenchData::peakMegabytes());

    for (int run = 1; run <= 3; ++run) {
        size_t all = 0, some = 0, flagged = 0;
        const double baseline = BenchData::readSequentially(path);
        const double noFilter = search({}, all);
        const double threeFilters =
            search({QStringLiteral("rossi"), QStringLiteral("19"), QStringLiteral("ital")}, some);
        const double summary = recontact(flagged);
        std::printf("run %d: sequential read %.0f ms | search, no filter %.0f ms (%.1fx, %zu rows) | "
                    "three filters %.0f ms (%.1fx, %zu rows) | recontact %.0f ms (%.1fx, %zu rows)\n",
                    run, baseline, noFilter, noFilter / baseline, all, threeFilters, threeFilters / baseline, some,
                    summary, summary / baseline, flagged);
    }
    std::printf("peak memory: %ld MB\n", BenchData::peakMegabytes());
    return 0;
}
