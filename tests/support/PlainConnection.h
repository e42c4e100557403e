// A plain second connection to one table file, for what really reached it.
#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QString>
#include <QVariant>

namespace ViloTest {

class TPlainConnection {
public:
    explicit TPlainConnection(const QString& path) : FName(QStringLiteral("test-plain-%1").arg(++Counter()))
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), FName);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=100"));
        if (!db.open())
            qFatal("cannot open %s", qPrintable(path));
    }
    ~TPlainConnection()
    {
        {
            QSqlDatabase db = QSqlDatabase::database(FName, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(FName);
    }
    TPlainConnection(const TPlainConnection&) = delete;
    TPlainConnection& operator=(const TPlainConnection&) = delete;

    // Runs sql with values bound in order; false when it fails (LastError says why).
    bool Exec(const QString& sql, const QVariantList& values = {})
    {
        QSqlQuery query(QSqlDatabase::database(FName, false));
        query.prepare(sql);
        for (const QVariant& value : values)
            query.addBindValue(value);
        if (!query.exec()) {
            FLastError = query.lastError().text();
            return false;
        }
        return true;
    }
    // Every row of sql, each as a list of values.
    QList<QVariantList> Rows(const QString& sql)
    {
        QList<QVariantList> rows;
        QSqlQuery query(QSqlDatabase::database(FName, false));
        if (!query.exec(sql))
            qWarning("query failed: %s", qPrintable(query.lastError().text()));
        while (query.next()) {
            QVariantList row;
            for (int i = 0; i < query.record().count(); ++i)
                row << query.value(i);
            rows << row;
        }
        return rows;
    }
    // The one table inside the file.
    QString TableName()
    {
        const QList<QVariantList> names = Rows(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'"));
        return names.isEmpty() ? QString() : names.first().value(0).toString();
    }
    // Every row of the file's table in the file's order.
    QList<QVariantList> Rows() { return Rows(QStringLiteral("SELECT * FROM \"%1\" ORDER BY rowid").arg(TableName())); }
    QString LastError() const { return FLastError; }

private:
    static int& Counter()
    {
        static int counter = 0;
        return counter;
    }
    QString FName;
    QString FLastError;
};

}  // namespace ViloTest
