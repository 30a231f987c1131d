// An INI file of any content (Quorvel.ini, the password file and the
// program's other settings): read, changed, saved and read back; the password
// read from it and scrambled again.

#include "fuzzsupport.h"

#include "access/passwordstore.h"
#include "base/inifile.h"

#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    Fuzz::initialise(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = Fuzz::writeInput(QStringLiteral("Quorvel.ini"), data, size);
    const QString section = QStringLiteral("Frontespizio Registro");
    {
        IniFile ini(path);
        const QString kept = ini.value(section, QStringLiteral("Sede Legale"));
        ini.value(QStringLiteral("Modulo Privacy"), QStringLiteral("Denominazione"));
        ini.setValue(section, QStringLiteral("Numero Libro"), QStringLiteral("12 bis"));
        if (!ini.save())
            std::abort();
        const IniFile again(path);
        if (again.value(section, QStringLiteral("Numero Libro")) != QStringLiteral("12 bis"))
            std::abort();
        Q_UNUSED(kept)
    }
    Fuzz::writeInput(PasswordStore::FileName, data, size);
    if (const auto password = PasswordStore::stored()) {
        const QString again = PasswordStore::scramble(*password);
        if (again.size() != 2 * qMin<qsizetype>(password->size(), 255) || PasswordStore::unscramble(again) != password->left(255))
            std::abort();
    }
    return 0;
}
