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

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <cstdio>
#include <sys/resource.h>

namespace {

const char *const kSurnames[] = {"Rossi", "Russo", "Ferrari", "Esposito", "Bianchi", "Romano", "Colombo",
                                 "Ricci", "Marino", "Greco", "Bruno", "Gallo", "Conti", "De Luca", "Costa"};
const char *const kNames[] = {"Mario", "Anna", "Luca", "Giulia", "Marco", "Sara", "Paolo", "Elena", "Andrea",
                              "Chiara", "Giuseppe", "Francesca"};
const char *const kRoles[] = {"Socio ordinario", "Socio fondatore", "Presidente", "Segretario", "Tesoriere",
                              "Socio onorario"};

// Writes `count` members straight to the file, a block at a time.
void generate(const QString &path, int count)
{
    QFile file(path);
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    QByteArray block;
    for (int i = 0; i < count; ++i) {
        TSchedaAnagrafica s;
        s.Candidato = QStringLiteral("%1 %2 %3").arg(QString::fromLatin1(kSurnames[i % 15]),
                                                    QString::fromLatin1(kNames[(i / 15) % 12]))
                          .arg(i);
        s.Sesso = i % 2 ? QStringLiteral("F") : QStringLiteral("M");
        s.DataNasc = QStringLiteral("%1/%2/%3").arg(1 + i % 28, 2, 10, QChar(u'0')).arg(1 + i % 12, 2, 10, QChar(u'0'))
                         .arg(1940 + i % 60);
        s.Cittadinanza = QStringLiteral("Italiana");
        s.LuogoNasc = i % 3 ? QStringLiteral("Roma") : QStringLiteral("Città di Castello");
        s.Indirizzo = QStringLiteral("Via Garibaldi %1").arg(i % 200);
        s.Citta = QStringLiteral("Perugia");
        s.Cap = QStringLiteral("06100");
        s.Settore = QString::fromLatin1(kRoles[i % 6]);
        s.CodFisc = QStringLiteral("RSSMRA80A01H%1").arg(i % 1000, 3, 10, QChar(u'0')) + QStringLiteral("Z");
        s.Cel = QStringLiteral("333 %1").arg(i, 7, 10, QChar(u'0'));
        s.Lingue = i % 4 ? QStringLiteral("Inglese") : QStringLiteral("Inglese, francese, tedesco");
        s.Competenze = QStringLiteral("01/01/2020");
        s.Note = i % 5 ? QString() : QStringLiteral("Disponibile per la segreteria il martedì");
        s.setRicontatta(i % 10 == 0);
        block += s.toBytes();
        if (block.size() >= 4 * 1024 * 1024) {
            file.write(block);
            block.clear();
        }
    }
    file.write(block);
}

double readSequentially(const QString &path)
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

long peakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Startup::prepareApplication(app);
    const int members = argc > 1 ? std::atoi(argv[1]) : 100000;

    QTemporaryDir dir;
    ProgramFolder::setForTesting(dir.path());
    const QString path = ProgramFolder::file(MemberArchive::FileName);
    generate(path, members);
    std::printf("archive: %d members, %.0f MB; peak memory after generating: %ld MB\n", members,
                QFile(path).size() / 1e6, peakMegabytes());

    for (int run = 1; run <= 3; ++run) {
        size_t all = 0, some = 0, flagged = 0;
        const double baseline = readSequentially(path);
        const double noFilter = search({}, all);
        const double threeFilters =
            search({QStringLiteral("rossi"), QStringLiteral("19"), QStringLiteral("ital")}, some);
        const double summary = recontact(flagged);
        std::printf("run %d: sequential read %.0f ms | search, no filter %.0f ms (%.1fx, %zu rows) | "
                    "three filters %.0f ms (%.1fx, %zu rows) | recontact %.0f ms (%.1fx, %zu rows)\n",
                    run, baseline, noFilter, noFilter / baseline, all, threeFilters, threeFilters / baseline, some,
                    summary, summary / baseline, flagged);
    }
    std::printf("peak memory: %ld MB\n", peakMegabytes());
    return 0;
}
