#pragma once

#include <QFont>
#include <QString>

// A font by family name ("Verdana", "Tahoma", "Arial", "Courier New"). Where
// the system lacks the family, font matching picks a stand-in of the same
// kind: fixed-pitch for the Courier families, sans-serif for the others.
inline QFont fontOfFamily(const QString &family)
{
    QFont font(family);
    font.setStyleHint(family.startsWith(QStringLiteral("Courier")) ? QFont::TypeWriter : QFont::SansSerif);
    return font;
}
