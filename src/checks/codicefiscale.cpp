#include "checks/codicefiscale.h"

namespace {

// Values of the characters "0" to "Z": digits, the seven signs ":" to "@"
// (worth 0), then the letters.
constexpr int kOdd[43] = {
    1, 0, 5, 7, 9, 13, 15, 17, 19, 21,                // 0-9
    0, 0, 0, 0, 0, 0, 0,                              // : ; < = > ? @
    1, 0, 5, 7, 9, 13, 15, 17, 19, 21, 2, 4, 18, 20,  // A-N
    11, 3, 6, 8, 12, 14, 16, 10, 22, 25, 24, 23,      // O-Z
};
constexpr int kEven[43] = {
    0, 1, 2, 3, 4, 5, 6, 7, 8, 9,
    0, 0, 0, 0, 0, 0, 0,
    0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13,
    14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25,
};

} // namespace

bool CodFiscValido(const QString &code)
{
    if (code.size() != 16)
        return false;
    int sum = 0;
    for (int p = 1; p <= 15; ++p) {
        const int c = code.at(p - 1).unicode();
        if (c < '0' || c > 'Z')
            return false;
        sum += (p % 2 == 1) ? kOdd[c - '0'] : kEven[c - '0'];
    }
    return code.at(15) == QChar(u'A' + sum % 26);
}
