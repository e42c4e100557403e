// Baseline: a minimal Qt Widgets program showing one empty window, ended at its first paint.
#include <QApplication>
#include <QWidget>

#include "FirstPaintExit.h"

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    TFirstPaintExit probe(QStringLiteral("Empty"));
    application.installEventFilter(&probe);
    QWidget window;
    window.setObjectName(QStringLiteral("Empty"));
    window.resize(256, 97);
    window.show();
    return QApplication::exec();
}
