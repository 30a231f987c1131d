// Draws the program's icon, an SVG, as the PNG sizes the desktops look for:
// OUTPUT_FOLDER/quorvel-con-vori-16.png ... -256.png.
//
//   quorvel_icons ICON.svg OUTPUT_FOLDER

#include "base/wholefile.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: quorvel_icons ICON.svg OUTPUT_FOLDER\n");
        return 2;
    }
    QSvgRenderer svg(QString::fromLocal8Bit(argv[1]));
    const QDir folder(QString::fromLocal8Bit(argv[2]));
    if (!svg.isValid() || !folder.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "quorvel_icons: cannot read %s or make %s\n", argv[1], argv[2]);
        return 1;
    }
    for (const int size : {16, 32, 48, 64, 128, 256}) {
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        svg.render(&painter);
        painter.end();
        const QString path = folder.filePath(QStringLiteral("quorvel-con-vori-%1.png").arg(size));
        WholeFile file(path);
        if (!file.open() || !image.save(file.device(), "PNG") || !file.commit()) {
            std::fprintf(stderr, "quorvel_icons: cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
