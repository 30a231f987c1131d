#include "base/programfolder.h"

#include <QCoreApplication>
#include <QDir>

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

void setForTesting(const QString &folder)
{
    testFolder() = folder;
}

} // namespace ProgramFolder
