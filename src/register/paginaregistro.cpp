#include "register/paginaregistro.h"

#include "base/blanks.h"
#include "base/fixedtext.h"

const std::array<TSlotPagina::Field, TSlotPagina::FieldCount> &TSlotPagina::fields()
{
    static const std::array<Field, FieldCount> table = {{
        {"Codice", 0, 50, &TSlotPagina::Codice},
        {"Nome", 51, 60, &TSlotPagina::Nome},
        {"UM", 112, 250, &TSlotPagina::UM},
        {"Caratteristiche", 363, 250, &TSlotPagina::Caratteristiche},
        {"Prezzo", 614, 50, &TSlotPagina::Prezzo},
    }};
    return table;
}

QByteArray TPaginaRegistro::toBytes() const
{
    QByteArray record(RecordSize, '\0');
    for (int s = 0; s < SlotCount; ++s)
        for (const TSlotPagina::Field &f : TSlotPagina::fields())
            FixedText::write(record.data() + s * TSlotPagina::Size + f.offset, f.capacity, slotTexts[size_t(s)].*f.member);
    return record;
}

TPaginaRegistro TPaginaRegistro::fromBytes(const char *record)
{
    TPaginaRegistro page;
    for (int s = 0; s < SlotCount; ++s)
        for (const TSlotPagina::Field &f : TSlotPagina::fields())
            page.slotTexts[size_t(s)].*f.member
                = Blanks::trimmed(FixedText::read(record + s * TSlotPagina::Size + f.offset, f.capacity));
    return page;
}
