// Posts to one table file (a name column, then a number column) until it is killed:
// a new row at a random place, then a change of a random row, and so on. After each
// post has returned it writes one line: "insert <name> <number>" or "edit <name> <number>".
// The numbers count on from the largest in the file, so every post leaves its own mark.
#include "data/TDatabaseError.h"
#include "data/TTable.h"

#include <QCoreApplication>
#include <QRandomGenerator>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: post_loop <table file> <seed>\n");
        return 2;
    }
    QRandomGenerator random(QByteArray(argv[2]).toUInt());
    TTable table;
    try {
        table.OpenFile(QString::fromLocal8Bit(argv[1]));
        qint64 number = 0;
        for (int row = 0; row < table.RecordCount(); ++row)
            number = std::max(number, table.CellText(row, 1).toLongLong());
        std::printf("open %d\n", table.RecordCount());
        std::fflush(stdout);
        for (bool inserting = true;; inserting = !inserting) {
            ++number;
            const int rows = table.RecordCount();
            QString name;
            if (inserting || rows == 0) {
                const int place = random.bounded(rows + 1);
                if (place == rows) {
                    table.Append();
                } else {
                    table.MoveTo(place);
                    table.Insert();
                }
                name = QStringLiteral("r%1").arg(number);
                table.SetFieldText(0, name);
            } else {
                table.MoveTo(random.bounded(rows));
                name = table.FieldText(0);
            }
            table.SetFieldText(1, QString::number(number));
            table.Post();
            std::printf("%s %s %lld\n", inserting || rows == 0 ? "insert" : "edit", name.toUtf8().constData(),
                        static_cast<long long>(number));
            std::fflush(stdout);
        }
    } catch (const TDatabaseError& error) {
        std::printf("failed %s\n", error.what());
        return 1;
    }
}
