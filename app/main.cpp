// Vilo: moisture in concrete slabs on the ground.
#include <QApplication>

#include "app/TViloApplication.h"

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    TViloApplication::Configure();
    return TViloApplication::Run();
}
