#include "base/tmisc.h"

#include "base/blanks.h"

#include <QDesktopServices>
#include <QDir>
#include <QRegularExpression>

namespace {
TMisc::Opener &testOpener()
{
    static TMisc::Opener opener;
    return opener;
}
} // namespace

QUrl TMisc::targetOf(const QString &sCommand)
{
    QString text = Blanks::trimmed(sCommand);
    if (text.size() >= 2 && text.startsWith(u'"') && text.endsWith(u'"'))
        text = text.mid(1, text.size() - 2);

    // A scheme of two letters or more ("mailto:", "https:"); a single letter
    // before the colon is a Windows drive.
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
    if (scheme.match(text).hasMatch())
        return QUrl(text, QUrl::TolerantMode);
    if (text.startsWith(QStringLiteral("www."), Qt::CaseInsensitive))
        return QUrl(QStringLiteral("http://") + text, QUrl::TolerantMode);
    return QUrl::fromLocalFile(QDir::fromNativeSeparators(text));
}

QString TMisc::mailCommand(const QString &address)
{
    return QStringLiteral("\"mailto:") + QString::fromLatin1(QUrl::toPercentEncoding(Blanks::trimmed(address), "@"))
        + QStringLiteral("\"");
}

void TMisc::Open(const QString &sCommand)
{
    const QUrl target = targetOf(sCommand);
    if (testOpener()) {
        testOpener()(sCommand, target);
        return;
    }
    QDesktopServices::openUrl(target);
}

void TMisc::setOpenerForTesting(Opener opener)
{
    testOpener() = std::move(opener);
}
