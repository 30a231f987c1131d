#include "ui/filedialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>

namespace FileDialogs {

namespace {

Script *g_script = nullptr;

QString &lastFolder(Place place)
{
    static QString documents, pictures;
    return place == Place::Pictures ? pictures : documents;
}

QString startFolder(Place place)
{
    if (!lastFolder(place).isEmpty())
        return lastFolder(place);
    const QString standard = QStandardPaths::writableLocation(
        place == Place::Pictures ? QStandardPaths::PicturesLocation : QStandardPaths::DocumentsLocation);
    return QDir(standard).exists() ? standard : QDir::homePath();
}

// The chosen file's folder is where the next dialog of its kind opens.
QString remembered(Place place, const QString &chosen)
{
    if (!chosen.isEmpty())
        lastFolder(place) = QFileInfo(chosen).absolutePath();
    return chosen;
}

} // namespace

Script::Script()
{
    g_script = this;
}

Script::~Script()
{
    g_script = nullptr;
}

QString Script::take(const Request &request)
{
    m_requests.append(request);
    return m_paths.isEmpty() ? QString() : m_paths.takeFirst();
}

QString open(QWidget *parent, const QString &title, const QString &filters, const QString &proposedName,
             Place place)
{
    const QString folder = startFolder(place);
    if (g_script)
        return remembered(place, g_script->take({false, title, filters, proposedName, folder}));
    return remembered(place, QFileDialog::getOpenFileName(parent, title, QDir(folder).filePath(proposedName), filters));
}

QString save(QWidget *parent, const QString &title, const QString &filters, const QString &proposedName,
             bool askBeforeOverwrite, Place place)
{
    const QString folder = startFolder(place);
    if (g_script)
        return remembered(place, g_script->take({true, title, filters, proposedName, folder}));
    const QFileDialog::Options options =
        askBeforeOverwrite ? QFileDialog::Options() : QFileDialog::DontConfirmOverwrite;
    return remembered(place, QFileDialog::getSaveFileName(parent, title, QDir(folder).filePath(proposedName), filters,
                                                          nullptr, options));
}

} // namespace FileDialogs
