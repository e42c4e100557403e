// Opens one table file and tries to change its first row; run by the file tests in a
// child process that holds no privilege to bypass file modes.
#include "data/TDatabaseError.h"
#include "data/TTable.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: table_probe <table file>\n");
        return 2;
    }
    TTable table;
    try {
        table.OpenFile(QString::fromLocal8Bit(argv[1]));
        std::printf("open rows=%d canmodify=%d first=%s\n", table.RecordCount(), table.CanModify() ? 1 : 0,
                    table.FieldText(0).toUtf8().constData());
    } catch (const TDatabaseError& error) {
        std::printf("open failed: %s\n", error.what());
        return 0;
    }
    try {
        table.Edit();
        table.SetFieldText(0, QStringLiteral("changed"));
        table.Post();
        std::printf("posted\n");
    } catch (const TDatabaseError& error) {
        std::printf("change refused: %s\n", error.what());
    }
    return 0;
}
