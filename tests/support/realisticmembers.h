#pragma once

// Members shaped like a real association's register: a few hundred surnames
// and first names, the common ones far more often than the rare ones, so that
// many members share a name; most qualifications "Socio ordinario"; short,
// alike notes or none; about half to be called back. Member i is always the
// same, so a large archive can be written a block at a time.

#include "members/schedaanagrafica.h"

#include <QString>

#include <iterator>

namespace RealisticMembers {

namespace detail {

inline const char *const kSurnames[] = {
    "Rossi", "Russo", "Ferrari", "Esposito", "Bianchi", "Romano", "Colombo", "Ricci", "Marino", "Greco",
    "Bruno", "Gallo", "Conti", "De Luca", "Mancini", "Costa", "Giordano", "Rizzo", "Lombardi", "Moretti",
    "Barbieri", "Fontana", "Santoro", "Mariani", "Rinaldi", "Caruso", "Ferrara", "Galli", "Martini", "Leone",
    "Longo", "Gentile", "Martinelli", "Vitale", "Lombardo", "Serra", "Coppola", "De Santis", "D'Angelo",
    "Marchetti", "Parisi", "Villa", "Conte", "Ferraro", "Ferri", "Fabbri", "Bianco", "Marini", "Grasso",
    "Valentini", "Messina", "Sala", "De Angelis", "Gatti", "Pellegrini", "Palumbo", "Sanna", "Farina",
    "Rizzi", "Monti", "Cattaneo", "Morelli", "Amato", "Silvestri", "Mazza", "Testa", "Grassi", "Pellegrino",
    "Carbone", "Giuliani", "Benedetti", "Barone", "Rossetti", "Caputo", "Montanari", "Guerra", "Palmieri",
    "Bernardi", "Martino", "Fiore", "De Rosa", "Ferretti", "Bellini", "Basile", "Riva", "Donati", "Piras",
    "Vitali", "Battaglia", "Sartori", "Neri", "Costantini", "Milani", "Pagano", "Ruggiero", "Sorrentino",
    "D'Amico", "Orlando", "Damico", "Negri", "Mantovani", "Bassi", "Marchi", "Brambilla", "Sarti", "Gioia",
    "Fumagalli", "Cocco", "Ferrario", "Santini", "Cirillo", "Guidi", "Rota", "Bertolini", "Pace", "Mele",
    "Fiorentino", "Giorgi", "Melis", "Colonna", "Marras", "Lucchesi", "Zanetti", "Bonetti", "Cristiani",
    "Di Stefano", "Di Marco", "Di Giovanni", "Di Pietro", "Lo Russo", "La Rosa", "Dell'Aquila", "Pastore",
    "Cavallo", "Cavalli", "Zanella", "Bonelli", "Ferrero", "Pozzi", "Fabbro", "Tosi", "Ricciardi", "Bonomi",
    "Rocca", "Marchese", "Pisano", "Agostini", "Morandi", "Porcu", "Carta", "Deiana", "Murgia", "Cossu",
    "Pinna", "Mura", "Fadda", "Loi", "Sechi", "Melchiorre", "Nicolosi", "Crisafulli", "Lo Bianco", "Ingrassia",
    "Nicolò", "Sciacca", "Bevilacqua", "Capuano", "Musumeci", "Sciortino", "Randazzo", "Catalano", "Licata",
    "Zappalà", "Città", "Pellè", "Forlì", "Mosè", "Favarò", "Taddei", "Tonini", "Ugolini", "Venturi",
    "Zucchi", "Zamboni", "Vianello", "Scarpa", "Boscolo", "Tagliaferri", "Quaranta", "Orsini", "Nardi",
};

inline const char *const kFirstNames[] = {
    "Giuseppe", "Maria", "Giovanni", "Anna", "Antonio", "Giuseppina", "Mario", "Rosa", "Luigi", "Angela",
    "Francesco", "Giovanna", "Angelo", "Teresa", "Vincenzo", "Lucia", "Pietro", "Carmela", "Salvatore",
    "Caterina", "Carlo", "Francesca", "Franco", "Anna Maria", "Domenico", "Antonietta", "Bruno", "Carla",
    "Paolo", "Elena", "Michele", "Concetta", "Giorgio", "Rita", "Aldo", "Margherita", "Sergio", "Franca",
    "Luciano", "Paola", "Marco", "Maria Grazia", "Andrea", "Laura", "Alessandro", "Sara", "Luca", "Giulia",
    "Matteo", "Chiara", "Lorenzo", "Martina", "Davide", "Federica", "Simone", "Valentina", "Stefano",
    "Silvia", "Roberto", "Alessandra", "Massimo", "Cristina", "Fabio", "Monica", "Gianluca", "Elisa",
    "Riccardo", "Barbara", "Emanuele", "Roberta", "Daniele", "Daniela", "Nicola", "Manuela", "Alberto",
    "Patrizia", "Enrico", "Simona", "Claudio", "Ilaria", "Maurizio", "Federica Maria", "Giacomo", "Irene",
    "Filippo", "Beatrice", "Tommaso", "Alice", "Gabriele", "Aurora", "Leonardo", "Sofia", "Edoardo", "Emma",
    "Niccolò", "Noemi", "Mattia", "Greta", "Pierluigi", "Gianna", "Ettore", "Graziella", "Raffaele", "Lidia",
    "Ugo", "Nunzia", "Gino", "Agata", "Renato", "Ornella", "Rocco", "Assunta", "Sebastiano", "Immacolata",
};

inline const char *const kQualifications[] = {
    "Socio ordinario", "Socio ordinario", "Socio ordinario", "Socio ordinario", "Socio ordinario",
    "Socio ordinario", "Volontario", "Volontario", "Socio sostenitore", "Socio fondatore", "Socio onorario",
    "Consigliere", "Presidente", "Vicepresidente", "Segretario", "Tesoriere", "", "",
};

inline const char *const kNotes[] = {
    "Quota pagata", "Quota da rinnovare", "Disponibile il sabato", "Disponibile la sera",
    "Richiamare a settembre", "Già socio in passato", "Porta un amico", "Preferisce essere chiamato",
    "Solo e-mail", "Quota pagata in contanti", "Da richiamare", "Disponibile per la segreteria il martedì",
};

inline const char *const kPlaces[] = {
    "Roma", "Milano", "Napoli", "Torino", "Palermo", "Genova", "Bologna", "Firenze", "Bari", "Catania",
    "Perugia", "Città di Castello", "Foligno", "Terni", "Assisi", "Spoleto", "Arezzo", "Siena",
};

// The same number for the same member and purpose, well spread.
inline quint64 draw(qint64 member, quint64 purpose)
{
    quint64 z = quint64(member) * 0x9E3779B97F4A7C15ULL + purpose * 0xD1B54A32D192ED03ULL + 1;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

// An index below `count`, the first ones much more often than the last: of
// two hundred, the first comes about once in fourteen draws, the last once in
// four hundred.
inline qsizetype skewed(qint64 member, quint64 purpose, qsizetype count)
{
    const double u = double(draw(member, purpose) >> 11) / double(1ULL << 53);
    return qsizetype(u * u * double(count)) % count;
}

template <size_t N>
QString pick(const char *const (&list)[N], qsizetype index)
{
    return QString::fromUtf8(list[size_t(index) % N]);
}

inline QString consonants(const QString &text)
{
    QString out;
    for (QChar c : text.toUpper())
        if (c.isLetter() && !QStringLiteral("AEIOUÀÈÉÌÒÙ").contains(c))
            out += c;
    return (out + QStringLiteral("XXX")).left(3);
}

} // namespace detail

inline TSchedaAnagrafica member(qint64 i)
{
    using namespace detail;
    TSchedaAnagrafica s;
    const QString surname = pick(kSurnames, skewed(i, 1, qsizetype(std::size(kSurnames))));
    const qsizetype nameIndex = skewed(i, 2, qsizetype(std::size(kFirstNames)));
    const QString name = pick(kFirstNames, nameIndex);
    const bool female = nameIndex % 2 == 1;
    const int day = 1 + int(draw(i, 3) % 28);
    const int month = 1 + int(draw(i, 4) % 12);
    const int year = 1935 + int(draw(i, 5) % 72);
    s.Candidato = surname + u' ' + name;
    s.Sesso = female ? QStringLiteral("F") : QStringLiteral("M");
    s.DataNasc = QStringLiteral("%1/%2/%3").arg(day, 2, 10, QChar(u'0')).arg(month, 2, 10, QChar(u'0')).arg(year);
    s.Cittadinanza = draw(i, 6) % 20 ? QStringLiteral("Italiana") : QStringLiteral("Rumena");
    s.LuogoNasc = pick(kPlaces, skewed(i, 7, qsizetype(std::size(kPlaces))));
    s.Indirizzo = QStringLiteral("Via Garibaldi %1").arg(1 + draw(i, 8) % 120);
    // Most live where the association is, the others in the towns around.
    s.Citta = draw(i, 22) % 3 ? QStringLiteral("Perugia") : pick(kPlaces, skewed(i, 23, qsizetype(std::size(kPlaces))));
    s.Cap = QStringLiteral("06100");
    s.Settore = pick(kQualifications, qsizetype(draw(i, 9) % std::size(kQualifications)));
    s.CodFisc = consonants(surname) + consonants(name) + QString::number(year % 100).rightJustified(2, u'0')
                + QChar(u"ABCDEHLMPRST"[month - 1]) + QString::number(female ? day + 40 : day).rightJustified(2, u'0')
                + QStringLiteral("G478") + QChar(char16_t(u'A' + draw(i, 10) % 26));
    if (draw(i, 11) % 10)
        s.Cel = QStringLiteral("3%1 %2").arg(20 + draw(i, 12) % 80).arg(draw(i, 13) % 10000000, 7, 10, QChar(u'0'));
    s.Lingue = draw(i, 14) % 3 ? QStringLiteral("Inglese") : QStringLiteral("Inglese, francese");
    s.Patente = draw(i, 15) % 2 ? QStringLiteral("B") : QString();
    // The admission date, as the card labels this field.
    s.Competenze = QStringLiteral("%1/%2/%3")
                       .arg(1 + draw(i, 19) % 28, 2, 10, QChar(u'0'))
                       .arg(1 + draw(i, 20) % 12, 2, 10, QChar(u'0'))
                       .arg(2000 + draw(i, 21) % 27);
    // About one in eight has left, a few years after joining.
    if (draw(i, 24) % 8 == 0) {
        const int joined = int(2000 + draw(i, 21) % 27);
        s.Disponibilita = QStringLiteral("%1/%2/%3")
                              .arg(1 + draw(i, 25) % 28, 2, 10, QChar(u'0'))
                              .arg(1 + draw(i, 26) % 12, 2, 10, QChar(u'0'))
                              .arg(qMin(2026, joined + 1 + int(draw(i, 27) % 6)));
    }
    if (draw(i, 16) % 10 < 3)
        s.Note = pick(kNotes, skewed(i, 17, qsizetype(std::size(kNotes))));
    s.setRicontatta(draw(i, 18) % 2 == 0);
    return s;
}

} // namespace RealisticMembers
