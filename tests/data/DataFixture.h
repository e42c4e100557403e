// Small table files made in the test, and a plain second connection to see what
// really reached a file.
#pragma once

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStandardPaths>
#include <QString>
#include <QTemporaryDir>
#include <QTest>
#include <QVariant>

#include <memory>

namespace Fixture {

// A separate plain connection to one file, closed when it goes.
class TPlainConnection {
public:
    explicit TPlainConnection(const QString& path) : FName(QStringLiteral("plain-%1").arg(++Counter()))
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

    // Runs sql with values bound in order; false with a warning when it fails.
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

// Creates a table file: CREATE TABLE <table> (<columns>) and the rows (rowids 1, 2, ...).
inline void MakeTable(const QString& path, const QString& table, const QString& columns, const QList<QVariantList>& rows)
{
    TPlainConnection db(path);
    QVERIFY(db.Exec(QStringLiteral("PRAGMA synchronous=OFF")));  // fixtures need no durability
    QVERIFY(db.Exec(QStringLiteral("BEGIN")));
    QVERIFY(db.Exec(QStringLiteral("CREATE TABLE \"%1\" (%2)").arg(table, columns)));
    for (const QVariantList& row : rows) {
        QStringList marks;
        for (int i = 0; i < row.size(); ++i)
            marks << QStringLiteral("?");
        QVERIFY2(db.Exec(QStringLiteral("INSERT INTO \"%1\" VALUES (%2)").arg(table, marks.join(u',')), row), qPrintable(db.LastError()));
    }
    QVERIFY(db.Exec(QStringLiteral("COMMIT")));
}

// The first column of every row, in rowid order, as text.
inline QStringList Names(const QString& path, const QString& table)
{
    TPlainConnection db(path);
    QStringList names;
    for (const QVariantList& row : db.Rows(QStringLiteral("SELECT * FROM \"%1\" ORDER BY rowid").arg(table)))
        names << row.value(0).toString();
    return names;
}

inline QByteArray FileHash(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

// Points the engine's alias at a fresh temporary world: settings and user data
// directories of their own, nothing shared with the real user.
class TWorld {
public:
    TWorld()
    {
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, FRoot.filePath(QStringLiteral("config")));
        qputenv("XDG_CONFIG_HOME", FRoot.filePath(QStringLiteral("config")).toUtf8());
        qputenv("XDG_DATA_HOME", FRoot.filePath(QStringLiteral("data")).toUtf8());
        QDir().mkpath(FRoot.filePath(QStringLiteral("tables")));
    }
    // A directory for table files, not yet behind the alias.
    QString Tables() const { return FRoot.filePath(QStringLiteral("tables")); }
    QString Root() const { return FRoot.path(); }
    // Sets the engine's alias entry to Directory.
    void PointAlias(const QString& directory)
    {
        QSettings settings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Vilo"), QStringLiteral("engine"));
        settings.setValue(QStringLiteral("Aliases/Vilo"), directory);
        settings.sync();
    }

private:
    QTemporaryDir FRoot;
};

}  // namespace Fixture
