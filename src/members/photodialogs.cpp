#include "members/photodialogs.h"

#include "base/imagefiles.h"
#include "ui/filedialogs.h"

#include <QFileInfo>

namespace PhotoDialogs {

std::optional<QImage> load(QWidget *parent, int maxSide)
{
    const QString path = FileDialogs::open(
        parent, QStringLiteral("Selezionare un file di immagine in formato Jpeg o Bitmap."),
        QStringLiteral("Immagine JPEG (*.jpg *.jpeg);;Immagine Bitmap (*.bmp)"), QString(), FileDialogs::Place::Pictures);
    if (path.isEmpty())
        return std::nullopt;
    return ImageFiles::read(path, maxSide);
}

SaveResult save(QWidget *parent, const QImage &image)
{
    QString path = FileDialogs::save(parent,
                                     QStringLiteral("Selezionare la cartella in cui si desidera salvare il file Jpeg."),
                                     QStringLiteral("File Jpeg (*.jpg)"), QStringLiteral("Vori.jpg"), true,
                                     FileDialogs::Place::Pictures);
    if (path.isEmpty())
        return SaveResult::Cancelled;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".jpg");
    return ImageFiles::writeByExtension(path, image) ? SaveResult::Saved : SaveResult::Failed;
}

} // namespace PhotoDialogs
