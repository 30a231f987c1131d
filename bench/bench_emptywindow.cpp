// The yardstick of bench_startup: an empty Qt Widgets window, in a program
// that links Qt Widgets alone.

#include "firstpaint.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    FirstPaint::watch();
    QWidget window;
    window.resize(640, 480);
    window.show();
    return QApplication::exec();
}
