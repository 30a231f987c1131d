#pragma once

#include <QByteArray>
#include <QString>

#include <array>

// One member's slot on a register page: five lines of text. The field names
// come from the file format; the import fills them with the admission line
// (Codice), the heading (Nome), the birth line (UM), the address line
// (Caratteristiche) and the leaving line (Prezzo).
struct TSlotPagina
{
    static constexpr int Size = 665;

    enum FieldId { fCodice, fNome, fUM, fCaratteristiche, fPrezzo, FieldCount };

    struct Field
    {
        const char *name;
        int offset;
        int capacity;
        QString TSlotPagina::*member;
    };
    static const std::array<Field, FieldCount> &fields();

    QString Codice, Nome, UM, Caratteristiche, Prezzo;
};

// A register page: eight slots, A to H, one after the other in 5320 bytes.
struct TPaginaRegistro
{
    static constexpr int RecordSize = 8 * TSlotPagina::Size;
    static constexpr int SlotCount = 8;

    std::array<TSlotPagina, SlotCount> slotTexts;

    // Every text without blanks at its ends, cut to its field; unused bytes zeroed.
    QByteArray toBytes() const;
    // Each text comes back without blanks at its ends.
    static TPaginaRegistro fromBytes(const char *record);

    // 'A' to 'H'.
    static QChar letter(int slot) { return QChar(u'A' + slot); }
};
