#include "access/passwordstore.h"

#include "base/blanks.h"
#include "base/inifile.h"
#include "base/programfolder.h"

namespace PasswordStore {

namespace {

const QString kSection = QStringLiteral("Accesso");
const QString kKey = QStringLiteral("Valore");

quint16 nextKey(quint16 key, quint8 scrambled)
{
    return quint16((quint32(scrambled) + key) * 58213u + 30517u);
}

int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    return -1;
}

} // namespace

QString scramble(const QString &password)
{
    static const char digits[] = "0123456789ABCDEF";
    QString hex;
    quint16 key = 39754;
    for (QChar c : password.left(255)) {
        const quint8 s = quint8(c.unicode() & 0xFF) ^ quint8(key >> 8);
        hex += QLatin1Char(digits[s >> 4]);
        hex += QLatin1Char(digits[s & 0xF]);
        key = nextKey(key, s);
    }
    return hex;
}

std::optional<QString> unscramble(const QString &hex)
{
    QString password;
    quint16 key = 39754;
    for (qsizetype i = 0; i + 1 < hex.size(); i += 2) {
        const int high = hexDigit(hex.at(i));
        const int low = hexDigit(hex.at(i + 1));
        if (high < 0 || low < 0)
            return std::nullopt;
        const quint8 s = quint8(high * 16 + low);
        password += QChar(char16_t(s ^ quint8(key >> 8)));
        key = nextKey(key, s);
    }
    return password;
}

QString normalised(const QString &typed)
{
    return Blanks::upperAscii(Blanks::trimmed(typed));
}

bool storable(const QString &password)
{
    return password.size() <= 255
        && std::all_of(password.begin(), password.end(), [](QChar c) { return c.unicode() <= 255; });
}

std::optional<QString> stored()
{
    const IniFile ini(ProgramFolder::file(FileName));
    if (!ini.readable())
        return std::nullopt;
    const auto password = unscramble(ini.value(kSection, kKey));
    if (!password)
        return std::nullopt;
    return Blanks::trimmed(*password);
}

bool store(const QString &password)
{
    IniFile ini(ProgramFolder::file(FileName));
    if (!ini.readable())
        return false;
    ini.setValue(kSection, kKey, scramble(password));
    return ini.save();
}

} // namespace PasswordStore
