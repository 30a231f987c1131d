#include "fuzzsupport.h"

#include "base/programfolder.h"

#include <QFile>
#include <QGuiApplication>

namespace Fuzz {

void initialise(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    static QTemporaryDir folder;
    ProgramFolder::setForTesting(folder.path());
}

QString writeInput(const QString &name, const uint8_t *data, size_t size)
{
    const QString path = ProgramFolder::file(name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(reinterpret_cast<const char *>(data), qint64(size));
    return path;
}

} // namespace Fuzz
