// Times the members' statistics over a large archive of realistic members:
// the archive read into figures, the window from its opening to the charts
// drawn, and another year chosen to its charts drawn, beside reading the
// same file sequentially in the same run; and the peak memory above the
// program's before the window opened.
//
//   bench_statistics [members] [runs]   (default 100000 members, 7 runs)

#include "app/startup.h"
#include "statistics/frmstatistiche.h"
#include "statistics/memberstatistics.h"
#include "memberdata.h"

#include <QApplication>
#include <QComboBox>
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

    BenchData::Series read, figures, window, year, peak;
    for (int r = 0; r < runs; ++r) {
        read.add(BenchData::readSequentially(path));
        figures.add(BenchData::timed([] { MemberRoll::read(QDate::currentDate())->figures(QDate::currentDate().year()); }));
        const long before = BenchData::resetPeak();
        TfrmStatistiche statistics;
        window.add(BenchData::timed([&statistics] {
            QSignalSpy ready(&statistics, &TfrmStatistiche::ready);
            statistics.show();
            ready.wait(60000);
            // The charts drawn.
            statistics.repaint();
            QCoreApplication::processEvents();
        }));
        peak.add(double(BenchData::peakResidentMegabytes() - before));
        auto *years = statistics.findChild<QComboBox *>(QStringLiteral("cmbAnno"));
        year.add(BenchData::timed([&statistics, years] {
            years->setCurrentIndex(qMax(0, years->count() - 2));
            statistics.repaint();
            QCoreApplication::processEvents();
        }));
    }
    std::printf("raw read: min %.1f ms, median %.1f ms\n", read.min(), read.median());
    std::printf("archive read into the figures: min %.1f ms (%.2fx), median %.1f ms (%.2fx)\n", figures.min(),
                figures.min() / read.min(), figures.median(), figures.median() / read.median());
    std::printf("window opened to charts drawn: min %.1f ms, median %.1f ms\n", window.min(), window.median());
    std::printf("another year chosen to charts drawn: min %.1f ms, median %.1f ms\n", year.min(), year.median());
    std::printf("peak memory above the program's before the window: min %.0f MB, max %.0f MB\n", peak.min(),
                *std::max_element(peak.values.begin(), peak.values.end()));
    return 0;
}
