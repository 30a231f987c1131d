#pragma once

#include <QString>

#include <memory>

// An INI file of the program folder, read and written in Windows-1252, with
// section and key names as they stand ("Frontespizio Registro", "Sede
// Legale"), readable by any INI reader. A missing, empty, oversized or
// damaged file reads as empty; saving replaces the file whole and at once,
// keeping the sections and keys it does not change.
class IniFile
{
public:
    // No INI file of the program comes near this; a larger file is not one.
    static constexpr qint64 MaxSize = 1 << 20;

    explicit IniFile(const QString &path);

    // False when the file is there but could not be read (no access, too
    // large); a missing file reads as empty and is not a failure.
    bool readable() const { return m_readable; }
    ~IniFile();
    IniFile(const IniFile &) = delete;
    IniFile &operator=(const IniFile &) = delete;

    // An empty text when the section or the key is missing.
    QString value(const QString &section, const QString &key) const;
    // Line breaks in the value become blanks: a value is one line.
    void setValue(const QString &section, const QString &key, const QString &value);
    bool save() const;

private:
    QString m_path;
    bool m_readable = true;
    struct Store;
    std::unique_ptr<Store> m_ini;
};
