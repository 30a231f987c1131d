#include "support/testfolder.h"

#include "base/programfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

TestFolder::TestFolder()
{
    ProgramFolder::setForTesting(m_dir.path());
}

TestFolder::~TestFolder()
{
    ProgramFolder::setForTesting(QString());
}

QByteArray TestFolder::read(const QString &name) const
{
    QFile f(file(name));
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    return f.readAll();
}

void TestFolder::write(const QString &name, const QByteArray &bytes) const
{
    QDir().mkpath(QFileInfo(file(name)).absolutePath());
    QFile f(file(name));
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(bytes);
}
