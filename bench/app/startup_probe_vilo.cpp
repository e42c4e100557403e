// The program's own start-up, ended at the first paint of the chooser.
#include <QApplication>

#include "FirstPaintExit.h"
#include "app/TViloApplication.h"

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    TFirstPaintExit probe(QStringLiteral("FormLanguage"));
    application.installEventFilter(&probe);
    TViloApplication::Configure();
    return TViloApplication::Run();
}
