#pragma once

// The synthetic members archive the benchmarks work on, and the figures they
// print beside their own.

#include "base/programfolder.h"
#include "members/memberarchive.h"
#include "members/schedaanagrafica.h"
#include "support/realisticmembers.h"

#include <QElapsedTimer>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <malloc.h>
#include <sys/resource.h>

namespace BenchData {

// Writes `count` members shaped like a real register straight to the file,
// a block at a time.
inline void generate(const QString &path, int count)
{
    QFile file(path);
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    QByteArray block;
    for (int i = 0; i < count; ++i) {
        block += RealisticMembers::member(i).toBytes();
        if (block.size() >= 4 * 1024 * 1024) {
            file.write(block);
            block.clear();
        }
    }
    file.write(block);
}

inline double readSequentially(const QString &path)
{
    QElapsedTimer timer;
    timer.start();
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    QByteArray chunk(1024 * TSchedaAnagrafica::RecordSize, Qt::Uninitialized);
    qint64 total = 0;
    while (qint64 n = file.read(chunk.data(), chunk.size()))
        if (n > 0)
            total += n;
        else
            break;
    Q_UNUSED(total)
    return timer.nsecsElapsed() / 1e6;
}

// The time `work` takes, in milliseconds.
template <typename F>
double timed(F &&work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return timer.nsecsElapsed() / 1e6;
}

// Repeated timings of one operation: this machine is shared, so a figure is
// given as the minimum and the median of its runs.
struct Series
{
    std::vector<double> values;

    void add(double value) { values.push_back(value); }
    double min() const { return *std::min_element(values.begin(), values.end()); }
    double median() const
    {
        std::vector<double> sorted = values;
        std::sort(sorted.begin(), sorted.end());
        const size_t n = sorted.size();
        return n % 2 ? sorted[n / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2;
    }
};

// The resident memory now, and the highest since the last resetPeak(), from
// the kernel's own account of this process.
inline long residentMegabytes(const char *line = "VmRSS:")
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &l : status.readAll().split('\n'))
        if (l.startsWith(line))
            return l.mid(qsizetype(std::strlen(line))).trimmed().split(' ').value(0).toLong() / 1024;
    return -1;
}

inline long peakResidentMegabytes()
{
    return residentMegabytes("VmHWM:");
}

// Hands the memory freed so far back to the system and starts a new peak;
// returns the resident memory then.
inline long resetPeak()
{
    malloc_trim(0);
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
    return residentMegabytes();
}

inline long peakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

// Points the program at `folder` and writes an archive of `members` there;
// returns the archive's path.
inline QString archiveIn(const QString &folder, int members)
{
    ProgramFolder::setForTesting(folder);
    const QString path = ProgramFolder::file(MemberArchive::FileName);
    generate(path, members);
    return path;
}

// A benchmark's command line, "[members] [runs]", and its archive of that
// many realistic members in a temporary folder, announced on the first line.
struct Archive
{
    Archive(int argc, char **argv)
        : members(argc > 1 ? std::atoi(argv[1]) : 100000)
        , runs(argc > 2 ? std::atoi(argv[2]) : 7)
        , path(archiveIn(dir.path(), members))
    {
        std::printf("archive: %d realistic members, %.0f MB, %d runs\n", members, QFile(path).size() / 1e6, runs);
    }

    int members;
    int runs;
    QTemporaryDir dir;
    QString path;
};

} // namespace BenchData
