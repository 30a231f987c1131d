#include "base/programfolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <algorithm>

namespace {
QString &testFolder()
{
    static QString folder;
    return folder;
}
} // namespace

namespace ProgramFolder {

QString path()
{
    QString folder = testFolder().isEmpty() ? QCoreApplication::applicationDirPath() : testFolder();
    folder = QDir::toNativeSeparators(QDir::cleanPath(folder));
    if (!folder.endsWith(QDir::separator()))
        folder += QDir::separator();
    return folder;
}

QString file(const QString &relativeName)
{
    return path() + QDir::toNativeSeparators(relativeName);
}

bool ensureFolder(const QString &relativeName)
{
    return QDir().mkpath(file(relativeName));
}

bool portableFileName(const QString &name)
{
    static const QString forbidden = QStringLiteral("\\/:*?\"<>|");
    static const QRegularExpression device(QStringLiteral("^(CON|PRN|AUX|NUL|COM[1-9]|LPT[1-9])(\\..*)?$"),
                                           QRegularExpression::CaseInsensitiveOption);
    if (name.isEmpty() || name == QStringLiteral(".") || name == QStringLiteral("..") || name.endsWith(u'.')
        || name.endsWith(u' ') || device.match(name).hasMatch() || QFile::encodeName(name).size() > 255)
        return false;
    return std::none_of(name.begin(), name.end(), [](QChar c) { return c.unicode() < 32 || forbidden.contains(c); });
}

void setForTesting(const QString &folder)
{
    testFolder() = folder;
}

} // namespace ProgramFolder
