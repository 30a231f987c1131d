#include "checks/partitaiva.h"

#include <QHash>

bool PartitaIvaValida(const QString &number)
{
    if (number.size() != 11)
        return false;
    for (QChar c : number)
        if (c < u'0' || c > u'9')
            return false;
    int sum = 0;
    for (int p = 1; p <= 10; ++p) {
        const int d = number.at(p - 1).unicode() - u'0';
        if (p % 2 == 1) {
            sum += d;
        } else {
            const int doubled = 2 * d;
            sum += doubled / 10 + doubled % 10;
        }
    }
    const int check = (10 - sum % 10) % 10;
    return number.at(10).unicode() - u'0' == check;
}

QString UfficioIva(const QString &officeCode)
{
    static const char *const kOffices[102] = {
        "Torino", "Vercelli", "Novara", "Cuneo", "Asti", "Alessandria", "Aosta", "Imperia", "Savona",
        "Genova 1", "La Spezia", "Varese", "Como", "Sondrio", "Milano 1", "Bergamo", "Brescia 1", "Pavia",
        "Cremona", "Mantova", "Bolzano", "Trento", "Verona", "Vicenza", "Belluno", "Treviso", "Venezia",
        "Padova", "Rovigo", "Udine", "Gorizia", "Trieste", "Piacenza", "Parma", "Reggio Emilia", "Modena",
        "Bologna 1", "Ferrara", "Ravenna", "Forlì", "Pesaro", "Ancona", "Macerata", "Ascoli Piceno",
        "Massa Carrara", "Lucca", "Pistoia", "Firenze 1", "Livorno", "Pisa", "Arezzo", "Siena", "Grosseto",
        "Perugia", "Terni", "Viterbo", "Rieti", "Roma 1", "Latina", "Frosinone", "Caserta", "Benevento",
        "Napoli 1", "Avellino", "Salerno", "Aquila", "Teramo", "Pescara", "Chieti", "Campobasso", "Foggia",
        "Bari", "Taranto", "Brindisi", "Lecce", "Potenza", "Matera", "Cosenza", "Catanzaro",
        "Reggio Calabria", "Trapani", "Palermo", "Messina", "Agrigento", "Caltanissetta", "Enna", "Catania",
        "Ragusa", "Siracusa", "Sassari", "Nuoro", "Cagliari", "Pordenone", "Isernia", "Oristano",
        "Monza (Milano 2)", "Prato (Firenze 2)", "Brescia 2", "Chiavari (Genova 2)", "Roma 2", "Bologna 2",
        "Napoli 2",
    };
    static const QHash<QString, QString> table = [] {
        QHash<QString, QString> t;
        for (int i = 0; i < 102; ++i)
            t.insert(QStringLiteral("%1").arg(i + 1, 3, 10, QChar(u'0')), QString::fromUtf8(kOffices[i]));
        t.insert(QStringLiteral("120"), t.value(QStringLiteral("101")));
        t.insert(QStringLiteral("121"), t.value(QStringLiteral("102")));
        return t;
    }();
    return table.value(officeCode);
}
