// Vilo: moisture in concrete slabs on the ground.
#include <QApplication>

#include "app/TViloApplication.h"
#include "ui/ProgramFont.h"

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Vilo"));
    QCoreApplication::setApplicationName(QStringLiteral("vilo"));
    // The program ends when its main window closes, even while that window is hidden.
    application.setQuitOnLastWindowClosed(false);
    QApplication::setFont(ProgramFont());
    return TViloApplication::Run();
}
