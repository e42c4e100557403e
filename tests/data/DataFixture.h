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

#include "support/PlainConnection.h"

namespace Fixture {

using ViloTest::TPlainConnection;

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
