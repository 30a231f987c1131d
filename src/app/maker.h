#pragma once

#include "base/tmisc.h"

#include <QString>
#include <QUrl>

// Who makes the program and where to reach them.
namespace Maker {

inline const QString WebAddress = QStringLiteral("https://www.quorvel.it");
inline const QString Email = QStringLiteral("info@quorvel.it");
inline const QString Notice = QStringLiteral("© Quorvel - Tutti i diritti riservati");

// The web address as people read it: "www.quorvel.it".
inline QString webAddressShown()
{
    return QUrl(WebAddress).host();
}

// The text that opens a new message to the maker: "mailto:..." in double quotes.
inline QString mailLink()
{
    return TMisc::mailCommand(Email);
}

} // namespace Maker
