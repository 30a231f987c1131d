#pragma once

#include <QString>
#include <QUrl>

#include <functional>

// Opens a file, a folder, a web address or a quoted "mailto:" link in the
// user's default program. Nothing is reported: when nothing can open the
// target, nothing happens.
class TMisc
{
public:
    static void Open(const QString &sCommand);

    // The command that opens a new message to `address`. The address is
    // percent-encoded, so that the link always addresses exactly that text:
    // "?cc=" or "&attach=" typed into it cannot add headers or attachments.
    static QString mailCommand(const QString &address);

    // What Open hands to the desktop: a local file or a URL.
    static QUrl targetOf(const QString &sCommand);

    // Tests see every request instead of the desktop; an empty function gives
    // the desktop back.
    using Opener = std::function<void(const QString &sCommand, const QUrl &target)>;
    static void setOpenerForTesting(Opener opener);
};
