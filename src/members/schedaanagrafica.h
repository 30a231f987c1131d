#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <optional>

// The three files attached to a member: the names of their copies in
// Documenti_Allegati and their descriptions.
struct Attachments
{
    std::array<QString, 3> files;
    std::array<QString, 3> descriptions;
};

// One member of the archive: a fixed record of 3612 bytes in
// Archivio_Anagrafico.pro, every field a length-prefixed Windows-1252 text.
struct TSchedaAnagrafica
{
    static constexpr int RecordSize = 3612;

    enum FieldId {
        fCandidato, fSesso, fDataNasc, fCittadinanza, fLuogoNasc, fIndirizzo, fCitta, fCap,
        fSettore, fCodFisc, fPartitaIva, fPatente, fStudio, fLingue, fEmail, fTel, fCel,
        fDocumento, fEnteRil, fInizioTes, fFineTes, fEsperienze, fCompetenze, fDisponibilita,
        fNote, fRicontatta, fFile01, fFile02, fFile03, fDesc01, fDesc02, fDesc03,
        FieldCount
    };

    struct Field
    {
        const char *name;
        int offset;
        int capacity;
        QString TSchedaAnagrafica::*member;
    };
    static const std::array<Field, FieldCount> &fields();

    // The fields a member is never saved without, in the order they are
    // checked: the warning Save shows for each, and its name in a list of
    // what a card lacks ("il CAP").
    struct Mandatory
    {
        FieldId id;
        const char *warning;
        const char *name;
    };
    static constexpr int MandatoryCount = 11;
    static const std::array<Mandatory, MandatoryCount> &mandatory();

    QString Candidato, Sesso, DataNasc, Cittadinanza, LuogoNasc, Indirizzo, Citta, Cap;
    QString Settore, CodFisc, PartitaIva, Patente, Studio, Lingue, Email, Tel, Cel;
    QString Documento, EnteRil, InizioTes, FineTes, Esperienze, Competenze, Disponibilita;
    QString Note;
    // "Sì" or "No" as written by the program; a damaged record may hold anything.
    QString Ricontatta = QStringLiteral("No");
    QString File01, File02, File03, Desc01, Desc02, Desc03;

    static const QString RicontattaSi;
    static const QString RicontattaNo;

    // True for "Sì", false for "No", nothing for any other content.
    std::optional<bool> ricontatta() const;
    void setRicontatta(bool yes);

    Attachments attachments() const;
    void setAttachments(const Attachments &attachments);

    // The record's bytes; every text without blanks at its ends, cut to its
    // field, and the unused bytes zeroed.
    QByteArray toBytes() const;
    // Reads a whole record; each text comes back without blanks at its ends.
    static TSchedaAnagrafica fromBytes(const char *record);
    // Reads a single field, for readers that need only a few of them.
    static QString field(const char *record, FieldId id);
    // A field's stored bytes (Windows-1252) without blanks at their ends, for
    // readers that go through many records without decoding them.
    static QByteArrayView storedText(const char *record, FieldId id);
};
