#include "base/blanks.h"

namespace {
bool isBlankChar(QChar c)
{
    return c.unicode() <= 32;
}
} // namespace

namespace Blanks {

QString trimmed(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlankChar(text.at(begin)))
        ++begin;
    while (end > begin && isBlankChar(text.at(end - 1)))
        --end;
    if (begin == 0 && end == text.size())
        return text;
    return text.mid(begin, end - begin);
}

bool isBlank(const QString &text)
{
    for (QChar c : text)
        if (!isBlankChar(c))
            return false;
    return true;
}

QString upperAscii(const QString &text)
{
    QString result = text;
    for (QChar &c : result)
        if (c.unicode() >= u'a' && c.unicode() <= u'z')
            c = QChar(c.unicode() - (u'a' - u'A'));
    return result;
}

} // namespace Blanks
