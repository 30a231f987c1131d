#pragma once

// The synthetic members archive the benchmarks work on, and the figures they
// print beside their own.

#include "base/programfolder.h"
#include "members/memberarchive.h"
#include "members/schedaanagrafica.h"

#include <QElapsedTimer>
#include <QFile>
#include <QString>

#include <sys/resource.h>

namespace BenchData {

const char *const kSurnames[] = {"Rossi", "Russo", "Ferrari", "Esposito", "Bianchi", "Romano", "Colombo",
                                 "Ricci", "Marino", "Greco", "Bruno", "Gallo", "Conti", "De Luca", "Costa"};
const char *const kNames[] = {"Mario", "Anna", "Luca", "Giulia", "Marco", "Sara", "Paolo", "Elena", "Andrea",
                              "Chiara", "Giuseppe", "Francesca"};
const char *const kRoles[] = {"Socio ordinario", "Socio fondatore", "Presidente", "Segretario", "Tesoriere",
                              "Socio onorario"};

// Writes `count` members straight to the file, a block at a time.
inline void generate(const QString &path, int count)
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

} // namespace BenchData
