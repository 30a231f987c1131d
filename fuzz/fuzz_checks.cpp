// The fiscal code and VAT number checks on any text a user can type or paste.

#include "fuzzsupport.h"

#include "checks/codicefiscale.h"
#include "checks/partitaiva.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input = Fuzz::bytes(data, size);
    for (const QString &text : {QString::fromUtf8(input), QString::fromLatin1(input)}) {
        CodFiscValido(text);
        PartitaIvaValida(text);
        UfficioIva(text);
        UfficioIva(text.left(3));
    }
    return 0;
}
