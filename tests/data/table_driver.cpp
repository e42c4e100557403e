// Another program on the table files, driven line by line on its standard input; each
// command answers one line: "ok[ <text>]" or "refused <message>".
//
//   open <file>            the table, as the program opens it
//   goto <row>             makes row current (0-based)
//   set <position> <text>  stores text in the current row's cell (rest of the line)
//   post | cancel | refresh | delete | insert | append
//   cell <position>        answers the current row's cell text
//   state                  answers browse, edit or insert
//   lock <file>            a plain connection takes the file's exclusive lock and writes
//   unlock                 that connection rolls back and lets go
#include "data/TDatabaseError.h"
#include "data/TTable.h"

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <cstdio>
#include <iostream>
#include <string>

namespace {

void Answer(const QString& line)
{
    std::fputs(line.toUtf8().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

const char* const kLockConnection = "driver-lock";

QString Lock(const QString& path)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QLatin1String(kLockConnection));
    db.setDatabaseName(path);
    if (!db.open())
        return QStringLiteral("refused ") + db.lastError().text();
    QSqlQuery query(db);
    const QString table = [&] {
        query.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'"));
        return query.next() ? query.value(0).toString() : QString();
    }();
    query.finish();
    // A write inside the exclusive transaction: the journal is there, the lock is the writer's.
    if (!query.exec(QStringLiteral("BEGIN EXCLUSIVE")) ||
        !query.exec(QStringLiteral("UPDATE \"%1\" SET rowid = rowid").arg(table)))
        return QStringLiteral("refused ") + query.lastError().text();
    return QStringLiteral("ok locked");
}

QString Unlock()
{
    {
        QSqlDatabase db = QSqlDatabase::database(QLatin1String(kLockConnection), false);
        QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
        db.close();
    }
    QSqlDatabase::removeDatabase(QLatin1String(kLockConnection));
    return QStringLiteral("ok");
}

QString StateName(TDataSetState state)
{
    switch (state) {
    case TDataSetState::Edit:
        return QStringLiteral("edit");
    case TDataSetState::Insert:
        return QStringLiteral("insert");
    default:
        return QStringLiteral("browse");
    }
}

QString Run(TTable& table, const QString& line)
{
    const QString command = line.section(u' ', 0, 0);
    const QString argument = line.section(u' ', 1);
    if (command == QLatin1String("open")) {
        table.OpenFile(argument);
        return QStringLiteral("ok %1").arg(table.RecordCount());
    }
    if (command == QLatin1String("goto"))
        table.MoveTo(argument.toInt());
    else if (command == QLatin1String("set"))
        table.SetFieldText(argument.section(u' ', 0, 0).toInt(), argument.section(u' ', 1));
    else if (command == QLatin1String("post"))
        table.Post();
    else if (command == QLatin1String("cancel"))
        table.Cancel();
    else if (command == QLatin1String("refresh"))
        table.Refresh();
    else if (command == QLatin1String("delete"))
        table.Delete();
    else if (command == QLatin1String("insert"))
        table.Insert();
    else if (command == QLatin1String("append"))
        table.Append();
    else if (command == QLatin1String("cell"))
        return QStringLiteral("ok ") + table.FieldText(argument.toInt());
    else if (command == QLatin1String("state"))
        return QStringLiteral("ok ") + StateName(table.State());
    else if (command == QLatin1String("lock"))
        return Lock(argument);
    else if (command == QLatin1String("unlock"))
        return Unlock();
    else
        return QStringLiteral("refused unknown command: ") + command;
    return QStringLiteral("ok");
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    TTable table;
    std::string line;
    while (std::getline(std::cin, line)) {
        const QString text = QString::fromUtf8(line.c_str());
        if (text == QLatin1String("quit"))
            break;
        try {
            Answer(Run(table, text));
        } catch (const TDatabaseError& error) {
            Answer(QStringLiteral("refused ") + error.Message());
        }
    }
    table.Close();
    return 0;
}
