// A register book file of any length and content: every page read, written
// back and read again the same.

#include "fuzzsupport.h"

#include "register/registerbook.h"

#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    Fuzz::initialise(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    RegisterBook book(Fuzz::writeInput(QStringLiteral("Libro.qvl"), data, size), QStringLiteral("Libro"));
    const auto count = book.count();
    if (!count || *count != qint64(size) / TPaginaRegistro::RecordSize)
        std::abort();
    for (qint64 page = 1; page <= *count; ++page) {
        const auto content = book.read(page);
        if (!content)
            std::abort();
        const QByteArray once = content->toBytes();
        if (once.size() != TPaginaRegistro::RecordSize || TPaginaRegistro::fromBytes(once.constData()).toBytes() != once)
            std::abort();
        if (!book.overwrite(page, *content) || book.read(page)->toBytes() != once)
            std::abort();
    }
    return 0;
}
