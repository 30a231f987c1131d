// Times the members' statistics over a large archive of realistic members:
// the figures alone, and the window from its opening to the charts drawn,
// beside reading the same file sequentially in the same run; and the peak
// memory above the program's before the window opened.
//
//   bench_statistics [members] [runs]   (default 100000 members, 7 runs)

#include "app/startup.h"
#include "search/frmstatistiche.h"
#include "search/memberstatistics.h"
#include "memberdata.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Startup::prepareApplication(app);
    const BenchData::Archive archive(argc, argv);
    const int runs = archive.runs;
    const QString &path = archive.path;

    BenchData::Series read, figures, window, peak;
    for (int r = 0; r < runs; ++r) {
        read.add(BenchData::readSequentially(path));
        figures.add(BenchData::timed([] { MemberStatistics::compute(QDate::currentDate()); }));
        const long before = BenchData::resetPeak();
        window.add(BenchData::timed([] {
            TfrmStatistiche statistics;
            QSignalSpy ready(&statistics, &TfrmStatistiche::ready);
            statistics.show();
            ready.wait(60000);
            // The charts drawn.
            statistics.repaint();
            QCoreApplication::processEvents();
        }));
        peak.add(double(BenchData::peakResidentMegabytes() - before));
    }
    std::printf("raw read: min %.1f ms, median %.1f ms\n", read.min(), read.median());
    std::printf("figures alone: min %.1f ms (%.2fx), median %.1f ms (%.2fx)\n", figures.min(),
                figures.min() / read.min(), figures.median(), figures.median() / read.median());
    std::printf("window opened to charts drawn: min %.1f ms, median %.1f ms\n", window.min(), window.median());
    std::printf("peak memory above the program's before the window: min %.0f MB, max %.0f MB\n", peak.min(),
                *std::max_element(peak.values.begin(), peak.values.end()));
    return 0;
}
