#pragma once

#include <QFont>
#include <QString>

// A font by family name ("Verdana", "Tahoma", "Arial", "Courier New"). Where
// the system lacks the family, font matching picks a stand-in of the same
// kind: fixed-pitch for the Courier families, serif for the Times ones,
// sans-serif for the others.
inline QFont fontOfFamily(const QString &family)
{
    QFont font(family);
    if (family.startsWith(QStringLiteral("Courier")))
        font.setStyleHint(QFont::TypeWriter);
    else if (family.startsWith(QStringLiteral("Times")))
        font.setStyleHint(QFont::Serif);
    else
        font.setStyleHint(QFont::SansSerif);
    return font;
}
