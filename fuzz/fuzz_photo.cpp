// A photo file of any content, read as the member card and the register
// pages read it: never more than a bounded picture, never a crash.

#include "fuzzsupport.h"

#include "base/imagefiles.h"

#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    Fuzz::initialise(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QImage image = ImageFiles::read(Fuzz::writeInput(QStringLiteral("foto.jpg"), data, size));
    if (!image.isNull() && (image.width() > 4096 || image.height() > 4096 || image.width() < 1 || image.height() < 1))
        std::abort();
    return 0;
}
