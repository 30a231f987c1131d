// Times the program's start-up, from the process started to its first window
// painted, beside an empty Qt Widgets window started the same way in the same
// run; both offscreen, alternating.
//
//   bench_startup [runs]   (default 15)
//
// "bench_startup program" starts as the program does, with the program's
// libraries; bench_emptywindow is a program of its own that links Qt Widgets
// alone and shows an empty window. Each prints a line when its first window
// has been painted.

#include "app/startup.h"
#include "base/programfolder.h"
#include "firstpaint.h"
#include "memberdata.h"

#include <QApplication>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace {

double start(const QString &program, const QStringList &arguments, const QString &folder)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("QUORVEL_BENCH_FOLDER"), folder);
    process.setProcessEnvironment(env);
    const double ms = BenchData::timed([&] {
        process.start(program, arguments);
        while (process.waitForReadyRead(10000))
            if (process.readAllStandardOutput().contains("painted"))
                break;
    });
    process.waitForFinished();
    return ms;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc > 1 && QLatin1String(argv[1]) == QLatin1String("program")) {
        // As the program starts: the same function, with the first paint
        // watched from the moment the application object exists.
        ProgramFolder::setForTesting(qEnvironmentVariable("QUORVEL_BENCH_FOLDER"));
        qAddPreRoutine(FirstPaint::watch);
        return Startup::run(argc, argv);
    }
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::atoi(argv[1]) : 15;
    QTemporaryDir folder;
    BenchData::Series empty, program;
    for (int run = 0; run < runs; ++run) {
        empty.add(start(QCoreApplication::applicationDirPath() + QStringLiteral("/bench_emptywindow"), {}, folder.path()));
        program.add(start(QCoreApplication::applicationFilePath(), {QStringLiteral("program")}, folder.path()));
    }
    std::printf("start-up to the first window painted, offscreen, %d runs each:\n", runs);
    std::printf("  empty Qt Widgets window   min %6.1f ms   median %6.1f ms\n", empty.min(), empty.median());
    std::printf("  the program               min %6.1f ms (%4.2fx)   median %6.1f ms (%4.2fx)\n", program.min(),
                program.min() / empty.min(), program.median(), program.median() / empty.median());
    return 0;
}
