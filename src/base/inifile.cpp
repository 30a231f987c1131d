#include "base/inifile.h"

#include "base/backups.h"
#include "base/fixedtext.h"
#include "base/wholefile.h"

#include <QFile>

// Bytes as they stand: the values are converted to and from Windows-1252 here.
#define SI_NO_CONVERSION
#include <SimpleIni.h>

#include <string>

struct IniFile::Store : CSimpleIniA
{
    // Not UTF-8, one value per key, one line per value; written as the
    // program's INI files have always been: "key=value", CRLF line ends.
    Store() : CSimpleIniA(false, false, false) { SetSpaces(false); }
};

IniFile::IniFile(const QString &path)
    : m_path(path)
    , m_ini(std::make_unique<Store>())
{
    QFile file(path);
    if (!file.exists())
        return;
    if (!file.open(QIODevice::ReadOnly) || file.size() > MaxSize) {
        m_readable = false;
        return;
    }
    const QByteArray bytes = file.read(MaxSize);
    if (m_ini->LoadData(bytes.constData(), size_t(bytes.size())) < 0)
        m_ini->Reset();
}

IniFile::~IniFile() = default;

QString IniFile::value(const QString &section, const QString &key) const
{
    const char *stored = m_ini->GetValue(FixedText::toWindows1252(section).constData(),
                                         FixedText::toWindows1252(key).constData(), "");
    return FixedText::fromWindows1252(stored, qsizetype(std::char_traits<char>::length(stored)));
}

void IniFile::setValue(const QString &section, const QString &key, const QString &value)
{
    QString line = value;
    line.replace(u'\r', u' ').replace(u'\n', u' ');
    m_ini->SetValue(FixedText::toWindows1252(section).constData(), FixedText::toWindows1252(key).constData(),
                    FixedText::toWindows1252(line).constData());
}

bool IniFile::save() const
{
    std::string saved;
    if (m_ini->Save(saved) < 0)
        return false;
    std::string text;
    text.reserve(saved.size() + saved.size() / 16);
    for (char c : saved) {
        if (c == '\n' && (text.empty() || text.back() != '\r'))
            text += '\r';
        text += c;
    }
    Backups::beforeWrite(m_path);
    return WholeFile::write(m_path, QByteArray(text.data(), qsizetype(text.size())));
}
