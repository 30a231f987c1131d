#include "ui/filedialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QHeaderView>
#include <QLocale>
#include <QTreeView>
#include <QStandardPaths>

#include <iterator>

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

// Folders are "Cartella" (Qt's translations leave the word in English); the
// files' types come from the system's descriptions, in Italian.
class ItalianTypes : public QFileIconProvider
{
public:
    QString type(const QFileInfo &info) const override
    {
        return info.isDir() ? QStringLiteral("Cartella") : QFileIconProvider::type(info);
    }
};

// Qt's own dialog, the same on every desktop and in Italian with the
// program's translations; each column wide enough for its title and its
// usual contents ("Documento CSV", "11/12/26 11:54"), whatever widths another
// program left in the settings Qt's dialogs share.
QString ask(QWidget *parent, const QString &title, const QString &filters, const QString &path, bool save,
            bool askBeforeOverwrite)
{
    ItalianTypes types;
    QFileDialog dialog(parent, title, path, filters);
    dialog.setObjectName(QStringLiteral("dlgFile"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !askBeforeOverwrite);
    dialog.setIconProvider(&types);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setViewMode(QFileDialog::Detail);
    dialog.resize(1000, 520);
    if (auto *list = dialog.findChild<QTreeView *>(QStringLiteral("treeView"))) {
        QHeaderView *header = list->header();
        const QFontMetrics titles(header->font());
        const QFontMetrics cells(list->font());
        const QString widest[] = {QString(), QStringLiteral("999,9 KiB"), QStringLiteral("Foglio di calcolo ODS"),
                                  QLocale::system().toString(QDateTime(QDate(2026, 12, 28), QTime(23, 58)),
                                                             QLocale::ShortFormat)};
        for (int c = 0; c < header->count(); ++c) {
            const QString heading = header->model()->headerData(c, Qt::Horizontal).toString();
            const int room = 2 * titles.averageCharWidth() + 24;
            int needed = titles.horizontalAdvance(heading) + room;
            if (c < int(std::size(widest)))
                needed = qMax(needed, cells.horizontalAdvance(widest[c]) + room);
            header->resizeSection(c, qMax(header->sectionSize(c), needed));
        }
        header->resizeSection(0, qMax(header->sectionSize(0), 300)); // the name
    }
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
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
    return remembered(place, ask(parent, title, filters, QDir(folder).filePath(proposedName), false, true));
}

QString save(QWidget *parent, const QString &title, const QString &filters, const QString &proposedName,
             bool askBeforeOverwrite, Place place)
{
    const QString folder = startFolder(place);
    if (g_script)
        return remembered(place, g_script->take({true, title, filters, proposedName, folder}));
    return remembered(place, ask(parent, title, filters, QDir(folder).filePath(proposedName), true, askBeforeOverwrite));
}

} // namespace FileDialogs
