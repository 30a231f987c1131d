#include "members/schedaanagrafica.h"

#include <tuple>

#include "base/blanks.h"
#include "base/fixedtext.h"

using S = TSchedaAnagrafica;

const QString TSchedaAnagrafica::RicontattaSi = QStringLiteral("Sì");
const QString TSchedaAnagrafica::RicontattaNo = QStringLiteral("No");

const std::array<S::Field, S::FieldCount> &TSchedaAnagrafica::fields()
{
    static const std::array<Field, FieldCount> table = {{
        {"Candidato", 0, 50, &S::Candidato},
        {"Sesso", 51, 1, &S::Sesso},
        {"DataNasc", 53, 10, &S::DataNasc},
        {"Cittadinanza", 64, 50, &S::Cittadinanza},
        {"LuogoNasc", 115, 50, &S::LuogoNasc},
        {"Indirizzo", 166, 120, &S::Indirizzo},
        {"Citta", 287, 50, &S::Citta},
        {"Cap", 338, 10, &S::Cap},
        {"Settore", 349, 50, &S::Settore},
        {"CodFisc", 400, 16, &S::CodFisc},
        {"PartitaIva", 417, 11, &S::PartitaIva},
        {"Patente", 429, 50, &S::Patente},
        {"Studio", 480, 120, &S::Studio},
        {"Lingue", 601, 250, &S::Lingue},
        {"Email", 852, 50, &S::Email},
        {"Tel", 903, 30, &S::Tel},
        {"Cel", 934, 30, &S::Cel},
        {"Documento", 965, 120, &S::Documento},
        {"EnteRil", 1086, 120, &S::EnteRil},
        {"InizioTes", 1207, 10, &S::InizioTes},
        {"FineTes", 1218, 10, &S::FineTes},
        {"Esperienze", 1229, 250, &S::Esperienze},
        {"Competenze", 1480, 250, &S::Competenze},
        {"Disponibilita", 1731, 120, &S::Disponibilita},
        {"Note", 1852, 250, &S::Note},
        {"Ricontatta", 2103, 2, &S::Ricontatta},
        {"File01", 2106, 250, &S::File01},
        {"File02", 2357, 250, &S::File02},
        {"File03", 2608, 250, &S::File03},
        {"Desc01", 2859, 250, &S::Desc01},
        {"Desc02", 3110, 250, &S::Desc02},
        {"Desc03", 3361, 250, &S::Desc03},
    }};
    return table;
}

const std::array<S::Mandatory, S::MandatoryCount> &TSchedaAnagrafica::mandatory()
{
    static const std::array<Mandatory, MandatoryCount> table = {{
        {fCandidato, "Attenzione: per salvare la scheda anagrafica è necessario indicare cognome e nome.",
         "cognome e nome"},
        {fSesso, "Attenzione: per salvare la scheda anagrafica è necessario indicare il sesso (M o F).", "sesso"},
        {fDataNasc, "Attenzione: per salvare la scheda anagrafica è necessario indicare la data di nascita.",
         "data di nascita"},
        {fLuogoNasc, "Attenzione: per salvare la scheda anagrafica è necessario indicare il luogo di nascita.",
         "luogo di nascita"},
        {fIndirizzo, "Attenzione: per salvare la scheda anagrafica è necessario indicare l'indirizzo di residenza.",
         "indirizzo"},
        {fCitta, "Attenzione: per salvare la scheda anagrafica è necessario indicare la città di residenza.", "città"},
        {fCap, "Attenzione: per salvare la scheda anagrafica è necessario indicare il CAP della città di residenza.",
         "CAP"},
        {fSettore, "Attenzione: per salvare la scheda anagrafica è necessario indicare la qualifica.", "qualifica"},
        {fCodFisc, "Attenzione: per salvare la scheda anagrafica è necessario indicare il codice fiscale.",
         "codice fiscale"},
        {fCel, "Attenzione: per salvare la scheda anagrafica è necessario indicare il numero di cellulare.",
         "cellulare"},
        {fCompetenze,
         "Attenzione: per salvare la scheda anagrafica è necessario indicare la data di ammissione all'associazione.",
         "data di ammissione"},
    }};
    return table;
}

std::optional<bool> TSchedaAnagrafica::ricontatta() const
{
    if (Ricontatta == RicontattaSi)
        return true;
    if (Ricontatta == RicontattaNo)
        return false;
    return std::nullopt;
}

void TSchedaAnagrafica::setRicontatta(bool yes)
{
    Ricontatta = yes ? RicontattaSi : RicontattaNo;
}

Attachments TSchedaAnagrafica::attachments() const
{
    return {{File01, File02, File03}, {Desc01, Desc02, Desc03}};
}

void TSchedaAnagrafica::setAttachments(const Attachments &attachments)
{
    std::tie(File01, File02, File03) = std::tie(attachments.files[0], attachments.files[1], attachments.files[2]);
    std::tie(Desc01, Desc02, Desc03) =
        std::tie(attachments.descriptions[0], attachments.descriptions[1], attachments.descriptions[2]);
}

QByteArray TSchedaAnagrafica::toBytes() const
{
    QByteArray record(RecordSize, '\0');
    for (const Field &f : fields())
        FixedText::write(record.data() + f.offset, f.capacity, this->*f.member);
    return record;
}

TSchedaAnagrafica TSchedaAnagrafica::fromBytes(const char *record)
{
    TSchedaAnagrafica scheda;
    for (int id = 0; id < FieldCount; ++id)
        scheda.*fields()[size_t(id)].member = field(record, FieldId(id));
    return scheda;
}

QString TSchedaAnagrafica::field(const char *record, FieldId id)
{
    const QByteArrayView text = storedText(record, id);
    return FixedText::fromWindows1252(text.data(), text.size());
}

QByteArrayView TSchedaAnagrafica::storedText(const char *record, FieldId id)
{
    // Blanks are the bytes 0 to 32, which decode to the same codes.
    const Field &f = fields()[id];
    const char *text = record + f.offset + 1;
    qsizetype begin = 0;
    qsizetype end = qMin<int>(static_cast<unsigned char>(record[f.offset]), f.capacity);
    while (begin < end && static_cast<unsigned char>(text[begin]) <= 32)
        ++begin;
    while (end > begin && static_cast<unsigned char>(text[end - 1]) <= 32)
        --end;
    return QByteArrayView(text + begin, end - begin);
}
